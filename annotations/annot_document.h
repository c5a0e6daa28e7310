// The annotation document of an open book: reading its entries leniently, making new ones in the order their
// members are sent, finding the entries of a page, and the hit test shared by click and double click.
#pragma once

#include "common/json_read.h"

#include <QPoint>
#include <QRect>
#include <QSizeF>
#include <QString>

#include <unordered_map>
#include <vector>

namespace elumira {

class TPdfControl;

namespace annot {

inline constexpr const char *kHighlight = "HIGHLIGHT";
inline constexpr const char *kRectangle = "RECTANGLE";
inline constexpr const char *kInk = "INK";
inline constexpr const char *kNotes = "NOTES";

// The colour every note made here carries; it is not used for drawing.
inline constexpr int kNoteColour = 374470;
// The colour of a note's text while its font is untouched: the desktop's window-text colour, as a reference.
inline constexpr int kWindowTextColour = -16777208;
// A note is placed as a square of this many view pixels.
inline constexpr int kNoteBoxPixels = 50;

// A box in page coordinates, corners as they were given (top is normally above bottom, so top > bottom).
struct PageBox
{
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
    bool operator==(const PageBox &) const = default;
};

// Lenient readers: integers and numbers also from numeric text; anything missing reads as 0 or empty.
int entryPage(const Json &entry);
int entryColour(const Json &entry);
QString entryType(const Json &entry);
double number(const Json &object, const char *key);
// A coordinate in the view's pixels as a whole number. A damaged document may hold any number (or text reading
// as infinity or not-a-number); the pixel is held far beyond any screen, so that neither the conversion nor the
// sums of boxes made from it overflow.
int devicePixel(double value);
PageBox pageBox(const Json &object);
// The entry's `point` as a box.
PageBox pointBox(const Json &entry);

// The entries of a document: a missing `data` reads as none; the writable form creates it.
const Json &entries(const Json &document);
Json &entries(Json &document);

// A new book's document: its content id and no entries.
Json newDocument(const QString &id_konten);

Json boxJson(const PageBox &box);
// Device rectangles are stored as whole pixels, corners as given.
Json deviceBoxJson(QPoint first, QPoint second);

// New entries, members in the order the service keeps them.
Json makeHighlight(int page, int colour);
Json makeRectangle(int page, int colour, const PageBox &point);
// An ink stroke as it begins: its first point in page coordinates.
Json makeInk(int page, int colour, QPointF start);
struct NoteText
{
    QString font;
    int size = 0;
    int fontColour = kWindowTextColour;
    QString date;
    QString text;
};
Json makeNote(int page, const NoteText &note, const PageBox &point);

// Converts between view pixels and page coordinates as the view does, from one reading of the page's place:
// painting and hit tests convert many points per frame.
class PageMapper
{
public:
    explicit PageMapper(const TPdfControl &view);
    QPoint toDevice(double x, double y) const;
    QPoint toDevice(QPointF point) const { return toDevice(point.x(), point.y()); }
    bool isValid() const { return !m_rect.isEmpty() && !m_page.isEmpty(); }
    // Where and how large the page is drawn.
    const QRect &pageRect() const { return m_rect; }

private:
    QRect m_rect;
    QSizeF m_page;
    double m_sx = 1;
    double m_sy = 1;
};

// The positions in `data` of the entries of each page, in document order; kept in step with every append and
// delete, and rebuilt when the document it was made from is replaced.
class PageIndex
{
public:
    const std::vector<int> &entriesOn(int page) const;
    // Whether the index was made from this `data` as it is now (the same array, as many entries).
    bool isFor(const Json &data) const { return m_data == &data && m_size == data.size(); }
    void rebuild(const Json &data);
    // The last entry of data has just been appended.
    void appended(const Json &data);
    // The entry at position has just been removed from data.
    void removed(const Json &data, int position);

private:
    std::unordered_map<int, std::vector<int>> m_pages;
    const Json *m_data = nullptr;
    size_t m_size = 0;
};

// A box of view pixels with its corners put in order; a box thinner than 6 pixels gets 3 pixels more on each
// side, so straight strokes and boxes drawn from any corner can be hit.
QRect hitBox(QPoint first, QPoint second);

// The first entry among candidates (positions in data, in order) whose hit box holds point: its position, -1
// when none. An entry without a box cannot be hit. box receives the entry's hit box.
int hitTest(const Json &data, const std::vector<int> &candidates, const PageMapper &mapper, QPoint point,
            QRect *box = nullptr);

} // namespace annot
} // namespace elumira
