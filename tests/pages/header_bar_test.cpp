// The page header bar in its three forms, and in a real page: the search sends the keyword and the label of
// the chosen field, the account menu calls the program, and the bar wears the partner's colour.
#include "pages/header_bar.h"
#include "pages/page_parts.h"
#include "pages/page_writer.h"
#include "pages/style_rules.h"
#include "tests/support/page_view.h"
#include "tests/support/page_text.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

using namespace elumira::pages;
using elumira::Json;
using elumira::ProcessMessage;

using elumira::test::kService;
namespace {

const Json kPartner = Json::parse(R"({"logo":"logo kepala.png","warna_header":"#204060"})");

QStringList captures(const QString &text, const QString &pattern)
{
    QStringList found;
    auto it = QRegularExpression(pattern).globalMatch(text);
    while (it.hasNext())
        found << it.next().captured(1);
    return found;
}

TEST(HeaderBarTest, headerBar_formsDifferInInputNameHiddenFieldLabelAndMenuOrder)
{
    const QStringList homeMenu = {"#contains Penulis", "#its_equal Penerbit", "#greather_than ISBN", "#all Semua",
                                  "#less_than Kalimat"};
    const QStringList otherMenu = {"#semua Semua", "#contains Penulis", "#its_equal Penerbit", "#greather_than ISBN",
                                   "#less_than Kalimat"};
    const struct
    {
        HeaderForm form;
        const char *inputName;
        bool hiddenField;
        const char *label;
        QStringList menu;
    } cases[] = {
        {HeaderForm::Home, "keyword", false, "Semua", homeMenu},
        {HeaderForm::ChartsAndFieldSearch, "x", true, "Semua", otherMenu},
        {HeaderForm::SentenceSearch, "x", true, "Kalimat", otherMenu},
    };
    for (const auto &c : cases) {
        const QString bar = headerBar(kPartner, kService, c.form);
        SCOPED_TRACE(c.inputName + std::string(" ") + c.label);
        EXPECT_EQ(captures(bar, QStringLiteral("<input type=\"text\"[^>]* name=\"([^\"]*)\" id=\"keyword\"")),
                  QStringList{QLatin1String(c.inputName)});
        EXPECT_EQ(bar.count(QStringLiteral("<input type=\"hidden\" name=\"search_param\" value=\"all\" "
                                           "id=\"search_param\">")),
                  c.hiddenField ? 1 : 0);
        EXPECT_EQ(captures(bar, QStringLiteral("<span id=\"search_concept\">([^<]*)</span>")),
                  QStringList{QLatin1String(c.label)});
        QStringList menu = captures(bar, QStringLiteral("<li><a href=\"(#[^\"]*\">[^<]*)</a></li>"));
        menu.replaceInStrings(QStringLiteral("\">"), QStringLiteral(" "));
        EXPECT_EQ(menu, c.menu);
        EXPECT_TRUE(bar.contains(QStringLiteral("<div class=\"col-sm-12 col-md-12input-group search-area\">")));
        EXPECT_TRUE(bar.contains(QStringLiteral("<img src=\"http://127.0.0.1:8765/prod/img/logo/logo kepala.png\" "
                                                "alt=\"logo header\" class=\"img-responsive\">")));
        EXPECT_TRUE(bar.startsWith(QStringLiteral("<header id=\"header\" class=\"navbar navbar-default "
                                                  "navbar-fixed-top\">\r\n")));
        EXPECT_TRUE(bar.endsWith(QStringLiteral("\r\n</header>")));
        EXPECT_FALSE(bar.contains(QRegularExpression(QStringLiteral("[^\r]\n"))));
    }
}

TEST(HeaderBarTest, headerBar_keywordFillsTheSearchInputEscaped)
{
    const QString bar =
        headerBar(kPartner, kService, HeaderForm::ChartsAndFieldSearch, QStringLiteral("Tom's \"Kopi\" & <b>Teh</b>"));
    EXPECT_TRUE(bar.contains(QStringLiteral("<input type=\"text\" class=\"form-control\" name=\"x\" id=\"keyword\" "
                                            "placeholder=\"Cari...\" value=\"Tom's &quot;Kopi&quot; &amp; "
                                            "&lt;b&gt;Teh&lt;/b&gt;\">")))
        << bar.toStdString();
}

class HeaderBarViewTest : public elumira::test::PageViewTest
{
protected:
    void showHeaderPage(HeaderForm form, const QString &keyword)
    {
        PageText page;
        page << catalogueHead(QStringLiteral("Index"), partnerColourRules(kPartner)) << "<body>" << overlayDiv()
             << headerBar(kPartner, kService, form, keyword)
             << scriptLinks({"js/jquery.js", "js/bootstrap.min.js", "js/lazyload.min.js",
                             "plugins/slick-slider/slick/slick.min.js",
                             "plugins/bootstrap-star-rating/js/star-rating.js", "js/main.js"})
             << "<script>" << headerSearchScript() << "</script>"
             << "</body>"
             << "</html>";
        showPage(QStringLiteral("search_result.html"), page.text());
    }
};

TEST_F(HeaderBarViewTest, search_sendsKeywordAndVisibleLabelOfEachForm)
{
    const QString keyword = QStringLiteral("Tom's \"Kopi\" \\ & <b>Teh</b>");
    const struct
    {
        HeaderForm form;
        const char *label;
    } cases[] = {
        {HeaderForm::Home, "Semua"},
        {HeaderForm::ChartsAndFieldSearch, "Semua"},
        {HeaderForm::SentenceSearch, "Kalimat"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.label);
        showHeaderPage(c.form, keyword);
        if (c.form == HeaderForm::Home) {
            EXPECT_EQ(js(QStringLiteral("document.getElementById('keyword').value")), QVariant(QString()));
            js(QStringLiteral("document.getElementById('keyword').value = 'Tom\\'s \"Kopi\" \\\\ & <b>Teh</b>'"));
        }
        EXPECT_EQ(js(QStringLiteral("document.getElementById('keyword').value")), QVariant(keyword));
        js(QStringLiteral("document.querySelector('.icon-search').click()"));
        EXPECT_EQ(nextMessage(),
                  ProcessMessage(QStringLiteral("searching"), {keyword, QLatin1String(c.label), std::int32_t(1)}));
    }
    EXPECT_TRUE(noFurtherMessage());
}

TEST_F(HeaderBarViewTest, fieldMenu_choiceBecomesTheLabelThatIsSent)
{
    showHeaderPage(HeaderForm::ChartsAndFieldSearch, QStringLiteral("Pramoedya"));
    js(QStringLiteral("$('.search-panel .dropdown-menu a:contains(\"Penulis\")').click()"));
    EXPECT_EQ(js(QStringLiteral("$('#search_concept').text()")), QVariant(QStringLiteral("Penulis")));
    js(QStringLiteral("document.getElementById('submitSearch').requestSubmit()"));
    EXPECT_EQ(nextMessage(), ProcessMessage(QStringLiteral("searching"),
                                            {QStringLiteral("Pramoedya"), QStringLiteral("Penulis"), std::int32_t(1)}));
    EXPECT_TRUE(noFurtherMessage());
}

TEST_F(HeaderBarViewTest, headerBar_showsPartnerLogoAndColourAndItsAccountMenuCallsTheProgram)
{
    showHeaderPage(HeaderForm::Home, QString());
    EXPECT_EQ(js(QStringLiteral("document.querySelector('.navbar-brand img').getAttribute('src')")),
              QVariant(pictureUrl(kService, PictureFolder::Logo, QStringLiteral("logo kepala.png"))));
    EXPECT_EQ(js(QStringLiteral("getComputedStyle(document.getElementById('header')).backgroundColor")),
              QVariant(QStringLiteral("rgb(32, 64, 96)")));

    // The links' empty href reloads the page after the call; both calls are made before that.
    js(QStringLiteral("var links = document.querySelectorAll('.login-list a.list-item');"
                      "links[0].click(); links[1].click();"));
    EXPECT_EQ(nextMessage(), ProcessMessage(QStringLiteral("account")));
    EXPECT_EQ(nextMessage(), ProcessMessage(QStringLiteral("logout")));
}

} // namespace
