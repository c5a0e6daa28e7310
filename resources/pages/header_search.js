// Header search: the keyword and the label of the chosen field go to the program.
$('#submitSearch').submit(function (event) {
    event.preventDefault();
    var keyword = $('#keyword').val();
    var field = $('#search_concept').text();
    app.searching(keyword, field);
});
