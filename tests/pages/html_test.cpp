// Escaping of values for page mark-up and for the script calls pages make.
#include "pages/html.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

using namespace elumira::pages;

namespace {

TEST(HtmlTest, htmlEscape_replacesTheFourCharactersOnlyAndEndsAtNul)
{
    const struct
    {
        const char *name;
        QString value;
        QString expected;
    } cases[] = {
        {"empty", QString(), QString()},
        {"plain", QStringLiteral("Laskar Pelangi"), QStringLiteral("Laskar Pelangi")},
        {"the four", QStringLiteral("\"&<>"), QStringLiteral("&quot;&amp;&lt;&gt;")},
        {"apostrophe stays", QStringLiteral("Tom's"), QStringLiteral("Tom's")},
        {"entity is escaped again", QStringLiteral("&amp;"), QStringLiteral("&amp;amp;")},
        {"mark-up", QStringLiteral("<b>Sejarah</b> & \"Budaya\""),
         QStringLiteral("&lt;b&gt;Sejarah&lt;/b&gt; &amp; &quot;Budaya&quot;")},
        {"non-ASCII and line breaks stay", QStringLiteral("Bahasa Ñusantara\r\n漢字 — é"),
         QStringLiteral("Bahasa Ñusantara\r\n漢字 — é")},
        {"ends at the first NUL", QStringLiteral("before") + QChar(0) + QStringLiteral("<after>"),
         QStringLiteral("before")},
        {"NUL first", QString(QChar(0)) + QStringLiteral("x"), QString()},
    };
    for (const auto &c : cases)
        EXPECT_EQ(htmlEscape(c.value), c.expected) << c.name;
}

TEST(HtmlTest, scriptArgument_escapesForTheScriptStringThenForTheAttribute)
{
    const struct
    {
        const char *name;
        QString value;
        QString content;   // jsStringContent
        QString attribute; // scriptArgument
    } cases[] = {
        {"plain", QStringLiteral("12"), QStringLiteral("12"), QStringLiteral("12")},
        {"apostrophe", QStringLiteral("Tom's"), QStringLiteral("Tom\\'s"), QStringLiteral("Tom\\'s")},
        {"double quote", QStringLiteral("a \"b\""), QStringLiteral("a \\\"b\\\""),
         QStringLiteral("a \\&quot;b\\&quot;")},
        {"backslash", QStringLiteral("C:\\buku\\"), QStringLiteral("C:\\\\buku\\\\"), QStringLiteral("C:\\\\buku\\\\")},
        {"line breaks", QStringLiteral("a\r\nb\nc") + QChar(0x2028) + QChar(0x2029),
         QStringLiteral("a\\r\\nb\\nc\\u2028\\u2029"), QStringLiteral("a\\r\\nb\\nc\\u2028\\u2029")},
        {"closing script element", QStringLiteral("</script>"), QStringLiteral("\\x3C/script>"),
         QStringLiteral("\\x3C/script&gt;")},
        {"ampersand and entities", QStringLiteral("Kopi & Teh &amp;"), QStringLiteral("Kopi & Teh &amp;"),
         QStringLiteral("Kopi &amp; Teh &amp;amp;")},
        {"NUL travels as an escape", QStringLiteral("a") + QChar(0) + QStringLiteral("b"), QStringLiteral("a\\x00b"),
         QStringLiteral("a\\x00b")},
        {"non-ASCII stays", QStringLiteral("Ñusantara 漢字"), QStringLiteral("Ñusantara 漢字"),
         QStringLiteral("Ñusantara 漢字")},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(jsStringContent(c.value), c.content) << c.name;
        EXPECT_EQ(scriptArgument(c.value), c.attribute) << c.name;
    }
}

TEST(HtmlTest, scriptCall_writesTextsInApostrophesIntegersBareWithoutSpaces)
{
    const struct
    {
        const char *name;
        QString call;
        QString attribute;
        QString expectedCall;
        QString expectedAttribute;
    } cases[] = {
        {"no arguments", scriptCall(QStringLiteral("back")), scriptCallAttribute(QStringLiteral("back")),
         QStringLiteral("app.back()"), QStringLiteral("app.back()")},
        {"one text", scriptCall(QStringLiteral("detail"), {QStringLiteral("77")}),
         scriptCallAttribute(QStringLiteral("detail"), {QStringLiteral("77")}), QStringLiteral("app.detail('77')"),
         QStringLiteral("app.detail('77')")},
        {"texts", scriptCall(QStringLiteral("kategoriKonten"), {"12", "1", "5", "Novel"}),
         scriptCallAttribute(QStringLiteral("kategoriKonten"), {"12", "1", "5", "Novel"}),
         QStringLiteral("app.kategoriKonten('12','1','5','Novel')"),
         QStringLiteral("app.kategoriKonten('12','1','5','Novel')")},
        {"texts and integers", scriptCall(QStringLiteral("searchResult"), {"sejarah", "Penulis", 3}),
         scriptCallAttribute(QStringLiteral("searchResult"), {"sejarah", "Penulis", 3}),
         QStringLiteral("app.searchResult('sejarah','Penulis',3)"),
         QStringLiteral("app.searchResult('sejarah','Penulis',3)")},
        {"negative integer", scriptCall(QStringLiteral("loadMoreChart"), {-2}),
         scriptCallAttribute(QStringLiteral("loadMoreChart"), {-2}), QStringLiteral("app.loadMoreChart(-2)"),
         QStringLiteral("app.loadMoreChart(-2)")},
        {"digits as text stay a text", scriptCall(QStringLiteral("loadMoreChart"), {"2"}),
         scriptCallAttribute(QStringLiteral("loadMoreChart"), {"2"}), QStringLiteral("app.loadMoreChart('2')"),
         QStringLiteral("app.loadMoreChart('2')")},
        {"title with apostrophe, quote and ampersand",
         scriptCall(QStringLiteral("homeDetail"), {"3", "Tom's \"Kopi\" & <Teh>"}),
         scriptCallAttribute(QStringLiteral("homeDetail"), {"3", "Tom's \"Kopi\" & <Teh>"}),
         QStringLiteral("app.homeDetail('3','Tom\\'s \\\"Kopi\\\" & \\x3CTeh>')"),
         QStringLiteral("app.homeDetail('3','Tom\\'s \\&quot;Kopi\\&quot; &amp; \\x3CTeh&gt;')")},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(c.call, c.expectedCall) << c.name;
        EXPECT_EQ(c.attribute, c.expectedAttribute) << c.name;
    }
}

} // namespace
