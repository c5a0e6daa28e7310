// The page header bar: logo, search box with its field menu, and the account menu.
#include "pages/header_bar.h"

#include "pages/html.h"
#include "pages/page_parts.h"
#include "pages/page_scripts.h"
#include "pages/page_writer.h"

#include <QStringList>

#include <array>

namespace elumira::pages {

namespace {

struct MenuItem
{
    const char *label;
    const char *anchor;
};

QStringList fieldMenu(HeaderForm form)
{
    static const std::array<MenuItem, 5> home = {{
        {"Penulis", "#contains"},
        {"Penerbit", "#its_equal"},
        {"ISBN", "#greather_than"},
        {"Semua", "#all"},
        {"Kalimat", "#less_than"},
    }};
    static const std::array<MenuItem, 5> other = {{
        {"Semua", "#semua"},
        {"Penulis", "#contains"},
        {"Penerbit", "#its_equal"},
        {"ISBN", "#greather_than"},
        {"Kalimat", "#less_than"},
    }};
    QStringList lines;
    for (const MenuItem &item : form == HeaderForm::Home ? home : other)
        lines << QStringLiteral("<li><a href=\"%1\">%2</a></li>")
                     .arg(QLatin1String(item.anchor), QLatin1String(item.label));
    return lines;
}

} // namespace

QString headerBar(const Json &partner, const QString &serviceUrl, HeaderForm form, const QString &keyword)
{
    const bool home = form == HeaderForm::Home;
    const QString logo = pictureUrl(serviceUrl, PictureFolder::Logo, jsonText(partner, "logo"));
    const QString label = form == HeaderForm::SentenceSearch ? QStringLiteral("Kalimat") : QStringLiteral("Semua");

    QStringList lines = {
        QStringLiteral("<header id=\"header\" class=\"navbar navbar-default navbar-fixed-top\">"),
        QStringLiteral("<div class=\"container\">"),
        QStringLiteral("<div class=\"navbar-header\">"),
        QStringLiteral("<a class=\"navbar-brand\" href=\"#\"><img src=\"%1\" alt=\"logo header\" "
                       "class=\"img-responsive\"></a>")
            .arg(htmlEscape(logo)),
        QStringLiteral("</div>"),
        QStringLiteral("<div class=\"col-sm-6 col-md-6 col-sm-offset-1\">"),
        QStringLiteral("<div class=\"row\">"),
        QStringLiteral("<div class=\"col-sm-12 col-md-12input-group search-area\">"),
        QStringLiteral("<span class=\"input-group-btn\"><span class=\"icon-search\" type=\"button\" "
                       "onClick=\"$('#submitSearch').submit();\"><span class=\"glyphicon glyphicon-search\">"
                       "</span></span></span>"),
    };
    if (!home)
        lines << QStringLiteral("<input type=\"hidden\" name=\"search_param\" value=\"all\" id=\"search_param\">");
    lines << QStringLiteral("<form id=\"submitSearch\">");
    if (home) {
        lines << QStringLiteral("<input type=\"text\" class=\"form-control\" name=\"keyword\" id=\"keyword\" "
                                "placeholder=\"Cari...\">");
    } else {
        lines << QStringLiteral("<input type=\"text\" class=\"form-control\" name=\"x\" id=\"keyword\" "
                                "placeholder=\"Cari...\" value=\"%1\">")
                     .arg(htmlEscape(keyword));
    }
    lines << QStringList{
        QStringLiteral("</form>"),
        QStringLiteral("<div class=\"search-panel\">"),
        QStringLiteral("<button type=\"button\" class=\"btn btn-default btn-filter dropdown-toggle\" "
                       "data-toggle=\"dropdown\"><span id=\"search_concept\">%1</span> "
                       "<span class=\"caret\"></span></button>")
            .arg(label),
        QStringLiteral("<ul class=\"dropdown-menu\" role=\"menu\">"),
    };
    lines << fieldMenu(form);
    lines << QStringList{
        QStringLiteral("</ul>"),
        QStringLiteral("</div>"),
        QStringLiteral("</div>"),
        QStringLiteral("</div>"),
        QStringLiteral("</div>"),
        QStringLiteral("<ul class=\"nav navbar-nav navbar-right\">"),
        QStringLiteral("<li class=\"dropdown login-wrap\">"),
        QStringLiteral("<a href=\"\"><img src=\"img/user.png\" alt=\"avatar\" class=\"img-responsive\"></a>"),
        QStringLiteral("<div class=\"dropdown-menu login-inner\">"),
        QStringLiteral("<ul class=\"list-unstyled login-list\">"),
        QStringLiteral("<li><a href=\"\" title=\"\" class=\"list-item\" onClick=\"%1\">Pengaturan Akun</a></li>")
            .arg(scriptCallAttribute(QStringLiteral("account"))),
        QStringLiteral("<li role=\"separator\" class=\"divider\"></li>"),
        QStringLiteral("<li><a href=\"\" title=\"\" class=\"list-item\" onClick=\"%1\">Keluar</a></li>")
            .arg(scriptCallAttribute(QStringLiteral("logout"))),
        QStringLiteral("</ul>"),
        QStringLiteral("</div>"),
        QStringLiteral("</li>"),
        QStringLiteral("</ul>"),
        QStringLiteral("</div>"),
        QStringLiteral("</header>"),
    };
    return lines.join(QLatin1String(kLineBreak));
}

QString headerSearchScript()
{
    return pageScript(QStringLiteral("header_search"));
}

} // namespace elumira::pages
