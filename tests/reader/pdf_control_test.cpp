// The page view with real input on small PDF documents: coordinates, page changes, the automatic page change,
// keys, selection and the marks of a search.
#include "reader/pdf_control.h"
#include "tests/support/test_pdf.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QPainter>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using elumira::TPdfControl;
using elumira::test::makeNumberedPdf;
using elumira::test::makePdf;

namespace {

class PdfControlTest : public ::testing::Test
{
protected:
    void open(const QByteArray &pdf, QSize size = QSize(500, 400))
    {
        view = std::make_unique<TPdfControl>();
        view->resize(size);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        view->LoadFromStream(pdf);
        view->setScaleMode(TPdfControl::smZoom);
        view->setZoomPercentage(100);
        view->setAutoPageChange(true);
    }

    QScrollBar *vertical() const { return view->verticalScrollBar(); }

    void wheel(int notches, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        const QPoint at = view->viewport()->rect().center();
        QWheelEvent event(at, view->viewport()->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
                          modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view->viewport(), &event);
        QApplication::processEvents();
    }

    std::unique_ptr<TPdfControl> view;
};

TEST_F(PdfControlTest, load_notAPdf_throwsWithAReason)
{
    TPdfControl control;
    EXPECT_THROW(control.LoadFromStream(QByteArray("%PDF-1.4 this is not a document")), std::runtime_error);
    EXPECT_THROW(control.LoadFromStream(QByteArray()), std::runtime_error);
    EXPECT_EQ(control.PageCount(), 0);
}

TEST_F(PdfControlTest, coordinates_roundTripCornerByCorner_atEveryZoomAndScroll)
{
    open(makeNumberedPdf(3));
    const QRect device(40, 30, 120, 45);
    for (int zoom : {100, 200}) {
        view->setZoomPercentage(zoom);
        for (int scroll : {0, 37, vertical()->maximum()}) {
            vertical()->setValue(scroll);
            const QRectF page = view->DeviceToPage(device);
            // Page space grows upwards: the device rectangle's top edge is the higher one on the page.
            EXPECT_GT(page.top(), page.bottom()) << zoom << " " << scroll;
            EXPECT_EQ(view->PageToDevice(page), device) << zoom << " " << scroll;
        }
    }
}

TEST_F(PdfControlTest, coordinates_pageCornersMapToThePageRectangle)
{
    open(makeNumberedPdf(2));
    const QSizeF points = view->pageSize(0);
    const QRect drawn = view->GetPageRect();
    // 100% is the page's size at the screen's resolution.
    EXPECT_NEAR(drawn.width(), points.width() * view->logicalDpiX() / 72.0, 1.0);
    const QPointF topLeft = view->DeviceToPage(drawn.topLeft());
    EXPECT_NEAR(topLeft.x(), 0.0, 0.01);
    EXPECT_NEAR(topLeft.y(), points.height(), 0.01);
    EXPECT_EQ(view->PageToDevice(QPointF(points.width(), 0)), drawn.topLeft() + QPoint(drawn.width(), drawn.height()));
}

TEST_F(PdfControlTest, pageIndex_clampsAndSignalsOnlyRealChanges)
{
    open(makeNumberedPdf(5));
    QSignalSpy changes(view.get(), &TPdfControl::OnPageChange);
    view->setPageIndex(0);
    EXPECT_EQ(changes.count(), 0);
    view->setPageIndex(99);
    EXPECT_EQ(view->PageIndex(), 4);
    EXPECT_EQ(changes.count(), 1);
    view->setPageIndex(4);
    EXPECT_EQ(changes.count(), 1);
    view->setPageIndex(-3);
    EXPECT_EQ(view->PageIndex(), 0);
    EXPECT_EQ(changes.count(), 2);
    view->GotoPrevPage();
    EXPECT_EQ(changes.count(), 2);
}

TEST_F(PdfControlTest, pageChange_clearsSelectionAndShowsTheNewPageFromItsTop)
{
    open(makeNumberedPdf(3));
    view->setAllowUserTextSelection(true);
    view->selectText(0, 4);
    vertical()->setValue(vertical()->maximum());
    view->GotoNextPage();
    EXPECT_EQ(view->SelLength(), 0);
    EXPECT_EQ(vertical()->value(), 0);
}

TEST_F(PdfControlTest, wheel_turnsThePageOnlyPastAnEdgeOfATallPage)
{
    struct Case
    {
        const char *name;
        TPdfControl::TScaleMode mode;
        bool automatic;
        bool atBottom;
        int notches; // negative: down
        int expectedPage;
        bool expectTop;
    };
    const Case cases[] = {
        {"down at the bottom", TPdfControl::smZoom, true, true, -1, 3, true},
        {"up at the top", TPdfControl::smZoom, true, false, 1, 1, true},
        {"down in the middle of the page scrolls", TPdfControl::smZoom, true, false, -1, 2, false},
        {"flag off", TPdfControl::smZoom, false, true, -1, 2, false},
        {"whole page fits", TPdfControl::smFitAuto, true, true, -1, 2, true},
    };
    for (const Case &c : cases) {
        open(makeNumberedPdf(5));
        view->setPageIndex(2);
        view->setScaleMode(c.mode);
        view->setAutoPageChange(c.automatic);
        vertical()->setValue(c.atBottom ? vertical()->maximum() : 0);
        wheel(c.notches);
        EXPECT_EQ(view->PageIndex(), c.expectedPage) << c.name;
        if (c.expectTop)
            EXPECT_EQ(vertical()->value(), 0) << c.name;
        else
            EXPECT_GT(vertical()->value(), 0) << c.name;
    }
}

TEST_F(PdfControlTest, wheel_scrollsByTheWheelDistanceAndZoomsWithControl)
{
    open(makeNumberedPdf(2));
    wheel(-1);
    EXPECT_EQ(vertical()->value(), 120);
    wheel(-1, Qt::ControlModifier);
    EXPECT_EQ(view->ZoomPercentage(), 95);
    view->setScaleMode(TPdfControl::smFitWidth);
    wheel(2, Qt::ControlModifier);
    EXPECT_EQ(view->ZoomPercentage(), 95);
}

TEST_F(PdfControlTest, scrollBarStepPastTheBottom_turnsThePage)
{
    open(makeNumberedPdf(3));
    vertical()->setValue(vertical()->maximum());
    vertical()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_TRUE(elumira::test::waitUntil([this] { return view->PageIndex() == 1; }, 2000));
    EXPECT_EQ(vertical()->value(), 0);
}

TEST_F(PdfControlTest, keys_scrollTurnAndJump)
{
    open(makeNumberedPdf(4));
    QTest::keyClick(view.get(), Qt::Key_Down);
    EXPECT_EQ(vertical()->value(), 25);
    QTest::keyClick(view.get(), Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(vertical()->value(), 75);

    vertical()->setValue(vertical()->maximum());
    QTest::keyClick(view.get(), Qt::Key_PageDown);
    EXPECT_EQ(view->PageIndex(), 1);
    EXPECT_EQ(vertical()->value(), 0);
    QTest::keyClick(view.get(), Qt::Key_PageUp);
    EXPECT_EQ(view->PageIndex(), 0);
    EXPECT_EQ(vertical()->value(), vertical()->maximum()) << "the previous page is shown from its bottom";

    QTest::keyClick(view.get(), Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(view->PageIndex(), 3);
    QTest::keyClick(view.get(), Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(view->PageIndex(), 0);
}

TEST_F(PdfControlTest, selectAllAndCopyKeys_selectWhenAllowedAndNeverTouchTheClipboard)
{
    open(makeNumberedPdf(1));
    QTest::keyClick(view.get(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(view->SelLength(), 0) << "selection is off";

    view->setAllowUserTextSelection(true);
    QTest::keyClick(view.get(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(view->SelLength(), view->CurrentPage().GetCharCount());

    QApplication::clipboard()->setText(QStringLiteral("untouched"));
    QSignalSpy released(view.get(), &TPdfControl::OnKeyUp);
    QTest::keyClick(view.get(), Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(view.get(), Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("untouched"));
    EXPECT_GE(released.count(), 2) << "the releases still reach the reader";
}

TEST_F(PdfControlTest, mouseDrag_selectsTextOnlyWhenAllowed)
{
    open(makePdf({{QStringLiteral("First line of text"), QStringLiteral("Second line of text")}}));
    const QPoint from = view->PageToDevice(QPointF(48, view->pageSize(0).height() - 52));
    const QPoint to = view->PageToDevice(QPointF(150, view->pageSize(0).height() - 78));
    QTest::mousePress(view->viewport(), Qt::LeftButton, {}, from);
    QTest::mouseMove(view->viewport(), to);
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, to);
    EXPECT_EQ(view->SelLength(), 0);

    view->setAllowUserTextSelection(true);
    QTest::mousePress(view->viewport(), Qt::LeftButton, {}, from);
    QTest::mouseMove(view->viewport(), to);
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, to);
    EXPECT_GT(view->SelLength(), 20);
    EXPECT_TRUE(view->CurrentPage().ReadText(view->SelStart(), view->SelLength()).startsWith(QStringLiteral("First")));
}

TEST_F(PdfControlTest, textRects_oneRectanglePerLineInPageSpace)
{
    open(makePdf({{QStringLiteral("First line of text"), QStringLiteral("Second line of text")}}));
    elumira::TPdfPage page = view->CurrentPage();
    const QString text = page.ReadText(0, page.GetCharCount());
    ASSERT_TRUE(text.contains(QStringLiteral("Second")));
    ASSERT_EQ(page.GetTextRectCount(0, page.GetCharCount()), 2);
    const QRectF first = page.GetTextRect(0);
    const QRectF second = page.GetTextRect(1);
    EXPECT_GT(first.top(), first.bottom());
    EXPECT_GT(first.bottom(), second.top()) << "the first line stands above the second";
    const double height = view->pageSize(0).height();
    EXPECT_NEAR(first.left(), 50, 3);
    EXPECT_NEAR(first.top(), height - 50, 6);
    EXPECT_EQ(page.GetTextRectCount(0, 5), 1);
}

TEST_F(PdfControlTest, highlight_marksWholeWordsIgnoringCaseOnEveryPageShown)
{
    open(makePdf({{QStringLiteral("Cat and category and CAT")}, {QStringLiteral("no such animal")},
                  {QStringLiteral("the cat returns")}}));
    view->HightlightText(QStringLiteral("cat"), false, true);
    EXPECT_EQ(view->highlightRects().size(), 2) << "Cat and CAT, not category";
    view->GotoNextPage();
    EXPECT_TRUE(view->highlightRects().isEmpty());
    view->GotoNextPage();
    EXPECT_EQ(view->highlightRects().size(), 1);
    view->HightlightText(QStringLiteral("cat"), true, false);
    EXPECT_EQ(view->highlightRects().size(), 1);
    view->ClearHighlightText();
    EXPECT_TRUE(view->highlightRects().isEmpty());
}

TEST_F(PdfControlTest, paint_drawsThePageAndOffersTheCanvasDuringOnPaint)
{
    open(makeNumberedPdf(1));
    bool hadCanvas = false;
    QObject scope; // ends the connection with the test, before the view is torn down
    QObject::connect(view.get(), &TPdfControl::OnPaint, &scope, [&](TPdfControl *sender) {
        hadCanvas = sender->Canvas() != nullptr;
        sender->Canvas()->fillRect(QRect(0, 0, 4, 4), Qt::red);
    });
    const QImage frame = view->viewport()->grab().toImage();
    EXPECT_TRUE(hadCanvas);
    EXPECT_EQ(view->Canvas(), nullptr);
    EXPECT_EQ(frame.pixelColor(1, 1), QColor(Qt::red));
    const QRect page = view->GetPageRect();
    EXPECT_EQ(frame.pixelColor(page.left() + 5, page.top() + 5), QColor(Qt::white));
}

} // namespace
