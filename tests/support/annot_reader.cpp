// The annotation tools on a reader panel in a window of its own.
#include "tests/support/annot_reader.h"

#include <QTest>

namespace elumira::test {

AnnotReader::~AnnotReader()
{
    tools.reset();
    panel.reset();
}

bool AnnotReader::buildAnnotations()
{
    if (!buildReader({}, dialogs))
        return false;
    books = std::make_unique<AnnotBooks>(*panel);
    sticky = std::make_unique<TFormSticky>(*books, dialogs);
    notes = std::make_unique<TFormNotes>(*books, dialogs);
    colours = std::make_unique<TFormAnnotSettings>(state, dialogs);
    tools = std::make_unique<TAnnotTools>(*books, dialogs, state, *sticky, *notes);
    QObject::connect(panel.get(), &TReaderPanel::viewCreated, tools.get(), &TAnnotTools::attach);
    return true;
}

void AnnotReader::drag(QPoint from, const QList<QPoint> &through, QPoint to, int i)
{
    QTest::mousePress(viewport(i), Qt::LeftButton, {}, from);
    for (const QPoint &point : through)
        QTest::mouseMove(viewport(i), point);
    QTest::mouseMove(viewport(i), to);
    QTest::mouseRelease(viewport(i), Qt::LeftButton, {}, to);
}

void AnnotReader::doubleClick(QPoint at, int i)
{
    QTest::mouseClick(viewport(i), Qt::LeftButton, {}, at);
    QTest::mouseDClick(viewport(i), Qt::LeftButton, {}, at);
    QTest::mouseRelease(viewport(i), Qt::LeftButton, {}, at);
}

QImage AnnotReader::frame(int i)
{
    return viewport(i)->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QRect AnnotReader::textBox(int start, int count, int i)
{
    const QList<QRectF> lines = view(i)->textRects(view(i)->PageIndex(), start, count);
    return lines.isEmpty() ? QRect() : view(i)->PageToDevice(lines.first()).normalized();
}

} // namespace elumira::test
