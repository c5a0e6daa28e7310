// The partner colour rules and the rule groups in the partner's colours, with colours given and missing.
#include "pages/style_rules.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

using namespace elumira::pages;
using elumira::Json;
using elumira::JsonShapeError;

namespace {

// HEADER, ACCENT, HOVER and READ stand for the partner's colours.
const char *const kColourRules = ".navbar-default { background-color: HEADER; }\r\n"
                                 ".search-area .btn-filter:hover, .search-area .btn-filter:focus { color: ACCENT; }\r\n"
                                 "#header .login-inner ul li .list-item:hover { border-left: 4px solid ACCENT; "
                                 "color: ACCENT; }\r\n"
                                 ".main-banners .menu-item-inner:hover { color: ACCENT; border: 1px solid ACCENT; }\r\n"
                                 ".tabs-category .nav-tabs>li.active { background-color: ACCENT; }\r\n"
                                 ".tabs-category .nav-tabs>li:hover { background-color: HOVER; }\r\n"
                                 ".list-item-category:hover { color: ACCENT; border: 1px solid ACCENT; }";
const char *const kMoreRules = ".btn-more { margin-bottom: 30px; background-color: ACCENT; border-color: ACCENT; }\r\n"
                               ".btn-more:hover { background-color: ACCENT; opacity: 0.5; border-color: ACCENT; }";
const char *const kReadRules = ".btn-baca { background-color: READ; }\r\n"
                               ".btn-baca:hover { opacity: 0.5; background-color: READ; }";

QString filled(const char *rules, const QString &header, const QString &accent, const QString &hover,
               const QString &read)
{
    QString text = QString::fromUtf8(rules);
    text.replace(QLatin1String("HEADER"), header);
    text.replace(QLatin1String("ACCENT"), accent);
    text.replace(QLatin1String("HOVER"), hover);
    text.replace(QLatin1String("READ"), read);
    return text;
}

TEST(StyleRulesTest, ruleGroups_carryThePartnersColoursOrEmptyValues)
{
    const struct
    {
        const char *name;
        const char *configuration;
        QString header, accent, hover, read;
    } cases[] = {
        {"partner colours",
         R"json({"code":"200","data":{"warna_header":"#fafafa","warna_button_login":"#1a7f5a",
             "warna_hover_button_login":"rgb(20, 92, 66)","warna_hover_baca":"#c0392b"}})json",
         QStringLiteral("#fafafa"), QStringLiteral("#1a7f5a"), QStringLiteral("rgb(20, 92, 66)"),
         QStringLiteral("#c0392b")},
        // Values that are not colours leave their declarations empty, like missing ones.
        {"values that are not colours",
         R"({"data":{"warna_header":null,"warna_button_login":123,"warna_hover_button_login":"red;}",
             "warna_hover_baca":true}})",
         QString(), QString(), QString(), QString()},
        {"colour keywords", R"({"data":{"warna_header":"Navy","warna_button_login":"rebeccapurple"}})",
         QStringLiteral("Navy"), QStringLiteral("rebeccapurple"), QString(), QString()},
        {"no colours", R"({"code":"200","data":{"nama":"Perpustakaan"}})", QString(), QString(), QString(), QString()},
        {"no data", R"({"code":"200"})", QString(), QString(), QString(), QString()},
    };
    for (const auto &c : cases) {
        const Json configuration = Json::parse(c.configuration);
        const Json &partner = partnerData(configuration);
        EXPECT_EQ(partnerColourRules(partner), filled(kColourRules, c.header, c.accent, c.hover, c.read)) << c.name;
        EXPECT_EQ(moreButtonRules(partner), filled(kMoreRules, c.header, c.accent, c.hover, c.read)) << c.name;
        EXPECT_EQ(readButtonRules(partner), filled(kReadRules, c.header, c.accent, c.hover, c.read)) << c.name;
    }
}

TEST(StyleRulesTest, partnerData_ofAnotherKind_isAFailure)
{
    for (const char *configuration : {R"({"data":null})", R"({"data":[]})", R"({"data":"x"})"})
        EXPECT_THROW(partnerData(Json::parse(configuration)), JsonShapeError) << configuration;
}

TEST(StyleRulesTest, cssColour_acceptsColourValuesOnly)
{
    const struct
    {
        const char *value;
        bool colour;
    } cases[] = {
        {"#1a7f5a", true},
        {"#FFF", true},
        {"rgb(20, 92, 66)", true},
        {"rgba(20,92,66,0.5)", true},
        {"RGB(10%, 20%, 30%)", true},
        {"rgb(20 92 66 / 50%)", true},
        {"white", true},
        {"Transparent", true},
        {"", false},
        {"#12345", false},
        {"#1a7f5a80", false},
        {"#gggggg", false},
        {"1a7f5a", false},
        {"#fff;", false},
        {"#fff\n", false},
        {"red; background: url(http://h/x)", false},
        {"red}</style><script>x()</script>", false},
        {"rgb(1,2,3);}", false},
        {"rgb(1,2)", false},
        {"rgb(1,2,3", false},
        {"expression(alert(1))", false},
        {"var(--x)", false},
        {"url(javascript:x)", false},
        {"notacolour", false},
    };
    for (const auto &c : cases) {
        const QString value = QString::fromUtf8(c.value);
        EXPECT_EQ(cssColour(value), c.colour ? value : QString()) << c.value;
    }
}

} // namespace
