// The chart pages and their growth by further chart pages.
#include "pages/chart_pages.h"

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

#include <limits>

namespace elumira::pages {

namespace {

// The page after the one shown. The number comes from the page's own call, so it may be the largest an int holds:
// that one's more link asks for the same page again instead of for a number past the end of the range.
int pageAfter(int page)
{
    return page < std::numeric_limits<int>::max() ? page + 1 : page;
}

// The more link's opening, which only the more link's own line starts with.
constexpr char kMoreLinkStart[] = "<a id=\"loadMore\" ";

const char *failurePrefix(ChartKind kind)
{
    switch (kind) {
    case ChartKind::TopRead:
        return kTopChartFailure;
    case ChartKind::LastRead:
        return kLastReadFailure;
    case ChartKind::LastView:
        return kLastViewFailure;
    }
    return kTopChartFailure;
}

// A book of the chart; anything but an object is an answer of the wrong shape.
const Json &chartBook(const Json &item)
{
    if (!item.is_object())
        throw JsonShapeError("An item of \"data\" is not an object");
    return item;
}

// Whether the line is the chart's own more link. Only that line is renewed, so that a title or a synopsis
// that happens to mention the more function's name is never replaced.
bool isMoreLinkLine(const QString &line, ChartKind kind)
{
    return line.startsWith(QLatin1String(kMoreLinkStart)) &&
           line.contains(QLatin1String("app.") + chartMoreFunction(kind), Qt::CaseInsensitive);
}

void renderChart(ChartKind kind, TLekoraLib &lib, BrowserView &view, Dialogs &dialogs, int Page)
{
    runGuarded(dialogs, failurePrefix(kind), [&] {
        const Json &chartJson = requireAnswer(lib.ChartContentJson(), "FChartContentJson");
        if (Page == 1) {
            const Json &clientJson = requireAnswer(lib.ClientJson(), "FClientJson");
            writeAndLoadPage(lib.DataPath(), QLatin1String(kChartPageFile),
                             chartPage(clientJson, chartJson, kind, Page, serviceUrl()), view);
            return;
        }
        if (jsonInt(chartJson, "total") == 0) {
            view.runScript(QLatin1String(kHideMoreScript));
            return;
        }
        const QString appendText = chartAppendText(chartJson, kind, serviceUrl());
        const QString path = pagePath(lib.DataPath(), QLatin1String(kChartPageFile));
        const QStringList lines = appendChartRows(splitPageLines(readPageFile(path)), appendText, kind, Page);
        writePageFile(path, joinPageLines(lines));
        view.reload();
        view.runScript(QLatin1String(kShowMoreScript));
    });
}

} // namespace

QString chartName(ChartKind kind)
{
    switch (kind) {
    case ChartKind::TopRead:
        return QStringLiteral("Banyak Dibaca");
    case ChartKind::LastRead:
        return QStringLiteral("Terakhir Dibaca");
    case ChartKind::LastView:
        return QStringLiteral("Terakhir Dilihat");
    }
    return {};
}

QString chartMoreFunction(ChartKind kind)
{
    switch (kind) {
    case ChartKind::TopRead:
        return QStringLiteral("loadMoreChart");
    case ChartKind::LastRead:
        return QStringLiteral("loadMoreLastRead");
    case ChartKind::LastView:
        return QStringLiteral("loadMoreLastView");
    }
    return {};
}

QStringList chartRowPieces(const Json &book, ChartKind kind, ChartWrite write, const QString &serviceUrl)
{
    const bool topRead = kind == ChartKind::TopRead;
    const bool full = write == ChartWrite::Full;
    const QString id = jsonText(book, "id_konten");
    // The publisher and the ISBN go into the whole page as received (through the mark-up filter), into later
    // rows escaped.
    const auto detail = [&](const char *field) {
        const QString value = jsonText(book, field);
        return full ? filterMarkup(value) : htmlEscape(value);
    };
    const QString readClasses = topRead && full ? QStringLiteral("btn btn-primary btn-block btn-baca")
                                                : QStringLiteral("btn btn-primary btn-block");

    QStringList pieces = {
        QStringLiteral("<div class=\"row list-chart-row\">"),
        QStringLiteral("<div class=\"col-sm-12\">"),
        QStringLiteral("<div class=\"row\">"),
        QStringLiteral("<div class=\"col-sm-2\">%1</div>")
            .arg(lazyImage(QLatin1String(kCoverPlaceholder),
                           pictureUrl(serviceUrl, PictureFolder::Cover, jsonText(book, "img")), QStringLiteral("book"),
                           QStringLiteral("img-responsive lazyload"))),
        QStringLiteral("<div class=\"col-sm-8 middle-section\">"),
        QStringLiteral("<div class=\"describe-wrap\">"),
        QStringLiteral("<h3 class=\"title-books\"><a href=\"javascript:void(0);\" onClick=\"%1\">%2</a></h3>")
            .arg(scriptCallAttribute(QStringLiteral("detailFromChart"), {id}), htmlEscape(jsonText(book, "judul"))),
        QStringLiteral("<h4 class=\"author\">%1</h4>").arg(htmlEscape(jsonText(book, "penulis"))),
        QStringLiteral("<h4 class=\"author\">%1</h4>").arg(detail("penerbit")),
        QStringLiteral("<h4 class=\"author\">%1</h4>").arg(detail("isbn")),
    };
    if (topRead)
        pieces << ratingStars(jsonText(book, "nilai_rate"), QStringLiteral("rating"));
    pieces << QStringList{
        // The synopsis is mark-up on purpose; only what the filter allows reaches the page.
        QStringLiteral("<span class=\"more\">%1</span>").arg(filterMarkup(jsonText(book, "sinopsis"))),
        QStringLiteral("</div>"),
        QStringLiteral("</div>"),
        QStringLiteral("<div class=\"col-sm-2\">"),
        QStringLiteral("<p class=\"txt16\"><span>Stok</span>: %1/%2</p>")
            .arg(filterMarkup(jsonText(book, "stok")), filterMarkup(jsonText(book, "qty"))),
        QStringLiteral("<button type=\"button\" class=\"%1\" onClick=\"%2\">BACA</button>")
            .arg(readClasses, scriptCallAttribute(QStringLiteral("bacaSection"), {id})),
        QStringLiteral("</div>"),
        QStringLiteral("</div>"),
        QStringLiteral("</div>"),
        QStringLiteral("</div>"),
    };
    return pieces;
}

QString chartMoreLink(ChartKind kind, int nextPage, ChartWrite write)
{
    const QString classes = kind == ChartKind::TopRead && write == ChartWrite::Full
                                ? QStringLiteral("btn btn-primary btn-block btn-more")
                                : QStringLiteral("btn btn-primary btn-block");
    return QLatin1String(kMoreLinkStart) +
           QStringLiteral("href=\"javascript:void(0);\" class=\"%1\" onClick=\"%2\">Selebihnya</a>")
               .arg(classes, scriptCallAttribute(chartMoreFunction(kind), {nextPage}));
}

QString chartPage(const Json &clientJson, const Json &chartJson, ChartKind kind, int page, const QString &serviceUrl)
{
    const Json &partner = partnerData(clientJson);
    QStringList rules = {partnerColourRules(partner), chartListRules()};
    if (kind == ChartKind::TopRead)
        rules << readButtonRules(partner) << moreButtonRules(partner);

    PageText text;
    text << catalogueHead(QStringLiteral("Index"), rules.join(QLatin1String(kLineBreak))) << "<body>" << overlayDiv()
         << headerBar(partner, serviceUrl, HeaderForm::ChartsAndFieldSearch);

    text << QStringList{
        QStringLiteral("<div class=\"section-wrapper\">"),
        QStringLiteral("<div class=\"container\">"),
        QStringLiteral("<div class=\"row\">"),
        QStringLiteral("<ol class=\"breadcrumb\">"),
        QStringLiteral("<li class=\"breadcrumb-item\"><a href=\"#\" onClick=\"%1\">Home</a></li>")
            .arg(scriptCallAttribute(QStringLiteral("back"))),
        QStringLiteral("<li class=\"breadcrumb-item active\">%1</li>").arg(chartName(kind)),
        QStringLiteral("</ol>"),
        QStringLiteral("</div>"),
        QStringLiteral("<div class=\"row\">"),
        QStringLiteral("<div id=\"listChart\" class=\"col-sm-10 col-sm-offset-1 list-chart\">"),
    };
    for (const Json &book : jsonList(chartJson, "data"))
        text << chartRowPieces(chartBook(book), kind, ChartWrite::Full, serviceUrl);
    text << QStringList{
        QLatin1String(kChartMarker),
        QStringLiteral("</div>"),
        QStringLiteral("</div>"),
        QStringLiteral("<div class=\"row\" id=\"btnMore\">"),
        QStringLiteral("<div class=\"col-sm-4 col-sm-offset-4 mt30\">"),
        chartMoreLink(kind, pageAfter(page), ChartWrite::Full),
        QStringLiteral("</div>"),
        QStringLiteral("</div>"),
        QStringLiteral("</div>"),
        QStringLiteral("</div>"),
    };

    text << QStringList{
        scriptLinks({"js/jquery.js", "js/bootstrap.min.js", "js/lazyload.min.js",
                     "plugins/slick-slider/slick/slick.min.js", "plugins/bootstrap-star-rating/js/star-rating.js",
                     "js/main.js"}),
        QStringLiteral("<script>"),
        tilePageScript(QStringLiteral("empty_ready")),
        headerSearchScript(),
        QStringLiteral("</script>"),
        QStringLiteral("</body>"),
        QStringLiteral("</html>"),
    };
    return text.text();
}

QString chartAppendText(const Json &chartJson, ChartKind kind, const QString &serviceUrl)
{
    // Every row begins and ends with a tag, so one trim of the whole line trims it after every row as well.
    QString rows;
    for (const Json &book : jsonList(chartJson, "data"))
        rows += chartRowPieces(chartBook(book), kind, ChartWrite::Append, serviceUrl).join(QString());
    return rows.trimmed() + QLatin1String(kLineBreak) + QLatin1String(kChartMarker);
}

QStringList appendChartRows(const QStringList &lines, const QString &appendText, ChartKind kind, int page)
{
    QStringList result;
    result.reserve(lines.size());
    for (const QString &line : lines) {
        QString current = line == QLatin1String(kChartMarker) ? appendText : line;
        if (isMoreLinkLine(current, kind))
            current = chartMoreLink(kind, pageAfter(page), ChartWrite::Append);
        result << current;
    }
    return result;
}

void renderTopChart(TLekoraLib &lib, BrowserView &view, Dialogs &dialogs, int Page)
{
    renderChart(ChartKind::TopRead, lib, view, dialogs, Page);
}

void renderLastRead(TLekoraLib &lib, BrowserView &view, Dialogs &dialogs, int Page)
{
    renderChart(ChartKind::LastRead, lib, view, dialogs, Page);
}

void renderLastView(TLekoraLib &lib, BrowserView &view, Dialogs &dialogs, int Page)
{
    renderChart(ChartKind::LastView, lib, view, dialogs, Page);
}

} // namespace elumira::pages
