// The page view and the annotations on a high-density screen (this test runs with QT_SCALE_FACTOR=2): the page
// and the ink strokes are drawn with the screen's pixels, not drawn at half size and stretched.
#include "annotations/annot_document.h"
#include "annotations/annot_painter.h"
#include "reader/pdf_control.h"
#include "tests/support/test_pdf.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QPainter>
#include <QPdfDocument>
#include <QScrollBar>
#include <QTest>

#include <memory>

using elumira::Json;
using elumira::TPdfControl;
namespace annot = elumira::annot;

namespace {

// How many pixels of two images of the same size differ by more than a trace in any channel.
int differingPixels(const QImage &a, const QImage &b)
{
    const QImage left = a.convertToFormat(QImage::Format_RGB32);
    const QImage right = b.convertToFormat(QImage::Format_RGB32);
    int count = 0;
    for (int y = 0; y < left.height(); ++y) {
        for (int x = 0; x < left.width(); ++x) {
            const QRgb p = left.pixel(x, y), q = right.pixel(x, y);
            if (std::abs(qRed(p) - qRed(q)) > 8 || std::abs(qGreen(p) - qGreen(q)) > 8 ||
                std::abs(qBlue(p) - qBlue(q)) > 8)
                ++count;
        }
    }
    return count;
}

class HighDensityTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        pdf = elumira::test::makeNumberedPdf(2);
        view = std::make_unique<TPdfControl>();
        view->resize(500, 400);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        view->LoadFromStream(pdf);
        view->setScaleMode(TPdfControl::smZoom);
        view->setZoomPercentage(100);
        ASSERT_DOUBLE_EQ(view->devicePixelRatioF(), 2.0) << "run with QT_SCALE_FACTOR=2";
    }

    QByteArray pdf;
    std::unique_ptr<TPdfControl> view;
};

TEST_F(HighDensityTest, page_isRenderedWithTheScreensPixels_atEveryZoom)
{
    QBuffer bytes(&pdf);
    bytes.open(QIODevice::ReadOnly);
    QPdfDocument document;
    document.load(&bytes);
    ASSERT_EQ(document.status(), QPdfDocument::Status::Ready);

    for (const int zoom : {100, 150}) {
        view->setZoomPercentage(zoom);
        view->verticalScrollBar()->setValue(0);
        const QImage frame = view->viewport()->grab().toImage();
        ASSERT_EQ(frame.size(), view->viewport()->size() * 2) << zoom;
        // Logical pixels stay the view's unit: the page rectangle and its conversions do not change with density.
        const QRect page = view->GetPageRect().intersected(view->viewport()->rect());
        ASSERT_FALSE(page.isEmpty()) << zoom;
        EXPECT_EQ(view->PageToDevice(view->DeviceToPage(QRect(20, 20, 60, 30))), QRect(20, 20, 60, 30)) << zoom;

        // The whole page at twice its logical size, on white paper, cut to the part in view.
        const QRect full = view->GetPageRect();
        QImage expected(full.size() * 2, QImage::Format_RGB32);
        expected.fill(Qt::white);
        {
            QPainter painter(&expected);
            painter.drawImage(0, 0, document.render(0, full.size() * 2));
        }
        const QRect shownOnPage((page.topLeft() - full.topLeft()) * 2, page.size() * 2);
        const QImage shown = frame.copy(QRect(page.topLeft() * 2, page.size() * 2));
        EXPECT_EQ(differingPixels(shown, expected.copy(shownOnPage)), 0) << zoom;

        // A page drawn at half size and stretched blurs the text: its edges lose their dark pixels.
        const QImage stretched = document.render(0, full.size())
                                     .scaled(full.size() * 2, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        QImage blurred(full.size() * 2, QImage::Format_RGB32);
        blurred.fill(Qt::white);
        QPainter(&blurred).drawImage(0, 0, stretched);
        EXPECT_GT(differingPixels(blurred.copy(shownOnPage), expected.copy(shownOnPage)), 100) << zoom;
    }
}

TEST_F(HighDensityTest, inkStrokes_fromTheirPicturesMatchStrokesDrawnDirectly)
{
    Json ink = annot::makeInk(0, 16711680, QPointF(80, 520));
    for (const auto &[x, y] : {std::pair{130, 470}, {170, 505}, {240, 430}, {300, 480}})
        ink["draw_data"].push_back(Json{{"x", x}, {"y", y}});
    const annot::PageMapper mapper(*view);

    auto paint = [&](annot::StrokeCache *cache) {
        QImage image(view->viewport()->size() * 2, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(2);
        image.fill(Qt::white);
        QPainter painter(&image);
        annot::paintEntry(painter, mapper, ink, cache, cache ? 0 : -1);
        return image;
    };
    const QImage direct = paint(nullptr);
    annot::StrokeCache cache;
    cache.keep(view.get(), &ink, 1, 0, 0, mapper.pageRect().size());
    const QImage first = paint(&cache);
    const QImage reused = paint(&cache);

    QImage blank(direct.size(), QImage::Format_RGB32);
    blank.fill(Qt::white);
    ASSERT_GT(differingPixels(direct, blank), 100) << "the stroke was not drawn";
    EXPECT_EQ(differingPixels(first, direct), 0);
    EXPECT_EQ(differingPixels(reused, direct), 0);
}

TEST_F(HighDensityTest, noteIcon_keepsItsSizeWithTheScreensPixels)
{
    const Json note = annot::makeNote(0, annot::NoteText{}, {250, 520, 280, 490});
    const annot::PageMapper mapper(*view);
    QImage image(view->viewport()->size() * 2, QImage::Format_RGB32);
    image.setDevicePixelRatio(2);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        annot::paintEntry(painter, mapper, note);
    }
    // The drawing at twice the pixels, on white, placed at the note's corner: 48 logical pixels, 96 of the screen.
    QImage dense(QStringLiteral(":/notes@2x"));
    dense.setDevicePixelRatio(1);
    ASSERT_EQ(dense.size(), QSize(2 * annot::kNoteIconPixels, 2 * annot::kNoteIconPixels));
    QImage expected(dense.size(), QImage::Format_RGB32);
    expected.fill(Qt::white);
    QPainter(&expected).drawImage(0, 0, dense);
    const QPoint corner = mapper.toDevice(250, 520) * 2;
    EXPECT_EQ(differingPixels(image.copy(QRect(corner, dense.size())), expected), 0);
}

} // namespace
