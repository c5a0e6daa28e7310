// The three annotation windows: the sticky-note window, the note viewer and the colour settings, with their
// sizes, controls and texts, and what they store.
#include "annotations/annot_painter.h"
#include "tests/support/annot_reader.h"
#include "tests/support/test_pdf.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <QColorDialog>
#include <QDate>
#include <QFontDialog>
#include <QFrame>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

using elumira::Dialogs;
using elumira::Json;
using elumira::test::makeNumberedPdf;
using elumira::test::waitUntil;
namespace annot = elumira::annot;

namespace {

class AnnotWindowsTest : public ::testing::Test, public elumira::test::AnnotReader
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(buildAnnotations());
        ASSERT_TRUE(openLocal(0, makeNumberedPdf(2), QStringLiteral("1")));
    }
    // Places a note with the sticky-note tool at a blank spot of the page.
    void placeNote()
    {
        bar().btnAnnotText->click();
        const QRect page = view(0)->GetPageRect();
        QTest::mouseClick(viewport(), Qt::LeftButton, {}, page.topLeft() + QPoint(page.width() / 2, 400));
        ASSERT_TRUE(sticky->isVisible());
    }
    // Answers the next modal dialog once it shows.
    template<typename Answer>
    void whenShown(QWidget *dialog, Answer answer)
    {
        QTimer::singleShot(0, dialog, [dialog, answer] {
            if (waitUntil([dialog] { return dialog->isVisible(); }, 5000))
                answer();
        });
    }
};

TEST_F(AnnotWindowsTest, stickyNote_untouchedFont_isStoredAsTahoma8InTheWindowTextColourAndShownSo)
{
    EXPECT_EQ(sticky->windowTitle(), QStringLiteral("My Notes"));
    EXPECT_EQ(sticky->size(), QSize(346, 228));
    EXPECT_EQ(sticky->RichEdit1->size(), QSize(330, 177));
    EXPECT_EQ(annot::bgrOf(sticky->RichEdit1->palette().color(QPalette::Base)), 12382963);
    const struct
    {
        QToolButton *button;
        char16_t glyph;
        const char *hint;
    } buttons[] = {{sticky->btnSaveNotes, 0xF0C7, "Simpan Catatan"}, {sticky->btnSettings, 0xF085, "Font Settings"}};
    for (const auto &b : buttons) {
        EXPECT_EQ(b.button->text(), QString(QChar(b.glyph)));
        EXPECT_EQ(b.button->toolTip(), QString::fromUtf8(b.hint));
        EXPECT_EQ(b.button->accessibleName(), QString::fromUtf8(b.hint));
    }

    placeNote();
    QTest::keyClicks(sticky->RichEdit1, QStringLiteral("Baris satu"));
    QTest::keyClick(sticky->RichEdit1, Qt::Key_Return);
    QTest::keyClicks(sticky->RichEdit1, QStringLiteral("baris dua"));
    sticky->btnSaveNotes->click();
    ASSERT_EQ(data().size(), 1u);
    const Json &note = data().back();
    EXPECT_EQ(note["font"], "Tahoma");
    EXPECT_EQ(note["size"], 8);
    EXPECT_EQ(note["font_color"], -16777208);
    EXPECT_EQ(note["color"], 374470);
    EXPECT_EQ(note["note_id"], "");
    EXPECT_EQ(note["text"], "Baris satu\nbaris dua");
    EXPECT_EQ(QString::fromStdString(note["date"]), QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat));

    notes->showNote(QStringLiteral("TabSheet1"), view(0), 0, note);
    EXPECT_EQ(notes->size(), QSize(372, 297));
    EXPECT_EQ(notes->Panel1->height(), 41);
    EXPECT_EQ(annot::bgrOf(notes->Panel1->palette().color(QPalette::Window)), 7727856);
    EXPECT_EQ(notes->RichEdit1->font().family(), QStringLiteral("Tahoma"));
    EXPECT_EQ(notes->RichEdit1->font().pointSize(), 8);
    EXPECT_EQ(notes->RichEdit1->palette().color(QPalette::Text), notes->palette().color(QPalette::WindowText));
    EXPECT_EQ(notes->RichEdit1->toPlainText(), QStringLiteral("Baris satu\nbaris dua"));
    EXPECT_EQ(notes->Label1->text(), QString::fromStdString(note["date"]));
    EXPECT_EQ(notes->Button2->text(), QString(QChar(0xF1F8)));
    EXPECT_EQ(notes->Button1->text(), QString(QChar(0xF00D)));

    // Cancelling the deletion keeps the note and the viewer.
    dialogs.scriptAnswers({Dialogs::Answer::Cancel});
    notes->Button2->click();
    EXPECT_EQ(dialogs.boxes().last().text, QStringLiteral("Hapus Catatan Ini?"));
    EXPECT_EQ(data().size(), 1u);
    EXPECT_TRUE(notes->isVisible());
    notes->Button2->click();
    EXPECT_TRUE(data().empty());
    EXPECT_FALSE(notes->isVisible());
}

TEST_F(AnnotWindowsTest, stickyNote_opensEmptyWithTheFontLastChosen)
{
    placeNote();
    whenShown(sticky->FontDialog1, [this] {
        sticky->FontDialog1->setCurrentFont(QFont(QStringLiteral("DejaVu Serif"), 14));
        sticky->FontDialog1->accept();
    });
    sticky->btnSettings->click();
    EXPECT_EQ(sticky->RichEdit1->font().pointSize(), 14);
    sticky->RichEdit1->setPlainText(QStringLiteral("pertama"));
    sticky->btnSaveNotes->click();

    placeNote();
    EXPECT_TRUE(sticky->RichEdit1->toPlainText().isEmpty());
    EXPECT_EQ(sticky->RichEdit1->font().family(), QStringLiteral("DejaVu Serif"));
    sticky->btnSaveNotes->click();
    ASSERT_EQ(data().size(), 2u);
    EXPECT_EQ(data()[1]["font"], "DejaVu Serif");
    EXPECT_EQ(data()[1]["size"], 14);
    // After a choice in the font dialog the colour is a plain one.
    EXPECT_GE(data()[1]["font_color"].get<int>(), 0);
}

TEST_F(AnnotWindowsTest, stickyNote_forABookReturnedMeanwhile_failsAndStaysOpen)
{
    placeNote();
    panel->removeBook(sheet(0));
    sticky->btnSaveNotes->click();
    ASSERT_EQ(dialogs.boxes().size(), 1);
    EXPECT_TRUE(dialogs.boxes().first().text.startsWith(QStringLiteral("Adding Sticky Notes Error : ")));
    EXPECT_TRUE(sticky->isVisible());
    sticky->close();
}

TEST_F(AnnotWindowsTest, colourSettings_swatchesStartApartFromTheColoursInUse)
{
    EXPECT_EQ(colours->size(), QSize(235, 202));
    EXPECT_EQ(colours->PanelTitle->height(), 27);
    EXPECT_EQ(colours->lblCaption->text(), QStringLiteral("Pilihan Warna"));
    EXPECT_EQ(colours->btnClose->text(), QString(QChar(0xF057)));
    EXPECT_EQ(colours->btnSimpan->text(), QStringLiteral("Simpan"));
    EXPECT_EQ(colours->swatchColour(colours->shapeHighlighter), 7727856);
    EXPECT_EQ(colours->swatchColour(colours->shapeRectangle), 255);
    EXPECT_EQ(colours->swatchColour(colours->shapeInk), 255);
    EXPECT_EQ(colours->shapeInk->size(), QSize(32, 32));
    EXPECT_EQ(state.HighlightColor, 65535);
    EXPECT_EQ(state.RectColor, 255);
    EXPECT_EQ(state.InkColor, 16711680);

    // "Simpan" at once: new highlights in the swatch's light yellow, rectangles and ink red.
    colours->showWindow();
    colours->btnSimpan->click();
    EXPECT_FALSE(colours->isVisible());
    EXPECT_EQ(state.HighlightColor, 7727856);
    EXPECT_EQ(state.RectColor, 255);
    EXPECT_EQ(state.InkColor, 255);
}

TEST_F(AnnotWindowsTest, colourSettings_pickedColourAppliesAtOnceExceptTheHighlighters)
{
    const struct
    {
        const char *row;
        QPushButton *button;
        QFrame *shape;
        int startColour;
        int elumira::AnnotToolState::*inUse;
        int afterClose;
    } rows[] = {
        {"Pen Ink", colours->btnColorPen, colours->shapeInk, 16711680, &elumira::AnnotToolState::InkColor, 0x00FF00},
        {"Highlighter", colours->btnColorHighlighter, colours->shapeHighlighter, 65535,
         &elumira::AnnotToolState::HighlightColor, 65535},
        {"Rectangle", colours->btnColorRectangle, colours->shapeRectangle, 255, &elumira::AnnotToolState::RectColor,
         0x00FF00},
    };
    for (const auto &row : rows) {
        colours->showWindow();
        QColor startedAt;
        whenShown(colours->ColorDialog, [&] {
            startedAt = colours->ColorDialog->currentColor();
            colours->ColorDialog->setCurrentColor(QColor(0, 255, 0));
            colours->ColorDialog->accept();
        });
        row.button->click();
        EXPECT_EQ(annot::bgrOf(startedAt), row.startColour) << row.row;
        EXPECT_EQ(colours->swatchColour(row.shape), 0x00FF00) << row.row;
        colours->btnClose->click();
        EXPECT_FALSE(colours->isVisible());
        EXPECT_EQ(state.*row.inUse, row.afterClose) << row.row;
    }
    EXPECT_TRUE(dialogs.boxes().isEmpty());
}

} // namespace
