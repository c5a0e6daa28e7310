// Copying a passage with its citation: Roman page labels, the clipboard's exact text, and the log of copies.
#include "annotations/text_copy.h"
#include "reader/pdf_control.h"
#include "tests/support/reader_on_demo.h"
#include "tests/support/test_pdf.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <climits>

#include <QApplication>
#include <QClipboard>
#include <QTest>

using elumira::Json;
using elumira::TPdfControl;

namespace {

TEST(IntToRoman, greedyFromTheLargestValue)
{
    const struct
    {
        int number;
        const char *roman;
    } cases[] = {{0, ""},        {1, "I"},     {4, "IV"},     {9, "IX"},          {14, "XIV"},      {40, "XL"},
                 {90, "XC"},     {400, "CD"},  {1994, "MCMXCIV"}, {3999, "MMMCMXCIX"}, {-3, ""}};
    for (const auto &c : cases)
        EXPECT_EQ(elumira::IntToRoman(c.number), QLatin1String(c.roman)) << c.number;
}

TEST(PageLabel, frontMatterInRomanThenCountedAgain)
{
    const struct
    {
        int p;
        int romawi;
        const char *label;
    } cases[] = {{1, 0, "1"},
                 {3, 0, "3"},
                 {2, 4, "II"},
                 {4, 4, "IV"},
                 {5, 4, "1"},
                 {12, 4, "8"},
                 // A front-matter count the service sends negative is still counted, without overflowing.
                 {5, -2, "7"},
                 {5, INT_MIN, "2147483653"}};
    for (const auto &c : cases)
        EXPECT_EQ(elumira::pageLabel(c.p, c.romawi), QLatin1String(c.label)) << c.p << " " << c.romawi;
}

class TextCopyTest : public elumira::test::ReaderOnDemo
{
protected:
    void SetUp() override
    {
        ReaderOnDemo::SetUp();
        if (HasFatalFailure())
            return;
        openLocal(0,
                  elumira::test::makePdf({{QStringLiteral("Front matter")},
                                          {QStringLiteral("Second front page")},
                                          {QStringLiteral("Café “kopi” naïve"), QStringLiteral("Next line here")},
                                          {QStringLiteral("Café “kopi” naïve")}}),
                  QStringLiteral("7"), QStringLiteral("240"),
                  Json{{"penulis", "Ayu Lestari"}, {"penerbit", "Pustaka Telmarin"}, {"tahun_terbit", "2021"},
                       {"halaman_romawi", 2}});
        QObject::connect(view(0), &TPdfControl::OnKeyUp, view(0),
                         [this](TPdfControl *sender, int key, Qt::KeyboardModifiers modifiers) {
                             elumira::PDFViewKeyUp(*panel, dialogs, sender, key, modifiers);
                         });
        view(0)->setAllowUserTextSelection(true);
        QApplication::clipboard()->setText(QStringLiteral("before"));
    }
    // Selects the first characters of the page shown and releases Ctrl+C over the view.
    void copy(int count, Qt::KeyboardModifiers modifiers = Qt::ControlModifier, Qt::Key key = Qt::Key_C)
    {
        view(0)->selectText(0, count);
        QTest::keyClick(view(0), key, modifiers);
    }
    Json log() { return settings(0).TextCopyObject["data"]; }
};

TEST_F(TextCopyTest, ctrlC_putsTheSixLinesWithTheRomanOrCountedLabel)
{
    view(0)->setPageIndex(2);
    copy(17);
    EXPECT_EQ(QApplication::clipboard()->text(),
              QStringLiteral("Judul : Buku 7\r\nPenulis : Ayu Lestari\r\nPenerbit : Pustaka Telmarin\r\n"
                             "Tahun Terbit : 2021\r\nHalaman : 1\r\nFrase : Café “kopi” naïve"));
    view(0)->setPageIndex(1);
    copy(6);
    EXPECT_TRUE(QApplication::clipboard()->text().endsWith(QStringLiteral("Halaman : II\r\nFrase : Second")));
    EXPECT_TRUE(dialogs.boxes().isEmpty());
}

TEST_F(TextCopyTest, twoLines_areJoinedWithNothingBetween)
{
    view(0)->setPageIndex(2);
    const QString text = view(0)->CurrentPage().ReadText(0, view(0)->CurrentPage().GetCharCount());
    ASSERT_TRUE(text.contains(QStringLiteral("Next")));
    copy(view(0)->CurrentPage().GetCharCount());
    EXPECT_TRUE(QApplication::clipboard()->text().endsWith(QStringLiteral("Frase : Café “kopi” naïveNext line here")))
        << QApplication::clipboard()->text().toStdString();
}

TEST_F(TextCopyTest, log_onePassagePerPageAndText)
{
    view(0)->setPageIndex(2);
    copy(17);
    copy(17);
    view(0)->setPageIndex(3);
    copy(17);
    EXPECT_EQ(log(), (Json::array({{{"page", "1"}, {"text", "Café “kopi” naïve"}},
                                   {{"page", "2"}, {"text", "Café “kopi” naïve"}}})));
}

TEST_F(TextCopyTest, nothingSelected_copiesTheHeaderWithAnEmptyPhraseOnce)
{
    view(0)->setPageIndex(2);
    copy(0);
    copy(0);
    EXPECT_TRUE(QApplication::clipboard()->text().endsWith(QStringLiteral("Halaman : 1\r\nFrase : ")));
    EXPECT_EQ(log(), (Json::array({{{"page", "1"}, {"text", ""}}})));
}

TEST_F(TextCopyTest, otherKeys_doNothing)
{
    view(0)->setPageIndex(2);
    copy(17, Qt::NoModifier);
    copy(17, Qt::ControlModifier, Qt::Key_V);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("before"));
    EXPECT_TRUE(log().empty());
}

} // namespace
