// The home page: its exact text, banners, sections and intro window, the growth by further pages at the
// marker line, the intro counter across writes, and its failures.
#include "common/dialogs.h"
#include "pages/header_bar.h"
#include "pages/home_page.h"
#include "pages/page_guard.h"
#include "pages/page_parts.h"
#include "pages/page_scripts.h"
#include "pages/page_writer.h"
#include "pages/style_rules.h"
#include "service/lekora_lib.h"
#include "tests/support/member_page_view.h"
#include "tests/support/page_text.h"
#include "tests/support/partner_fixtures.h"
#include "tests/support/recording_view.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QFile>

#include <memory>

using namespace elumira::pages;
using elumira::Json;
using elumira::JsonShapeError;
using elumira::ProcessMessage;
using elumira::RecordingDialogs;
using elumira::TLekoraLib;
using elumira::test::RecordingView;
using elumira::test::crlf;
using elumira::test::kService;
using elumira::test::readFile;
using elumira::test::waitUntil;

namespace {

const char *const kConfiguration = R"json({"code":"200","data":{"warna_header":"#0b4f6c",
    "warna_button_login":"#1b998b","warna_hover_button_login":"#157a6e","logo":"logo.png",
    "keterangan_intro":"<h4>Selamat datang</h4>\r\n<p>Baca & pinjam.</p>","foto_intro":"https://contoh.id/intro.jpg"}})json";

const char *const kBanners = R"json({"code":"200","data":[
    {"img":"b1.jpg","url_link":"https://contoh.id/acara?a=1&b=2"},{"img":"b2.jpg","url_link":"#"}]})json";

const char *const kHomeContent = R"json({"code":"200","count":1,"total":1,"data":[
    {"id":"12","judul_section":"Novel & Puisi","rows":[{"id_konten":"77","img":"c77.jpg","judul":"Kopi & Senja",
     "penulis":"Dee <i>L</i>","stok":2,"qty":"5","nilai_rate":4}]}]})json";

// Everything after the header bar, for the three answers above with the counter at COUNTER; lines end in CR LF.
const char *const kHomeBody = R"html(<div class="section-wrapper">
<div class="container">
<div class="row">
<div class="col-sm-12">
<div class="banner">
<div><img src="img/loading-banner.jpg" data-src="http://127.0.0.1:8765/prod/img/banner/b1.jpg" alt="banner" class="img-responsive lazyload" onClick="app.openBanner('https://contoh.id/acara?a=1&amp;b=2')"></div>
<div><img src="img/loading-banner.jpg" data-src="http://127.0.0.1:8765/prod/img/banner/b2.jpg" alt="banner" class="img-responsive lazyload"></div>
</div>
</div>
</div>
<div class="row">
<div class="col-sm-12 category-list">
<ul class="nav nav-tabs nav-justified">
<li onClick="app.topChart()"><a href="#">Banyak Dibaca</a></li>
<li onClick="app.lastRead()"><a href="#">Terakhir Dibaca</a></li>
<li onClick="app.lastView()"><a href="#">Terakhir Dilihat</a></li>
<li onClick="app.loadKategori()"><a href="#">Kategori</a></li>
</ul>
</div>
</div>
<div id="myBooks">
<div class="col-sm-12 section-item">
<div class="row"><div class="title-section-wrap"><h2 class="title-section">Novel &amp; Puisi</h2><a href="javascript:void(0);" class="link-see-all" onClick="app.homeDetail('12','Novel &amp; Puisi')">Lihat Semua &raquo;</a></div></div>
<div class="row small-gutters multiple-items"><div class="col-md-2 col-sm-2 col-xs-12 list-item-wrap"><div class="list-item"><a href="javascript:void(0);" onClick="app.detail('77')"><img src="img/loading.jpg" data-src="http://127.0.0.1:8765/prod/img/cover/c77.jpg" alt="book" class="img-responsive center-block img-books lazyload"><div class="describe-wrap"><h3 class="title-books">Kopi &amp; Senja</h3><h4 class="author">Dee &lt;i&gt;L&lt;/i&gt;</h4><h4 class="author">Stok : 2/5</h4><input class="rating-detail" type="number" min="0" max="5" step="1" data-size="sm" value="4"></div></a></div></div></div>
</div>
<!--KONTEN-->
</div>
<div class="row" id="btnMore">
<div class="col-sm-4 col-sm-offset-4 mt30">
<a id="loadMore" href="javascript:void(0);" class="btn btn-primary btn-block btn-more" onClick="app.loadMore()">Selebihnya</a>
</div>
</div>
</div>
</div>
<div id="myModal" class="modal fade">
<div class="modal-dialog">
<div class="modal-content">
<div class="modal-header"><button type="button" class="close" data-dismiss="modal" aria-hidden="true">&times;</button></div>
<div class="modal-body">
<img src="https://contoh.id/intro.jpg" alt="profile" class="img-responsive img-circle" style="margin-bottom:15px; margin-right:15px; float:left; width:180px;">
<h4>Selamat datang</h4>
<p>Baca & pinjam.</p>
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
READY_SCRIPT
$(document).ready(readyFunctionScript(COUNTER));
SEARCH_SCRIPT
</script>
</body>
</html>
)html";

QString page(const char *configuration, const char *banners, const char *content, int counter = 1)
{
    return homePage(Json::parse(configuration), Json::parse(banners), Json::parse(content), kService, counter);
}

TEST(HomePageTest, homePage_isWrittenPieceByPiece)
{
    const Json configuration = Json::parse(kConfiguration);
    const Json &partner = partnerData(configuration);
    // The head and the header bar are the shared pieces; the home page adds the tab hover rule.
    const QString head = catalogueHead(QStringLiteral("Index"),
                                       partnerColourRules(partner) + QStringLiteral("\r\n") + moreButtonRules(partner) +
                                           QStringLiteral("\r\n.category-list .nav-tabs>li:hover { "
                                                          "background-color: #157a6e; }"));
    for (const int counter : {1, 2}) {
        QString body = crlf(kHomeBody);
        body.replace(QLatin1String("READY_SCRIPT"), tilePageScript(QStringLiteral("home_ready")));
        body.replace(QLatin1String("SEARCH_SCRIPT"), headerSearchScript());
        body.replace(QLatin1String("COUNTER"), QString::number(counter));
        const QString expected = head + QStringLiteral("\r\n<body>\r\n<div id=\"overlay\"></div>\r\n") +
                                 headerBar(partner, kService, HeaderForm::Home) + QStringLiteral("\r\n") + body;
        EXPECT_EQ(page(kConfiguration, kBanners, kHomeContent, counter), expected) << counter;
    }
}

TEST(HomePageTest, homeBanner_callsOpenBannerOnlyForARealAddress)
{
    const QString start = QStringLiteral("<div><img src=\"img/loading-banner.jpg\" "
                                         "data-src=\"http://127.0.0.1:8765/prod/img/banner/b.jpg\" alt=\"banner\" "
                                         "class=\"img-responsive lazyload\"");
    const struct
    {
        const char *banner;
        QString onClick;
    } cases[] = {
        {R"({"img":"b.jpg"})", QString()},
        {R"({"img":"b.jpg","url_link":null})", QString()},
        {R"({"img":"b.jpg","url_link":""})", QString()},
        {R"({"img":"b.jpg","url_link":"#"})", QString()},
        {R"({"img":"b.jpg","url_link":"https://contoh.id/a?x=1&y=2"})",
         QStringLiteral(" onClick=\"app.openBanner('https://contoh.id/a?x=1&amp;y=2')\"")},
        {R"({"img":"b.jpg","url_link":"#promo"})", QStringLiteral(" onClick=\"app.openBanner('#promo')\"")},
        // An apostrophe stays inside the call's argument.
        {R"({"img":"b.jpg","url_link":"https://contoh.id/o'neil"})",
         QStringLiteral(" onClick=\"app.openBanner('https://contoh.id/o\\'neil')\"")},
    };
    for (const auto &c : cases)
        EXPECT_EQ(homeBanner(Json::parse(c.banner), kService), start + c.onClick + QStringLiteral("></div>"))
            << c.banner;
}

// The lines of a page, for checks on a few of them.
QStringList lines(const QString &text)
{
    return text.split(QStringLiteral("\r\n"));
}

TEST(HomePageTest, homePage_contentEdgeCases)
{
    const QString moreButton = QStringLiteral("<a id=\"loadMore\" href=\"javascript:void(0);\" "
                                              "class=\"btn btn-primary btn-block btn-more\" "
                                              "onClick=\"app.loadMore()\">Selebihnya</a>");
    {
        SCOPED_TRACE("no sections: banners, tabs, the marker right after the book area's start, the more button");
        const QStringList text = lines(page(kConfiguration, kBanners, R"({"code":"200","data":[]})"));
        const qsizetype books = text.indexOf(QStringLiteral("<div id=\"myBooks\">"));
        ASSERT_GE(books, 0);
        EXPECT_EQ(text.value(books + 1), QStringLiteral("<!--KONTEN-->"));
        EXPECT_EQ(text.filter(QStringLiteral("alt=\"banner\"")).size(), 2);
        EXPECT_EQ(text.filter(QStringLiteral("<li onClick=")).size(), 4);
        EXPECT_TRUE(text.contains(moreButton));
        EXPECT_TRUE(text.filter(QStringLiteral("section-item")).isEmpty());
    }
    {
        SCOPED_TRACE("no data at all and no banners");
        const QStringList text = lines(page(kConfiguration, R"({"code":"200"})", R"({"code":"200"})"));
        const qsizetype banner = text.indexOf(QStringLiteral("<div class=\"banner\">"));
        ASSERT_GE(banner, 0);
        EXPECT_EQ(text.value(banner + 1), QStringLiteral("</div>"));
        EXPECT_EQ(text.value(text.indexOf(QStringLiteral("<div id=\"myBooks\">")) + 1),
                  QStringLiteral("<!--KONTEN-->"));
    }
    {
        SCOPED_TRACE("a section without rows shows its title and link above an empty grid");
        const QStringList text =
            lines(page(kConfiguration, kBanners, R"({"data":[{"id":5,"judul_section":"Pilihan <Editor>"}]})"));
        const qsizetype section = text.indexOf(QStringLiteral("<div class=\"col-sm-12 section-item\">"));
        ASSERT_GE(section, 0);
        EXPECT_EQ(text.value(section + 1),
                  QStringLiteral("<div class=\"row\"><div class=\"title-section-wrap\"><h2 class=\"title-section\">"
                                 "Pilihan &lt;Editor&gt;</h2><a href=\"javascript:void(0);\" class=\"link-see-all\" "
                                 "onClick=\"app.homeDetail('5','Pilihan \\x3CEditor&gt;')\">Lihat Semua &raquo;</a>"
                                 "</div></div>"));
        EXPECT_EQ(text.value(section + 2), QStringLiteral("<div class=\"row small-gutters multiple-items\"></div>"));
        EXPECT_EQ(text.value(section + 3), QStringLiteral("</div>"));
        EXPECT_EQ(text.value(section + 4), QStringLiteral("<!--KONTEN-->"));
    }
}

TEST(HomePageTest, homePage_introWindowOnlyWithAnIntroAndTheReadyCallCarriesTheCounter)
{
    const struct
    {
        const char *configuration;
        int counter;
        bool window;
    } cases[] = {
        {kConfiguration, 1, true},
        {kConfiguration, 2, true},
        {R"({"data":{"keterangan_intro":""}})", 1, true},
        {R"({"data":{"keterangan_intro":null,"foto_intro":"x.jpg"}})", 1, false},
        {R"({"data":{"foto_intro":"x.jpg"}})", 1, false},
        {R"({"code":"200"})", 1, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.configuration);
        const QStringList text = lines(page(c.configuration, kBanners, kHomeContent, c.counter));
        EXPECT_EQ(text.contains(QStringLiteral("<div id=\"myModal\" class=\"modal fade\">")), c.window);
        const QStringList ready = text.filter(QStringLiteral("readyFunctionScript("));
        EXPECT_TRUE(ready.contains(QStringLiteral("$(document).ready(readyFunctionScript(%1));").arg(c.counter)));
        EXPECT_EQ(text.filter(QStringLiteral("$(document).ready(readyFunctionScript(")).size(), 1);
    }
}

TEST(HomePageTest, homePage_answersOfTheWrongShapeAreFailures)
{
    const struct
    {
        const char *name;
        const char *configuration;
        const char *banners;
        const char *content;
    } cases[] = {
        {"data of the configuration", R"({"data":"x"})", kBanners, kHomeContent},
        {"banner list", kConfiguration, R"({"data":{}})", kHomeContent},
        {"banner", kConfiguration, R"({"data":[null]})", kHomeContent},
        {"section list", kConfiguration, kBanners, R"({"data":null})"},
        {"section", kConfiguration, kBanners, R"({"data":["x"]})"},
        {"rows", kConfiguration, kBanners, R"({"data":[{"id":"1","rows":null}]})"},
        {"row", kConfiguration, kBanners, R"({"data":[{"id":"1","rows":[7]}]})"},
    };
    for (const auto &c : cases)
        EXPECT_THROW(page(c.configuration, c.banners, c.content), JsonShapeError) << c.name;
}

TEST(HomePageTest, homeAppendMarkup_isTheSectionsOnOneLine)
{
    const Json content = Json::parse(R"({"data":[{"id":"1","judul_section":"Satu\r\nDua","rows":[]},
        {"id":"2","judul_section":"  Tiga\n","rows":[{"id_konten":"9","judul":"A\r\nB","stok":"1\r\n"}]}]})");
    const QString markup = homeAppendMarkup(content, kService);
    EXPECT_FALSE(markup.contains(QStringLiteral("\r\n")));
    // CR LF pairs inside values go too; the sections are the full write's pieces put side by side.
    QString joined = homeSectionPieces(content, kService).join(QString());
    EXPECT_TRUE(joined.contains(QStringLiteral(">Satu\r\nDua</h2>")));
    joined.remove(QStringLiteral("\r\n"));
    EXPECT_EQ(markup, joined);
    EXPECT_TRUE(markup.contains(QStringLiteral("<h2 class=\"title-section\">SatuDua</h2>")));
    EXPECT_TRUE(markup.contains(QStringLiteral("<h3 class=\"title-books\">AB</h3>")));
    // Only CR LF pairs go; a lone line feed stays.
    EXPECT_TRUE(markup.contains(QStringLiteral("<h2 class=\"title-section\">  Tiga\n</h2>")));
    EXPECT_TRUE(markup.startsWith(QStringLiteral("<div class=\"col-sm-12 section-item\">")));
    EXPECT_TRUE(markup.endsWith(QStringLiteral("</div>")));
    EXPECT_EQ(homeAppendMarkup(Json::parse(R"({"data":[]})"), kService), QString());
}

TEST(HomePageTest, appendHomeSections_placesTheSectionsBeforeTheMarkerAndTurnsTheReadyCall)
{
    const struct
    {
        const char *name;
        QString file;
        QString markup;
        QString expected;
    } cases[] = {
        {"marker and ready call for 1",
         QStringLiteral("<a>\r\n<!--KONTEN-->\r\n$(document).ready(readyFunctionScript(1));\r\n"),
         QStringLiteral("<div>S</div>"),
         QStringLiteral("<a>\r\n<div>S</div>\r\n<!--KONTEN-->\r\n$(document).ready(readyFunctionScript(2));\r\n")},
        {"ready call for 2 stays", QStringLiteral("<!--KONTEN-->\r\n$(document).ready(readyFunctionScript(2));\r\n"),
         QStringLiteral("<div>S</div>"),
         QStringLiteral("<div>S</div>\r\n<!--KONTEN-->\r\n$(document).ready(readyFunctionScript(2));\r\n")},
        {"ready call in other letter case and indented",
         QStringLiteral("<!--KONTEN-->\r\n  $(DOCUMENT).ready(READYFUNCTIONSCRIPT(1)) ;\r\n"), QStringLiteral("<p>"),
         QStringLiteral("<p>\r\n<!--KONTEN-->\r\n$(document).ready(readyFunctionScript(2));\r\n")},
        // Only a line that is the marker takes the sections.
        {"marker inside a line", QStringLiteral("x <!--KONTEN-->\r\n <!--KONTEN-->\r\n"), QStringLiteral("<p>"),
         QStringLiteral("x <!--KONTEN-->\r\n <!--KONTEN-->\r\n")},
        {"no marker: written back unchanged", QStringLiteral("<html>\r\n<body>\r\n</body>\r\n</html>\r\n"),
         QStringLiteral("<div>S</div>"), QStringLiteral("<html>\r\n<body>\r\n</body>\r\n</html>\r\n")},
        {"lines ending in LF or CR come back with CR LF", QStringLiteral("a\n<!--KONTEN-->\rb"), QStringLiteral("<p>"),
         QStringLiteral("a\r\n<p>\r\n<!--KONTEN-->\r\nb\r\n")},
        // Sections that quote the ready call are sections, not the page's ready call: the marker stays.
        {"sections quoting the ready call",
         QStringLiteral("<!--KONTEN-->\r\n<div>$(document).ready(readyFunctionScript(1))</div>\r\n"),
         QStringLiteral("<h2>$(document).ready(readyFunctionScript(1))</h2>"),
         QStringLiteral("<h2>$(document).ready(readyFunctionScript(1))</h2>\r\n<!--KONTEN-->\r\n"
                        "<div>$(document).ready(readyFunctionScript(1))</div>\r\n")},
    };
    for (const auto &c : cases)
        EXPECT_EQ(appendHomeSections(c.file, c.markup), c.expected) << c.name;
}

TEST(HomePageTest, appendHomeSections_twoAppendsKeepThePagesInOrderBeforeOneMarker)
{
    const auto content = [](const char *title) {
        Json answer = Json::parse(R"({"code":"200","data":[{"id":"1","rows":[]}]})");
        answer["data"][0]["judul_section"] = title;
        return answer;
    };
    QString file = homePage(Json::parse(kConfiguration), Json::parse(kBanners), content("Halaman Satu"), kService, 1);
    file = appendHomeSections(file, homeAppendMarkup(content("Halaman Dua"), kService));
    file = appendHomeSections(file, homeAppendMarkup(content("Halaman Tiga"), kService));

    const qsizetype one = file.indexOf(QStringLiteral(">Halaman Satu</h2>"));
    const qsizetype two = file.indexOf(QStringLiteral(">Halaman Dua</h2>"));
    const qsizetype three = file.indexOf(QStringLiteral(">Halaman Tiga</h2>"));
    const qsizetype marker = file.indexOf(QStringLiteral("\r\n<!--KONTEN-->\r\n"));
    EXPECT_TRUE(one >= 0 && one < two && two < three && three < marker) << one << ' ' << two << ' ' << three;
    EXPECT_EQ(file.count(QStringLiteral("<!--KONTEN-->")), 1);
    EXPECT_EQ(file.count(QStringLiteral("section-item")), 3);
    EXPECT_TRUE(file.contains(QStringLiteral("\r\n$(document).ready(readyFunctionScript(2));\r\n")));
    EXPECT_FALSE(file.contains(QStringLiteral("readyFunctionScript(1)")));
}

// The service client with a partner configuration from a local server and answers set by the tests.
class HomeRenderTest : public elumira::test::PartnerServiceTest
{
protected:
    void SetUp() override
    {
        PartnerServiceTest::SetUp();
        resetIntroCounterForTests();
    }
    void TearDown() override
    {
        PartnerServiceTest::TearDown();
        resetIntroCounterForTests();
    }

    void setAnswers()
    {
        fetchConfiguration(kConfiguration);
        service->setBannerJson(Json::parse(kBanners));
        service->setHomeContentJson(Json::parse(kHomeContent));
    }

    QString indexPath() const { return pageFile("index.html"); }
    QString indexText() const { return QString::fromUtf8(readFile(indexPath())); }

    // The one box shown, which must carry the home page's prefix.
    void expectOneHomeFailureBox(const QString &mentions) { expectOneFailureBox("Error Exception #798: ", mentions); }
};

TEST_F(HomeRenderTest, fullWrite_loadsTheFileAndOnlyTheFirstOfTheRunOpensTheIntro)
{
    setAnswers();
    const QUrl url = QUrl::fromLocalFile(indexPath());

    EXPECT_EQ(introCounter(), 1);
    renderHomeHtmlFile(*service, view, dialogs, 1);
    EXPECT_TRUE(dialogs.boxes().isEmpty());
    EXPECT_EQ(introCounter(), 2);
    EXPECT_EQ(view.loads, QList<QUrl>{url});
    const QString base = QString::fromLatin1(server.url());
    EXPECT_EQ(indexText(),
              homePage(*service->ClientJson(), *service->BannerJson(), *service->HomeContentJson(), base, 1));

    // After logging out and in again the page is written anew, without opening the intro.
    renderHomeHtmlFile(*service, view, dialogs, 1);
    EXPECT_EQ(introCounter(), 2);
    EXPECT_EQ(view.loads, (QList<QUrl>{url, url}));
    EXPECT_TRUE(indexText().contains(QStringLiteral("\r\n$(document).ready(readyFunctionScript(2));\r\n")));
    EXPECT_EQ(view.reloads, 0);
}

TEST_F(HomeRenderTest, append_growsTheFileAndHandsTheSameSectionsToThePageShown)
{
    setAnswers();
    renderHomeHtmlFile(*service, view, dialogs, 1);
    const QString written = indexText();
    service->setHomeContentJson(Json::parse(R"({"code":"200","data":[{"id":"13","judul_section":"Dua","rows":[]}]})"));

    renderHomeHtmlFile(*service, view, dialogs, 2);
    EXPECT_TRUE(dialogs.boxes().isEmpty());
    EXPECT_EQ(view.reloads, 0);
    EXPECT_EQ(view.loads.size(), 1);
    const QString base = QString::fromLatin1(server.url());
    const QString markup = homeAppendMarkup(*service->HomeContentJson(), base);
    EXPECT_EQ(indexText(), appendHomeSections(written, markup));
    EXPECT_TRUE(indexText().contains(QStringLiteral(">Dua</h2>")));
    EXPECT_EQ(view.scripts, QStringList{homeAppendScript(markup)});

    // Any page number other than 1 appends.
    renderHomeHtmlFile(*service, view, dialogs, 0);
    EXPECT_EQ(view.scripts.size(), 2);
    EXPECT_EQ(indexText().count(QStringLiteral(">Dua</h2>")), 2);
}

TEST(HomePageTest, homeAppendScript_carriesTheMarkupAsOneScriptString)
{
    // Quotes, backslashes, line breaks and a closing script tag stay text of the one argument.
    const QString markup = QStringLiteral("<h2>Dua \"kutip\" \\ 'satu'</h2>\u2028</script>\n<p>");
    const QString script = homeAppendScript(markup);
    ASSERT_TRUE(script.startsWith(QStringLiteral("appendHomeSections(\"")));
    ASSERT_TRUE(script.endsWith(QStringLiteral("\");")));
    const QString argument = script.mid(19, script.size() - 21);
    EXPECT_EQ(QJsonDocument::fromJson(("[" + argument + "]").toUtf8()).array().at(0).toString(), markup);
    EXPECT_FALSE(script.contains(QLatin1Char('\n')));
}

TEST_F(HomeRenderTest, appendToAFileWithoutTheMarker_writesItBackUnchanged)
{
    setAnswers();
    const QByteArray file = "<html>\r\n<body>Lama</body>\r\n</html>\r\n";
    QFile index(indexPath());
    ASSERT_TRUE(index.open(QIODevice::WriteOnly));
    index.write(file);
    index.close();

    renderHomeHtmlFile(*service, view, dialogs, 2);
    EXPECT_TRUE(dialogs.boxes().isEmpty());
    EXPECT_EQ(indexText().toUtf8(), file);
}

TEST_F(HomeRenderTest, failures_showOneBoxLoadNothingAndKeepTheIntroForLater)
{
    const struct
    {
        const char *name;
        int page;
        bool answers;
        bool removeFolder;
        QString mentions;
    } cases[] = {
        {"append without index.html", 2, true, false, QStringLiteral("index.html")},
        {"full write into a missing data folder", 1, true, true, QStringLiteral("index.html")},
        {"full write without answers", 1, false, false, QStringLiteral("FHomeContentJson")},
        {"append without answers", 3, false, false, QStringLiteral("FHomeContentJson")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        startAfresh();
        if (c.answers)
            setAnswers();
        if (c.removeFolder) {
            ASSERT_TRUE(QDir(service->DataPath()).removeRecursively());
        }

        renderHomeHtmlFile(*service, view, dialogs, c.page);
        expectOneHomeFailureBox(c.mentions);
        EXPECT_TRUE(view.loads.isEmpty());
        EXPECT_EQ(view.reloads, 0);
        EXPECT_EQ(introCounter(), 1);
        EXPECT_FALSE(QFile::exists(indexPath()));
    }
}

TEST_F(HomeRenderTest, fullWriteWithoutBannersOrConfiguration_isAFailure)
{
    service->setHomeContentJson(Json::parse(kHomeContent));
    renderHomeHtmlFile(*service, view, dialogs, 1);
    expectOneHomeFailureBox(QStringLiteral("FClientJson"));

    dialogs.clear();
    fetchConfiguration(kConfiguration);
    renderHomeHtmlFile(*service, view, dialogs, 1);
    expectOneHomeFailureBox(QStringLiteral("FBannerJson"));
    EXPECT_TRUE(view.loads.isEmpty());
    EXPECT_EQ(introCounter(), 1);
}

// The home page in a real view, from the demo library service's answers for a logged-in member.
class HomeViewTest : public elumira::test::MemberPageViewTest
{
protected:
    void SetUp() override
    {
        MemberPageViewTest::SetUp();
        resetIntroCounterForTests();
    }
    void TearDown() override
    {
        MemberPageViewTest::TearDown();
        resetIntroCounterForTests();
    }

    // Renders the page into the view and waits until it has loaded (a full write); an append is placed into the
    // page shown without a load.
    void render(int page)
    {
        const int before = beforeLoad();
        renderHomeHtmlFile(*s_service, *view, *s_dialogs, page);
        ASSERT_TRUE(s_dialogs->boxes().isEmpty());
        if (page == 1)
            waitForLoadAfter(before);
    }

    // The section titles in the order the page shows them.
    QStringList shownTitles()
    {
        return js(QStringLiteral("Array.from(document.querySelectorAll('#myBooks h2.title-section'))"
                                 ".map(h => h.textContent).join('\\n')"))
            .toString()
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    static QStringList answerTitles(const Json &answer)
    {
        QStringList titles;
        for (const Json &section : answer["data"])
            titles << QString::fromStdString(section["judul_section"].get<std::string>());
        return titles;
    }

    // Whether the banner and all section grids have become carousels; they do as they come near the view, so
    // the member scrolls down the page step by step meanwhile.
    bool carouselsReady(int sections)
    {
        const bool ready = waitUntil([&] {
            return js(QStringLiteral("window.scrollBy(0, 300); $('.banner').hasClass('slick-initialized') && "
                                     "$('#myBooks .multiple-items.slick-initialized').length"))
                       .toInt() == sections;
        });
        js(QStringLiteral("window.scrollTo(0, 0); 0"));
        return ready;
    }

};

TEST_F(HomeViewTest, homePage_carouselsCallsAndFurtherSections)
{
    s_service->setBannerJson(s_service->BannerRequest());
    s_service->setHomeContentJson(s_service->HomeRequest(1));
    const Json first = *s_service->HomeContentJson();
    const QStringList firstTitles = answerTitles(first);
    ASSERT_GE(firstTitles.size(), 2);
    render(1);
    EXPECT_EQ(view->title(), QStringLiteral("Index"));

    // js/main.js turns the banner area and every section's grid into carousels.
    ASSERT_TRUE(carouselsReady(int(firstTitles.size())));
    EXPECT_EQ(js(QStringLiteral("$('.banner .slick-slide:not(.slick-cloned)').length")).toInt(),
              int(s_service->BannerJson()->at("data").size()));
    EXPECT_EQ(shownTitles(), firstTitles);
    // The first page of the run opens the partner's intro window.
    EXPECT_TRUE(waitUntil([this] { return js(QStringLiteral("$('#myModal').hasClass('in')")).toBool(); }));
    js(QStringLiteral("$('#myModal').modal('hide')"));

    // Only the banner with a real address opens it.
    js(QStringLiteral("$('.banner .slick-slide:not(.slick-cloned) img').each(function () { this.click(); })"));
    EXPECT_EQ(nextMessage(), ProcessMessage(QStringLiteral("openBanner"),
                                            {QStringLiteral("https://perpustakaan.telmarin.example/agenda")}));
    EXPECT_TRUE(noFurtherMessage());

    const Json &section = first["data"][0];
    js(QStringLiteral("document.querySelector('#myBooks .section-item .slick-slide:not(.slick-cloned) a').click()"));
    EXPECT_EQ(nextMessage(),
              ProcessMessage(QStringLiteral("detail"),
                             {QString::fromStdString(section["rows"][0]["id_konten"].get<std::string>())}));
    js(QStringLiteral("document.querySelector('.link-see-all').click()"));
    EXPECT_EQ(nextMessage(),
              ProcessMessage(QStringLiteral("homeDetail"), {elumira::jsonText(section, "id"), firstTitles[0]}));

    js(QStringLiteral("document.querySelectorAll('.category-list li').forEach(li => li.click())"));
    for (const char *name : {"topChart", "lastRead", "lastView", "loadKategori"})
        EXPECT_EQ(nextMessage(), ProcessMessage(QLatin1String(name)));
    js(QStringLiteral("document.getElementById('loadMore').click()"));
    EXPECT_EQ(nextMessage(), ProcessMessage(QStringLiteral("loadMore")));
    EXPECT_TRUE(noFurtherMessage());

    // The next page's sections follow the first ones, as carousels, without the intro.
    s_service->setHomeContentJson(s_service->HomeRequest(2));
    const QStringList secondTitles = answerTitles(*s_service->HomeContentJson());
    ASSERT_FALSE(secondTitles.isEmpty());
    render(2);
    ASSERT_TRUE(carouselsReady(int(firstTitles.size() + secondTitles.size())));
    EXPECT_EQ(shownTitles(), firstTitles + secondTitles);
    QTest::qWait(800);
    EXPECT_FALSE(js(QStringLiteral("$('#myModal').hasClass('in')")).toBool());
    EXPECT_TRUE(js(QStringLiteral("$('#myModal').length === 1")).toBool());
}

TEST_F(HomeViewTest, homePage_valuesReachTheProgramAsTheyCame)
{
    s_service->setBannerJson(
        Json::parse(R"({"data":[{"img":"b.jpg","url_link":"https://contoh.id/?q='a'&r=\"b\""}]})"));
    const QString title = QStringLiteral("Kopi 'Pagi' & \"Senja\" </script><b>\\");
    Json content = Json::parse(R"({"data":[{"id":"7'","rows":[{"id_konten":"9'9","judul":"<i>Miring</i> & co"}]}]})");
    content["data"][0]["judul_section"] = title.toStdString();
    s_service->setHomeContentJson(content);
    resetIntroCounterForTests();
    render(1);
    ASSERT_TRUE(carouselsReady(1));

    // Escaped titles show as typed.
    EXPECT_EQ(shownTitles(), QStringList{title});
    EXPECT_EQ(js(QStringLiteral("document.querySelector('.title-books').textContent")),
              QVariant(QStringLiteral("<i>Miring</i> & co")));

    js(QStringLiteral("document.querySelector('.link-see-all').click()"));
    EXPECT_EQ(nextMessage(), ProcessMessage(QStringLiteral("homeDetail"), {QStringLiteral("7'"), title}));
    js(QStringLiteral("document.querySelector('.slick-slide:not(.slick-cloned) a').click()"));
    EXPECT_EQ(nextMessage(), ProcessMessage(QStringLiteral("detail"), {QStringLiteral("9'9")}));
    js(QStringLiteral("document.querySelector('.banner .slick-slide:not(.slick-cloned) img').click()"));
    EXPECT_EQ(nextMessage(),
              ProcessMessage(QStringLiteral("openBanner"), {QStringLiteral("https://contoh.id/?q='a'&r=\"b\"")}));
    EXPECT_TRUE(noFurtherMessage());
}

} // namespace
