// Fuzzes the annotation document as a loan brings it back from the service: read into the page index, every
// entry of the page shown painted over a real page view into an image (as every repaint and as a just-made
// entry), hit tests at the view's corners, centre and each entry's own corner, then deleting and adding entries.
#include "annotations/annot_document.h"
#include "annotations/annot_painter.h"
#include "fuzz/fuzz_input.h"
#include "reader/pdf_control.h"

#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>

#include <cstdlib>

using namespace elumira;

namespace {

TPdfControl *g_view = nullptr;

QByteArray twoPagePdf()
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(72);
    QPainter painter(&writer);
    painter.drawText(50, 62, QStringLiteral("The first page"));
    writer.newPage();
    painter.drawText(50, 62, QStringLiteral("The second page"));
    painter.end();
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    // No display: Qt draws into memory.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Kept for the whole process: the run ends in exit(), and Qt's own objects must not be torn down then.
    new QApplication(*argc, *argv);
    g_view = new TPdfControl;
    g_view->resize(700, 900);
    g_view->LoadFromStream(twoPagePdf());
    g_view->show();
    QApplication::processEvents();
    return 0;
}

// The input is the annotation document's text as the service serves it.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    auto parsed = fuzz::parseInput(data, size);
    // A document that is not an object stops the opening, so it never reaches the tools.
    if (!parsed || !parsed->is_object())
        return 0;
    Json document = std::move(*parsed);
    const Json &items = annot::entries(document);

    annot::PageIndex index;
    index.rebuild(items);
    const int page = g_view->PageIndex();
    const std::vector<int> positions = index.entriesOn(page);
    const annot::PageMapper mapper(*g_view);

    QImage frame(g_view->viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    frame.fill(Qt::white);
    {
        QPainter painter(&frame);
        annot::StrokeCache strokes;
        strokes.keep(g_view, &items, items.size(), 0, page, mapper.pageRect().size());
        for (const int position : positions) {
            const Json &entry = items[size_t(position)];
            annot::paintEntry(painter, mapper, entry, &strokes, position);
            annot::paintEntry(painter, mapper, entry);
            annot::paintMadeHighlight(painter, entry);
        }
    }

    const QRect area = frame.rect();
    for (const QPoint point : {area.topLeft(), area.center(), area.bottomRight()})
        (void)annot::hitTest(items, positions, mapper, point);
    for (const int position : positions) {
        const annot::PageBox box = annot::pointBox(items[size_t(position)]);
        QRect hit;
        (void)annot::hitTest(items, positions, mapper, mapper.toDevice(box.right, box.bottom), &hit);
    }

    // Deleting the first entry of the page and adding a note keep the index in step.
    Json &writable = annot::entries(document);
    if (!positions.empty()) {
        writable.erase(writable.begin() + positions.front());
        index.removed(writable, positions.front());
    }
    writable.push_back(annot::makeNote(page, {}, annot::pageBox(Json::object())));
    index.appended(writable);
    annot::PageIndex fresh;
    fresh.rebuild(writable);
    if (fresh.entriesOn(page) != index.entriesOn(page))
        std::abort();
    (void)document.dump(4);
    return 0;
}
