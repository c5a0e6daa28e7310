// Annotation painting: fills are solid colours blended at a constant opacity, so no picture is made per
// highlight, and the note icon is read once.
#include "annotations/annot_painter.h"

#include <QPainter>
#include <QPolygon>
#include <QPolygonF>

#include <algorithm>

namespace elumira::annot {

namespace {

// A rectangle of view pixels from its first corner to its second, the second corner's row and column
// excluded, as the fills of the page are laid.
QRect spanOf(QPoint first, QPoint second)
{
    return QRect(first, QSize(second.x() - first.x(), second.y() - first.y())).normalized();
}

void fillBlended(QPainter &painter, const QRect &rect, const QColor &colour, int alpha)
{
    if (rect.isEmpty())
        return;
    const qreal before = painter.opacity();
    painter.setOpacity(alpha / 255.0);
    painter.fillRect(rect, colour);
    painter.setOpacity(before);
}

// The stroke from its first point through its points, in view pixels; empty when it has no points.
QPolygon inkLine(const PageMapper &mapper, const Json &entry)
{
    const auto points = entry.find("draw_data");
    if (points == entry.end() || !points->is_array() || points->empty())
        return {};
    const auto start = entry.find("point");
    static const Json none = Json::object();
    const Json &first = start == entry.end() ? none : *start;
    QPolygon line;
    line.reserve(qsizetype(points->size()) + 1);
    line.append(mapper.toDevice(number(first, "x"), number(first, "y")));
    for (const Json &point : *points)
        line.append(mapper.toDevice(number(point, "x"), number(point, "y")));
    return line;
}

// The part of segment a-b inside area (Liang-Barsky); false when none of it is.
bool clipSegment(QPointF &a, QPointF &b, const QRectF &area)
{
    const double dx = b.x() - a.x();
    const double dy = b.y() - a.y();
    double t0 = 0;
    double t1 = 1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x() - area.left(), area.right() - a.x(), a.y() - area.top(), area.bottom() - a.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
    }
    if (t0 > t1)
        return false;
    const QPointF start = a;
    a = start + QPointF(dx * t0, dy * t0);
    b = start + QPointF(dx * t1, dy * t1);
    return true;
}

// Draws the stroke's segments as far as they lie within area: a stroke reaching far off the page (a damaged
// document) would otherwise be laid out whole, pixel by pixel, on every repaint. Clipped ends lie outside the
// part that shows, so what shows is drawn as the whole stroke would draw it.
void drawStroke(QPainter &painter, const QPolygon &line, const QRect &area)
{
    const QRectF bounds = QRectF(area).adjusted(-4 * kInkPenWidth, -4 * kInkPenWidth, 4 * kInkPenWidth, 4 * kInkPenWidth);
    QPolygonF run;
    for (qsizetype i = 0; i + 1 < line.size(); ++i) {
        QPointF a = line[i];
        QPointF b = line[i + 1];
        if (!clipSegment(a, b, bounds)) {
            if (run.size() > 1)
                painter.drawPolyline(run);
            run.clear();
            continue;
        }
        if (run.isEmpty() || run.last() != a) {
            if (run.size() > 1)
                painter.drawPolyline(run);
            run = QPolygonF{a};
        }
        run.append(b);
    }
    if (run.size() > 1)
        painter.drawPolyline(run);
}

// A rectangle's outline, two pixels wide along the inside of its edges, laid as four fills.
void outline(QPainter &painter, const QRect &rect, const QColor &colour)
{
    if (rect.isEmpty())
        return;
    const int w = kRectanglePenWidth;
    painter.fillRect(QRect(rect.left() - w / 2, rect.top() - w / 2, rect.width() + w, w), colour);
    painter.fillRect(QRect(rect.left() - w / 2, rect.bottom() + 1 - w / 2, rect.width() + w, w), colour);
    painter.fillRect(QRect(rect.left() - w / 2, rect.top() + w / 2, w, rect.height() - w), colour);
    painter.fillRect(QRect(rect.right() + 1 - w / 2, rect.top() + w / 2, w, rect.height() - w), colour);
}

} // namespace

const QImage &noteIcon(qreal pixelRatio)
{
    // Premultiplied once, so drawing it needs no conversion on every repaint. Denser screens get the picture drawn
    // with twice the pixels, the same size on screen.
    static const QImage icon = QImage(QStringLiteral(":/notes")).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    static const QImage dense = [] {
        QImage image = QImage(QStringLiteral(":/notes@2x")).convertToFormat(QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(2);
        return image;
    }();
    return pixelRatio > 1.0 ? dense : icon;
}

QColor colourOf(int bgr)
{
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

int bgrOf(const QColor &colour)
{
    return colour.red() | (colour.green() << 8) | (colour.blue() << 16);
}

void paintEntry(QPainter &painter, const PageMapper &mapper, const Json &entry, StrokeCache *strokes, int position)
{
    const QString type = entryType(entry);
    if (type == QLatin1String(kRectangle)) {
        const PageBox box = pointBox(entry);
        outline(painter, spanOf(mapper.toDevice(box.left, box.top), mapper.toDevice(box.right, box.bottom)),
                colourOf(entryColour(entry)));
    } else if (type == QLatin1String(kNotes)) {
        const PageBox box = pointBox(entry);
        // The icon keeps its own size at every zoom, anchored at its top-left corner.
        painter.drawImage(mapper.toDevice(box.left, box.top),
                          noteIcon(painter.device() ? painter.device()->devicePixelRatioF() : 1.0));
    } else if (type == QLatin1String(kHighlight)) {
        const auto items = entry.find("point_data");
        if (items == entry.end() || !items->is_array())
            return;
        const QColor colour = colourOf(entryColour(entry));
        for (const Json &item : *items) {
            const PageBox box = pageBox(item);
            fillBlended(painter, spanOf(mapper.toDevice(box.left, box.top), mapper.toDevice(box.right, box.bottom)),
                        colour, kPaintAlpha);
        }
    } else if (type == QLatin1String(kInk)) {
        if (strokes && position >= 0) {
            strokes->paint(painter, mapper, entry, position);
            return;
        }
        const QPolygon line = inkLine(mapper, entry);
        if (line.isEmpty())
            return;
        painter.setPen(QPen(colourOf(entryColour(entry)), kInkPenWidth));
        drawStroke(painter, line, mapper.pageRect());
    }
}

void StrokeCache::keep(const void *view, const void *data, size_t size, quint64 generation, int page, QSize pageSize)
{
    const Key key{view, data, size, generation, page, pageSize};
    if (key == m_key)
        return;
    m_key = key;
    m_strokes.clear();
}

void StrokeCache::paint(QPainter &painter, const PageMapper &mapper, const Json &entry, int position)
{
    const QPoint origin = mapper.pageRect().topLeft();
    // A window moved to a screen of another density needs its pictures again.
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    if (ratio != m_pixelRatio) {
        m_strokes.clear();
        m_pixelRatio = ratio;
    }
    auto found = m_strokes.find(position);
    if (found == m_strokes.end()) {
        Stroke stroke;
        QPolygon line = inkLine(mapper, entry);
        if (!line.isEmpty()) {
            // Only the part over the page is kept: a stroke whose points lie far off the page (a damaged document)
            // would otherwise ask for a picture of gigabytes.
            const QRect page = mapper.pageRect().adjusted(-kInkPenWidth, -kInkPenWidth, kInkPenWidth, kInkPenWidth);
            const QRect bounds =
                line.boundingRect().adjusted(-kInkPenWidth, -kInkPenWidth, kInkPenWidth, kInkPenWidth).intersected(page);
            if (!bounds.isEmpty()) {
                stroke.offset = bounds.topLeft() - origin;
                // The picture has the screen's pixels and keeps the view's coordinates: drawn at its offset it covers
                // exactly the bounds.
                stroke.image = QImage((QSizeF(bounds.size()) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
                stroke.image.setDevicePixelRatio(ratio);
                stroke.image.fill(Qt::transparent);
                QPainter picture(&stroke.image);
                picture.setPen(QPen(colourOf(entryColour(entry)), kInkPenWidth));
                line.translate(-bounds.topLeft());
                drawStroke(picture, line, QRect(QPoint(0, 0), bounds.size()));
            }
        }
        found = m_strokes.emplace(position, std::move(stroke)).first;
    }
    if (!found->second.image.isNull())
        painter.drawImage(origin + found->second.offset, found->second.image);
}

void paintMadeHighlight(QPainter &painter, const Json &entry)
{
    const auto items = entry.find("draw_data");
    if (items == entry.end() || !items->is_array())
        return;
    const QColor colour = colourOf(entryColour(entry));
    for (const Json &item : *items) {
        const QPoint first(devicePixel(number(item, "left")), devicePixel(number(item, "top")));
        const QPoint second(devicePixel(number(item, "right")), devicePixel(number(item, "bottom")));
        fillBlended(painter, spanOf(first, second), colour, kMadeAlpha);
    }
}

void paintMadeRectangle(QPainter &painter, const QRect &pageRect, QPoint from, QPoint to, int colour)
{
    painter.save();
    painter.setClipRect(pageRect);
    outline(painter, spanOf(from, to), colourOf(colour));
    painter.restore();
}

void paintFocusRect(QPainter &painter, QPoint first, QPoint second)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setCompositionMode(QPainter::RasterOp_NotDestination);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
    painter.drawRect(spanOf(first, second));
    painter.restore();
}

} // namespace elumira::annot
