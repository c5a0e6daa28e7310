// The search result pages: the page links for every count of hits, the exact pages, the member's keyword
// kept as typed, their failures, and in a real view the links, tiles and read buttons calling the program,
// the header's field menu, and real answers of the demo library service.
#include "demo/service.h"
#include "pages/header_bar.h"
#include "pages/page_guard.h"
#include "pages/page_parts.h"
#include "pages/page_scripts.h"
#include "pages/page_writer.h"
#include "pages/search_pages.h"
#include "tests/support/member_page_view.h"
#include "tests/support/partner_fixtures.h"
#include "tests/support/page_text.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <memory>

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

// A keyword that would break out of its places unescaped.
const QString kKeyword = QStringLiteral("Tom's <Kopi> & \"Teh\"");

const char *const kFieldHits = R"json({"code":"200","total_rows":"25","data":[
    {"id_konten":"F'1","img":"f1.jpg","judul":"Kopi & <Teh>","penulis":"Tom O'Hara","stok":"1","qty":"2",
     "nilai_rate":"4"},
    {"id_konten":"F2","img":"f2.jpg","judul":"Teh Sore","penulis":"Tom","stok":0,"qty":1,"nilai_rate":3}]})json";

const char *const kSentenceHits = R"json({"code":"200","total_rows":13,"data":[
    {"id":"S'1","img":"s1.jpg","judul":"Anak & Ibu","halaman":"xii","hal_txt":"... sang <b>anak</b> pulang ...",
     "hal_idx":"12"},
    {"id":"S2","img":"s2.jpg","judul":"Laut","halaman":"7","hal_txt":"<b>anak</b> laut","hal_idx":"18"}]})json";

// The field page after the header bar, for the first hit of kFieldHits, 11 hits and page 2. Lines end in
// CR LF; TILE and HEADER_SEARCH stand for the hit's tile and the header search script.
const char *const kSearchResultBody = R"html(<div class="section-wrapper">
<div class="container">
<div id="myBooks">
<div class="row">
<ol class="breadcrumb">
<li class="breadcrumb-item"><a href="#" onClick="app.back()">Home</a></li>
<li class="breadcrumb-item active">Hasil Pencarian : Tom's &lt;Kopi&gt; &amp; &quot;Teh&quot; ( Found : 11 Records )</li>
</ol>
</div>
<div class="row small-gutters multiple-items" id="contents">
TILE
</div>
<div class="row">
<div class="text-center">
<ul class="pagination">
<li><a href="javascript:void(0);" onClick="app.searchResult('Tom\'s \x3CKopi&gt; &amp; \&quot;Teh\&quot;','Penulis',1)">1</a></li>
<li class="active"><a href="#">2</a></li>
</ul>
</div>
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
GRID_READY
HEADER_SEARCH
</script>
</body>
</html>
)html";

// The sentence page after the header bar, for the first hit of kSentenceHits and 3 hits.
const char *const kSearchKalimatBody = R"html(<div class="section-wrapper">
<div class="container">
<div class="row">
<ol class="breadcrumb">
<li class="breadcrumb-item"><a href="#" onClick="app.back()">Home</a></li>
<li class="breadcrumb-item active">Hasil Pencarian Kalimat : anak &amp; ibu ( Found 3 Records)</li>
</ol>
</div>
<div class="row">
<div id="listChart" class="col-sm-10 col-sm-offset-1 list-chart">
<div class="row list-chart-row"><div class="col-sm-12"><div class="row"><div class="col-sm-2"><img src="img/loading.jpg" data-src="http://127.0.0.1:8765/prod/img/cover/s1.jpg" alt="book" class="img-responsive lazyload"></div><div class="col-sm-8 middle-section"><div class="describe-wrap"><h3 class="title-books"><a href="javascript:void(0);" onClick="app.detailFromSearch('S\'1')">Anak &amp; Ibu</a></h3><h4 class="author">Halaman : xii</h4><h4 class="author">Isi Buku : </h4><span class="more">... sang <b>anak</b> pulang ...</span></div></div><div class="col-sm-2"><button type="button" class="btn btn-primary btn-block" onClick="app.bacaKalimat('S\'1','12')">BACA</button></div></div></div></div>
</div>
</div>
</div>
<div class="row">
<div class="text-center">
<ul class="pagination">
<li class="active"><a href="#">1</a></li>
</ul>
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

// The answer with only its first hit and the given total_rows.
Json firstHitOnly(const char *answer, const Json &totalRows)
{
    Json search = Json::parse(answer);
    search["data"].erase(1);
    search["total_rows"] = totalRows;
    return search;
}

TEST(SearchPagesTest, pageLinks_countTenHitsToAPageAndMarkThePageShown)
{
    const QString kw = QStringLiteral("Tom's <Kopi>");
    const auto link = [](int i) {
        return QStringLiteral("<li><a href=\"javascript:void(0);\" onClick=\"app.searchResult('Tom\\'s "
                              "\\x3CKopi&gt;','Penulis',%1)\">%1</a></li>")
            .arg(i);
    };
    const auto active = [](int i) { return QStringLiteral("<li class=\"active\"><a href=\"#\">%1</a></li>").arg(i); };
    const struct
    {
        const char *answer;
        int page;
        QStringList expected;
    } cases[] = {
        {R"({"total_rows":0})", 1, {}},
        {R"({"total_rows":"10"})", 1, {active(1)}},
        {R"({"total_rows":11})", 1, {active(1), link(2)}},
        {R"({"total_rows":"25"})", 2, {link(1), active(2), link(3)}},
        {R"({"code":"200"})", 1, {}},
        // A page beyond the last marks none.
        {R"({"total_rows":25})", 5, {link(1), link(2), link(3)}},
        {R"({"total_rows":"-4"})", 1, {}},
        {R"({"total_rows":"dua"})", 1, {}},
        {R"({"total_rows":1})", 0, {link(1)}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(searchPageLinks(Json::parse(c.answer), kw, QStringLiteral("Penulis"), c.page), c.expected)
            << c.answer << " page " << c.page;
}

TEST(SearchPagesTest, searchPageCount_roundsUpAndStaysWithinThePageNumbersAPageCanSend)
{
    const struct
    {
        long long rows;
        int pages;
    } cases[] = {{0, 0},
                 {1, 1},
                 {9, 1},
                 {10, 1},
                 {11, 2},
                 {20, 2},
                 {21, 3},
                 {-1, 0},
                 {100000, 10000},
                 {100001, 10000},
                 {21474836470LL, 10000},
                 {99999999999999LL, 10000}};
    for (const auto &c : cases)
        EXPECT_EQ(searchPageCount(c.rows), c.pages) << c.rows;
}

TEST(SearchPagesTest, searchResultPage_isWrittenInOrderWithTheKeywordKeptAsTyped)
{
    const Json answer = firstHitOnly(kFieldHits, 11);
    const QString page = searchResultPage(partner(), answer, 2, kKeyword, QStringLiteral("Penulis"), kService);
    QString body = crlf(kSearchResultBody);
    body.replace(QLatin1String("TILE"), bookTile(answer["data"][0], TileKind::Search, kService));
    body.replace(QLatin1String("GRID_READY"), tilePageScript(QStringLiteral("grid_ready")));
    body.replace(QLatin1String("HEADER_SEARCH"), headerSearchScript());
    EXPECT_EQ(afterHeader(page), body);
    // The header shows "Semua" whatever field was searched, and holds the keyword as typed.
    EXPECT_TRUE(page.contains(headerBar(partner()["data"], kService, HeaderForm::ChartsAndFieldSearch, kKeyword)));
    EXPECT_TRUE(page.contains(QLatin1String("value=\"Tom's &lt;Kopi&gt; &amp; &quot;Teh&quot;\"")));
    EXPECT_TRUE(page.contains(QLatin1String("<style>\r\n.section-wrapper { margin-top: 85px; }\r\n.navbar-default")));
    EXPECT_TRUE(page.contains(QLatin1String("#btnMore { margin-bottom: 20px; }\r\n</style>")));
}

TEST(SearchPagesTest, searchKalimatResultPage_isWrittenInOrderWithKalimatAsTheField)
{
    const QString page =
        searchKalimatResultPage(partner(), firstHitOnly(kSentenceHits, "3"), 1, QStringLiteral("anak & ibu"), kService);
    EXPECT_EQ(afterHeader(page),
              crlf(kSearchKalimatBody)
                  .replace(QLatin1String("READ_ONLY_STARS"), pageScript(QStringLiteral("read_only_stars")))
                  .replace(QLatin1String("HEADER_SEARCH"), headerSearchScript()));
    EXPECT_TRUE(page.contains(
        headerBar(partner()["data"], kService, HeaderForm::SentenceSearch, QStringLiteral("anak & ibu"))));
    EXPECT_TRUE(page.contains(QLatin1String("<style>\r\n.navbar-default")));

    const QString paged = searchKalimatResultPage(partner(), Json::parse(kSentenceHits), 2, kKeyword, kService);
    EXPECT_TRUE(paged.contains(QLatin1String(
        "onClick=\"app.searchResult('Tom\\'s \\x3CKopi&gt; &amp; \\&quot;Teh\\&quot;','Kalimat',1)\">1<")));
    EXPECT_TRUE(paged.contains(QLatin1String("<li class=\"active\"><a href=\"#\">2</a></li>")));
}

TEST(SearchPagesTest, missingTotalRows_leavesTheCountEmptyAndGivesNoLinks)
{
    const Json answer = Json::parse(R"({"code":"200","data":[]})");
    const QString field =
        searchResultPage(partner(), answer, 1, QStringLiteral("x"), QStringLiteral("Semua"), kService);
    EXPECT_TRUE(field.contains(QLatin1String("Hasil Pencarian : x ( Found :  Records )</li>")));
    EXPECT_TRUE(field.contains(QLatin1String("<ul class=\"pagination\">\r\n</ul>")));
    const QString sentence = searchKalimatResultPage(partner(), answer, 1, QStringLiteral("x"), kService);
    EXPECT_TRUE(sentence.contains(QLatin1String("Hasil Pencarian Kalimat : x ( Found  Records)</li>")));
    EXPECT_TRUE(sentence.contains(QLatin1String("<ul class=\"pagination\">\r\n</ul>")));
}

TEST(SearchPagesTest, searchAnswerOfTheWrongShape_isAFailure)
{
    for (const char *answer : {R"({"data":null})", R"({"data":{"id":"1"}})", R"({"data":[7]})"}) {
        EXPECT_THROW(searchResultPage(partner(), Json::parse(answer), 1, kKeyword, QStringLiteral("ISBN"), kService),
                     JsonShapeError)
            << answer;
        EXPECT_THROW(searchKalimatResultPage(partner(), Json::parse(answer), 1, kKeyword, kService), JsonShapeError)
            << answer;
    }
}

using SearchRenderTest = elumira::test::PartnerServiceTest;

TEST_F(SearchRenderTest, bothPages_areWrittenToTheirFilesAndLoaded)
{
    fetchConfiguration();
    service->setSearchContentJson(Json::parse(kFieldHits));
    renderSearchResult(*service, view, dialogs, 2, kKeyword, QStringLiteral("Penerbit"));
    service->setSearchContentJson(Json::parse(kSentenceHits));
    renderSearchKalimatResult(*service, view, dialogs, 1, QStringLiteral("anak"));
    EXPECT_TRUE(dialogs.boxes().isEmpty());
    EXPECT_EQ(view.loads, (QList<QUrl>{pageFileUrl(kSearchResultPageFile), pageFileUrl(kSearchKalimatResultPageFile)}));
    EXPECT_EQ(readFile(pageFile(kSearchResultPageFile)),
              searchResultPage(*service->ClientJson(), Json::parse(kFieldHits), 2, kKeyword, QStringLiteral("Penerbit"),
                               serviceUrl())
                  .toUtf8());
    EXPECT_EQ(readFile(pageFile(kSearchKalimatResultPageFile)),
              searchKalimatResultPage(*service->ClientJson(), Json::parse(kSentenceHits), 1, QStringLiteral("anak"),
                                      serviceUrl())
                  .toUtf8());
}

TEST_F(SearchRenderTest, failures_showEachPagesPrefixAndLoadNothing)
{
    const struct
    {
        const char *name;
        bool sentence;
        bool configuration;
        const char *answer;
        bool removeFolder;
    } cases[] = {
        {"field, data folder missing", false, true, kFieldHits, true},
        {"field, no search answer", false, true, nullptr, false},
        {"field, no partner configuration", false, false, kFieldHits, false},
        {"sentence, data folder missing", true, true, kSentenceHits, true},
        {"sentence, hits of another kind", true, true, R"({"total_rows":1,"data":"S1"})", false},
        {"sentence, no search answer", true, true, nullptr, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        startAfresh();
        if (c.configuration)
            fetchConfiguration();
        if (c.answer)
            service->setSearchContentJson(Json::parse(c.answer));
        if (c.removeFolder) {
            ASSERT_TRUE(QDir(service->DataPath()).removeRecursively());
        }

        if (c.sentence)
            renderSearchKalimatResult(*service, view, dialogs, 1, QStringLiteral("anak"));
        else
            renderSearchResult(*service, view, dialogs, 1, QStringLiteral("anak"), QStringLiteral("Semua"));

        expectOneFailureBox(c.sentence ? kSearchKalimatResultFailure : kSearchResultFailure);
        EXPECT_TRUE(view.loads.isEmpty());
    }
}

using SearchViewTest = elumira::test::PartnerViewTest;

TEST_F(SearchViewTest, fieldPage_linksAndTilesCallTheProgramWithTheKeywordIntact)
{
    s_service->setSearchContentJson(Json::parse(kFieldHits));
    renderAndWait(
        [this] { renderSearchResult(*s_service, *view, *s_dialogs, 2, kKeyword, QStringLiteral("Penulis")); });
    EXPECT_EQ(view->title(), QStringLiteral("Index"));
    EXPECT_EQ(js(QStringLiteral("$('#keyword').val()")), QVariant(kKeyword));
    EXPECT_EQ(js(QStringLiteral("$('.breadcrumb .active').text()")),
              QVariant(QStringLiteral("Hasil Pencarian : ") + kKeyword + QStringLiteral(" ( Found : 25 Records )")));
    EXPECT_EQ(js(QStringLiteral("$('#search_concept').text()")), QVariant(QStringLiteral("Semua")));
    EXPECT_EQ(js(QStringLiteral("$('#contents .title-books:first').text()")), QVariant(QStringLiteral("Kopi & <Teh>")));

    // The shown page is inactive; the others ask for their page of the same search.
    EXPECT_EQ(js(QStringLiteral("$('.pagination li').length")).toInt(), 3);
    js(QStringLiteral("$('.pagination a').each(function () { this.click(); }); 0"));
    EXPECT_EQ(nextMessage(),
              ProcessMessage(QStringLiteral("searching"), {kKeyword, QStringLiteral("Penulis"), std::int32_t(1)}));
    EXPECT_EQ(nextMessage(),
              ProcessMessage(QStringLiteral("searching"), {kKeyword, QStringLiteral("Penulis"), std::int32_t(3)}));
    EXPECT_TRUE(noFurtherMessage());

    click(QStringLiteral("#contents .list-item a:first"));
    EXPECT_EQ(nextMessage(), ProcessMessage(QStringLiteral("detailFromSearch"), {QStringLiteral("F'1")}));
    click(QStringLiteral(".breadcrumb a"));
    EXPECT_EQ(nextMessage(), ProcessMessage(QStringLiteral("back")));
    EXPECT_TRUE(noFurtherMessage());
}

TEST_F(SearchViewTest, fieldPage_headerMenusWorkAsOnTheOtherPages)
{
    s_service->setSearchContentJson(Json::parse(kFieldHits));
    renderAndWait([this] {
        renderSearchResult(*s_service, *view, *s_dialogs, 1, QStringLiteral("Tom"), QStringLiteral("Penulis"));
    });
    // The field menu changes the label that a new search sends.
    js(QStringLiteral("$('.search-panel .dropdown-menu a:contains(\"Penerbit\")').click(); 0"));
    EXPECT_EQ(js(QStringLiteral("$('#search_concept').text()")), QVariant(QStringLiteral("Penerbit")));
    js(QStringLiteral("$('#keyword').val('Pustaka'); $('.icon-search').click(); 0"));
    EXPECT_EQ(nextMessage(), ProcessMessage(QStringLiteral("searching"),
                                            {QStringLiteral("Pustaka"), QStringLiteral("Penerbit"), std::int32_t(1)}));
    // The account menu opens under the pointer, dimming the page.
    js(QStringLiteral("$('.dropdown').trigger('mouseenter'); 0"));
    EXPECT_TRUE(elumira::test::waitUntil([this] {
        return js(QStringLiteral("$('#overlay').is(':visible') && $('.dropdown').hasClass('open')")).toBool();
    }));
    EXPECT_TRUE(noFurtherMessage());
}

TEST_F(SearchViewTest, sentencePage_hitsOpenTheBookAtTheirPageAndLinksKeepKalimat)
{
    s_service->setSearchContentJson(Json::parse(kSentenceHits));
    renderAndWait([this] { renderSearchKalimatResult(*s_service, *view, *s_dialogs, 1, kKeyword); });
    EXPECT_EQ(js(QStringLiteral("$('#search_concept').text()")), QVariant(QStringLiteral("Kalimat")));
    EXPECT_EQ(js(QStringLiteral("$('#keyword').val()")), QVariant(kKeyword));
    EXPECT_EQ(js(QStringLiteral("$('.list-chart-row').length")).toInt(), 2);
    EXPECT_EQ(js(QStringLiteral("$('.list-chart-row:eq(0) .more b').text()")), QVariant(QStringLiteral("anak")));
    EXPECT_EQ(js(QStringLiteral("$('.list-chart-row:eq(0) .title-books a').text()")),
              QVariant(QStringLiteral("Anak & Ibu")));

    click(QStringLiteral(".list-chart-row:eq(0) button"));
    EXPECT_EQ(nextMessage(),
              ProcessMessage(QStringLiteral("bacaKalimat"), {QStringLiteral("S'1"), QStringLiteral("12")}));
    click(QStringLiteral(".list-chart-row:eq(1) button"));
    EXPECT_EQ(nextMessage(),
              ProcessMessage(QStringLiteral("bacaKalimat"), {QStringLiteral("S2"), QStringLiteral("18")}));
    click(QStringLiteral(".list-chart-row:eq(0) .title-books a"));
    EXPECT_EQ(nextMessage(), ProcessMessage(QStringLiteral("detailFromSearch"), {QStringLiteral("S'1")}));

    click(QStringLiteral(".pagination a[href^=javascript]"));
    EXPECT_EQ(nextMessage(),
              ProcessMessage(QStringLiteral("searching"), {kKeyword, QStringLiteral("Kalimat"), std::int32_t(2)}));
    EXPECT_TRUE(noFurtherMessage());
}

// The pages from real answers of the demo library service, after a log-in.
using SearchDemoViewTest = elumira::test::MemberPageViewTest;

TEST_F(SearchDemoViewTest, realAnswers_showEveryHitWithItsPageLinksAndCalls)
{
    const Json byAuthor = s_service->SearchContentRequest(QStringLiteral("Penulis"), QStringLiteral("a"), 2);
    ASSERT_EQ(byAuthor.value("code", ""), "200") << byAuthor.dump();
    const long long total = elumira::jsonInt(byAuthor, "total_rows");
    ASSERT_GT(total, 20) << "the search should need at least three pages";
    s_service->setSearchContentJson(byAuthor);
    renderAndWait([this] {
        renderSearchResult(*s_service, *view, *s_dialogs, 2, QStringLiteral("a"), QStringLiteral("Penulis"));
    });
    EXPECT_EQ(js(QStringLiteral("$('#contents .list-item').length")).toInt(), int(byAuthor["data"].size()));
    // The shared page script works the header but leaves the results a plain grid, every hit in view.
    EXPECT_EQ(js(QStringLiteral("$('#contents').hasClass('slick-initialized')")), QVariant(false));
    EXPECT_EQ(js(QStringLiteral("$('.pagination li').length")).toInt(), int((total + 9) / 10));
    EXPECT_EQ(js(QStringLiteral("$('.pagination li.active').text()")), QVariant(QStringLiteral("2")));
    js(QStringLiteral("$('.pagination a:contains(\"3\"):first')[0].click(); 0"));
    EXPECT_EQ(nextMessage(), ProcessMessage(QStringLiteral("searching"),
                                            {QStringLiteral("a"), QStringLiteral("Penulis"), std::int32_t(3)}));

    const Json bySentence = s_service->SearchKalimatRequest(QStringLiteral("halaman"), 1);
    ASSERT_EQ(bySentence.value("code", ""), "200") << bySentence.dump();
    ASSERT_FALSE(bySentence["data"].empty());
    s_service->setSearchContentJson(bySentence);
    renderAndWait([this] { renderSearchKalimatResult(*s_service, *view, *s_dialogs, 1, QStringLiteral("halaman")); });
    EXPECT_EQ(js(QStringLiteral("$('.list-chart-row').length")).toInt(), int(bySentence["data"].size()));
    const Json &hit = bySentence["data"][0];
    js(QStringLiteral("$('.list-chart-row:eq(0) button')[0].click(); 0"));
    EXPECT_EQ(nextMessage(), ProcessMessage(QStringLiteral("bacaKalimat"),
                                            {elumira::jsonText(hit, "id"), elumira::jsonText(hit, "hal_idx")}));
    // The service marks what was found; the page shows it formatted.
    EXPECT_GE(js(QStringLiteral("$('.list-chart-row:eq(0) .more mark').length")).toInt(), 1);
    EXPECT_EQ(js(QStringLiteral("$('.list-chart-row:eq(0) h4.author:first').text()")),
              QVariant(QStringLiteral("Halaman : ") + elumira::jsonText(hit, "halaman")));
}

} // namespace
