// The book detail page: the breadcrumb for every place a member can come from, the exact page with values
// as received, its failures, and in a real view the links back and the read button calling the program.
#include "pages/detail_page.h"
#include "pages/page_guard.h"
#include "pages/page_writer.h"
#include "tests/support/partner_fixtures.h"
#include "tests/support/page_text.h"

#include <gtest/gtest.h>

#include <QDir>

using namespace elumira::pages;
using elumira::Json;
using elumira::JsonShapeError;
using elumira::ProcessMessage;
using elumira::test::kPartnerConfiguration;
using elumira::test::readFile;

using elumira::test::crlf;
namespace {

// A book whose title has an ampersand and mark-up, out of stock, with a synopsis of two paragraphs and an
// id with an apostrophe.
const char *const kDetail =
    R"json({"code":"200","data":{"id":"K'07","id_konten":"K'07","judul":"Sejarah & <i>Budaya</i>",
    "tahun_terbit":2019,"penulis":"Sartono","penerbit":"Obor & Co","isbn":"978-979","kategori":"Sejarah",
    "stok":"0","qty":3,"sinopsis":"<p>Bagian <b>satu</b></p><p>Bagian dua</p>",
    "cover_file":"http://127.0.0.1:8765/prod/img/cover/k 07.jpg","nama_pc_file":"k07.pdf"}})json";

// detail.html for kDetail coming from the home page; lines end in CR LF.
const char *const kDetailPage = R"html(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta http-equiv="X-UA-Compatible" content="IE=edge">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>Detail Buku</title>
<link href="css/bootstrap.min.css" rel="stylesheet">
<link href="css/style.css" rel="stylesheet">
</head>
<style>
.btn-baca { background-color: #c0392b; border-color: #c0392b; }
.btn-baca:hover { opacity: 0.5; background-color: #c0392b; border-color: #c0392b; }
</style>
<body>
<div id="overlay"></div>
<div class="detail-book-wrapper">
<div class="container">
<div class="row">
<ol class="breadcrumb"><li class="breadcrumb-item"><a href="#" onClick="app.back()">Home</a></li><li class="breadcrumb-item active">Sejarah & <i>Budaya</i></li></ol>
</div>
<div class="row">
<div class="col-sm-7 col-sm-offset-1">
<h2 class="mb30">Detail Buku</h2>
<div class="row">
<div class="col-sm-12">
<table class="table table-striped">
<tbody>
<tr><td class="col-sm-3">Judul</td><td class="col-sm-9"><span>:</span> Sejarah & <i>Budaya</i></td></tr>
<tr><td class="col-sm-3">Tahun Terbit</td><td class="col-sm-9"><span>:</span> 2019</td></tr>
<tr><td class="col-sm-3">Penulis</td><td class="col-sm-9"><span>:</span> Sartono</td></tr>
<tr><td class="col-sm-3">Penerbit</td><td class="col-sm-9"><span>:</span> Obor & Co</td></tr>
<tr><td class="col-sm-3">ISBN</td><td class="col-sm-9"><span>:</span> 978-979</td></tr>
<tr><td class="col-sm-3">Kategori</td><td class="col-sm-9"><span>:</span> Sejarah</td></tr>
<tr><td class="col-sm-3">Stok</td><td class="col-sm-9"><span>:</span> 0/3</td></tr>
</tbody>
</table>
</div>
</div>
<div class="description">
<h3>Sinopsis</h3>
<div class="desc-detail"><p>Bagian <b>satu</b></p><p>Bagian dua</p></div>
</div>
</div>
<div class="col-sm-3 border-left">
<div class="image-wrapper"><img src="img/loading.jpg" data-src="http://127.0.0.1:8765/prod/img/cover/k 07.jpg" alt="book" class="img-responsive center-block img-books lazyload"></div>
<button type="button" class="btn btn-success btn-block btn-baca" onClick="app.baca('K\'07')">BACA</button>
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
</body>
</html>
)html";

TEST(DetailPageTest, detailPage_isWrittenPieceByPieceWithTheBooksValuesAsReceived)
{
    EXPECT_EQ(detailPage(Json::parse(kPartnerConfiguration), Json::parse(kDetail), QStringLiteral("home")),
              crlf(kDetailPage));
}

TEST(DetailPageTest, breadcrumb_givesTheLinksBackForEveryFrom)
{
    const QString home =
        QStringLiteral("<li class=\"breadcrumb-item\"><a href=\"#\" onClick=\"app.back()\">Home</a></li>");
    const QString title = QStringLiteral("<li class=\"breadcrumb-item active\">A & B</li>");
    const auto back = [](const char *text, const char *call) {
        return QStringLiteral("<li class=\"breadcrumb-item\"><a href=\"#\" onClick=\"%1\">%2</a></li>")
            .arg(QLatin1String(call), QLatin1String(text));
    };
    const struct
    {
        const char *from;
        QString expected;
    } cases[] = {
        {"home", home + title},
        {"homeSection", home + back("Section", "app.backToSection()") + title},
        {"category", home + back("Kategori", "app.backToCategory()") + title},
        {"chart", home + back("History", "app.backToChart()") + title},
        {"search", home + back("Pencarian", "app.backToSearch()") + title},
        // The comparison is exact: anything else gives no items at all.
        {"Home", QString()},
        {"", QString()},
        {"CHART", QString()},
        {"search ", QString()},
        {"back", QString()},
    };
    for (const auto &c : cases)
        EXPECT_EQ(detailBreadcrumbItems(QLatin1String(c.from), QStringLiteral("A & B")), c.expected) << c.from;

    // Without items the rest of the page is complete.
    const QString page = detailPage(Json::parse(kPartnerConfiguration), Json::parse(kDetail), QStringLiteral("Home"));
    EXPECT_TRUE(page.contains(QLatin1String("<ol class=\"breadcrumb\"></ol>")));
    EXPECT_EQ(page, crlf(kDetailPage)
                        .replace(QLatin1String("<ol class=\"breadcrumb\">") + home +
                                     QStringLiteral("<li class=\"breadcrumb-item active\">Sejarah & "
                                                    "<i>Budaya</i></li></ol>"),
                                 QLatin1String("<ol class=\"breadcrumb\"></ol>")));
}

TEST(DetailPageTest, detailPage_missingValuesReadEmptyAndDataOfAnotherKindIsAFailure)
{
    const QString page =
        detailPage(Json::parse(R"({"code":"200"})"), Json::parse(R"({"code":"200"})"), QStringLiteral("chart"));
    EXPECT_TRUE(page.contains(QLatin1String("<td class=\"col-sm-9\"><span>:</span> /</td>")));
    EXPECT_TRUE(page.contains(QLatin1String(".btn-baca { background-color: ; border-color: ; }")));
    EXPECT_TRUE(page.contains(QLatin1String("onClick=\"app.baca('')\">BACA")));

    EXPECT_THROW(
        detailPage(Json::parse(kPartnerConfiguration), Json::parse(R"({"data":null})"), QStringLiteral("home")),
        JsonShapeError);
    EXPECT_THROW(detailPage(Json::parse(kPartnerConfiguration), Json::parse(R"({"data":[]})"), QStringLiteral("home")),
                 JsonShapeError);
    EXPECT_THROW(detailPage(Json::parse(R"({"data":"merah"})"), Json::parse(kDetail), QStringLiteral("home")),
                 JsonShapeError);
}

using DetailRenderTest = elumira::test::PartnerServiceTest;

TEST_F(DetailRenderTest, renderDetailContent_writesDetailHtmlAndLoadsIt)
{
    fetchConfiguration();
    service->setDetailContentJson(Json::parse(kDetail));
    renderDetailContent(*service, view, dialogs, QStringLiteral("search"));
    EXPECT_TRUE(dialogs.boxes().isEmpty());
    EXPECT_EQ(view.loads, QList<QUrl>{pageFileUrl(kDetailPageFile)});
    EXPECT_EQ(readFile(pageFile(kDetailPageFile)),
              detailPage(*service->ClientJson(), Json::parse(kDetail), QStringLiteral("search")).toUtf8());
}

TEST_F(DetailRenderTest, renderDetailContent_failure_showsItsPrefixAndLoadsNothing)
{
    const struct
    {
        const char *name;
        bool configuration;
        const char *answer;
        bool removeFolder;
    } cases[] = {
        {"data folder missing", true, kDetail, true},
        {"no detail answer", true, nullptr, false},
        {"no partner configuration", false, kDetail, false},
        {"data of another kind", true, R"({"code":"200","data":"K07"})", false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        startAfresh();
        if (c.configuration)
            fetchConfiguration();
        if (c.answer)
            service->setDetailContentJson(Json::parse(c.answer));
        if (c.removeFolder) {
            ASSERT_TRUE(QDir(service->DataPath()).removeRecursively());
        }

        renderDetailContent(*service, view, dialogs, QStringLiteral("home"));

        expectOneFailureBox(kDetailContentFailure);
        EXPECT_TRUE(view.loads.isEmpty());
    }
}

using DetailViewTest = elumira::test::PartnerViewTest;

TEST_F(DetailViewTest, breadcrumbLinksGoBackAndReadButtonAsksForTheBook)
{
    s_service->setDetailContentJson(Json::parse(kDetail));
    const struct
    {
        const char *from;
        QStringList messages; // sent by the breadcrumb's links, in order
    } cases[] = {
        {"home", {QStringLiteral("back")}},
        {"homeSection", {QStringLiteral("back"), QStringLiteral("backToSection")}},
        {"category", {QStringLiteral("back"), QStringLiteral("backToCategory")}},
        {"chart", {QStringLiteral("back"), QStringLiteral("backToChart")}},
        {"search", {QStringLiteral("back"), QStringLiteral("backToSearch")}},
        {"Home", {}},
        {"", {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.from);
        renderAndWait([&] { renderDetailContent(*s_service, *view, *s_dialogs, QLatin1String(c.from)); });
        EXPECT_EQ(view->title(), QStringLiteral("Detail Buku"));
        EXPECT_EQ(js(QStringLiteral("$('.breadcrumb li').length")).toInt(),
                  c.messages.isEmpty() ? 0 : c.messages.size() + 1);
        js(QStringLiteral("$('.breadcrumb a').each(function () { this.click(); }); 0"));
        for (const QString &message : c.messages)
            EXPECT_EQ(nextMessage(), ProcessMessage(message));
        if (!c.messages.isEmpty()) {
            EXPECT_EQ(js(QStringLiteral("$('.breadcrumb .active').html()")),
                      QVariant(QStringLiteral("Sejarah &amp; <i>Budaya</i>")));
        }
        click(QStringLiteral("button.btn-baca"));
        EXPECT_EQ(nextMessage(), ProcessMessage(QStringLiteral("baca"), {QStringLiteral("K'07")}));
    }
    EXPECT_TRUE(noFurtherMessage());

    // The synopsis is shown formatted, the read button in the partner's colour, the cover from its address.
    EXPECT_EQ(js(QStringLiteral("$('.desc-detail p').length")).toInt(), 2);
    EXPECT_EQ(js(QStringLiteral("$('.desc-detail b').text()")), QVariant(QStringLiteral("satu")));
    EXPECT_EQ(js(QStringLiteral("getComputedStyle($('.btn-baca')[0]).backgroundColor")),
              QVariant(QStringLiteral("rgb(192, 57, 43)")));
    EXPECT_EQ(js(QStringLiteral("$('table td:eq(13)').text()")), QVariant(QStringLiteral(": 0/3")));
    EXPECT_TRUE(elumira::test::waitUntil([this] {
        return js(QStringLiteral("$('.image-wrapper img').attr('src')")) ==
               QVariant(QStringLiteral("http://127.0.0.1:8765/prod/img/cover/k 07.jpg"));
    }));
}

} // namespace
