// A member marks up a borrowed book with a rectangle, a highlight and a sticky note, returns it, and finds the
// three painted where they were when the book is borrowed again.
#include "annotations/annot_document.h"
#include "annotations/sticky_notes.h"
#include "reader/pdf_control.h"
#include "reader/reader_panel.h"
#include "shell/tchromium.h"
#include "tests/support/main_window_fixture.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <QTest>
#include <QTextEdit>
#include <QToolButton>

using elumira::Dialogs;
using elumira::Json;
using elumira::test::waitUntil;

namespace {

using AnnotationWalkTest = elumira::test::MainWindowOnDemo;

bool colourNear(const QImage &image, QPoint at, const QColor &colour, int radius = 3, int tolerance = 10)
{
    for (int y = at.y() - radius; y <= at.y() + radius; ++y) {
        for (int x = at.x() - radius; x <= at.x() + radius; ++x) {
            const QColor pixel = image.rect().contains(x, y) ? image.pixelColor(x, y) : QColor();
            if (pixel.isValid() && std::abs(pixel.red() - colour.red()) <= tolerance
                && std::abs(pixel.green() - colour.green()) <= tolerance
                && std::abs(pixel.blue() - colour.blue()) <= tolerance)
                return true;
        }
    }
    return false;
}

TEST_F(AnnotationWalkTest, marksSurviveTheReturnAndComeBackWithTheNextLoan)
{
    logIn();
    const QString id = QStringLiteral("1003");
    send(QStringLiteral("detail"), {id});
    ASSERT_TRUE(waitUntil([&] { return waitShowing(window->Chromium3, "detail.html", 2000); }));
    ASSERT_TRUE(click(window->Chromium3, QStringLiteral(".btn-baca")));
    elumira::TReaderPanel &reader = *window->reader();
    ASSERT_TRUE(waitUntil([&] { return reader.books().detailOfTab(window->TabSheet1) != nullptr; }));
    elumira::TPdfControl *view = reader.viewOf(window->TabSheet1);
    QWidget *viewport = view->viewport();
    ASSERT_TRUE(waitUntil([&] { return viewport->isVisible(); }));
    const QRect page = view->GetPageRect();
    const QPoint spot = page.topLeft() + QPoint(page.width() / 2, 420);

    QTest::mouseClick(reader.toolbar().btnAnnotRect, Qt::LeftButton);
    QTest::mousePress(viewport, Qt::LeftButton, {}, spot + QPoint(-120, -60));
    QTest::mouseMove(viewport, spot + QPoint(-40, 0));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, spot + QPoint(-40, 0));

    const QList<QRectF> lines = view->textRects(view->PageIndex(), 0, 12);
    ASSERT_FALSE(lines.isEmpty());
    const QRect line = view->PageToDevice(lines.first()).normalized();
    QTest::mouseClick(reader.toolbar().btnAnnotHighlight, Qt::LeftButton);
    QTest::mousePress(viewport, Qt::LeftButton, {}, QPoint(line.left() + 1, line.center().y()));
    QTest::mouseMove(viewport, QPoint(line.right() - 1, line.center().y()));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, QPoint(line.right() - 1, line.center().y()));
    view->clearSelection();

    QTest::mouseClick(reader.toolbar().btnAnnotText, Qt::LeftButton);
    QTest::mouseClick(viewport, Qt::LeftButton, {}, spot + QPoint(60, 0));
    elumira::TFormSticky &sticky = *window->stickyWindow();
    ASSERT_TRUE(sticky.isVisible());
    QTest::keyClicks(sticky.RichEdit1, QStringLiteral("Baca lagi bab ini"));
    QTest::mouseClick(sticky.btnSaveNotes, Qt::LeftButton);
    ASSERT_FALSE(sticky.isVisible());

    const Json made = elumira::annot::entries(reader.books().settings(QStringLiteral("TabSheet1"))->AnnotationObject);
    ASSERT_EQ(made.size(), 3u);
    const QImage before = view->viewport()->grab().toImage();

    dialogs.scriptAnswers({Dialogs::Answer::Yes});
    QTest::mouseClick(reader.toolbar().btnReturn, Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return requestsTo("/api/wl/saveAnotasi") == 1; }));
    ASSERT_TRUE(waitUntil([&] { return reader.books().detailOfTab(window->TabSheet1) == nullptr; }));
    const std::string body = service->control().requests("/api/wl/saveAnotasi")["requests"][0]["body"];
    const Json sent = Json::parse(body);
    EXPECT_EQ(sent["id_konten"], "1003");
    ASSERT_EQ(sent["data"].size(), 3u);
    EXPECT_EQ(sent["data"][0]["type"], "RECTANGLE");
    EXPECT_EQ(sent["data"][1]["type"], "HIGHLIGHT");
    EXPECT_EQ(sent["data"][2]["type"], "NOTES");
    EXPECT_EQ(sent["data"][2]["text"], "Baca lagi bab ini");
    // Sent indented, as the service has always received it.
    EXPECT_NE(body.find("\n    \"data\""), std::string::npos);

    dialogs.clear();
    dialogs.scriptAnswers({Dialogs::Answer::Yes});
    ASSERT_TRUE(waitUntil([&] { return click(window->Chromium3, QStringLiteral(".btn-baca")); }));
    ASSERT_TRUE(waitUntil([&] { return reader.books().detailOfTab(window->TabSheet1) != nullptr; }));
    view = reader.viewOf(window->TabSheet1);
    view->setPageIndex(0);
    ASSERT_TRUE(waitUntil([&] { return view->viewport()->isVisible(); }));
    EXPECT_EQ(elumira::annot::entries(reader.books().settings(QStringLiteral("TabSheet1"))->AnnotationObject), made);
    const QImage after = view->viewport()->grab().toImage();
    EXPECT_TRUE(colourNear(after, spot + QPoint(-120, -30), QColor(255, 0, 0)));
    EXPECT_TRUE(colourNear(after, spot + QPoint(60, 0) + QPoint(24, 10), QColor(0xF1, 0xC4, 0x0F), 10, 16));
    // The highlight's yellow over the paper at the top of its line.
    EXPECT_EQ(after.copy(line), before.copy(line));
    EXPECT_LT(qBlue(after.pixel(line.left() + 2, line.top() + 1)), 140);
}

} // namespace
