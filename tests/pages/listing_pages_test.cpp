// The listing pages: the three book lists, the category browser with its department chooser, the department
// change, their failures, and in a real view the calls they make and the boxes a department change puts in.
#include "common/dialogs.h"
#include "pages/listing_pages.h"
#include "pages/page_parts.h"
#include "pages/page_scripts.h"
#include "pages/page_writer.h"
#include "service/lekora_lib.h"
#include "tests/support/partner_fixtures.h"
#include "tests/support/recording_view.h"
#include "tests/support/capture_server.h"
#include "tests/support/page_text.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <functional>
#include <memory>

using namespace elumira::pages;
using elumira::BrowserView;
using elumira::Dialogs;
using elumira::Json;
using elumira::JsonShapeError;
using elumira::ProcessMessage;
using elumira::RecordingDialogs;
using elumira::TLekoraLib;
using elumira::test::CaptureServer;
using elumira::test::RecordingView;
using elumira::test::readFile;
using elumira::test::waitUntil;

using elumira::test::crlf;
using elumira::test::kService;
namespace {

const char *const kBooks = R"json({"code":"200","data":[{"id_konten":"77","img":"c77.jpg","judul":"Kopi & <i>Senja</i>",
    "penulis":"Dee","stok":2,"qty":5,"nilai_rate":"4"}]})json";

// A home section page for kBooks under TITLE, lines ending in CR LF; TILE_FUNCTION and the head are filled in.
const char *const kHomeSectionPage = R"html(HEAD
<body>
<div id="overlay"></div>
<div class="section-wrapper">
<div class="container">
<div id="myBooks">
<div class="row">
<ol class="breadcrumb">
<li class="breadcrumb-item"><a href="#" onClick="app.back()">Home</a></li>
<li class="breadcrumb-item active">TITLE</li>
</ol>
</div>
<div class="row">
<div class="title-section-wrap">
<h2 class="title-section">TITLE</h2>
</div>
</div>
<div class="row small-gutters multiple-items">
<div class="col-md-2 col-sm-2 col-xs-12 list-item-wrap"><div class="list-item"><a href="javascript:void(0);" onClick="app.detailFromSection('77')"><img src="img/loading.jpg" data-src="http://127.0.0.1:8765/prod/img/cover/c77.jpg" alt="book" class="img-responsive center-block img-books lazyload"><div class="describe-wrap"><h3 class="title-books">Kopi & <i>Senja</i></h3><h4 class="author">Dee</h4><h4 class="author">Stok : 2/5</h4><input class="rating-detail" type="number" min="0" max="5" step="1" data-size="sm" value="4"></div></a></div></div>
</div>
</div>
</div>
</div>
<script src="js/jquery.js"></script>
<script src="js/bootstrap.min.js"></script>
<script src="js/lazyload.min.js"></script>
<script src="plugins/slick-slider/slick/slick.min.js"></script>
<script src="plugins/bootstrap-star-rating/js/star-rating.js"></script>
<script>
READY_SCRIPT
</script>
</body>
</html>
)html";

TEST(ListingPagesTest, bookListPage_homeSection_isWrittenPieceByPiece)
{
    const QString title = QStringLiteral("Sejarah <b>&amp;</b> Tradisi");
    QString expected = crlf(kHomeSectionPage);
    expected.replace(QLatin1String("HEAD"),
                     catalogueHead(QStringLiteral("Index"), QStringLiteral(".section-wrapper { margin-top: 20px; }\r\n"
                                                                           "#btnMore { margin-bottom: 30px; }")));
    expected.replace(QLatin1String("READY_SCRIPT"), tilePageScript(QStringLiteral("grid_ready")));
    // The title is mark-up as received, in the breadcrumb and the heading.
    expected.replace(QLatin1String("TITLE"), title);
    EXPECT_EQ(bookListPage(BookList::HomeSection, Json::parse(kBooks), title, kService), expected);
}

TEST(ListingPagesTest, bookListPage_eachListHasItsBreadcrumbAndDetailFunction)
{
    const QString home =
        QStringLiteral("<li class=\"breadcrumb-item\"><a href=\"#\" onClick=\"app.back()\">Home</a></li>");
    const QString active = QStringLiteral("<li class=\"breadcrumb-item active\">Novel</li>");
    const struct
    {
        BookList list;
        QStringList breadcrumb;
        QString tileCall;
    } cases[] = {
        {BookList::HomeSection, {home, active}, QStringLiteral("onClick=\"app.detailFromSection('77')\"")},
        {BookList::Category,
         {home,
          QStringLiteral(
              "<li class=\"breadcrumb-item\"><a href=\"#\" onClick=\"app.backKategori()\">Kategori</a></li>"),
          active},
         QStringLiteral("onClick=\"app.detailFromCategory('77')\"")},
        {BookList::SubCategory,
         {home,
          QStringLiteral(
              "<li class=\"breadcrumb-item\"><a href=\"#\" onClick=\"app.backKategori()\">Sub Kategori</a></li>"),
          active},
         QStringLiteral("onClick=\"app.detailFromCategory('77')\"")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(int(c.list));
        for (const char *answer : {kBooks, R"({"code":"200","data":[]})", R"({"code":"200"})"}) {
            const QStringList lines = bookListPage(c.list, Json::parse(answer), QStringLiteral("Novel"), kService)
                                          .split(QStringLiteral("\r\n"));
            const qsizetype start = lines.indexOf(QStringLiteral("<ol class=\"breadcrumb\">"));
            ASSERT_GE(start, 0);
            EXPECT_EQ(lines.mid(start + 1, c.breadcrumb.size()), c.breadcrumb);
            EXPECT_EQ(lines.value(start + c.breadcrumb.size() + 1), QStringLiteral("</ol>"));
            EXPECT_TRUE(lines.contains(QStringLiteral("<h2 class=\"title-section\">Novel</h2>")));
            // Tiles show title and author as received; an empty list leaves an empty grid.
            const qsizetype grid = lines.indexOf(QStringLiteral("<div class=\"row small-gutters multiple-items\">"));
            ASSERT_GE(grid, 0);
            if (answer == kBooks) {
                EXPECT_TRUE(lines.value(grid + 1).contains(c.tileCall));
                EXPECT_TRUE(lines.value(grid + 1).contains(QStringLiteral(">Kopi & <i>Senja</i></h3>")));
                EXPECT_EQ(lines.value(grid + 2), QStringLiteral("</div>"));
            } else {
                EXPECT_EQ(lines.value(grid + 1), QStringLiteral("</div>"));
            }
            EXPECT_TRUE(lines.filter(QStringLiteral("js/main.js")).isEmpty());
        }
    }
    EXPECT_THROW(bookListPage(BookList::Category, Json::parse(R"({"data":null})"), QString(), kService),
                 JsonShapeError);
    EXPECT_THROW(bookListPage(BookList::SubCategory, Json::parse(R"({"data":[[]]})"), QString(), kService),
                 JsonShapeError);
}

TEST(ListingPagesTest, departmentListed_leavesOutEmptyAndTheTwoUnloanableDepartments)
{
    const struct
    {
        const char *department;
        bool listed;
    } cases[] = {
        {R"({"nama_departemen":"BUKU UMUM","total_kategori":"5"})", true},
        {R"({"nama_departemen":"BUKU UMUM","total_kategori":1})", true},
        {R"({"nama_departemen":"BUKU UMUM","total_kategori":0})", false},
        {R"({"nama_departemen":"BUKU UMUM","total_kategori":"-1"})", false},
        {R"({"nama_departemen":"BUKU UMUM"})", false},
        {R"({"nama_departemen":"BUKU NON KOLEKSI","total_kategori":3})", false},
        {R"({"nama_departemen":"RENCANA PENGADAAN","total_kategori":"2"})", false},
        // The names are compared exactly, letter case included.
        {R"({"nama_departemen":"Buku Non Koleksi","total_kategori":3})", true},
        {R"({"nama_departemen":"rencana pengadaan","total_kategori":3})", true},
        {R"({"nama_departemen":"BUKU NON KOLEKSI ","total_kategori":3})", true},
    };
    for (const auto &c : cases)
        EXPECT_EQ(departmentListed(Json::parse(c.department)), c.listed) << c.department;
}

// A category answer whose first department is left out of the chooser.
const char *const kCategories = R"json({"code":"200","data_departemen":[
    {"id_departemen":"4","nama_departemen":"BUKU NON KOLEKSI","total_kategori":"1","data_kategori":[
        {"id_kategori":"401","nama_kategori":"<b>Terbitan</b> Daerah","data_sub_kategori":[
            {"id_sub_kategori":"4011","nama_sub_kategori":"Laporan & <Profil>"}]}]},
    {"id_departemen":"1","nama_departemen":"BUKU & <i>UMUM</i>","total_kategori":2,"data_kategori":[
        {"id_kategori":"102","nama_kategori":"<i>Sastra</i>","data_sub_kategori":[
            {"id_sub_kategori":"1021","nama_sub_kategori":"Novel"},{"id_sub_kategori":"1022","nama_sub_kategori":"Puisi"}]},
        {"id_kategori":"103","nama_kategori":"Kopi 'Pagi' \"Senja\" </script> \\ <b>","data_sub_kategori":[
            {"id_sub_kategori":"1031","nama_sub_kategori":"O'Brien \"&\" </script><b>"}]}]},
    {"id_departemen":"6","nama_departemen":"RENCANA PENGADAAN","total_kategori":1,"data_kategori":[]},
    {"id_departemen":"7","nama_departemen":"Buku Non Koleksi","total_kategori":"3"},
    {"id_departemen":"5","nama_departemen":"KOLEKSI LOKAL","total_kategori":0}]})json";

// category.html for kCategories; lines end in CR LF.
const char *const kCategoryPage = R"html(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta http-equiv="X-UA-Compatible" content="IE=edge">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>Kategori Buku</title>
<link href="css/bootstrap.min.css" rel="stylesheet">
<link href="css/select2.min.css" rel="stylesheet">
<link href="css/style.css" rel="stylesheet">
<style>
.category-box { padding: 20px; background-color: #fff; height: 340px; margin-bottom: 15px; overflow-y: scroll; }
</style>
</head>
<body>
<div id="overlay"></div>
<div class="kategori-wrapper">
<div class="container">
<div class="row">
<ol class="breadcrumb">
<li class="breadcrumb-item"><a href="#" onClick="app.back();">Home</a></li>
<li class="breadcrumb-item active">Kategori</li>
</ol>
</div>
<div class="row top-area">
<div class="col-sm-12">
<ul class="list-unstyled">
<li><p>Jenis Konten</p></li>
<li class="col-sm-3">
<div class="form-group">
<select class="select-category" name="state">
<option value="1">BUKU & <i>UMUM</i></option>
<option value="7">Buku Non Koleksi</option>
</select>
</div>
</li>
</ul>
</div>
</div>
<div class="row" id="categoryContainer">
<div class="col-sm-3">
<div class="category-box">
<h3><a href="javascript:void(0);" onClick="app.kategoriKonten('401','1','4','\x3Cb&gt;Terbitan\x3C/b&gt; Daerah');"><b>Terbitan</b> Daerah</a></h3>
<ul>
<li><a href="javascript:void(0);" onClick="app.subKategoriKonten('4011','1','4','Laporan &amp; \x3CProfil&gt;');">Laporan &amp; &lt;Profil&gt;</a></li>
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
<script src="js/select2.min.js"></script>
<script src="js/main.js"></script>
<script>
CHOOSER_SCRIPT
</script>
</body>
</html>
)html";

TEST(ListingPagesTest, categoryPage_listsTheChosenDepartmentsAndFillsTheBoxesOfTheFirst)
{
    QString expected = crlf(kCategoryPage);
    expected.replace(QLatin1String("CHOOSER_SCRIPT"), pageScript(QStringLiteral("category_chooser")));
    EXPECT_EQ(categoryPage(Json::parse(kCategories)), expected);
}

TEST(ListingPagesTest, categoryPage_withoutCategories_hasAnEmptyContainer)
{
    const struct
    {
        const char *answer;
        QStringList options;
    } cases[] = {
        {R"({"code":"200","data_departemen":[]})", {}},
        {R"({"code":"200"})", {}},
        {R"({"data_departemen":[{"id_departemen":"1","total_kategori":1}]})",
         {QStringLiteral("<option value=\"1\"></option>")}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.answer);
        const QStringList lines = categoryPage(Json::parse(c.answer)).split(QStringLiteral("\r\n"));
        const qsizetype select = lines.indexOf(QStringLiteral("<select class=\"select-category\" name=\"state\">"));
        const qsizetype container = lines.indexOf(QStringLiteral("<div class=\"row\" id=\"categoryContainer\">"));
        ASSERT_GE(select, 0);
        ASSERT_GE(container, 0);
        EXPECT_EQ(lines.mid(select + 1, c.options.size() + 1), c.options + QStringList{QStringLiteral("</select>")});
        EXPECT_EQ(lines.value(container + 1), QStringLiteral("</div>"));
    }
    for (const char *answer : {R"({"data_departemen":null})", R"({"data_departemen":[null]})",
                               R"({"data_departemen":[{"data_kategori":{}}]})",
                               R"({"data_departemen":[{"data_kategori":[{"data_sub_kategori":["x"]}]}]})"})
        EXPECT_THROW(categoryPage(Json::parse(answer)), JsonShapeError) << answer;
}

TEST(ListingPagesTest, categoryBoxes_escapeTheCategoryNameOnlyForADepartmentChange)
{
    const Json department = Json::parse(kCategories)["data_departemen"][0];
    EXPECT_EQ(categoryBoxes(department, CategoryBoxes::DeptChange),
              QStringLiteral("<div class=\"col-sm-3\"><div class=\"category-box\"><h3><a href=\"javascript:void(0);\" "
                             "onClick=\"app.kategoriKonten('401','1','4','\\x3Cb&gt;Terbitan\\x3C/b&gt; Daerah')\">"
                             "&lt;b&gt;Terbitan&lt;/b&gt; Daerah</a></h3><ul><li><a href=\"javascript:void(0);\" "
                             "onClick=\"app.subKategoriKonten('4011','1','4','Laporan &amp; \\x3CProfil&gt;')\">"
                             "Laporan &amp; &lt;Profil&gt;</a></li></ul></div></div>"));
    EXPECT_EQ(categoryBoxes(Json::parse(R"({"id_departemen":"9"})"), CategoryBoxes::DeptChange), QString());
}

TEST(ListingPagesTest, deptChange_findsTheDepartmentByItsExactId)
{
    const Json answer = Json::parse(kCategories);
    const struct
    {
        QString id;
        bool found;
        int boxes;
    } cases[] = {
        {QStringLiteral("1"), true, 2},   {QStringLiteral("4"), true, 1},   {QStringLiteral("7"), true, 0},
        {QStringLiteral("01"), false, 0}, {QStringLiteral(" 1"), false, 0}, {QString(), false, 0},
        {QStringLiteral("99"), false, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.id.toStdString());
        const DeptChange change = deptChange(answer, c.id);
        EXPECT_EQ(change.found, c.found);
        EXPECT_EQ(change.fragment.count(QStringLiteral("category-box")), c.boxes);
        EXPECT_EQ(change.script, QStringLiteral("$('#categoryContainer').html('%1');").arg(change.fragment));
        EXPECT_FALSE(change.script.contains(QLatin1Char('\n')) || change.script.contains(QLatin1Char('\r')));
    }

    // Every apostrophe of the mark-up and of the values is escaped for the script's string.
    const DeptChange change = deptChange(Json::parse(R"({"data_departemen":[{"id_departemen":"3",
        "data_kategori":[{"id_kategori":"301","nama_kategori":"A\r\nB'C"}]}]})"),
                                         QStringLiteral("3"));
    EXPECT_EQ(change.fragment, QString::fromUtf8(R"(\x3Cdiv class=\"col-sm-3\">\x3Cdiv class=\"category-box\">\x3Ch3>)"
                                                 R"(\x3Ca href=\"javascript:void(0);\" onClick=\"app.kategoriKonten()"
                                                 R"(\'301\',\'1\',\'3\',\'A\\r\\nB\\\'C\')\">AB\'C\x3C/a>\x3C/h3>)"
                                                 R"(\x3Cul>\x3C/ul>\x3C/div>\x3C/div>)"));
}

// The service client with answers set by the tests, and the five generators by name.
class ListingRenderTest : public elumira::test::PartnerServiceTest
{
protected:
    QByteArray fileBytes(const char *file) const { return readFile(pageFile(file)); }

    void setAnswers()
    {
        service->setHomeDetailJson(Json::parse(kBooks));
        service->setCategoryContentJson(Json::parse(kBooks));
        service->setSubCategoryContentJson(Json::parse(kBooks));
        service->setCategoryJson(Json::parse(kCategories));
    }
};

struct Generator
{
    const char *prefix;
    const char *file;
    const char *answer;
    std::function<void(TLekoraLib &, BrowserView &, Dialogs &)> render;
    std::function<QString(TLekoraLib &)> expectedPage;
};

std::vector<Generator> pageGenerators(const QString &base)
{
    const QString title = QStringLiteral("Novel 'Baru' & <b>Lama</b>");
    return {
        {"Error Exception #1006 ", kHomeDetailPageFile, "FHomeDetailJson",
         [title](TLekoraLib &l, BrowserView &v, Dialogs &d) { renderHomeDetailHtmlFile(l, v, d, title); },
         [=](TLekoraLib &l) { return bookListPage(BookList::HomeSection, *l.HomeDetailJson(), title, base); }},
        {"Error Exception #1270 : ", kCategoryPageFile, "FCategoryJson",
         [](TLekoraLib &l, BrowserView &v, Dialogs &d) { renderCategoryHtmlFile(l, v, d); },
         [](TLekoraLib &l) { return categoryPage(*l.CategoryJson()); }},
        {"Error Exception #1465 ", kCategoryDetailPageFile, "FCategoryContentJson",
         [title](TLekoraLib &l, BrowserView &v, Dialogs &d) { renderCategoryContent(l, v, d, title); },
         [=](TLekoraLib &l) { return bookListPage(BookList::Category, *l.CategoryContentJson(), title, base); }},
        {"Error Exception #1606 : ", kSubCategoryDetailPageFile, "FSubCategoryContentJson",
         [title](TLekoraLib &l, BrowserView &v, Dialogs &d) { renderSubCategoryContent(l, v, d, title); },
         [=](TLekoraLib &l) { return bookListPage(BookList::SubCategory, *l.SubCategoryContentJson(), title, base); }},
    };
}

TEST_F(ListingRenderTest, pages_areWrittenToTheirFilesAndLoaded)
{
    setAnswers();
    for (const Generator &g : pageGenerators(QString::fromLatin1(server.url()))) {
        SCOPED_TRACE(g.file);
        view = RecordingView();
        g.render(*service, view, dialogs);
        EXPECT_TRUE(dialogs.boxes().isEmpty());
        EXPECT_EQ(view.loads, QList<QUrl>{pageFileUrl(g.file)});
        EXPECT_EQ(fileBytes(g.file), g.expectedPage(*service).toUtf8());
    }
}

TEST_F(ListingRenderTest, failures_showOneBoxWithThePagesPrefixAndLoadNothing)
{
    std::vector<Generator> generators = pageGenerators(QString());
    generators.push_back({"Error Exception #1187 : ",
                          kDeptFile,
                          "FCategoryJson",
                          [](TLekoraLib &l, BrowserView &v, Dialogs &d) { renderDept(l, v, d, QStringLiteral("1")); },
                          {}});
    for (const bool folderMissing : {false, true}) {
        for (const Generator &g : generators) {
            SCOPED_TRACE(std::string(g.file) + (folderMissing ? ", data folder missing" : ", answer missing"));
            startAfresh();
            if (folderMissing) {
                setAnswers();
                ASSERT_TRUE(QDir(service->DataPath()).removeRecursively());
            }

            g.render(*service, view, dialogs);
            expectOneFailureBox(g.prefix, QLatin1String(folderMissing ? g.file : g.answer));
            EXPECT_TRUE(view.loads.isEmpty());
            EXPECT_TRUE(view.scripts.isEmpty());
            EXPECT_FALSE(QFile::exists(pageFile(g.file)));
        }
    }
}

TEST_F(ListingRenderTest, renderDept_writesTheFragmentAndRunsTheScriptOrEmptiesTheBoxes)
{
    setAnswers();
    renderDept(*service, view, dialogs, QStringLiteral("99"));
    EXPECT_TRUE(dialogs.boxes().isEmpty());
    EXPECT_EQ(view.scripts, QStringList{QStringLiteral("$('#categoryContainer').html('');")});
    EXPECT_FALSE(QFile::exists(pageFile(kDeptFile)));
    EXPECT_TRUE(view.loads.isEmpty());

    view = RecordingView();
    renderDept(*service, view, dialogs, QStringLiteral("1"));
    const DeptChange change = deptChange(*service->CategoryJson(), QStringLiteral("1"));
    EXPECT_TRUE(dialogs.boxes().isEmpty());
    EXPECT_EQ(view.scripts, QStringList{change.script});
    EXPECT_EQ(fileBytes(kDeptFile), (change.fragment + QStringLiteral("\r\n")).toUtf8());
    EXPECT_TRUE(view.loads.isEmpty());
    EXPECT_EQ(view.reloads, 0);
}

// The listing pages in a real view; covers come from a local server.
class ListingViewTest : public elumira::test::PageViewTest
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

    CaptureServer server;
};

TEST_F(ListingViewTest, bookLists_callTheirDetailFunctionsAndStayPlainGrids)
{
    const Json books = Json::parse(R"({"data":[{"id_konten":"5'1","img":"a.jpg","judul":"<i>Satu</i>","nilai_rate":3},
        {"id_konten":"52","img":"b.jpg","judul":"Dua","nilai_rate":"4"}]})");
    s_service->setHomeDetailJson(books);
    s_service->setCategoryContentJson(books);
    s_service->setSubCategoryContentJson(books);
    const QString title = QStringLiteral("Novel & <b>Puisi</b>");
    const struct
    {
        std::function<void()> render;
        QStringList crumbs;
        const char *detail;
    } cases[] = {
        {[&] { renderHomeDetailHtmlFile(*s_service, *view, *s_dialogs, title); },
         {QStringLiteral("back")},
         "detailFromSection"},
        {[&] { renderCategoryContent(*s_service, *view, *s_dialogs, title); },
         {QStringLiteral("back"), QStringLiteral("backKategori")},
         "detailFromCategory"},
        {[&] { renderSubCategoryContent(*s_service, *view, *s_dialogs, title); },
         {QStringLiteral("back"), QStringLiteral("backKategori")},
         "detailFromCategory"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.detail);
        renderAndWait(c.render);
        EXPECT_EQ(js(QStringLiteral("document.querySelector('h2.title-section').innerHTML")),
                  QVariant(QStringLiteral("Novel &amp; <b>Puisi</b>")));
        EXPECT_EQ(js(QStringLiteral("document.querySelector('.breadcrumb .active b').textContent")),
                  QVariant(QStringLiteral("Puisi")));
        // Without js/main.js the grid is no carousel; the page's own script draws the stars and loads the covers.
        EXPECT_FALSE(js(QStringLiteral("$('.multiple-items').hasClass('slick-initialized')")).toBool());
        EXPECT_TRUE(waitUntil([this] { return js(QStringLiteral("$('.rating-container').length")).toInt() == 2; }));
        EXPECT_TRUE(waitUntil([this] {
            return js(QStringLiteral("document.querySelector('.img-books').getAttribute('src')")).toString() ==
                   QString::fromLatin1(server.url()) + QStringLiteral("/prod/img/cover/a.jpg");
        }));

        js(QStringLiteral("document.querySelectorAll('.breadcrumb a').forEach(a => a.click())"));
        for (const QString &crumb : c.crumbs)
            EXPECT_EQ(nextMessage(), ProcessMessage(crumb));
        js(QStringLiteral("document.querySelectorAll('.list-item a').forEach(a => a.click())"));
        EXPECT_EQ(nextMessage(), ProcessMessage(QLatin1String(c.detail), {QStringLiteral("5'1")}));
        EXPECT_EQ(nextMessage(), ProcessMessage(QLatin1String(c.detail), {QStringLiteral("52")}));
        EXPECT_TRUE(noFurtherMessage());
    }
}

TEST_F(ListingViewTest, categoryBrowser_chooserAndDepartmentChange)
{
    s_service->setCategoryJson(Json::parse(kCategories));
    renderAndWait([this] { renderCategoryHtmlFile(*s_service, *view, *s_dialogs); });
    EXPECT_EQ(view->title(), QStringLiteral("Kategori Buku"));
    ASSERT_TRUE(waitUntil(
        [this] { return js(QStringLiteral("$('.select-category').hasClass('select2-hidden-accessible')")).toBool(); }));
    EXPECT_EQ(js(QStringLiteral("$('.select-category option').map(function () { return this.value; }).get().join()")),
              QVariant(QStringLiteral("1,7")));
    // The first department fills the boxes though the chooser leaves it out; its category name is mark-up.
    EXPECT_EQ(js(QStringLiteral("$('#categoryContainer h3 b').text() + '|' + $('#categoryContainer li').text()")),
              QVariant(QStringLiteral("Terbitan|Laporan & <Profil>")));
    js(QStringLiteral("document.querySelector('#categoryContainer h3 a').click();"
                      "document.querySelector('#categoryContainer li a').click();"
                      "document.querySelector('.breadcrumb a').click()"));
    EXPECT_EQ(nextMessage(), ProcessMessage(QStringLiteral("kategoriKonten"),
                                            {QStringLiteral("4"), QStringLiteral("401"), QStringLiteral("1"),
                                             QStringLiteral("<b>Terbitan</b> Daerah")}));
    EXPECT_EQ(nextMessage(), ProcessMessage(QStringLiteral("subKategoriKonten"),
                                            {QStringLiteral("4"), QStringLiteral("4011"), QStringLiteral("1"),
                                             QStringLiteral("Laporan & <Profil>")}));
    EXPECT_EQ(nextMessage(), ProcessMessage(QStringLiteral("back")));

    // Choosing the second department in the select2 box sends its value and text.
    js(QStringLiteral("$('.select-category').select2('open')"));
    ASSERT_TRUE(waitUntil([this] { return js(QStringLiteral("$('.select2-results__option').length")).toInt() == 2; }));
    js(QStringLiteral("$('.select2-results__option').eq(1).trigger('mouseup')"));
    EXPECT_EQ(nextMessage(),
              ProcessMessage(QStringLiteral("changeDept"), {QStringLiteral("7"), QStringLiteral("Buku Non Koleksi")}));
    EXPECT_TRUE(noFurtherMessage());

    // The department change puts that department's boxes in, names shown as typed.
    renderDept(*s_service, *view, *s_dialogs, QStringLiteral("1"));
    ASSERT_TRUE(s_dialogs->boxes().isEmpty());
    ASSERT_TRUE(
        waitUntil([this] { return js(QStringLiteral("$('#categoryContainer .category-box').length")).toInt() == 2; }));
    const QString awkward = QStringLiteral("Kopi 'Pagi' \"Senja\" </script> \\ <b>");
    const QString awkwardSub = QStringLiteral("O'Brien \"&\" </script><b>");
    EXPECT_EQ(
        js(QStringLiteral("$('#categoryContainer h3').map(function () { return this.textContent; }).get().join('|')")),
        QVariant(QStringLiteral("<i>Sastra</i>|") + awkward));
    EXPECT_EQ(js(QStringLiteral("$('#categoryContainer b, #categoryContainer i').length")).toInt(), 0);
    EXPECT_EQ(js(QStringLiteral("$('#categoryContainer h3 a').first().attr('onclick')")),
              QVariant(QStringLiteral("app.kategoriKonten('102','1','1','\\x3Ci>Sastra\\x3C/i>')")));

    js(QStringLiteral("document.querySelectorAll('#categoryContainer a').forEach(a => a.click())"));
    const QString dept = QStringLiteral("1");
    const QString one = QStringLiteral("1");
    EXPECT_EQ(nextMessage(), ProcessMessage(QStringLiteral("kategoriKonten"),
                                            {dept, QStringLiteral("102"), one, QStringLiteral("<i>Sastra</i>")}));
    EXPECT_EQ(nextMessage(), ProcessMessage(QStringLiteral("subKategoriKonten"),
                                            {dept, QStringLiteral("1021"), one, QStringLiteral("Novel")}));
    EXPECT_EQ(nextMessage(), ProcessMessage(QStringLiteral("subKategoriKonten"),
                                            {dept, QStringLiteral("1022"), one, QStringLiteral("Puisi")}));
    EXPECT_EQ(nextMessage(),
              ProcessMessage(QStringLiteral("kategoriKonten"), {dept, QStringLiteral("103"), one, awkward}));
    EXPECT_EQ(nextMessage(),
              ProcessMessage(QStringLiteral("subKategoriKonten"), {dept, QStringLiteral("1031"), one, awkwardSub}));
    EXPECT_TRUE(noFurtherMessage());

    // An id the answer does not hold empties the boxes; the chooser stays.
    renderDept(*s_service, *view, *s_dialogs, QStringLiteral("99"));
    ASSERT_TRUE(
        waitUntil([this] { return js(QStringLiteral("$('#categoryContainer').html()")).toString().isEmpty(); }));
    EXPECT_EQ(js(QStringLiteral("$('.select-category option').length")).toInt(), 2);
    EXPECT_TRUE(s_dialogs->boxes().isEmpty());
}

} // namespace
