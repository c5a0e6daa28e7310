// The search result pages.
#include "pages/search_pages.h"

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

#include <limits>

namespace elumira::pages {

namespace {

// A hit of the answer; anything but an object is an answer of the wrong shape.
const Json &searchHit(const Json &item)
{
    if (!item.is_object())
        throw JsonShapeError("An item of \"data\" is not an object");
    return item;
}

QString homeBreadcrumbLink()
{
    return QStringLiteral("<li class=\"breadcrumb-item\"><a href=\"#\" onClick=\"%1\">Home</a></li>")
        .arg(scriptCallAttribute(QStringLiteral("back")));
}

// The page links in their row; without pages of hits the list is there, empty.
QStringList pagination(const Json &searchJson, const QString &keyword, const QString &field, int page)
{
    QStringList lines = {
        QStringLiteral("<div class=\"row\">"),
        QStringLiteral("<div class=\"text-center\">"),
        QStringLiteral("<ul class=\"pagination\">"),
    };
    lines << searchPageLinks(searchJson, keyword, field, page);
    lines << QStringList{QStringLiteral("</ul>"), QStringLiteral("</div>"), QStringLiteral("</div>")};
    return lines;
}

QString scriptsOfPage()
{
    return scriptLinks({"js/jquery.js", "js/bootstrap.min.js", "js/lazyload.min.js",
                        "plugins/slick-slider/slick/slick.min.js", "plugins/bootstrap-star-rating/js/star-rating.js",
                        "js/main.js"});
}

} // namespace

int searchPageCount(long long totalRows)
{
    if (totalRows <= 0)
        return 0;
    // One link per page: an absurd count from the service must not build a page of millions of links.
    const long long pages = totalRows / 10 + (totalRows % 10 ? 1 : 0);
    return int(std::min<long long>(pages, kMaxSearchPages));
}

QStringList searchPageLinks(const Json &searchJson, const QString &keyword, const QString &field, int page)
{
    const int count = searchPageCount(jsonInt(searchJson, "total_rows"));
    QStringList lines;
    lines.reserve(count);
    for (int i = 1; i <= count; ++i) {
        if (i == page)
            lines << QStringLiteral("<li class=\"active\"><a href=\"#\">%1</a></li>").arg(i);
        else
            lines << QStringLiteral("<li><a href=\"javascript:void(0);\" onClick=\"%1\">%2</a></li>")
                         .arg(scriptCallAttribute(QStringLiteral("searchResult"), {keyword, field, i}),
                              QString::number(i));
    }
    return lines;
}

QString sentenceHitRow(const Json &hit, const QString &serviceUrl)
{
    const QString id = jsonText(hit, "id");
    QString row;
    row += QLatin1String("<div class=\"row list-chart-row\"><div class=\"col-sm-12\"><div class=\"row\">");
    row +=
        QLatin1String("<div class=\"col-sm-2\">") +
        lazyImage(QLatin1String(kCoverPlaceholder), pictureUrl(serviceUrl, PictureFolder::Cover, jsonText(hit, "img")),
                  QStringLiteral("book"), QStringLiteral("img-responsive lazyload")) +
        QLatin1String("</div>");
    row += QLatin1String("<div class=\"col-sm-8 middle-section\"><div class=\"describe-wrap\">");
    row += QStringLiteral("<h3 class=\"title-books\"><a href=\"javascript:void(0);\" onClick=\"%1\">%2</a></h3>")
               .arg(scriptCallAttribute(QStringLiteral("detailFromSearch"), {id}), htmlEscape(jsonText(hit, "judul")));
    row += QLatin1String("<h4 class=\"author\">Halaman : ") + filterMarkup(jsonText(hit, "halaman")) +
           QLatin1String("</h4>");
    row += QLatin1String("<h4 class=\"author\">Isi Buku : </h4>");
    // The text found carries the service's highlighting mark-up, which passes the mark-up filter.
    row += QLatin1String("<span class=\"more\">") + filterMarkup(jsonText(hit, "hal_txt")) + QLatin1String("</span>");
    row += QLatin1String("</div></div>");
    row += QStringLiteral("<div class=\"col-sm-2\"><button type=\"button\" class=\"btn btn-primary btn-block\" "
                          "onClick=\"%1\">BACA</button></div>")
               .arg(scriptCallAttribute(QStringLiteral("bacaKalimat"), {id, jsonText(hit, "hal_idx")}));
    row += QLatin1String("</div></div></div>");
    return row;
}

QString searchResultPage(const Json &clientJson, const Json &searchJson, int Page, const QString &Keyword,
                         const QString &Field, const QString &serviceUrl)
{
    const Json &partner = partnerData(clientJson);
    const QString rules = QStringList{QStringLiteral(".section-wrapper { margin-top: 85px; }"),
                                      partnerColourRules(partner), chartListRules()}
                              .join(QLatin1String(kLineBreak));

    PageText text;
    text << catalogueHead(QStringLiteral("Index"), rules) << "<body>" << overlayDiv()
         << headerBar(partner, serviceUrl, HeaderForm::ChartsAndFieldSearch, Keyword);

    // The keyword is the member's own text, never mark-up: it is shown as typed.
    text << QStringList{
        QStringLiteral("<div class=\"section-wrapper\">"),
        QStringLiteral("<div class=\"container\">"),
        QStringLiteral("<div id=\"myBooks\">"),
        QStringLiteral("<div class=\"row\">"),
        QStringLiteral("<ol class=\"breadcrumb\">"),
        homeBreadcrumbLink(),
        QStringLiteral("<li class=\"breadcrumb-item active\">Hasil Pencarian : %1 ( Found : %2 Records )</li>")
            .arg(htmlEscape(Keyword), filterMarkup(jsonText(searchJson, "total_rows"))),
        QStringLiteral("</ol>"),
        QStringLiteral("</div>"),
        QStringLiteral("<div class=\"row small-gutters multiple-items\" id=\"contents\">"),
    };
    for (const Json &hit : jsonList(searchJson, "data"))
        text << bookTile(searchHit(hit), TileKind::Search, serviceUrl);
    text << QStringLiteral("</div>");
    text << pagination(searchJson, Keyword, Field, Page);
    text << QStringList{QStringLiteral("</div>"), QStringLiteral("</div>"), QStringLiteral("</div>")};

    text << QStringList{
        scriptsOfPage(),           QStringLiteral("<script>"),  tilePageScript(QStringLiteral("grid_ready")),
        headerSearchScript(),      QStringLiteral("</script>"), QStringLiteral("</body>"),
        QStringLiteral("</html>"),
    };
    return text.text();
}

QString searchKalimatResultPage(const Json &clientJson, const Json &searchJson, int page, const QString &keyword,
                                const QString &serviceUrl)
{
    const Json &partner = partnerData(clientJson);
    const QString rules = QStringList{partnerColourRules(partner), chartListRules()}.join(QLatin1String(kLineBreak));

    PageText text;
    text << catalogueHead(QStringLiteral("Index"), rules) << "<body>" << overlayDiv()
         << headerBar(partner, serviceUrl, HeaderForm::SentenceSearch, keyword);

    text << QStringList{
        QStringLiteral("<div class=\"section-wrapper\">"),
        QStringLiteral("<div class=\"container\">"),
        QStringLiteral("<div class=\"row\">"),
        QStringLiteral("<ol class=\"breadcrumb\">"),
        homeBreadcrumbLink(),
        QStringLiteral("<li class=\"breadcrumb-item active\">Hasil Pencarian Kalimat : %1 ( Found %2 Records)</li>")
            .arg(htmlEscape(keyword), filterMarkup(jsonText(searchJson, "total_rows"))),
        QStringLiteral("</ol>"),
        QStringLiteral("</div>"),
        QStringLiteral("<div class=\"row\">"),
        QStringLiteral("<div id=\"listChart\" class=\"col-sm-10 col-sm-offset-1 list-chart\">"),
    };
    for (const Json &hit : jsonList(searchJson, "data"))
        text << sentenceHitRow(searchHit(hit), serviceUrl);
    text << QStringList{QStringLiteral("</div>"), QStringLiteral("</div>"), QStringLiteral("</div>")};
    text << pagination(searchJson, keyword, QLatin1String(kSentenceField), page);
    text << QStringLiteral("</div>");

    text << QStringList{
        scriptsOfPage(),           QStringLiteral("<script>"),  tilePageScript(QStringLiteral("empty_ready")),
        headerSearchScript(),      QStringLiteral("</script>"), QStringLiteral("</body>"),
        QStringLiteral("</html>"),
    };
    return text.text();
}

void renderSearchResult(TLekoraLib &lib, BrowserView &view, Dialogs &dialogs, int Page, const QString &Keyword,
                        const QString &Field)
{
    runGuarded(dialogs, kSearchResultFailure, [&] {
        const Json &clientJson = requireAnswer(lib.ClientJson(), "FClientJson");
        const Json &searchJson = requireAnswer(lib.SearchContentJson(), "FSearchContentJson");
        writeAndLoadPage(lib.DataPath(), QLatin1String(kSearchResultPageFile),
                         searchResultPage(clientJson, searchJson, Page, Keyword, Field, serviceUrl()), view);
    });
}

void renderSearchKalimatResult(TLekoraLib &lib, BrowserView &view, Dialogs &dialogs, int page, const QString &keyword)
{
    runGuarded(dialogs, kSearchKalimatResultFailure, [&] {
        const Json &clientJson = requireAnswer(lib.ClientJson(), "FClientJson");
        const Json &searchJson = requireAnswer(lib.SearchContentJson(), "FSearchContentJson");
        writeAndLoadPage(lib.DataPath(), QLatin1String(kSearchKalimatResultPageFile),
                         searchKalimatResultPage(clientJson, searchJson, page, keyword, serviceUrl()), view);
    });
}

} // namespace elumira::pages
