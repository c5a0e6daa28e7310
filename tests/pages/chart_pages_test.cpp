// The chart pages: the exact rows and their order, how the three charts differ, the growth at the marker
// line with the renewed more link, a chart page without books, the failures, and in a real view the calls
// the rows and the more button make as the page grows.
#include "pages/chart_pages.h"
#include "pages/header_bar.h"
#include "pages/page_guard.h"
#include "pages/page_scripts.h"
#include "pages/page_writer.h"
#include "tests/support/partner_fixtures.h"
#include "tests/support/page_text.h"

#include <gtest/gtest.h>

#include <QDir>

#include <functional>
#include <limits>

using namespace elumira::pages;
using elumira::Json;
using elumira::JsonShapeError;
using elumira::ProcessMessage;
using elumira::test::kPartnerConfiguration;
using elumira::test::readFile;

using elumira::test::crlf;
using elumira::test::afterHeader;
using elumira::test::kService;
namespace {

// A first chart page: a title and an author that need escaping, a publisher and an ISBN with an ampersand
// and an angle bracket, a synopsis with mark-up, and an id with an apostrophe.
const char *const kFirstPage = R"json({"code":"200","total":2,"data":[
    {"id_konten":"B'01","img":"sampul 1.jpg","judul":"Laskar & Pelangi","penulis":"Andrea <Hirata>",
     "penerbit":"Bentang & Pustaka","isbn":"978<602>","sinopsis":"<p>Kisah <b>sepuluh</b> anak</p>",
     "stok":"2","qty":5,"nilai_rate":"4"},
    {"id_konten":"B02","img":"b2.jpg","judul":"Bumi Manusia","penulis":"Pramoedya","penerbit":"Hasta Mitra",
     "isbn":"979-8659","sinopsis":"Minke","stok":0,"qty":"3","nilai_rate":5}]})json";

const char *const kSecondPage = R"json({"code":"200","total":1,"data":[
    {"id_konten":"B03","img":"b3.jpg","judul":"Ronggeng","penulis":"Ahmad Tohari","penerbit":"Gramedia & Co",
     "isbn":"979<22>","sinopsis":"<i>Dukuh</i> Paruk","stok":"1","qty":"1","nilai_rate":"3"}]})json";

const char *const kThirdPage = R"json({"code":"200","total":"1","data":[
    {"id_konten":"B04","img":"b4.jpg","judul":"Saman","penulis":"Ayu Utami","penerbit":"KPG","isbn":"1",
     "sinopsis":"","stok":"4","qty":"4","nilai_rate":"2"}]})json";

// The page after the header bar: the top-read chart with the first book of kFirstPage alone. Lines end in
// CR LF; READ_ONLY_STARS and HEADER_SEARCH stand for the stars' set-up and the header search script.
const char *const kTopChartBody = R"html(<div class="section-wrapper">
<div class="container">
<div class="row">
<ol class="breadcrumb">
<li class="breadcrumb-item"><a href="#" onClick="app.back()">Home</a></li>
<li class="breadcrumb-item active">Banyak Dibaca</li>
</ol>
</div>
<div class="row">
<div id="listChart" class="col-sm-10 col-sm-offset-1 list-chart">
<div class="row list-chart-row">
<div class="col-sm-12">
<div class="row">
<div class="col-sm-2"><img src="img/loading.jpg" data-src="http://127.0.0.1:8765/prod/img/cover/sampul 1.jpg" alt="book" class="img-responsive lazyload"></div>
<div class="col-sm-8 middle-section">
<div class="describe-wrap">
<h3 class="title-books"><a href="javascript:void(0);" onClick="app.detailFromChart('B\'01')">Laskar &amp; Pelangi</a></h3>
<h4 class="author">Andrea &lt;Hirata&gt;</h4>
<h4 class="author">Bentang & Pustaka</h4>
<h4 class="author">978&lt;602></h4>
<input id="rating" class="rating-detail" type="number" min="0" max="5" step="1" data-size="sm" value="4">
<span class="more"><p>Kisah <b>sepuluh</b> anak</p></span>
</div>
</div>
<div class="col-sm-2">
<p class="txt16"><span>Stok</span>: 2/5</p>
<button type="button" class="btn btn-primary btn-block btn-baca" onClick="app.bacaSection('B\'01')">BACA</button>
</div>
</div>
</div>
</div>
<!--LAST-->
</div>
</div>
<div class="row" id="btnMore">
<div class="col-sm-4 col-sm-offset-4 mt30">
<a id="loadMore" href="javascript:void(0);" class="btn btn-primary btn-block btn-more" onClick="app.loadMoreChart(2)">Selebihnya</a>
</div>
</div>
</div>
</div>
<script src="js/jquery.js"></script>
<script src="js/bootstrap.min.js"></script>
<script src="js/lazyload.min.js"></script>
<script src="plugins/slick-slider/slick/slick.min.js"></script>
<script src="plugins/bootstrap-star-rating/js/star-rating.js"></script>
<script src="js/main.js"></script>
<script>
READ_ONLY_STARS
// Nothing of the page's own to set up: js/main.js sets up the menus, the pictures and the rating stars.
$(document).ready(function () {
});
HEADER_SEARCH
</script>
</body>
</html>
)html";

Json partner()
{
    return Json::parse(kPartnerConfiguration);
}

Json firstBookOnly()
{
    Json chart = Json::parse(kFirstPage);
    chart["data"].erase(1);
    return chart;
}

QString styleBlockOf(const QString &page)
{
    const qsizetype start = page.indexOf(QLatin1String("<style>"));
    const qsizetype end = page.indexOf(QLatin1String("</style>"));
    return start < 0 || end < start ? QString() : page.mid(start, end - start);
}

QStringList lineHolding(const QStringList &lines, const QString &part)
{
    QStringList found;
    for (const QString &line : lines)
        if (line.contains(part))
            found << line;
    return found;
}

// Grows the page text by a further chart page, as the generator does with the file.
QString grown(const QString &page, const Json &chart, ChartKind kind, int pageNumber,
              const QString &serviceUrl = kService)
{
    return joinPageLines(
        appendChartRows(splitPageLines(page), chartAppendText(chart, kind, serviceUrl), kind, pageNumber));
}

TEST(ChartPagesTest, chartPage_topRead_writesBreadcrumbRowsMarkerMoreLinkAndScriptsInOrder)
{
    const QString page = chartPage(partner(), firstBookOnly(), ChartKind::TopRead, 1, kService);
    EXPECT_EQ(afterHeader(page), crlf(kTopChartBody)
                                   .replace(QLatin1String("READ_ONLY_STARS"), pageScript(QStringLiteral("read_only_stars")))
                                   .replace(QLatin1String("HEADER_SEARCH"), headerSearchScript()));
    EXPECT_TRUE(page.contains(headerBar(partner()["data"], kService, HeaderForm::ChartsAndFieldSearch)));
    EXPECT_TRUE(page.startsWith(QLatin1String("<!DOCTYPE html>\r\n<html lang=\"en\">\r\n")));
}

TEST(ChartPagesTest, chartPage_threeKindsDifferAsTabled)
{
    const struct
    {
        ChartKind kind;
        const char *breadcrumb;
        const char *moreCall;
        const char *readButton;
        const char *moreLinkClasses;
        bool stars;
        bool buttonRules;
    } cases[] = {
        {ChartKind::TopRead, "Banyak Dibaca", "app.loadMoreChart(2)", "btn btn-primary btn-block btn-baca",
         "btn btn-primary btn-block btn-more", true, true},
        {ChartKind::LastRead, "Terakhir Dibaca", "app.loadMoreLastRead(2)", "btn btn-primary btn-block",
         "btn btn-primary btn-block", false, false},
        {ChartKind::LastView, "Terakhir Dilihat", "app.loadMoreLastView(2)", "btn btn-primary btn-block",
         "btn btn-primary btn-block", false, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.breadcrumb);
        const QString page = chartPage(partner(), Json::parse(kFirstPage), c.kind, 1, kService);
        const QStringList lines = splitPageLines(page);
        EXPECT_EQ(lineHolding(lines, QStringLiteral("breadcrumb-item active")),
                  QStringList{QStringLiteral("<li class=\"breadcrumb-item active\">%1</li>").arg(c.breadcrumb)});
        EXPECT_EQ(lineHolding(lines, QStringLiteral("id=\"loadMore\"")),
                  QStringList{QStringLiteral("<a id=\"loadMore\" href=\"javascript:void(0);\" class=\"%1\" "
                                             "onClick=\"%2\">Selebihnya</a>")
                                  .arg(c.moreLinkClasses, c.moreCall)});
        EXPECT_EQ(lineHolding(lines, QStringLiteral(">BACA<")).size(), 2);
        for (const QString &button : lineHolding(lines, QStringLiteral(">BACA<")))
            EXPECT_TRUE(button.contains(QStringLiteral("class=\"%1\"").arg(c.readButton))) << button.toStdString();
        EXPECT_EQ(lineHolding(lines, QStringLiteral("class=\"rating-detail\"")).size(), c.stars ? 2 : 0);

        const QString style = styleBlockOf(page);
        EXPECT_LT(style.indexOf(QLatin1String(".list-item-category:hover")),
                  style.indexOf(QLatin1String(".title-books")));
        EXPECT_LT(style.indexOf(QLatin1String(".title-books")), style.indexOf(QLatin1String("#btnMore")));
        if (c.buttonRules) {
            EXPECT_EQ(style.count(QLatin1String("#c0392b")), 2);
            EXPECT_LT(style.indexOf(QLatin1String("#btnMore")), style.indexOf(QLatin1String(".btn-baca {")));
            EXPECT_LT(style.indexOf(QLatin1String(".btn-baca:hover")), style.indexOf(QLatin1String(".btn-more {")));
        } else {
            EXPECT_FALSE(style.contains(QLatin1String(".btn-baca")));
            EXPECT_FALSE(style.contains(QLatin1String(".btn-more")));
        }
    }
}

TEST(ChartPagesTest, appends_renewTheMoreLinkAndKeepEveryBlockBeforeOneMarker)
{
    for (const ChartKind kind : {ChartKind::TopRead, ChartKind::LastRead, ChartKind::LastView}) {
        SCOPED_TRACE(chartName(kind).toStdString());
        const QString call = QLatin1String("app.") + chartMoreFunction(kind);
        const QString plainLink =
            QStringLiteral("<a id=\"loadMore\" href=\"javascript:void(0);\" "
                           "class=\"btn btn-primary btn-block\" onClick=\"%1(%2)\">Selebihnya</a>");
        QString page = chartPage(partner(), Json::parse(kFirstPage), kind, 1, kService);

        page = grown(page, Json::parse(kSecondPage), kind, 2);
        EXPECT_EQ(lineHolding(splitPageLines(page), QStringLiteral("id=\"loadMore\"")),
                  QStringList{plainLink.arg(call).arg(3)});
        page = grown(page, Json::parse(kThirdPage), kind, 3);
        const QStringList lines = splitPageLines(page);
        EXPECT_EQ(lineHolding(lines, QStringLiteral("id=\"loadMore\"")), QStringList{plainLink.arg(call).arg(4)});

        // Each appended block is one line of rows; the marker stays last, once.
        EXPECT_EQ(lines.count(QLatin1String(kChartMarker)), 1);
        const qsizetype marker = lines.indexOf(QLatin1String(kChartMarker));
        EXPECT_TRUE(lines[marker - 2].startsWith(QLatin1String("<div class=\"row list-chart-row\">")));
        EXPECT_TRUE(lines[marker - 2].contains(QLatin1String("app.detailFromChart('B03')")));
        EXPECT_TRUE(lines[marker - 1].contains(QLatin1String("app.detailFromChart('B04')")));
        EXPECT_EQ(lines[marker + 1], QStringLiteral("</div>"));
        const qsizetype first = page.indexOf(QLatin1String("'B\\'01'"));
        const qsizetype second = page.indexOf(QLatin1String("'B02'"));
        EXPECT_TRUE(first >= 0 && first < second && second < page.indexOf(QLatin1String("'B03'")) &&
                    page.indexOf(QLatin1String("'B03'")) < page.indexOf(QLatin1String("'B04'")));
        // Appended read buttons are plain on every chart.
        EXPECT_TRUE(lines[marker - 1].contains(
            QLatin1String("class=\"btn btn-primary btn-block\" onClick=\"app.bacaSection('B04')\"")));
        EXPECT_EQ(lines[marker - 1].contains(QLatin1String("rating-detail")), kind == ChartKind::TopRead);
    }
}

TEST(ChartPagesTest, publisherAndIsbn_areAsReceivedInTheFullWriteAndEscapedInAnAppend)
{
    // As received means through the mark-up filter: the '<' that starts no tag is written as &lt;, which the
    // page shows as the same character.
    const QString page = chartPage(partner(), Json::parse(kFirstPage), ChartKind::TopRead, 1, kService);
    EXPECT_TRUE(page.contains(
        QLatin1String("<h4 class=\"author\">Bentang & Pustaka</h4>\r\n<h4 class=\"author\">978&lt;602></h4>")));

    const QString appended = chartAppendText(Json::parse(kSecondPage), ChartKind::TopRead, kService);
    EXPECT_TRUE(appended.contains(
        QLatin1String("<h4 class=\"author\">Gramedia &amp; Co</h4><h4 class=\"author\">979&lt;22&gt;</h4>")));
    EXPECT_TRUE(appended.endsWith(QLatin1String("</div>\r\n<!--LAST-->")));
    EXPECT_FALSE(appended.contains(QLatin1String("\r\n<div")));
}

TEST(ChartPagesTest, appendChartRows_fileWithoutMarker_takesNoRowsButItsMoreLinkIsRenewed)
{
    const QStringList lines = {
        QStringLiteral("<div id=\"listChart\">"),
        QStringLiteral("</div>"),
        QStringLiteral("<a id=\"loadMore\" href=\"javascript:void(0);\" class=\"btn btn-primary btn-block btn-more\" "
                       "onClick=\"app.loadMoreChart(2)\">Selebihnya</a>"),
    };
    const QStringList result =
        appendChartRows(lines, QStringLiteral("<div>rows</div>\r\n<!--LAST-->"), ChartKind::TopRead, 2);
    EXPECT_EQ(result, (QStringList{lines[0], lines[1], chartMoreLink(ChartKind::TopRead, 3, ChartWrite::Append)}));
}

TEST(ChartPagesTest, appendChartRows_onlyTheMoreLinkOfTheChartShownIsRenewed)
{
    const QString link =
        QStringLiteral("<a id=\"loadMore\" href=\"javascript:void(0);\" class=\"btn btn-primary btn-block\" "
                       "onClick=\"app.loadMoreLastRead(2)\">Selebihnya</a>");
    // A row whose title mentions the more function keeps its line; so does another chart's more link.
    const QStringList lines = {
        QStringLiteral("<div class=\"row list-chart-row\"><h3>Memanggil APP.LOADMORELASTREAD dari halaman</h3></div>"),
        link,
    };
    EXPECT_EQ(appendChartRows(lines, QString(), ChartKind::LastRead, 2),
              (QStringList{lines[0], chartMoreLink(ChartKind::LastRead, 3, ChartWrite::Append)}));
    EXPECT_EQ(appendChartRows(lines, QString(), ChartKind::TopRead, 2), lines);
    // The function's name is compared without regard to letter case.
    QString upper = link;
    upper.replace(QLatin1String("app.loadMoreLastRead"), QLatin1String("APP.LOADMORELASTREAD"));
    EXPECT_EQ(appendChartRows({upper}, QString(), ChartKind::LastRead, 5),
              QStringList{chartMoreLink(ChartKind::LastRead, 6, ChartWrite::Append)});
    // A page number at the end of the int range asks for itself again rather than overflowing.
    constexpr int last = std::numeric_limits<int>::max();
    EXPECT_EQ(appendChartRows({link}, QString(), ChartKind::LastRead, last),
              QStringList{chartMoreLink(ChartKind::LastRead, last, ChartWrite::Append)});
}

TEST(ChartPagesTest, chartPage_emptyOrMissingData_givesBreadcrumbEmptyListMarkerAndMoreButton)
{
    for (const char *answer : {R"({"code":"200","total":0,"data":[]})", R"({"code":"200"})"}) {
        const QStringList lines =
            splitPageLines(chartPage(partner(), Json::parse(answer), ChartKind::LastView, 1, kService));
        const qsizetype list =
            lines.indexOf(QStringLiteral("<div id=\"listChart\" class=\"col-sm-10 col-sm-offset-1 list-chart\">"));
        ASSERT_GE(list, 0) << answer;
        EXPECT_EQ(lines[list + 1], QLatin1String(kChartMarker));
        EXPECT_EQ(lineHolding(lines, QStringLiteral("id=\"loadMore\"")).size(), 1);
        EXPECT_EQ(lineHolding(lines, QStringLiteral("<div class=\"row list-chart-row\">")).size(), 0);
    }
}

TEST(ChartPagesTest, chartAnswerOfTheWrongShape_isAFailure)
{
    for (const char *answer : {R"({"data":null})", R"({"data":{"id_konten":"1"}})", R"({"data":["B01"]})"}) {
        EXPECT_THROW(chartPage(partner(), Json::parse(answer), ChartKind::TopRead, 1, kService), JsonShapeError)
            << answer;
        EXPECT_THROW(chartAppendText(Json::parse(answer), ChartKind::TopRead, kService), JsonShapeError) << answer;
    }
    EXPECT_THROW(chartPage(Json::parse(R"({"data":"x"})"), Json::parse(kFirstPage), ChartKind::TopRead, 1, kService),
                 JsonShapeError);
}

TEST(ChartPagesTest, splitAndJoinPageLines_keepACrLfTextByteForByte)
{
    const QString text = QStringLiteral("<a>\r\n\r\n<!--LAST-->\r\n</a>\r\n");
    EXPECT_EQ(splitPageLines(text),
              (QStringList{QStringLiteral("<a>"), QString(), QStringLiteral("<!--LAST-->"), QStringLiteral("</a>")}));
    EXPECT_EQ(joinPageLines(splitPageLines(text)), text);
    // Other line ends are read as line ends too.
    EXPECT_EQ(splitPageLines(QStringLiteral("a\nb\rc")),
              (QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}));
}

using ChartRenderTest = elumira::test::PartnerServiceTest;

TEST_F(ChartRenderTest, fullWriteThenAppend_writesLoadsThenGrowsReloadsAndShowsTheMoreButton)
{
    fetchConfiguration();
    service->setChartContentJson(Json::parse(kFirstPage));
    renderTopChart(*service, view, dialogs, 1);
    ASSERT_TRUE(dialogs.boxes().isEmpty());
    ASSERT_EQ(view.loads, QList<QUrl>{pageFileUrl(kChartPageFile)});
    const QByteArray first = readFile(pageFile(kChartPageFile));
    EXPECT_EQ(first,
              chartPage(*service->ClientJson(), Json::parse(kFirstPage), ChartKind::TopRead, 1, serviceUrl()).toUtf8());

    service->setChartContentJson(Json::parse(kSecondPage));
    renderTopChart(*service, view, dialogs, 2);
    ASSERT_TRUE(dialogs.boxes().isEmpty());
    EXPECT_EQ(view.loads.size(), 1);
    EXPECT_EQ(view.reloads, 1);
    EXPECT_EQ(view.scripts, QStringList{QStringLiteral("$(\"#btnMore\").show();")});
    const QString grownText = QString::fromUtf8(readFile(pageFile(kChartPageFile)));
    EXPECT_EQ(grownText,
              grown(QString::fromUtf8(first), Json::parse(kSecondPage), ChartKind::TopRead, 2, serviceUrl()));
    EXPECT_TRUE(grownText.contains(QLatin1String("app.loadMoreChart(3)")));
}

TEST_F(ChartRenderTest, append_totalZero_hidesTheMoreButtonAndLeavesTheFileByteForByte)
{
    fetchConfiguration();
    service->setChartContentJson(Json::parse(kFirstPage));
    renderLastRead(*service, view, dialogs, 1);
    const QByteArray written = readFile(pageFile(kChartPageFile));
    ASSERT_FALSE(written.isEmpty());

    for (const char *answer : {R"({"code":"200","total":0,"data":[{"id_konten":"X"}]})",
                               R"({"code":"200","total":"0"})", R"({"code":"200","data":[]})"}) {
        SCOPED_TRACE(answer);
        view = elumira::test::RecordingView();
        service->setChartContentJson(Json::parse(answer));
        renderLastRead(*service, view, dialogs, 2);
        EXPECT_TRUE(dialogs.boxes().isEmpty());
        EXPECT_EQ(view.scripts, QStringList{QStringLiteral("$(\"#btnMore\").hide();")});
        EXPECT_EQ(view.reloads, 0);
        EXPECT_TRUE(view.loads.isEmpty());
        EXPECT_EQ(readFile(pageFile(kChartPageFile)), written);
    }
}

TEST_F(ChartRenderTest, writingAnotherChart_replacesTheWholeFile)
{
    fetchConfiguration();
    service->setChartContentJson(Json::parse(kFirstPage));
    renderTopChart(*service, view, dialogs, 1);
    service->setChartContentJson(Json::parse(kSecondPage));
    renderTopChart(*service, view, dialogs, 2);
    service->setChartContentJson(Json::parse(kThirdPage));
    renderLastView(*service, view, dialogs, 1);
    ASSERT_TRUE(dialogs.boxes().isEmpty());
    EXPECT_EQ(
        readFile(pageFile(kChartPageFile)),
        chartPage(*service->ClientJson(), Json::parse(kThirdPage), ChartKind::LastView, 1, serviceUrl()).toUtf8());
}

TEST_F(ChartRenderTest, failures_showTheChartsPrefixAndLoadNothing)
{
    using Render = void (*)(elumira::TLekoraLib &, elumira::BrowserView &, elumira::Dialogs &, int);
    const auto setChart = [this](const char *answer) { service->setChartContentJson(Json::parse(answer)); };
    const struct
    {
        const char *name;
        Render render;
        const char *prefix;
        int page;
        std::function<void()> prepare;
    } cases[] = {
        {"most read, data folder missing", renderTopChart, kTopChartFailure, 1,
         [&] {
             fetchConfiguration();
             setChart(kFirstPage);
             ASSERT_TRUE(QDir(service->DataPath()).removeRecursively());
         }},
        {"last read, no chart answer", renderLastRead, kLastReadFailure, 1, [&] { fetchConfiguration(); }},
        {"last viewed, no partner configuration", renderLastView, kLastViewFailure, 1, [&] { setChart(kFirstPage); }},
        {"most read, append without the file", renderTopChart, kTopChartFailure, 2,
         [&] {
             fetchConfiguration();
             setChart(kSecondPage);
         }},
        {"last viewed, append with data of another kind", renderLastView, kLastViewFailure, 2,
         [&] {
             fetchConfiguration();
             setChart(kFirstPage);
             renderLastView(*service, view, dialogs, 1);
             ASSERT_TRUE(dialogs.boxes().isEmpty());
             setChart(R"({"total":1,"data":"B03"})");
         }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        // The old client removes the data folder as it goes, so it goes before the new one builds it.
        service.reset();
        service = std::make_unique<elumira::TLekoraLib>(dialogs);
        dialogs.clear();
        c.prepare();
        view = elumira::test::RecordingView();
        dialogs.clear();

        c.render(*service, view, dialogs, c.page);

        expectOneFailureBox(c.prefix);
        EXPECT_TRUE(view.loads.isEmpty());
        EXPECT_EQ(view.reloads, 0);
        EXPECT_TRUE(view.scripts.isEmpty());
    }
}

class ChartViewTest : public elumira::test::PartnerViewTest
{
protected:
    int rows() { return js(QStringLiteral("$('.list-chart-row').length")).toInt(); }
};

// The script errors the views report while a test runs.
QStringList g_scriptErrors;
QtMessageHandler g_previousHandler = nullptr;

void recordScriptErrors(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.startsWith(QLatin1String("js: ")))
        g_scriptErrors << message;
    g_previousHandler(type, context, message);
}

TEST_F(ChartViewTest, growthWithReloads_scriptsForTheReloadedPageAlwaysRunAfterItsOwn)
{
    g_scriptErrors.clear();
    g_previousHandler = qInstallMessageHandler(recordScriptErrors);
    s_service->setChartContentJson(Json::parse(kFirstPage));
    renderAndWait([this] { renderTopChart(*s_service, *view, *s_dialogs, 1); });

    // As the member asks for page after page: the more button is hidden at the request, then the answer
    // grows and reloads the page and shows the button again, or, at the end of the list, hides it. No wait
    // between the steps but the reload's own.
    int expectedRows = rows();
    for (int page = 2; page <= 40; ++page) {
        SCOPED_TRACE(page);
        const bool end = page % 7 == 0;
        view->runScript(QStringLiteral("$(\"#btnMore\").hide()"));
        s_service->setChartContentJson(Json::parse(end ? R"({"code":"200","total":0,"data":[]})" : kSecondPage));
        if (end) {
            renderTopChart(*s_service, *view, *s_dialogs, page);
        } else {
            renderAndWait([&] { renderTopChart(*s_service, *view, *s_dialogs, page); });
            ++expectedRows;
        }
        const QString state = QStringLiteral("%1 %2").arg(end ? QStringLiteral("hidden") : QStringLiteral("shown"))
                                  .arg(end ? page : page + 1);
        QString shown;
        EXPECT_TRUE(elumira::test::waitUntil([&] {
            shown = js(QStringLiteral("($('#btnMore').is(':visible') ? 'shown ' : 'hidden ')"
                                      " + ($('#loadMore').attr('onClick') || '').replace(/\\D/g, '')"))
                        .toString();
            return shown == state;
        })) << shown.toStdString() << " instead of " << state.toStdString();
        EXPECT_EQ(rows(), expectedRows);
        EXPECT_TRUE(s_dialogs->boxes().isEmpty());
    }
    qInstallMessageHandler(g_previousHandler);
    EXPECT_TRUE(g_scriptErrors.isEmpty()) << g_scriptErrors.join(QLatin1Char('\n')).toStdString();
}

TEST_F(ChartViewTest, topRead_rowsAndMoreButtonCallTheProgramAsThePageGrows)
{
    s_service->setChartContentJson(Json::parse(kFirstPage));
    renderAndWait([this] { renderTopChart(*s_service, *view, *s_dialogs, 1); });
    EXPECT_EQ(view->title(), QStringLiteral("Index"));
    EXPECT_EQ(rows(), 2);
    EXPECT_EQ(js(QStringLiteral("$('.list-chart-row:eq(0) h4.author:eq(1)').text()")),
              QVariant(QStringLiteral("Bentang & Pustaka")));
    EXPECT_EQ(js(QStringLiteral("$('.list-chart-row:eq(0) .title-books a').text()")),
              QVariant(QStringLiteral("Laskar & Pelangi")));
    EXPECT_EQ(js(QStringLiteral("$('.list-chart-row:eq(0) .more b').text()")), QVariant(QStringLiteral("sepuluh")));
    // The read button and the more button carry the partner's colours.
    EXPECT_EQ(js(QStringLiteral("getComputedStyle($('.btn-baca')[0]).backgroundColor")),
              QVariant(QStringLiteral("rgb(192, 57, 43)")));
    EXPECT_EQ(js(QStringLiteral("getComputedStyle(document.getElementById('loadMore')).backgroundColor")),
              QVariant(QStringLiteral("rgb(26, 127, 90)")));

    click(QStringLiteral(".list-chart-row:eq(0) .title-books a"));
    EXPECT_EQ(nextMessage(), ProcessMessage(QStringLiteral("detailFromChart"), {QStringLiteral("B'01")}));
    click(QStringLiteral(".list-chart-row:eq(0) button"));
    EXPECT_EQ(nextMessage(), ProcessMessage(QStringLiteral("bacaSection"), {QStringLiteral("B'01")}));
    click(QStringLiteral("#loadMore"));
    EXPECT_EQ(nextMessage(), ProcessMessage(QStringLiteral("loadMoreChart"), {std::int32_t(2)}));

    s_service->setChartContentJson(Json::parse(kSecondPage));
    renderAndWait([this] { renderTopChart(*s_service, *view, *s_dialogs, 2); });
    EXPECT_EQ(rows(), 3);
    EXPECT_EQ(js(QStringLiteral("$('.list-chart-row:eq(2) h4.author:eq(1)').text()")),
              QVariant(QStringLiteral("Gramedia & Co")));
    EXPECT_EQ(js(QStringLiteral("$('.list-chart-row:eq(2) h4.author:eq(2)').text()")),
              QVariant(QStringLiteral("979<22>")));
    EXPECT_TRUE(js(QStringLiteral("$('#btnMore').is(':visible')")).toBool());
    click(QStringLiteral(".list-chart-row:eq(2) button"));
    EXPECT_EQ(nextMessage(), ProcessMessage(QStringLiteral("bacaSection"), {QStringLiteral("B03")}));
    click(QStringLiteral("#loadMore"));
    EXPECT_EQ(nextMessage(), ProcessMessage(QStringLiteral("loadMoreChart"), {std::int32_t(3)}));

    // The end of the list: the more button goes away and the rows stay.
    s_service->setChartContentJson(Json::parse(R"({"code":"200","total":0,"data":[]})"));
    renderTopChart(*s_service, *view, *s_dialogs, 3);
    EXPECT_TRUE(s_dialogs->boxes().isEmpty());
    EXPECT_TRUE(
        elumira::test::waitUntil([this] { return !js(QStringLiteral("$('#btnMore').is(':visible')")).toBool(); }));
    EXPECT_EQ(rows(), 3);
    EXPECT_TRUE(noFurtherMessage());
}

TEST_F(ChartViewTest, lastReadAndLastViewed_moreButtonsSendTheirOwnMessageWithTheNextPage)
{
    const struct
    {
        void (*render)(elumira::TLekoraLib &, elumira::BrowserView &, elumira::Dialogs &, int);
        const char *message;
        const char *name;
    } cases[] = {
        {renderLastRead, "loadMoreLastRead", "Terakhir Dibaca"},
        {renderLastView, "loadMoreLastView", "Terakhir Dilihat"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.message);
        s_service->setChartContentJson(Json::parse(kFirstPage));
        renderAndWait([&] { c.render(*s_service, *view, *s_dialogs, 1); });
        EXPECT_EQ(js(QStringLiteral("$('.breadcrumb .active').text()")), QVariant(QLatin1String(c.name)));
        EXPECT_EQ(js(QStringLiteral("$('.rating-detail').length")).toInt(), 0);
        click(QStringLiteral("#loadMore"));
        EXPECT_EQ(nextMessage(), ProcessMessage(QLatin1String(c.message), {std::int32_t(2)}));
        click(QStringLiteral(".list-chart-row:eq(1) .title-books a"));
        EXPECT_EQ(nextMessage(), ProcessMessage(QStringLiteral("detailFromChart"), {QStringLiteral("B02")}));

        s_service->setChartContentJson(Json::parse(kSecondPage));
        renderAndWait([&] { c.render(*s_service, *view, *s_dialogs, 2); });
        EXPECT_EQ(rows(), 3);
        click(QStringLiteral("#loadMore"));
        EXPECT_EQ(nextMessage(), ProcessMessage(QLatin1String(c.message), {std::int32_t(3)}));
        click(QStringLiteral(".breadcrumb a"));
        EXPECT_EQ(nextMessage(), ProcessMessage(QStringLiteral("back")));
    }
    EXPECT_TRUE(noFurtherMessage());
}

} // namespace
