// Drawing the annotations of a page over the view's frame: every entry as each repaint draws it, the way a
// highlight or rectangle is drawn once when it is made, and the focus rectangle of the tools.
#pragma once

#include "annotations/annot_document.h"

#include <QColor>
#include <QImage>
#include <QRect>

#include <unordered_map>

class QPainter;

namespace elumira::annot {

// Opacity of a highlight's fill as every repaint blends it, and as it is blended once when made.
inline constexpr int kPaintAlpha = 130;
inline constexpr int kMadeAlpha = 127;
inline constexpr int kRectanglePenWidth = 2;
inline constexpr int kInkPenWidth = 3;
inline constexpr int kNoteIconPixels = 48;

// The note icon from the program's resources, loaded once for the run, with the pixels for a screen of this
// density: 48 by 48 logical pixels on every screen.
const QImage &noteIcon(qreal pixelRatio = 1.0);

// A colour of the document (0x00BBGGRR) as a colour to draw with, and back.
QColor colourOf(int bgr);
int bgrOf(const QColor &colour);

// Ink strokes drawn once into pictures of their own and reused while the page is drawn at the same place and
// size, on a screen of the same pixel density, and the document is unchanged: wide strokes are the costliest part
// of a repaint. The pictures have the screen's pixels, so strokes stay sharp on high-density screens.
class StrokeCache
{
public:
    // Forgets every picture unless they were made for this key.
    void keep(const void *view, const void *data, size_t size, quint64 generation, int page, QSize pageSize);
    void paint(QPainter &painter, const PageMapper &mapper, const Json &entry, int position);

private:
    struct Stroke
    {
        QImage image;
        QPoint offset; // from the page's top-left corner
    };
    struct Key
    {
        const void *view = nullptr;
        const void *data = nullptr;
        size_t size = 0;
        quint64 generation = 0;
        int page = -1;
        QSize pageSize;
        bool operator==(const Key &) const = default;
    } m_key;
    std::unordered_map<int, Stroke> m_strokes;
    qreal m_pixelRatio = 1.0;
};

// Draws one entry of the page shown, by its type; entries of other types draw nothing. Ink strokes come from
// the cache when one is given.
void paintEntry(QPainter &painter, const PageMapper &mapper, const Json &entry, StrokeCache *strokes = nullptr,
                int position = -1);
// A highlight as it is blended once when made, over the view rectangles it was made from.
void paintMadeHighlight(QPainter &painter, const Json &entry);
// A rectangle as it is drawn once when made: from corner to corner of the drag, clipped to the page.
void paintMadeRectangle(QPainter &painter, const QRect &pageRect, QPoint from, QPoint to, int colour);
// The dotted outline that inverts what lies under it: the rubber band and the frame of a clicked entry.
void paintFocusRect(QPainter &painter, QPoint first, QPoint second);

} // namespace elumira::annot
