// The drawing tools of the reader: the mouse handlers of every book view that turn presses, drags and releases
// into annotations, frame and delete them, and the painting of the annotations over each frame.
#pragma once

#include "annotations/annot_document.h"
#include "annotations/annot_painter.h"

#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>

class QPainter;

namespace elumira {

class AnnotBooks;
class Dialogs;
class TFormNotes;
class TFormSticky;
class TPdfControl;
class TReaderSettings;

// The tool state shared by all books, one set for the window.
struct AnnotToolState
{
    // A press began inside the page and has not yet been released inside it.
    bool AnnotPressed = false;
    // Rubber band of the rectangle tool, scratch rectangle of the others; corners as given.
    QPoint DragFrom;
    QPoint DragTo;
    // Where the mouse was last pressed, or last hovered with no press active.
    QPoint LastPoint;
    // The ink entry being drawn, null when none; not yet part of any document.
    Json Stroke;
    // Colours in use for new annotations, as 0x00BBGGRR.
    int HighlightColor = 0x00FFFF;
    int RectColor = 0x0000FF;
    int InkColor = 0xFF0000;
};

class TAnnotTools : public QObject
{
    Q_OBJECT
public:
    TAnnotTools(AnnotBooks &books, Dialogs &dialogs, AnnotToolState &state, TFormSticky &sticky, TFormNotes &notes,
                QObject *parent = nullptr);

    // Wires a new book view's mouse and paint events to the handlers below.
    void attach(TPdfControl *view);

    void PDFViewMouseDown(TPdfControl *sender, Qt::MouseButton button, QPoint pos);
    void PDFViewMouseMove(TPdfControl *sender, Qt::MouseButtons buttons, QPoint pos);
    void PDFViewMouseUp(TPdfControl *sender, Qt::MouseButton button, QPoint pos);
    void PDFViewClick(TPdfControl *sender);
    void PDFViewDblClick(TPdfControl *sender);
    void PDFViewPaint(TPdfControl *sender);

    // Whether a pointer is inside the page: within the page's horizontal extent, edges included.
    static bool insidePage(const TPdfControl &view, QPoint pos);

private:
    // The active book, when sender shows it.
    TReaderSettings *activeBook(TPdfControl *sender) const;
    annot::PageBox toPage(const TPdfControl &view, QPoint first, QPoint second) const;
    void makeHighlight(TPdfControl &view, TReaderSettings &settings, QPoint release);
    void makeRectangle(TPdfControl &view, TReaderSettings &settings, QPoint release);
    void makeInk(TPdfControl &view, TReaderSettings &settings);
    void placeNote(TPdfControl &view, QPoint release);
    // The entry under the last point on the page shown: its position, -1 when none.
    int hitEntry(TPdfControl &view, TReaderSettings &settings, QRect *box);
    void paintOverlays(QPainter &painter);

    AnnotBooks &m_books;
    Dialogs &m_dialogs;
    AnnotToolState &m_state;
    TFormSticky &m_sticky;
    TFormNotes &m_notes;

    // What a gesture draws over the frame until the next repaint replaces it: the rubber band and the ink
    // drawn so far while the gesture lasts, and once, the entry just made and the frame of a clicked entry.
    struct Overlay
    {
        QPointer<TPdfControl> view;
        bool band = false;
        QList<QPoint> ink;
        int made = -1;
        bool madeShown = false;
        QRect madeClip;
        QPoint madeFrom;
        QPoint madeTo;
        QRect frame;
        bool frameShown = false;
    } m_overlay;
    bool m_paintErrorPending = false;
    annot::StrokeCache m_strokes;
};

} // namespace elumira
