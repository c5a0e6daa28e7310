// The drawing tools with real mouse gestures on a book view of a small PDF, and the annotations painted over
// the view's frames: what each tool stores, when tools switch off, framing, deleting, and where entries show.
#include "annotations/annot_painter.h"
#include "reader/reader_panel.h"
#include "tests/support/annot_reader.h"
#include "tests/support/test_pdf.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>

#include <cmath>

using elumira::Dialogs;
using elumira::Json;
using elumira::TReaderToolbar;
using elumira::test::makePdf;
namespace annot = elumira::annot;

namespace {

const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);
const QColor kIconYellow(0xF1, 0xC4, 0x0F);

bool near(const QColor &a, const QColor &b, int tolerance)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance
           && std::abs(a.blue() - b.blue()) <= tolerance;
}

// Whether a pixel of the colour lies within radius of the point.
bool colourNear(const QImage &image, QPoint at, const QColor &colour, int radius = 3, int tolerance = 8)
{
    for (int y = at.y() - radius; y <= at.y() + radius; ++y) {
        for (int x = at.x() - radius; x <= at.x() + radius; ++x) {
            if (image.rect().contains(x, y) && near(image.pixelColor(x, y), colour, tolerance))
                return true;
        }
    }
    return false;
}

// The box of the pixels of a colour in an image, empty when there are none.
QRect pixelsOf(const QImage &image, const QColor &colour, int tolerance)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (near(image.pixelColor(x, y), colour, tolerance))
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

class AnnotToolsTest : public ::testing::Test, public elumira::test::AnnotReader
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(buildAnnotations());
        ASSERT_TRUE(openLocal(0, makePdf({{QStringLiteral("Alpha beta gamma delta epsilon"),
                                           QStringLiteral("Second line of the page"), QStringLiteral("Third line")},
                                          {QStringLiteral("Page two")}, {QStringLiteral("Page three")},
                                          {QStringLiteral("Page four")}}),
                              QStringLiteral("1")));
        QTest::qWait(0);
    }

    QRect page() { return view(0)->GetPageRect(); }
    // A point of the page shown, in view pixels, from fractions of the page's width and of its height.
    QPoint at(double x, double y) { return page().topLeft() + QPoint(int(page().width() * x), int(page().height() * y)); }
    // A blank spot of the page, well below its text.
    QPoint blank(int dx = 0, int dy = 0) { return at(0.5, 0.6) + QPoint(dx, dy); }
    void click(QToolButton *button) { button->click(); }
    bool isOn(QToolButton *button) { return TReaderToolbar::glyphColour(button) == TReaderToolbar::kActiveGlyphColour; }
    const Json &last() { return data().back(); }
    annot::PageBox boxOf(QPoint a, QPoint b)
    {
        const QPointF pa = view(0)->DeviceToPage(a);
        const QPointF pb = view(0)->DeviceToPage(b);
        return {pa.x(), pa.y(), pb.x(), pb.y()};
    }
    void addEntry(Json entry) { books->append(view(0), settings(0).AnnotationObject, std::move(entry)); }
};

TEST_F(AnnotToolsTest, highlight_overTwoLines_givesTwoRectanglesInOrderAndSwitchesOff)
{
    click(bar().btnAnnotHighlight);
    ASSERT_TRUE(view(0)->AllowUserTextSelection());
    const QRect first = textBox(0, 5);
    const QRect second = textBox(int(view(0)->pageText(0).indexOf(QStringLiteral("Second"))), 6);
    drag(first.topLeft() + QPoint(1, first.height() / 2), {second.center()}, second.center());

    ASSERT_EQ(data().size(), 1u);
    const Json &entry = last();
    std::vector<std::string> keys;
    for (auto it = entry.begin(); it != entry.end(); ++it)
        keys.push_back(it.key());
    EXPECT_EQ(keys, (std::vector<std::string>{"page", "type", "color", "draw_data", "point_data", "point"}));
    EXPECT_EQ(entry["type"], "HIGHLIGHT");
    EXPECT_EQ(entry["color"], 65535);
    ASSERT_EQ(entry["draw_data"].size(), 2u);
    ASSERT_EQ(entry["point_data"].size(), 2u);
    // In order: the first line above the second, device rectangles and page rectangles alike.
    EXPECT_LT(entry["draw_data"][0]["top"].get<int>(), entry["draw_data"][1]["top"].get<int>());
    EXPECT_GT(entry["point_data"][0]["top"].get<double>(), entry["point_data"][1]["top"].get<double>());
    EXPECT_TRUE(entry["draw_data"][0]["left"].is_number_integer());
    EXPECT_FALSE(settings(0).CurrentHighlightAnnotState);
    EXPECT_FALSE(isOn(bar().btnAnnotHighlight));
    EXPECT_FALSE(view(0)->AllowUserTextSelection());
}

TEST_F(AnnotToolsTest, highlight_overOneLine_takesTheLinesHeightWhateverTheDrag)
{
    click(bar().btnAnnotHighlight);
    const QRect word = textBox(6, 4);
    const QPoint start(word.left() + 1, word.center().y());
    drag(start, {start + QPoint(10, 120), QPoint(word.right() - 1, word.center().y())},
         QPoint(word.right() - 1, word.center().y()));
    ASSERT_EQ(data().size(), 1u);
    const Json &entry = last();
    ASSERT_EQ(entry["point_data"].size(), 1u);
    EXPECT_DOUBLE_EQ(entry["point"]["top"].get<double>(), entry["point_data"][0]["top"].get<double>());
    EXPECT_DOUBLE_EQ(entry["point"]["bottom"].get<double>(), entry["point_data"][0]["bottom"].get<double>());
}

TEST_F(AnnotToolsTest, highlight_withoutSelectedText_storesOnlyItsPlaceAndSwitchesOff)
{
    click(bar().btnAnnotHighlight);
    QTest::mouseClick(viewport(), Qt::LeftButton, {}, blank());
    ASSERT_EQ(data().size(), 1u);
    std::vector<std::string> keys;
    for (auto it = last().begin(); it != last().end(); ++it)
        keys.push_back(it.key());
    EXPECT_EQ(keys, (std::vector<std::string>{"page", "type", "color", "point"}));
    EXPECT_FALSE(settings(0).CurrentHighlightAnnotState);
}

TEST_F(AnnotToolsTest, rectangle_storedAsDrawnAndCanStillBeFramedAndDeleted)
{
    click(bar().btnAnnotRect);
    const QPoint lowerRight = blank(80, 60);
    const QPoint upperLeft = blank(-80, -60);
    drag(lowerRight, {blank()}, upperLeft);
    ASSERT_EQ(data().size(), 1u);
    const Json &point = last()["point"];
    EXPECT_EQ(last()["type"], "RECTANGLE");
    EXPECT_EQ(last()["color"], 255);
    EXPECT_GT(point["left"].get<double>(), point["right"].get<double>());
    EXPECT_GT(point["bottom"].get<double>(), point["top"].get<double>());
    EXPECT_EQ(annot::pointBox(last()), boxOf(lowerRight, upperLeft));
    EXPECT_FALSE(settings(0).CurrentRectAnnotState);
    EXPECT_FALSE(isOn(bar().btnAnnotRect));

    // The hit test puts the corners in order, so the rectangle is framed by a click inside it...
    const QImage before = frame();
    QTest::mouseClick(viewport(), Qt::LeftButton, {}, blank(10, 10));
    const QImage framed = frame();
    EXPECT_NE(framed, before);
    EXPECT_EQ(state.DragFrom, upperLeft);
    EXPECT_EQ(state.DragTo, lowerRight);
    // ...and deleted by a double click in delete mode.
    click(bar().btnAnnotDelete);
    doubleClick(blank(10, 10));
    ASSERT_EQ(dialogs.boxes().size(), 1);
    EXPECT_EQ(dialogs.boxes().first().text, QStringLiteral("Hapus Anotasi?"));
    EXPECT_EQ(dialogs.boxes().first().buttons, Dialogs::Buttons::OkCancel);
    EXPECT_TRUE(data().empty());
}

TEST_F(AnnotToolsTest, rectangle_beyondThePage_isDrawnClippedWhenMadeAndStoredUnclipped)
{
    // At half size the page ends within the view.
    view(0)->setZoomPercentage(50);
    click(bar().btnAnnotRect);
    const QPoint from = at(0.3, 0.9);
    const QPoint to(at(0.7, 0.9).x(), page().bottom() + 40);
    ASSERT_LT(to.y(), viewport()->height());
    drag(from, {}, to);
    EXPECT_EQ(annot::pointBox(last()), boxOf(from, to));
    const QImage made = frame();
    EXPECT_TRUE(colourNear(made, QPoint(from.x(), page().bottom() - 3), kRed));
    EXPECT_FALSE(colourNear(made, QPoint(from.x(), page().bottom() + 20), kRed));
    // From the next repaint on it is painted as stored.
    const QImage painted = frame();
    EXPECT_TRUE(colourNear(painted, QPoint(from.x(), page().bottom() + 20), kRed));
}

TEST_F(AnnotToolsTest, rubberBand_followsTheDragAndGoesWithTheRelease)
{
    click(bar().btnAnnotRect);
    const QImage plain = frame();
    const QPoint from = blank(-60, -40);
    const QPoint to = blank(60, 40);
    QTest::mousePress(viewport(), Qt::LeftButton, {}, from);
    QTest::mouseMove(viewport(), to);
    const QImage banded = frame();
    // The band inverts the white page along its edges.
    int dark = 0;
    for (int y = from.y() + 2; y < to.y() - 2; ++y)
        dark += qGray(banded.pixel(from.x(), y)) < 60 ? 1 : 0;
    EXPECT_GT(dark, (to.y() - from.y()) / 4);
    EXPECT_EQ(qGray(plain.pixel(from.x(), from.y() + 10)), 255);
    QTest::mouseRelease(viewport(), Qt::LeftButton, {}, to);
    const QImage after = frame();
    EXPECT_TRUE(colourNear(after, QPoint(from.x(), (from.y() + to.y()) / 2), kRed));
}

TEST_F(AnnotToolsTest, ink_storesItsPointsOnlyInsideThePageAndSwitchesOff)
{
    click(bar().btnAnnotPen);
    const QPoint outside(page().left() - 20, blank().y());
    drag(blank(), {blank(10, 5), outside, blank(20, 15)}, blank(30, 25));
    ASSERT_EQ(data().size(), 1u);
    const Json &entry = last();
    EXPECT_EQ(entry["type"], "INK");
    EXPECT_EQ(entry["color"], 16711680);
    std::vector<std::string> keys;
    for (auto it = entry["point"].begin(); it != entry["point"].end(); ++it)
        keys.push_back(it.key());
    EXPECT_EQ(keys, (std::vector<std::string>{"x", "y", "left", "top", "right", "bottom"}));
    // The move outside the page added nothing: three moves inside, the last at the release point.
    ASSERT_EQ(entry["draw_data"].size(), 3u);
    const QPointF start = view(0)->DeviceToPage(blank());
    EXPECT_DOUBLE_EQ(entry["point"]["x"].get<double>(), start.x());
    EXPECT_EQ(annot::pointBox(entry), boxOf(blank(10, 5), blank(30, 25)));
    EXPECT_FALSE(settings(0).CurrentPenAnnotState);
    EXPECT_FALSE(isOn(bar().btnAnnotPen));
    EXPECT_TRUE(colourNear(frame(), blank(20, 15), kBlue));
}

TEST_F(AnnotToolsTest, ink_withoutMovement_storesNothingAndSwitchesOff)
{
    click(bar().btnAnnotPen);
    QTest::mouseClick(viewport(), Qt::LeftButton, {}, blank());
    EXPECT_TRUE(data().empty());
    EXPECT_FALSE(settings(0).CurrentPenAnnotState);
    EXPECT_FALSE(isOn(bar().btnAnnotPen));
}

TEST_F(AnnotToolsTest, ink_perfectlyStraight_canBeFramedAndDeleted)
{
    click(bar().btnAnnotPen);
    drag(blank(-50, 0), {blank(-20, 0), blank(20, 0)}, blank(50, 0));
    ASSERT_EQ(data().size(), 1u);
    EXPECT_DOUBLE_EQ(last()["point"]["top"].get<double>(), last()["point"]["bottom"].get<double>());
    click(bar().btnAnnotDelete);
    doubleClick(blank(0, 2));
    EXPECT_TRUE(data().empty());
}

TEST_F(AnnotToolsTest, outsideThePage_pressOrReleaseMakesNothingAndLeavesTheToolOn)
{
    click(bar().btnAnnotRect);
    const QPoint left(page().left() - 10, blank().y());
    drag(left, {blank()}, blank(40, 40));
    EXPECT_TRUE(data().empty());
    EXPECT_TRUE(settings(0).CurrentRectAnnotState);

    // A release outside ends nothing; the gesture goes on until a release inside the page.
    drag(blank(), {blank(20, 20)}, left);
    EXPECT_TRUE(data().empty());
    EXPECT_TRUE(settings(0).CurrentRectAnnotState);
    EXPECT_TRUE(state.AnnotPressed);
    QTest::mouseRelease(viewport(), Qt::LeftButton, {}, blank(30, 30));
    ASSERT_EQ(data().size(), 1u);
    // While the button was held outside the page, the last point followed it.
    EXPECT_EQ(annot::pointBox(last()), boxOf(left, blank(30, 30)));
    EXPECT_FALSE(settings(0).CurrentRectAnnotState);

    // The page's edges count as inside.
    click(bar().btnAnnotRect);
    drag(QPoint(page().left(), blank().y()), {}, QPoint(page().left() + page().width(), blank().y() + 30));
    EXPECT_EQ(data().size(), 2u);
}

TEST_F(AnnotToolsTest, overlappingEntries_theFirstIsFramedAndDeletedAndCancelKeepsIt)
{
    addEntry(annot::makeRectangle(0, 255, boxOf(blank(-40, -40), blank(40, 40))));
    addEntry(annot::makeRectangle(0, 16711680, boxOf(blank(-20, -20), blank(60, 60))));
    QTest::mouseClick(viewport(), Qt::LeftButton, {}, blank(10, 10));
    EXPECT_EQ(state.DragFrom, blank(-40, -40));

    click(bar().btnAnnotDelete);
    dialogs.scriptAnswers({Dialogs::Answer::Cancel});
    doubleClick(blank(10, 10));
    EXPECT_EQ(data().size(), 2u);
    doubleClick(blank(10, 10));
    ASSERT_EQ(data().size(), 1u);
    EXPECT_EQ(last()["color"], 16711680);
    EXPECT_EQ(dialogs.boxes().size(), 2);

    // Without delete mode a double click deletes nothing.
    click(bar().btnAnnotDelete);
    doubleClick(blank(30, 30));
    EXPECT_EQ(data().size(), 1u);
}

TEST_F(AnnotToolsTest, stickyNote_keepsThePlaceItWasPutWhateverHappensBeforeSaving)
{
    click(bar().btnAnnotText);
    const QPoint place = blank();
    QTest::mouseClick(viewport(), Qt::LeftButton, {}, place);
    EXPECT_FALSE(settings(0).CurrentTextAnnotState);
    ASSERT_TRUE(sticky->isVisible());
    EXPECT_TRUE(sticky->RichEdit1->toPlainText().isEmpty());
    EXPECT_EQ(state.DragFrom, place);
    EXPECT_EQ(state.DragTo, place + QPoint(50, 50));

    // The member turns the page and presses in the view while writing.
    panel->btnNextClick();
    QTest::mouseClick(viewport(), Qt::LeftButton, {}, blank(100, 100));
    sticky->RichEdit1->setPlainText(QStringLiteral("Catatan"));
    sticky->btnSaveNotes->click();
    EXPECT_FALSE(sticky->isVisible());
    ASSERT_EQ(data().size(), 1u);
    EXPECT_EQ(last()["page"], 0);
    EXPECT_EQ(annot::pointBox(last()), sticky->target().box);
    panel->btnPreviousClick();
    EXPECT_EQ(annot::pointBox(last()), boxOf(place, place + QPoint(50, 50)));

    // A double click on it in delete mode opens the viewer and deletes nothing.
    click(bar().btnAnnotDelete);
    doubleClick(place + QPoint(25, 25));
    EXPECT_TRUE(notes->isVisible());
    EXPECT_EQ(notes->RichEdit1->toPlainText(), QStringLiteral("Catatan"));
    EXPECT_EQ(data().size(), 1u);
    EXPECT_TRUE(dialogs.boxes().isEmpty());
    notes->Button1->click();
    EXPECT_FALSE(notes->isVisible());
}

TEST_F(AnnotToolsTest, noteViewer_deletesTheNoteItShowsOrNothing)
{
    addEntry(annot::makeRectangle(0, 255, boxOf(blank(100, 100), blank(140, 140))));
    annot::NoteText text;
    text.text = QStringLiteral("first");
    addEntry(annot::makeNote(0, text, boxOf(blank(), blank(50, 50))));
    text.text = QStringLiteral("second");
    addEntry(annot::makeNote(0, text, boxOf(blank(-100, -100), blank(-50, -50))));

    doubleClick(blank(25, 25));
    ASSERT_TRUE(notes->isVisible());
    // Another entry goes while the viewer is open: the viewer still deletes its own note.
    click(bar().btnAnnotDelete);
    doubleClick(blank(120, 120));
    ASSERT_EQ(data().size(), 2u);
    notes->Button2->click();
    EXPECT_EQ(dialogs.boxes().last().text, QStringLiteral("Hapus Catatan Ini?"));
    ASSERT_EQ(data().size(), 1u);
    EXPECT_EQ(last()["text"], "second");

    // A note gone meanwhile takes nothing else with it.
    doubleClick(blank(-75, -75));
    ASSERT_TRUE(notes->isVisible());
    books->remove(view(0), settings(0).AnnotationObject, 0);
    addEntry(annot::makeRectangle(0, 255, boxOf(blank(100, 100), blank(140, 140))));
    notes->Button2->click();
    EXPECT_EQ(data().size(), 1u);
    EXPECT_FALSE(notes->isVisible());
}

TEST_F(AnnotToolsTest, painting_followsThePageWhenZoomedWhileNoteIconsKeepTheirSize)
{
    // Entries near the top left of the first page, so they stay in view at 200%.
    const QRectF text = view(0)->textRects(0, 0, 5).first();
    Json highlight = annot::makeHighlight(0, 65535);
    highlight["point_data"].push_back(annot::boxJson({text.left(), text.top(), text.right(), text.bottom()}));
    addEntry(highlight);
    addEntry(annot::makeRectangle(0, 255, {60, 500, 140, 460}));
    Json ink = annot::makeInk(0, 16711680, QPointF(160, 480));
    ink["draw_data"].push_back(Json{{"x", 220}, {"y", 480}});
    addEntry(ink);
    addEntry(annot::makeNote(0, annot::NoteText{}, {250, 520, 280, 490}));
    addEntry(annot::makeRectangle(1, 255, {60, 440, 140, 400}));

    for (const int zoom : {100, 200}) {
        view(0)->setZoomPercentage(zoom);
        const QImage image = frame();
        const annot::PageMapper mapper(*view(0));
        EXPECT_EQ(mapper.toDevice(60, 480), view(0)->PageToDevice(QPointF(60, 480))) << zoom;
        EXPECT_TRUE(colourNear(image, view(0)->PageToDevice(QPointF(60, 480)), kRed)) << zoom;
        EXPECT_TRUE(colourNear(image, view(0)->PageToDevice(QPointF(190, 480)), kBlue)) << zoom;
        // The entry of the second page is not drawn on the first.
        EXPECT_FALSE(colourNear(image, view(0)->PageToDevice(QPointF(60, 420)), kRed, 1)) << zoom;
        // Yellow blended over white paper: blue at about 125 of 255.
        const QRect lit = view(0)->PageToDevice(text).normalized();
        int brightestBlue = 0;
        for (int x = lit.left() + 1; x < lit.right() - 1; ++x)
            brightestBlue = std::max(brightestBlue, qBlue(image.pixel(x, lit.top() + 1)));
        EXPECT_NEAR(brightestBlue, 125, 2) << zoom;
        const QPoint anchor = view(0)->PageToDevice(QPointF(250, 520));
        const QRect icon = pixelsOf(image.copy(QRect(anchor - QPoint(10, 10), QSize(80, 80))), kIconYellow, 12);
        EXPECT_TRUE(QRect(10, 10, 48, 48).contains(icon)) << zoom;
        EXPECT_GT(icon.width(), 36) << zoom;
    }
}

TEST_F(AnnotToolsTest, painting_inkReachingFarOffThePage_drawsItsPartOnThePage)
{
    // A damaged document: one point of the stroke lies millions of points away. Only the part over the page is
    // drawn, without a picture of gigabytes or a long wait for the whole stroke.
    Json ink = annot::makeInk(0, 16711680, QPointF(160, 480));
    ink["draw_data"].push_back(Json{{"x", 220}, {"y", 480}});
    ink["draw_data"].push_back(Json{{"x", 3.0e6}, {"y", -3.0e6}});
    addEntry(ink);
    const QImage image = frame();
    EXPECT_TRUE(colourNear(image, view(0)->PageToDevice(QPointF(190, 480)), kBlue));
}

TEST_F(AnnotToolsTest, painting_coordinatesNoScreenHas_drawWithoutFault)
{
    // A damaged document: coordinates far beyond any number of pixels, or text reading as infinity or as not a
    // number, in stored entries of each kind and in the highlight just made. The page draws, and the entries
    // beside them still show.
    const annot::PageBox huge{-7.7e30, 7.7e30, 7.7e30, -7.7e30};
    addEntry(annot::makeRectangle(0, 255, huge));
    Json rectangle = annot::makeRectangle(0, 255, huge);
    rectangle["point"] = Json{{"left", "inf"}, {"top", "-inf"}, {"right", "nan"}, {"bottom", "1e400"}};
    addEntry(rectangle);
    Json ink = annot::makeInk(0, 16711680, QPointF(7.7e30, -7.7e30));
    ink["draw_data"].push_back(Json{{"x", "nan"}, {"y", "inf"}});
    addEntry(ink);
    addEntry(annot::makeRectangle(0, 255, boxOf(blank(-40, -40), blank(40, 40))));
    EXPECT_TRUE(colourNear(frame(), blank(-40, 0), kRed));

    click(bar().btnAnnotHighlight);
    const QRect word = textBox(6, 4);
    drag(QPoint(word.left() + 1, word.center().y()), {}, QPoint(word.right() - 1, word.center().y()));
    ASSERT_EQ(data().size(), 5u);
    Json &made = annot::entries(settings(0).AnnotationObject).back();
    ASSERT_FALSE(made["draw_data"].empty());
    made["draw_data"][0]["left"] = -7.7e30;
    made["draw_data"][0]["right"] = 7.7e30;
    made["draw_data"][0]["bottom"] = "inf";

    // Drawn as made, then as stored: the highlight covers the page from its line down, as far as the page goes.
    EXPECT_FALSE(frame().isNull());
    EXPECT_FALSE(frame().isNull());
    // Hit tests run over the same entries.
    QTest::mouseMove(view(0)->viewport(), blank(0, 0));
    QTest::mouseClick(view(0)->viewport(), Qt::LeftButton, {}, blank(0, 0));
}

TEST_F(AnnotToolsTest, painting_hiddenAndShownByTampilkanAnotasi)
{
    addEntry(annot::makeRectangle(0, 255, boxOf(blank(-40, -40), blank(40, 40))));
    EXPECT_TRUE(colourNear(frame(), blank(-40, 0), kRed));
    QTest::mouseClick(bar().AnnotView, Qt::LeftButton);
    EXPECT_FALSE(settings(0).CurrentAnnotViewState);
    EXPECT_FALSE(colourNear(frame(), blank(-40, 0), kRed));
    QTest::mouseClick(bar().AnnotView, Qt::LeftButton);
    EXPECT_TRUE(colourNear(frame(), blank(-40, 0), kRed));
}

TEST_F(AnnotToolsTest, highlight_isBlendedAt127WhenMadeAnd130FromTheNextRepaint)
{
    click(bar().btnAnnotHighlight);
    const QRect line = textBox(0, 30);
    drag(QPoint(line.left() + 1, line.center().y()), {}, QPoint(line.right() - 1, line.center().y()));
    ASSERT_EQ(data().size(), 1u);
    // The view's own selection tint is not part of what is measured.
    view(0)->clearSelection();
    auto brightestBlue = [&](const QImage &image) {
        int blue = 0;
        for (int x = line.left() + 1; x < line.right() - 1; ++x)
            blue = std::max(blue, qBlue(image.pixel(x, line.top() + 1)));
        return blue;
    };
    EXPECT_NEAR(brightestBlue(frame()), 128, 1);
    EXPECT_NEAR(brightestBlue(frame()), 125, 1);
}

TEST_F(AnnotToolsTest, anotherClientsDocument_loadsPaintsAndTravelsBackUnchanged)
{
    // Written by hand from the document's tables, as another client of the library would send it.
    const QByteArray stored = R"json({
        "id_konten": "2",
        "data": [
            {"page": "3", "type": "RECTANGLE", "color": "255", "point": {"left": 60, "top": 500, "right": 140, "bottom": 460}},
            {"page": 0, "type": "UNDERLINE", "color": 255, "point": {"left": 60, "top": 500, "right": 140, "bottom": 460}, "extra": [1, 2]},
            {"page": 0, "type": "INK", "color": 16711680, "point": {"x": 160, "y": 480, "left": 160, "top": 480, "right": 220, "bottom": 480},
             "draw_data": [{"x": 220, "y": 480}]},
            {"page": 0, "type": "NOTES", "note_id": "n-81", "color": 374470, "font": "Arial", "size": 12, "font_color": 255,
             "date": "01/02/2026", "text": "dari klien lain", "point": {"left": 250, "top": 520, "right": 280, "bottom": 490}},
            {"page": 0, "type": "HIGHLIGHT", "color": 65535, "point": {"left": 60, "top": 560, "right": 200, "bottom": 545}}
        ]})json";
    ASSERT_TRUE(openLocal(1, makePdf({{QStringLiteral("One")}, {QStringLiteral("Two")}, {QStringLiteral("Three")},
                                      {QStringLiteral("Four")}}),
                          QStringLiteral("2"), QStringLiteral("4"), Json::object(), stored));
    const Json unknown = data(1)[1];
    const QImage first = frame(1);
    EXPECT_TRUE(colourNear(first, view(1)->PageToDevice(QPointF(190, 480)), kBlue));
    // The unknown kind draws nothing, and the rectangle of page "3" shows on the fourth page only.
    EXPECT_FALSE(colourNear(first, view(1)->PageToDevice(QPointF(60, 480)), kRed, 1));
    view(1)->setPageIndex(3);
    EXPECT_TRUE(colourNear(frame(1), view(1)->PageToDevice(QPointF(60, 480)), kRed));
    view(1)->setPageIndex(0);

    // Its note opens in the viewer; a new entry leaves the others as they were.
    doubleClick(view(1)->PageToDevice(QPointF(265, 505)), 1);
    ASSERT_TRUE(notes->isVisible());
    EXPECT_EQ(notes->RichEdit1->toPlainText(), QStringLiteral("dari klien lain"));
    EXPECT_EQ(notes->RichEdit1->font().pointSize(), 12);
    notes->Button1->click();
    click(bar().btnAnnotRect);
    drag(view(1)->PageToDevice(QPointF(60, 300)), {}, view(1)->PageToDevice(QPointF(100, 260)), 1);
    ASSERT_EQ(data(1).size(), 6u);
    EXPECT_EQ(data(1)[1], unknown);
    EXPECT_EQ(data(1)[0]["page"], "3");
    // The unknown kind cannot be deleted.
    click(bar().btnAnnotDelete);
    doubleClick(view(1)->PageToDevice(QPointF(100, 480)), 1);
    EXPECT_EQ(data(1).size(), 6u);
}

} // namespace
