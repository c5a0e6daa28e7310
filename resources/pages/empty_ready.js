// Nothing of the page's own to set up: js/main.js sets up the menus, the pictures and the rating stars.
$(document).ready(function () {
});
