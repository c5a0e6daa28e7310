// Log-in form: the member's e-mail and password go to the program as typed.
$('#login_form').submit(function (event) {
    event.preventDefault();
    login();
});

function login() {
    var email = document.getElementsByName('email')[0].value;
    var password = document.getElementsByName('kata_sandi')[0].value;
    app.executeLogin(email, password);
}
