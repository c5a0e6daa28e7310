// The home page and its growth by further pages of home sections.
#include "pages/home_page.h"

#include "common/browser_view.h"
#include "pages/header_bar.h"
#include "pages/html.h"
#include "pages/markup_filter.h"
#include "pages/page_guard.h"
#include "pages/page_parts.h"
#include "pages/page_scripts.h"
#include "pages/page_writer.h"
#include "pages/style_rules.h"
#include "service/http_client.h"
#include "service/lekora_lib.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

#include <stdexcept>

namespace elumira::pages {

namespace {

int g_introCounter = 1;

// An item of a list that must hold objects.
const Json &objectItem(const Json &item, const char *list)
{
    if (!item.is_object())
        throw JsonShapeError(std::string("An item of \"") + list + "\" is not an object");
    return item;
}

// The text of one section block: its title bar and its grid.
QStringList sectionPieces(const Json &section, const QString &serviceUrl)
{
    const QString id = jsonText(section, "id");
    const QString title = jsonText(section, "judul_section");
    QString grid = QStringLiteral("<div class=\"row small-gutters multiple-items\">");
    for (const Json &row : jsonList(section, "rows"))
        grid += bookTile(objectItem(row, "rows"), TileKind::Home, serviceUrl);
    grid += QLatin1String("</div>");
    return {
        QStringLiteral("<div class=\"col-sm-12 section-item\">"),
        QStringLiteral("<div class=\"row\"><div class=\"title-section-wrap\">"
                       "<h2 class=\"title-section\">%1</h2>"
                       "<a href=\"javascript:void(0);\" class=\"link-see-all\" onClick=\"%2\">Lihat Semua &raquo;</a>"
                       "</div></div>")
            .arg(htmlEscape(title), scriptCallAttribute(QStringLiteral("homeDetail"), {id, title})),
        grid,
        QStringLiteral("</div>"),
    };
}

QStringList tabs()
{
    const struct
    {
        const char *function;
        const char *text;
    } items[] = {
        {"topChart", "Banyak Dibaca"},
        {"lastRead", "Terakhir Dibaca"},
        {"lastView", "Terakhir Dilihat"},
        {"loadKategori", "Kategori"},
    };
    QStringList lines;
    for (const auto &item : items)
        lines << QStringLiteral("<li onClick=\"%1\"><a href=\"#\">%2</a></li>")
                     .arg(scriptCallAttribute(QLatin1String(item.function)), QLatin1String(item.text));
    return lines;
}

// The partner's intro window, or nothing when the partner has no intro.
QStringList introWindow(const Json &partner)
{
    if (!partner.contains("keterangan_intro") || partner.at("keterangan_intro").is_null())
        return {};
    return {
        QStringLiteral("<div id=\"myModal\" class=\"modal fade\">"),
        QStringLiteral("<div class=\"modal-dialog\">"),
        QStringLiteral("<div class=\"modal-content\">"),
        QStringLiteral("<div class=\"modal-header\"><button type=\"button\" class=\"close\" data-dismiss=\"modal\" "
                       "aria-hidden=\"true\">&times;</button></div>"),
        QStringLiteral("<div class=\"modal-body\">"),
        QStringLiteral("<img src=\"%1\" alt=\"profile\" class=\"img-responsive img-circle\" "
                       "style=\"margin-bottom:15px; margin-right:15px; float:left; width:180px;\">")
            .arg(htmlEscape(webPictureAddress(jsonText(partner, "foto_intro")))),
        // The intro is the partner's own mark-up, and passes the mark-up filter like any other.
        filterMarkup(jsonText(partner, "keterangan_intro")),
        QStringLiteral("</div>"),
        QStringLiteral("</div>"),
        QStringLiteral("</div>"),
        QStringLiteral("</div>"),
    };
}

// Whether a line is the page's ready call for 1. Only a line that starts with the call counts, so that a
// section title or an author quoting the call, which stands inside mark-up, never takes the line's place.
bool isFirstReadyCall(const QString &line)
{
    return line.trimmed().startsWith(QLatin1String("$(document).ready(readyFunctionScript(1))"), Qt::CaseInsensitive);
}

} // namespace

int introCounter()
{
    return g_introCounter;
}

void resetIntroCounterForTests()
{
    g_introCounter = 1;
}

QString homeReadyCall(int counter)
{
    return QStringLiteral("$(document).ready(readyFunctionScript(%1));").arg(counter);
}

QString homeBanner(const Json &banner, const QString &serviceUrl)
{
    const QString link = jsonText(banner, "url_link");
    const bool linked = !link.isEmpty() && link != QLatin1String("#");
    return QLatin1String("<div>") +
           lazyImage(QLatin1String(kBannerPlaceholder),
                     pictureUrl(serviceUrl, PictureFolder::Banner, jsonText(banner, "img")), QStringLiteral("banner"),
                     QStringLiteral("img-responsive lazyload"),
                     linked ? scriptCallAttribute(QStringLiteral("openBanner"), {link}) : QString()) +
           QLatin1String("</div>");
}

QStringList homeSectionPieces(const Json &homeContentJson, const QString &serviceUrl)
{
    QStringList pieces;
    for (const Json &section : jsonList(homeContentJson, "data"))
        pieces << sectionPieces(objectItem(section, "data"), serviceUrl);
    return pieces;
}

QString homePage(const Json &clientJson, const Json &bannerJson, const Json &homeContentJson, const QString &serviceUrl,
                 int counter)
{
    const Json &partner = partnerData(clientJson);

    PageText page;
    page << catalogueHead(QStringLiteral("Index"),
                          partnerColourRules(partner) + QLatin1String(kLineBreak) + moreButtonRules(partner) +
                              QLatin1String(kLineBreak) +
                              QStringLiteral(".category-list .nav-tabs>li:hover { background-color: %1; }")
                                  .arg(partnerColour(partner, "warna_hover_button_login")));
    page << QStringLiteral("<body>") << overlayDiv() << headerBar(partner, serviceUrl, HeaderForm::Home);

    page << QStringList{
        QStringLiteral("<div class=\"section-wrapper\">"),
        QStringLiteral("<div class=\"container\">"),
        QStringLiteral("<div class=\"row\">"),
        QStringLiteral("<div class=\"col-sm-12\">"),
        QStringLiteral("<div class=\"banner\">"),
    };
    for (const Json &banner : jsonList(bannerJson, "data"))
        page << homeBanner(objectItem(banner, "data"), serviceUrl);
    page << QStringList{
        QStringLiteral("</div>"),
        QStringLiteral("</div>"),
        QStringLiteral("</div>"),
        QStringLiteral("<div class=\"row\">"),
        QStringLiteral("<div class=\"col-sm-12 category-list\">"),
        QStringLiteral("<ul class=\"nav nav-tabs nav-justified\">"),
    };
    page << tabs();
    page << QStringList{
        QStringLiteral("</ul>"),
        QStringLiteral("</div>"),
        QStringLiteral("</div>"),
        QStringLiteral("<div id=\"myBooks\">"),
    };
    page << homeSectionPieces(homeContentJson, serviceUrl);
    page << QStringList{
        QLatin1String(kHomeMarker),
        QStringLiteral("</div>"),
        QStringLiteral("<div class=\"row\" id=\"btnMore\">"),
        QStringLiteral("<div class=\"col-sm-4 col-sm-offset-4 mt30\">"),
        QStringLiteral("<a id=\"loadMore\" href=\"javascript:void(0);\" class=\"btn btn-primary btn-block btn-more\" "
                       "onClick=\"%1\">Selebihnya</a>")
            .arg(scriptCallAttribute(QStringLiteral("loadMore"))),
        QStringLiteral("</div>"),
        QStringLiteral("</div>"),
        QStringLiteral("</div>"),
        QStringLiteral("</div>"),
    };
    page << introWindow(partner);

    page << QStringList{
        scriptLinks({"js/jquery.js", "js/bootstrap.min.js", "js/lazyload.min.js",
                     "plugins/slick-slider/slick/slick.min.js", "plugins/bootstrap-star-rating/js/star-rating.js",
                     "js/main.js"}),
        QStringLiteral("<script>"),
        tilePageScript(QStringLiteral("home_ready")),
        // On a line of its own: a later append turns the 1 into 2.
        homeReadyCall(counter),
        headerSearchScript(),
        QStringLiteral("</script>"),
        QStringLiteral("</body>"),
        QStringLiteral("</html>"),
    };
    return page.text();
}

QString homeAppendMarkup(const Json &homeContentJson, const QString &serviceUrl)
{
    QString markup = homeSectionPieces(homeContentJson, serviceUrl).join(QString()).trimmed();
    markup.remove(QLatin1String(kLineBreak));
    return markup;
}

QString homeAppendScript(const QString &markup)
{
    // A JSON string is a script string as well: the mark-up arrives in the page exactly as it stands in the file.
    const QByteArray quoted = QJsonDocument(QJsonArray{markup}).toJson(QJsonDocument::Compact);
    return QStringLiteral("appendHomeSections(%1);").arg(QString::fromUtf8(quoted.mid(1, quoted.size() - 2)));
}

QString appendHomeSections(const QString &fileText, const QString &markup)
{
    const QString marker = QLatin1String(kHomeMarker);
    QString text;
    for (const QString &line : splitPageLines(fileText)) {
        if (line == marker)
            text += markup + QLatin1String(kLineBreak) + marker;
        else if (isFirstReadyCall(line))
            text += homeReadyCall(2);
        else
            text += line;
        text += QLatin1String(kLineBreak);
    }
    return text;
}

void renderHomeHtmlFile(TLekoraLib &lib, BrowserView &view, Dialogs &dialogs, int Page)
{
    runGuarded(dialogs, kHomeFailure, [&] {
        const QString path = pagePath(lib.DataPath(), QLatin1String(kHomePageFile));
        const Json &homeContent = requireAnswer(lib.HomeContentJson(), "FHomeContentJson");
        if (Page == 1) {
            const Json &clientJson = requireAnswer(lib.ClientJson(), "FClientJson");
            const Json &bannerJson = requireAnswer(lib.BannerJson(), "FBannerJson");
            writePageFile(path, homePage(clientJson, bannerJson, homeContent, serviceUrl(), g_introCounter));
            if (g_introCounter == 1)
                g_introCounter = 2;
            view.loadUrl(pageUrl(lib.DataPath(), QLatin1String(kHomePageFile)));
            return;
        }
        // The file takes the sections for a later reload; the page shown takes the same mark-up in place, so that
        // a further page costs the same however long the home page has grown, and the member stays where they
        // were.
        const QString markup = homeAppendMarkup(homeContent, serviceUrl());
        writePageFile(path, appendHomeSections(readPageFile(path), markup));
        view.runScript(homeAppendScript(markup));
    });
}

} // namespace elumira::pages
