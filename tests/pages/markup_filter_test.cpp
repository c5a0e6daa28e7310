// The mark-up filter: hostile and malformed mark-up from the service, the allowed formatting kept, the demo
// library's own mark-up unchanged, and pages generated from hostile answers in a real view.
#include "demo/catalogue.h"
#include "pages/chart_pages.h"
#include "pages/detail_page.h"
#include "pages/markup_filter.h"
#include "pages/search_pages.h"
#include "tests/support/partner_fixtures.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

using namespace elumira::pages;

namespace {

struct FilterCase
{
    const char *name;
    const char *markup;
    const char *expected;
};

void expectFiltered(const FilterCase *begin, const FilterCase *end)
{
    for (const FilterCase *c = begin; c != end; ++c) {
        EXPECT_EQ(filterMarkup(QString::fromUtf8(c->markup)), QString::fromUtf8(c->expected)) << c->name;
    }
}

TEST(MarkupFilterTest, hostileMarkup_losesEverythingThatRunsOrLoads)
{
    const FilterCase cases[] = {
        {"script with its code", "Sebelum<script>window.pwned=1</script>sesudah", "Sebelumsesudah"},
        {"script in upper case", "a<SCRIPT>x()</SCRIPT>b", "ab"},
        {"script with attributes", "a<script type=\"text/javascript\" src=\"x.js\"></script>b", "ab"},
        {"script never closed", "a<script>x()", "a"},
        {"script end tag with trailing text", "a<script>x()</script >b</script>c", "abc"},
        {"script ends at its first end tag", "a<script>s=\"</script>\";y()</script>b", "a\";y()b"},
        {"split script name", "<scr<script>ipt>alert(1)</script>", "ipt>alert(1)"},
        {"style block", "a<style>body{display:none}</style>b", "ab"},
        {"picture with a handler", "<img src=\"x\" onerror=\"window.pwned=1\">", ""},
        {"handler on a web picture", "<img src=\"http://h/c.jpg\" onerror=\"window.pwned=1\" onload=\"x()\">",
         "<img src=\"http://h/c.jpg\">"},
        {"handler on an allowed element", "<p onclick=\"x()\" onmouseover='y()'>teks</p>", "<p>teks</p>"},
        {"style attribute", "<span style=\"position:fixed;top:0\" class=\"hl\">t</span>", "<span class=\"hl\">t</span>"},
        {"id and data attributes", "<div id=\"btnMore\" data-toggle=\"modal\">t</div>", "<div>t</div>"},
        {"script link", "<a href=\"javascript:window.pwned=1\">klik</a>", "klik"},
        {"web link", "<a href=\"http://example.com/\" target=\"_blank\">situs</a>", "situs"},
        {"svg with onload", "<svg onload=\"window.pwned=1\"><circle r=\"4\"/>teks</svg>", "teks"},
        {"svg script", "<svg><script>x()</script><text>t</text></svg>", "t"},
        {"math", "<math><mi>x</mi><annotation-xml>y</annotation-xml></math>", "xy"},
        {"frame", "a<iframe src=\"file:///etc/passwd\">isi</iframe>b", "ab"},
        {"object and embed", "<object data=\"x.swf\"><embed src=\"x.swf\">alt</object>", "alt"},
        {"form and its controls", "<form action=\"http://h/\"><input name=q value=v><button>Kirim</button></form>",
         "Kirim"},
        {"select keeps its text", "<select><option>Satu</option></select>", "Satu"},
        {"base, meta and link", "<base href=\"http://h/\"><meta http-equiv=\"refresh\" content=\"0;url=http://h\">"
                                "<link rel=\"stylesheet\" href=\"http://h/x.css\">t",
         "t"},
        {"noscript", "a<noscript><p title=\"</noscript><img src=x onerror=x()>\">b", "a\">b"},
        {"title and template", "<title>T</title><template><b>u</b></template>", "<b>u</b>"},
        {"data picture", "<img src=\"data:image/svg+xml;base64,PHN2Zz4=\">", ""},
        {"script picture", "<img src=\"javascript:x()\">", ""},
        {"file picture", "<img src=\"file:///home/anggota/.ssh/id_rsa\">", ""},
        {"relative picture", "<img src=\"img/loading.jpg\">", ""},
        {"protocol-relative picture", "<img src=\"//h/c.jpg\">", ""},
        {"picture address with entities", "<img src=\"jav&#x61;script:x()\"><img src=\"&#104;ttp://h/a.jpg\">",
         "<img src=\"http://h/a.jpg\">"},
        {"picture address with a tab and spaces", "<img src=\" ht\ttp://h/a.jpg \">", "<img src=\"http://h/a.jpg\">"},
        {"picture address with a query", "<img src=\"https://h/a.jpg?w=1&amp;h=2\">",
         "<img src=\"https://h/a.jpg?w=1&amp;h=2\">"},
        {"picture attributes that stay",
         "<IMG SRC=\"https://h/a.jpg\" ALT=\"Sampul\" width=120 height='80' class=\"x\" srcset=\"y 2x\" "
         "usemap=\"#m\">",
         "<img src=\"https://h/a.jpg\" alt=\"Sampul\" width=\"120\" height=\"80\">"},
        {"picture size that is not a size", "<img src=\"http://h/a.jpg\" width=\"1;x\" height=\"50%\">",
         "<img src=\"http://h/a.jpg\" height=\"50%\">"},
        {"quote in an alt", "<img src='http://h/a.jpg' alt='say \"hi\" onload=x()'>",
         "<img src=\"http://h/a.jpg\" alt=\"say &quot;hi&quot; onload=x()\">"},
        {"quote in a class", "<b class='a\" onclick=\"x()'>t</b>", "<b class=\"a&quot; onclick=&quot;x()\">t</b>"},
        {"repeated attribute keeps the first", "<span class=\"a\" class=\"b\">t</span>", "<span class=\"a\">t</span>"},
    };
    expectFiltered(std::begin(cases), std::end(cases));
}

TEST(MarkupFilterTest, malformedMarkup_letsNothingThroughAndCannotSwallowThePage)
{
    const FilterCase cases[] = {
        {"unclosed formatting", "<b>tebal <i>miring", "<b>tebal <i>miring</i></b>"},
        {"unclosed block", "<div class=\"x\"><p>teks", "<div class=\"x\"><p>teks</p></div>"},
        {"stray end tags", "</div></li></ol>teks</p></span>", "teks"},
        {"end tag of the page around it", "teks</span></div></body><script>x()</script>", "teks"},
        {"mis-nested formatting", "<b><i>a</b>b</i>", "<b><i>a</i></b>b"},
        {"stray less-than", "1 < 2 dan 3 <= 4, a<3", "1 &lt; 2 dan 3 &lt;= 4, a&lt;3"},
        {"less-than at the end", "a <", "a &lt;"},
        {"tag never finished", "teks <img src=\"http://h/a.jpg\" onerror=\"x()\"", "teks "},
        {"quote never closed", "a<b class=\"x>b</b>c", "a"},
        {"attribute without quotes", "<img src=http://h/a.jpg onerror=x()>", "<img src=\"http://h/a.jpg\">"},
        {"attribute without quotes and a greater-than", "<span class=a>b>t</span>", "<span class=\"a\">b>t</span>"},
        {"slash between attributes", "<img/src=\"http://h/a.jpg\"/onerror=x()>", "<img src=\"http://h/a.jpg\">"},
        {"comment", "a<!-- <script>x()</script> -->b", "ab"},
        {"comment never closed", "a<!-- <b>b</b>", "a"},
        {"comment ending early", "a<!-->b<!--->c<!-- x --!>d", "abcd"},
        {"comment that hides a tag end", "<b title=\"<!--\">x</b>-->", "<b>x</b>-->"},
        {"CDATA", "a<![CDATA[<img src=x onerror=x()>]]>b", "a]]>b"},
        {"doctype and processing instruction", "<!DOCTYPE html><?xml version=\"1.0\"?>t", "t"},
        {"bogus end tag", "a</ x>b</>c", "abc"},
        {"entities stay as they came", "&lt;script&gt;x()&lt;/script&gt; &amp; &quot;&#39;&#x3C;&nbsp;",
         "&lt;script&gt;x()&lt;/script&gt; &amp; &quot;&#39;&#x3C;&nbsp;"},
        {"bare ampersand", "Tom & Jerry", "Tom & Jerry"},
        {"upper case allowed elements", "<P CLASS=\"lead\"><B>a</B><BR/></P>", "<p class=\"lead\"><b>a</b><br></p>"},
        {"self-closing non-void element", "<div/>a", "<div>a</div>"},
        {"block closes a paragraph", "<p>a<div>b</div>", "<p>a</p><div>b</div>"},
        {"heading closes a heading", "<h2>a<h3>b</h3>c", "<h2>a</h2><h3>b</h3>c"},
        {"list item closes an item", "<ul><li>a<li>b</ul>", "<ul><li>a</li><li>b</li></ul>"},
        {"list item outside a list", "<li>a</li>b", "ab"},
        {"deep nesting closes in order", "<blockquote><ol><li><em><sub>x", "<blockquote><ol><li><em><sub>x</sub></em></li></ol></blockquote>"},
        {"markers of the growing pages", "a\r\n<!--LAST-->\r\n<!--KONTEN-->\r\nb", "a\r\n\r\n\r\nb"},
    };
    expectFiltered(std::begin(cases), std::end(cases));

    // NUL characters are dropped before the text is read, so what they split is read as one.
    const QString withNul = QStringLiteral("a") + QChar(0) + QStringLiteral("<scr") + QChar(0) +
                            QStringLiteral("ipt>x()</script>b") + QChar(0);
    EXPECT_EQ(filterMarkup(withNul), QStringLiteral("ab"));
}

TEST(MarkupFilterTest, wellFormedServiceMarkup_comesOutUnchanged)
{
    const char *const kept[] = {
        "",
        "Laskar Pelangi",
        "<p><b>Sejarah</b> &amp; <i>Budaya</i> \xE2\x80\x9C"
        "Nusantara\xE2\x80\x9D</p>",
        "<p>Di dalam buku ini:</p><ul><li>satu</li><li>dua</li></ul><ol><li>tiga</li></ol>",
        "...kata <mark>halaman</mark> pertama &quot;dikutip&quot; &lt;teks&gt;...",
        "<h1>a</h1><h2>b</h2><h3>c</h3><h4>d</h4><h5>e</h5><h6>f</h6>",
        "<blockquote class=\"kutipan\">H<sub>2</sub>O dan x<sup>2</sup>, <u>garis</u>, <strong>kuat</strong>, "
        "<em>tekanan</em>, <span class=\"a b\">rentang</span><br></blockquote>",
        "<div><img src=\"https://api.telmarin.example/prod/img/cover/a.jpg\" alt=\"Sampul\" width=\"120\" "
        "height=\"180\"></div>",
        "Baris satu\r\nbaris dua",
    };
    for (const char *markup : kept)
        EXPECT_EQ(filterMarkup(QString::fromUtf8(markup)), QString::fromUtf8(markup)) << markup;

    // The demo library's synopses, titles, names and intro are the service's real mark-up.
    const demo::Catalogue catalogue;
    for (const demo::Book &book : catalogue.books()) {
        for (const std::string *value : {&book.sinopsis, &book.judul, &book.penulis, &book.penerbit, &book.isbn,
                                         &book.categoryName, &book.deptName}) {
            const QString text = QString::fromStdString(*value);
            EXPECT_EQ(filterMarkup(text), text) << book.id;
        }
    }
    for (const demo::Department &department : catalogue.departments()) {
        for (const demo::Category &category : department.categories) {
            const QString name = QString::fromStdString(category.name);
            EXPECT_EQ(filterMarkup(name), name);
        }
    }
    const QString intro = QString::fromStdString(catalogue.partner().keteranganIntro);
    EXPECT_EQ(filterMarkup(intro), intro);
}

TEST(MarkupFilterTest, webPictureAddress_takesHttpAndHttpsOnly)
{
    const struct
    {
        const char *address;
        const char *expected;
    } cases[] = {
        {"http://h/a.jpg", "http://h/a.jpg"},
        {"HTTPS://h/a.jpg", "HTTPS://h/a.jpg"},
        {"  https://h/a b.jpg\n", "https://h/a b.jpg"},
        {"ht\ntps://h/a.jpg", "https://h/a.jpg"},
        {"", ""},
        {"javascript:x()", ""},
        {" java\tscript:x()", ""},
        {"data:image/png;base64,AAAA", ""},
        {"file:///etc/passwd", ""},
        {"//h/a.jpg", ""},
        {"img/loading.jpg", ""},
        {"http:/h", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(webPictureAddress(QString::fromUtf8(c.address)), QString::fromUtf8(c.expected)) << c.address;
}

} // namespace

namespace {

using elumira::Json;
using elumira::ProcessMessage;

// Every way the service's mark-up could run script: each payload would set window.pwned and call the program.
const char *const kPayload =
    R"p(<img src="x" onerror="window.pwned='img';app.logout()">)p"
    R"p(<script>window.pwned='script';app.logout()</script>)p"
    R"p(<a href="javascript:window.pwned='link'" id="payloadLink">tautan</a>)p"
    R"p(<svg onload="window.pwned='svg';app.logout()"><text>grafik</text></svg>)p"
    R"p(<iframe srcdoc="<script>parent.pwned='frame';parent.app.logout()</script>"></iframe>)p"
    R"p(<scr<script>ipt>window.pwned='split'</script>)p"
    R"p(<object data="javascript:window.pwned='object'"></object><embed src="javascript:window.pwned='embed'">)p"
    R"p(<style>body{display:none}</style>)p"
    R"p(<div onmouseover="window.pwned='hover'" style="position:fixed;top:0;left:0;width:100%;height:100%">)p"
    R"p(<details open ontoggle="window.pwned='toggle';app.logout()">ringkas</details>)p"
    R"p(<!--<img src=x onerror="window.pwned='comment'">-->)p"
    R"p(<b>akhir</b)p";

// Colours that would end the style block and start a script.
const char *const kHostileColour = "red;}</style><script>window.pwned='colour';app.logout()</script><style>";

QString withPayload(const char *text)
{
    return QString::fromUtf8(text) + QString::fromUtf8(kPayload);
}

class HostileMarkupViewTest : public elumira::test::PartnerViewTest
{
protected:
    void SetUp() override
    {
        PartnerViewTest::SetUp();
        Json configuration = Json::parse(elumira::test::kPartnerConfiguration);
        for (const char *field : {"warna_header", "warna_button_login", "warna_hover_button_login", "warna_hover_baca"})
            configuration["data"][field] = kHostileColour;
        server.setDefault({200, "OK", "application/json", QByteArray::fromStdString(configuration.dump())});
        s_service->getClientJson();
        ASSERT_TRUE(s_dialogs->boxes().isEmpty());
    }

    // The page is the one generated, its safe text is there and nothing of the payload ran or is left.
    void expectSafePage(const QString &title, const char *safeSelector, const QString &safeText)
    {
        EXPECT_EQ(view->title(), title);
        EXPECT_EQ(js(QStringLiteral("$('%1').first().text()").arg(QLatin1String(safeSelector))), QVariant(safeText));
        // Time for pictures to fail, frames to load and handlers to fire.
        EXPECT_TRUE(noFurtherMessage(800)) << "a payload called the program";
        EXPECT_EQ(js(QStringLiteral("typeof window.pwned")), QVariant(QStringLiteral("undefined")))
            << js(QStringLiteral("String(window.pwned)")).toString().toStdString();
        EXPECT_EQ(js(QStringLiteral("$('script:not([src])').filter(function () { return /pwned/.test(this.text); })"
                                    ".length + $('iframe, object, embed, svg, details, [onerror], [onload], "
                                    "[onmouseover], a[href^=javascript]:not([onclick])').length")),
                  QVariant(0));
        EXPECT_EQ(js(QStringLiteral("getComputedStyle(document.body).display")), QVariant(QStringLiteral("block")));
    }
};

TEST_F(HostileMarkupViewTest, chartDetailAndSentencePages_showTheSafeTextAndRunNothingOfTheService)
{
    Json chart = Json::parse(R"({"code":"200","total":1,"data":[{"id_konten":"B1","img":"b1.jpg","stok":"2",
        "qty":"3","nilai_rate":"4"}]})");
    Json &book = chart["data"][0];
    book["judul"] = withPayload("Judul").toStdString();
    book["penulis"] = withPayload("Penulis").toStdString();
    book["penerbit"] = withPayload("Penerbit").toStdString();
    book["isbn"] = withPayload("978").toStdString();
    book["sinopsis"] = withPayload("<p>Sinopsis <b>aman</b></p>").toStdString();
    s_service->setChartContentJson(chart);
    renderAndWait([this] { elumira::pages::renderTopChart(*s_service, *view, *s_dialogs, 1); });
    expectSafePage(QStringLiteral("Index"), ".list-chart-row .more b", QStringLiteral("aman"));
    click(QStringLiteral(".list-chart-row .title-books a"));
    EXPECT_EQ(nextMessage(), ProcessMessage(QStringLiteral("detailFromChart"), {QStringLiteral("B1")}));
    click(QStringLiteral(".list-chart-row button"));
    EXPECT_EQ(nextMessage(), ProcessMessage(QStringLiteral("bacaSection"), {QStringLiteral("B1")}));
    click(QStringLiteral("#loadMore"));
    EXPECT_EQ(nextMessage(), ProcessMessage(QStringLiteral("loadMoreChart"), {std::int32_t(2)}));

    Json detail = Json::parse(R"({"code":"200","data":{"id":"D1","cover_file":"javascript:window.pwned='cover'"}})");
    for (const char *field : {"judul", "tahun_terbit", "penulis", "penerbit", "isbn", "kategori", "stok", "qty"})
        detail["data"][field] = withPayload(field).toStdString();
    detail["data"]["sinopsis"] = withPayload("<p>Sinopsis <i>aman</i></p>").toStdString();
    s_service->setDetailContentJson(detail);
    renderAndWait([this] { elumira::pages::renderDetailContent(*s_service, *view, *s_dialogs, QStringLiteral("chart")); });
    expectSafePage(QStringLiteral("Detail Buku"), ".desc-detail i", QStringLiteral("aman"));
    click(QStringLiteral(".breadcrumb a:contains('History')"));
    EXPECT_EQ(nextMessage(), ProcessMessage(QStringLiteral("backToChart")));
    click(QStringLiteral("button.btn-baca"));
    EXPECT_EQ(nextMessage(), ProcessMessage(QStringLiteral("baca"), {QStringLiteral("D1")}));

    Json hits = Json::parse(R"({"code":"200","total_rows":"1","data":[{"id":"S1","judul":"Buku","img":"s1.jpg",
        "hal_idx":"4"}]})");
    hits["data"][0]["halaman"] = withPayload("5").toStdString();
    hits["data"][0]["hal_txt"] = withPayload("...kata <mark>dicari</mark> di sini...").toStdString();
    s_service->setSearchContentJson(hits);
    renderAndWait([this] {
        elumira::pages::renderSearchKalimatResult(*s_service, *view, *s_dialogs, 1, QStringLiteral("dicari"));
    });
    expectSafePage(QStringLiteral("Index"), ".list-chart-row .more mark", QStringLiteral("dicari"));
    click(QStringLiteral(".list-chart-row button"));
    EXPECT_EQ(nextMessage(), ProcessMessage(QStringLiteral("bacaKalimat"), {QStringLiteral("S1"), QStringLiteral("4")}));
    click(QStringLiteral(".breadcrumb a"));
    EXPECT_EQ(nextMessage(), ProcessMessage(QStringLiteral("back")));
    EXPECT_TRUE(noFurtherMessage());
}

} // namespace
