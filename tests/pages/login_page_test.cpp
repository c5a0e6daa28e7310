// The login page: its exact text, its values from the partner configuration, its failures, and in a real
// view the partner's look and the log-in form calling the program.
#include "common/dialogs.h"
#include "pages/login_page.h"
#include "pages/page_guard.h"
#include "pages/page_writer.h"
#include "service/lekora_lib.h"
#include "tests/support/partner_fixtures.h"
#include "tests/support/recording_view.h"
#include "tests/support/capture_server.h"
#include "tests/support/page_text.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <algorithm>
#include <memory>

using namespace elumira::pages;
using elumira::Json;
using elumira::JsonShapeError;
using elumira::ProcessMessage;
using elumira::RecordingDialogs;
using elumira::TLekoraLib;
using elumira::test::CannedResponse;
using elumira::test::CaptureServer;
using elumira::test::RecordingView;

using elumira::test::kService;
using elumira::test::readFile;
namespace {

const char *const kConfiguration = R"json({"code":"200","data":{"nama":"Perpustakaan <b>Telmarin</b> & Arsip",
    "logo_login":"logo masuk.png","warna_button_login":"#1a7f5a","warna_hover_button_login":"#145c42",
    "warna_header":"#ffffff"}})json";

// The page with NAME, LOGO, ACCENT and HOVER standing for the configuration's values; lines end in CR LF.
const char *const kLoginPage = R"html(<!DOCTYPE html>
<html class="no-js" lang="en">
<head>
<meta charset="utf-8">
<meta http-equiv="X-UA-Compatible" content="IE=edge">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>Please Login</title>
<link href="css/bootstrap.min.css" rel="stylesheet">
<link href="css/style.css" rel="stylesheet">
<style>
.btn-style { color: #ffffff; background-color: ACCENT; }
.btn-style:hover { color: #ffffff; background-color: HOVER; }
a { color: ACCENT; }
</style>
</head>
<body>
<div class="container">
<div class="row">
<div class="col-md-4 col-xs-12 col-sm-4 col-md-offset-4 login-register-wrapper">
<img src="LOGO" alt="logo" class="img-responsive center-block">
<h2 class="text-center">NAME</h2>
<p class="text-center mb30">Belum punya akun? Daftar <a href="javascript:void(0);" onClick="app.registerPage()">di sini</a></p>
<form id="login_form">
<div class="form-group">
<label for="email">Email</label>
<input type="email" name="email" id="email" class="form-control" placeholder="Email">
</div>
<div class="form-group">
<label for="kata_sandi">Kata Sandi</label>
<input type="password" name="kata_sandi" id="kata_sandi" class="form-control" placeholder="Kata Sandi">
</div>
<a href="javascript:void(0);" class="forgot-password pull-right mb15" onClick="app.forgotPass()">Lupa kata sandi?</a>
<button type="submit" id="btnLogin" class="btn btn-style btn-block mt10 mb30">Login</button>
</form>
</div>
</div>
</div>
<script src="js/jquery.js"></script>
<script src="js/bootstrap.min.js"></script>
<script>
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
</script>
</body>
</html>
)html";

QString expectedLoginPage(const QString &name, const QString &logo, const QString &accent, const QString &hover)
{
    QString text = QString::fromUtf8(kLoginPage);
    text.replace(QLatin1String("\n"), QLatin1String("\r\n"));
    text.replace(QLatin1String("NAME"), name);
    text.replace(QLatin1String("LOGO"), logo);
    text.replace(QLatin1String("ACCENT"), accent);
    text.replace(QLatin1String("HOVER"), hover);
    return text;
}

TEST(LoginPageTest, loginPage_isWrittenPieceByPieceWithThePartnersValues)
{
    const struct
    {
        const char *name;
        const char *configuration;
        QString expected;
    } cases[] = {
        // The name is mark-up on purpose and stays as received.
        {"partner configuration", kConfiguration,
         expectedLoginPage(QStringLiteral("Perpustakaan <b>Telmarin</b> & Arsip"),
                           QStringLiteral("http://127.0.0.1:8765/prod/img/logo/logo masuk.png"),
                           QStringLiteral("#1a7f5a"), QStringLiteral("#145c42"))},
        // Without a logo the URL ends in the logo folder; without colours the rules carry empty values.
        {"no logo and no colours", R"({"code":"200","data":{"nama":"Perpustakaan"}})",
         expectedLoginPage(QStringLiteral("Perpustakaan"), QStringLiteral("http://127.0.0.1:8765/prod/img/logo/"),
                           QString(), QString())},
        {"no data", R"({"code":"200"})",
         expectedLoginPage(QString(), QStringLiteral("http://127.0.0.1:8765/prod/img/logo/"), QString(), QString())},
        {"logo name with a quote", R"({"data":{"logo_login":"a\"b&c.png"}})",
         expectedLoginPage(QString(), QStringLiteral("http://127.0.0.1:8765/prod/img/logo/a&quot;b&amp;c.png"),
                           QString(), QString())},
    };
    for (const auto &c : cases)
        EXPECT_EQ(loginPage(Json::parse(c.configuration), kService), c.expected) << c.name;
}

TEST(LoginPageTest, loginPage_dataOfAnotherKind_isAFailure)
{
    EXPECT_THROW(loginPage(Json::parse(R"({"code":"200","data":null})"), kService), JsonShapeError);
    EXPECT_THROW(loginPage(Json::parse(R"({"code":"200","data":["x"]})"), kService), JsonShapeError);
}

// The service client with its partner configuration fetched from a local server.
using LoginRenderTest = elumira::test::PartnerServiceTest;

TEST_F(LoginRenderTest, renderLoginHtmlFile_writesLoginHtmlAndLoadsIt)
{
    fetchConfiguration(kConfiguration);
    renderLoginHtmlFile(*service, view, dialogs);

    EXPECT_TRUE(dialogs.boxes().isEmpty());
    EXPECT_EQ(view.loads, QList<QUrl>{pageFileUrl("login.html")});
    EXPECT_EQ(readFile(pageFile("login.html")), loginPage(*service->ClientJson(), serviceUrl()).toUtf8());
}

TEST_F(LoginRenderTest, renderLoginHtmlFile_failure_showsOneBoxWithItsPrefixAndLoadsNothing)
{
    const struct
    {
        const char *name;
        bool fetch;
        bool removeFolder;
        QString messageMentions;
    } cases[] = {
        {"data folder missing", true, true, QStringLiteral("/login.html")},
        {"no partner configuration", false, false, QStringLiteral("FClientJson")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        // The old client removes the data folder as it goes, so it goes before the new one builds it.
        startAfresh();
        if (c.fetch)
            fetchConfiguration(kConfiguration);
        if (c.removeFolder) {
            ASSERT_TRUE(QDir(service->DataPath()).removeRecursively());
        }

        renderLoginHtmlFile(*service, view, dialogs);

        expectOneFailureBox("Error Exception #660 : ", c.messageMentions);
        EXPECT_TRUE(view.loads.isEmpty());
    }
}

class LoginViewTest : public elumira::test::PageViewTest
{
protected:
    void SetUp() override
    {
        qputenv("ELUMIRA_SERVICE_URL", server.url());
        PageViewTest::SetUp();
    }
    void TearDown() override
    {
        PageViewTest::TearDown();
        qunsetenv("ELUMIRA_SERVICE_URL");
    }

    // Fetches the configuration, then renders the login page into the real view and waits for it.
    void renderLogin()
    {
        server.queue({200, "OK", "application/json", kConfiguration});
        s_service->getClientJson();
        const int before = beforeLoad();
        renderLoginHtmlFile(*s_service, *view, *s_dialogs);
        ASSERT_TRUE(s_dialogs->boxes().isEmpty());
        waitForLoadAfter(before);
    }

    CaptureServer server;
};

TEST_F(LoginViewTest, loginPage_showsPartnersNameLogoAndColours)
{
    renderLogin();
    EXPECT_EQ(view->title(), QStringLiteral("Please Login"));
    EXPECT_EQ(js(QStringLiteral("document.querySelector('h2.text-center').innerHTML")),
              QVariant(QStringLiteral("Perpustakaan <b>Telmarin</b> &amp; Arsip")));
    const QString logo = QString::fromLatin1(server.url()) + QStringLiteral("/prod/img/logo/logo masuk.png");
    EXPECT_EQ(js(QStringLiteral("document.querySelector('img[alt=logo]').getAttribute('src')")), QVariant(logo));
    // The page asked the service for its logo.
    EXPECT_TRUE(elumira::test::waitUntil([this] {
        const auto requests = server.requests();
        return std::any_of(requests.begin(), requests.end(), [](const elumira::test::CapturedRequest &request) {
            return request.path == "/prod/img/logo/logo%20masuk.png";
        });
    }));

    EXPECT_EQ(js(QStringLiteral("getComputedStyle(document.getElementById('btnLogin')).backgroundColor")),
              QVariant(QStringLiteral("rgb(26, 127, 90)")));
    EXPECT_EQ(js(QStringLiteral("getComputedStyle(document.getElementById('btnLogin')).color")),
              QVariant(QStringLiteral("rgb(255, 255, 255)")));
    EXPECT_EQ(js(QStringLiteral("getComputedStyle(document.querySelector('.forgot-password')).color")),
              QVariant(QStringLiteral("rgb(26, 127, 90)")));
    const QString hoverRule =
        QStringLiteral("Array.from(document.styleSheets).flatMap(s => Array.from(s.cssRules))"
                       ".filter(r => r.selectorText === '.btn-style:hover').map(r => r.style.backgroundColor).pop()");
    EXPECT_EQ(js(hoverRule), QVariant(QStringLiteral("rgb(20, 92, 66)")));

    EXPECT_EQ(js(QStringLiteral("[email.type, email.name, kata_sandi.type, kata_sandi.name, "
                                "document.querySelectorAll('#login_form label').length].join(' ')")),
              QVariant(QStringLiteral("email email password kata_sandi 2")));
}

TEST_F(LoginViewTest, loginButton_sendsWhatWasTypedAndTheBrowserRefusesANonAddress)
{
    renderLogin();
    const QString press = QStringLiteral("document.getElementById('btnLogin').click()");

    js(QStringLiteral("email.value = 'bukan alamat'"));
    js(press);
    EXPECT_TRUE(noFurtherMessage(500));

    js(QStringLiteral("email.value = ''"));
    js(press);
    EXPECT_EQ(nextMessage(), ProcessMessage(QStringLiteral("login"), {QString(), QString()}));

    js(QStringLiteral("email.value = 'anggota@contoh.id'; kata_sandi.value = 'Rahasia \\'1\\' \"2\"'"));
    js(press);
    EXPECT_EQ(nextMessage(), ProcessMessage(QStringLiteral("login"), {QStringLiteral("anggota@contoh.id"),
                                                                      QStringLiteral("Rahasia '1' \"2\"")}));

    js(QStringLiteral(
        "document.querySelector('p.mb30 a').click(); document.querySelector('.forgot-password').click();"));
    EXPECT_EQ(nextMessage(), ProcessMessage(QStringLiteral("register")));
    EXPECT_EQ(nextMessage(), ProcessMessage(QStringLiteral("forgotPass"), {QStringLiteral("forgotPass")}));
    EXPECT_TRUE(noFurtherMessage());
}

} // namespace
