// The login page.
#include "pages/login_page.h"

#include "pages/html.h"
#include "pages/markup_filter.h"
#include "pages/page_guard.h"
#include "pages/page_parts.h"
#include "pages/page_scripts.h"
#include "pages/page_writer.h"
#include "pages/style_rules.h"
#include "service/http_client.h"
#include "service/lekora_lib.h"

namespace elumira::pages {

QString loginPage(const Json &clientJson, const QString &serviceUrl)
{
    const Json &partner = partnerData(clientJson);
    const QString accent = partnerColour(partner, "warna_button_login");
    const QString hover = partnerColour(partner, "warna_hover_button_login");
    const QString logo = pictureUrl(serviceUrl, PictureFolder::Logo, jsonText(partner, "logo_login"));

    PageText page;
    page << QStringList{
        QStringLiteral("<!DOCTYPE html>"),
        QStringLiteral("<html class=\"no-js\" lang=\"en\">"),
        QStringLiteral("<head>"),
        QStringLiteral("<meta charset=\"utf-8\">"),
        QStringLiteral("<meta http-equiv=\"X-UA-Compatible\" content=\"IE=edge\">"),
        QStringLiteral("<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"),
        QStringLiteral("<title>Please Login</title>"),
        QStringLiteral("<link href=\"css/bootstrap.min.css\" rel=\"stylesheet\">"),
        QStringLiteral("<link href=\"css/style.css\" rel=\"stylesheet\">"),
    };

    page << QStringList{
        QStringLiteral("<style>"),
        QStringLiteral(".btn-style { color: #ffffff; background-color: %1; }").arg(accent),
        QStringLiteral(".btn-style:hover { color: #ffffff; background-color: %1; }").arg(hover),
        QStringLiteral("a { color: %1; }").arg(accent),
        QStringLiteral("</style>"),
        QStringLiteral("</head>"),
    };

    page << QStringList{
        QStringLiteral("<body>"),
        QStringLiteral("<div class=\"container\">"),
        QStringLiteral("<div class=\"row\">"),
        QStringLiteral("<div class=\"col-md-4 col-xs-12 col-sm-4 col-md-offset-4 login-register-wrapper\">"),
        QStringLiteral("<img src=\"%1\" alt=\"logo\" class=\"img-responsive center-block\">").arg(htmlEscape(logo)),
        // The partner's name may carry mark-up on purpose.
        QStringLiteral("<h2 class=\"text-center\">%1</h2>").arg(filterMarkup(jsonText(partner, "nama"))),
        QStringLiteral("<p class=\"text-center mb30\">Belum punya akun? Daftar <a href=\"javascript:void(0);\" "
                       "onClick=\"%1\">di sini</a></p>")
            .arg(scriptCallAttribute(QStringLiteral("registerPage"))),
        QStringLiteral("<form id=\"login_form\">"),
        QStringLiteral("<div class=\"form-group\">"),
        QStringLiteral("<label for=\"email\">Email</label>"),
        QStringLiteral(
            "<input type=\"email\" name=\"email\" id=\"email\" class=\"form-control\" placeholder=\"Email\">"),
        QStringLiteral("</div>"),
        QStringLiteral("<div class=\"form-group\">"),
        QStringLiteral("<label for=\"kata_sandi\">Kata Sandi</label>"),
        QStringLiteral("<input type=\"password\" name=\"kata_sandi\" id=\"kata_sandi\" class=\"form-control\" "
                       "placeholder=\"Kata Sandi\">"),
        QStringLiteral("</div>"),
        QStringLiteral("<a href=\"javascript:void(0);\" class=\"forgot-password pull-right mb15\" "
                       "onClick=\"%1\">Lupa kata sandi?</a>")
            .arg(scriptCallAttribute(QStringLiteral("forgotPass"))),
        // The log-in handler disables the button by this id while the log-in runs.
        QStringLiteral("<button type=\"submit\" id=\"btnLogin\" class=\"btn btn-style btn-block mt10 mb30\">Login"
                       "</button>"),
        QStringLiteral("</form>"),
        QStringLiteral("</div>"),
        QStringLiteral("</div>"),
        QStringLiteral("</div>"),
    };

    page << QStringList{
        scriptLinks({"js/jquery.js", "js/bootstrap.min.js"}),
        QStringLiteral("<script>"),
        pageScript(QStringLiteral("login_form")),
        QStringLiteral("</script>"),
        QStringLiteral("</body>"),
        QStringLiteral("</html>"),
    };
    return page.text();
}

void renderLoginHtmlFile(TLekoraLib &lib, BrowserView &view, Dialogs &dialogs)
{
    runGuarded(dialogs, kLoginFailure, [&] {
        const Json &clientJson = requireAnswer(lib.ClientJson(), "FClientJson");
        writeAndLoadPage(lib.DataPath(), QLatin1String(kLoginPageFile), loginPage(clientJson, serviceUrl()), view);
    });
}

} // namespace elumira::pages
