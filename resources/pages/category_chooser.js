// Category browser: the department chooser is a full-width select2 box; choosing a department asks the
// program for its categories with the option's value and text.
$(document).ready(function () {
    var chooser = $('.select-category');
    chooser.select2({ width: '100%' });
    chooser.on('change', function () {
        var chosen = $(this).find('option:selected');
        app.changeDept(String($(this).val()), chosen.text());
    });
});
