// The tools' mouse handlers and the annotation painting of every book view.
#include "annotations/annot_tools.h"

#include "annotations/annot_books.h"
#include "annotations/annot_painter.h"
#include "annotations/notes.h"
#include "annotations/sticky_notes.h"
#include "common/dialogs.h"
#include "reader/pdf_control.h"
#include "reader/reader_panel.h"

#include <QPainter>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <stdexcept>

namespace elumira {

namespace {

QString failureText(const std::exception &error)
{
    return QString::fromUtf8(error.what());
}

} // namespace

TAnnotTools::TAnnotTools(AnnotBooks &books, Dialogs &dialogs, AnnotToolState &state, TFormSticky &sticky,
                         TFormNotes &notes, QObject *parent)
    : QObject(parent), m_books(books), m_dialogs(dialogs), m_state(state), m_sticky(sticky), m_notes(notes)
{
}

void TAnnotTools::attach(TPdfControl *view)
{
    connect(view, &TPdfControl::OnMouseDown, this,
            [this](TPdfControl *sender, Qt::MouseButton button, Qt::KeyboardModifiers, QPoint pos) {
                PDFViewMouseDown(sender, button, pos);
            });
    connect(view, &TPdfControl::OnMouseMove, this,
            [this](TPdfControl *sender, Qt::KeyboardModifiers, QPoint pos, Qt::MouseButtons buttons) {
                PDFViewMouseMove(sender, buttons, pos);
            });
    connect(view, &TPdfControl::OnMouseUp, this,
            [this](TPdfControl *sender, Qt::MouseButton button, Qt::KeyboardModifiers, QPoint pos) {
                PDFViewMouseUp(sender, button, pos);
            });
    connect(view, &TPdfControl::OnClick, this, &TAnnotTools::PDFViewClick);
    connect(view, &TPdfControl::OnDblClick, this, &TAnnotTools::PDFViewDblClick);
    connect(view, &TPdfControl::OnPaint, this, &TAnnotTools::PDFViewPaint);
}

bool TAnnotTools::insidePage(const TPdfControl &view, QPoint pos)
{
    const QRect page = view.GetPageRect();
    return !page.isEmpty() && pos.x() >= page.left() && pos.x() <= page.left() + page.width();
}

TReaderSettings *TAnnotTools::activeBook(TPdfControl *sender) const
{
    const QString tab = m_books.activeTab();
    return !tab.isEmpty() && m_books.view(tab) == sender ? m_books.settings(tab) : nullptr;
}

annot::PageBox TAnnotTools::toPage(const TPdfControl &view, QPoint first, QPoint second) const
{
    const QPointF a = view.DeviceToPage(first);
    const QPointF b = view.DeviceToPage(second);
    return {a.x(), a.y(), b.x(), b.y()};
}

void TAnnotTools::PDFViewMouseDown(TPdfControl *sender, Qt::MouseButton button, QPoint pos)
{
    try {
        TReaderSettings *settings = activeBook(sender);
        if (!settings || !insidePage(*sender, pos))
            return;
        m_state.AnnotPressed = true;
        m_state.DragFrom = m_state.DragTo = pos;
        m_state.LastPoint = pos;
        if (m_overlay.view != sender || m_overlay.band || !m_overlay.ink.isEmpty()) {
            m_overlay.band = false;
            m_overlay.ink.clear();
            sender->viewport()->update();
        }
        m_overlay.view = sender;
        if (settings->CurrentRectAnnotState && button == Qt::LeftButton) {
            m_overlay.band = true;
            sender->viewport()->update();
        }
        if (settings->CurrentPenAnnotState && button == Qt::LeftButton) {
            m_state.Stroke = annot::makeInk(sender->PageIndex(), m_state.InkColor, sender->DeviceToPage(pos));
            m_overlay.ink = {pos};
        }
    } catch (const std::exception &error) {
        m_dialogs.error(QStringLiteral("Error Exception #1479 : ") + failureText(error));
    }
}

void TAnnotTools::PDFViewMouseMove(TPdfControl *sender, Qt::MouseButtons buttons, QPoint pos)
{
    // The book's idle counter is the reader's business; its own move handler resets it.
    TReaderSettings *settings = activeBook(sender);
    if (!settings)
        return;
    if (!m_state.AnnotPressed || !insidePage(*sender, pos)) {
        m_state.LastPoint = pos;
        return;
    }
    if (settings->CurrentRectAnnotState) {
        m_state.DragTo = pos;
        m_overlay.view = sender;
        m_overlay.band = true;
        sender->viewport()->update();
    } else if (settings->CurrentPenAnnotState) {
        if (buttons & Qt::LeftButton) {
            if (m_overlay.view == sender && !m_overlay.ink.isEmpty()) {
                m_overlay.ink.append(pos);
                sender->viewport()->update();
            }
            if (m_state.Stroke.is_object()) {
                const QPointF point = sender->DeviceToPage(pos);
                m_state.Stroke["draw_data"].push_back(Json{{"x", point.x()}, {"y", point.y()}});
            }
        }
        m_state.DragTo = pos;
    }
}

void TAnnotTools::PDFViewMouseUp(TPdfControl *sender, Qt::MouseButton button, QPoint pos)
{
    TReaderSettings *settings = activeBook(sender);
    if (!settings || button != Qt::LeftButton || !m_state.AnnotPressed || !insidePage(*sender, pos))
        return;
    m_state.AnnotPressed = false;
    if (settings->CurrentHighlightAnnotState)
        makeHighlight(*sender, *settings, pos);
    else if (settings->CurrentRectAnnotState)
        makeRectangle(*sender, *settings, pos);
    else if (settings->CurrentPenAnnotState)
        makeInk(*sender, *settings);
    else if (settings->CurrentTextAnnotState)
        placeNote(*sender, pos);
    else if (settings->CurrentTextSelectState) {
        m_state.DragFrom = m_state.LastPoint;
        m_state.DragTo = pos;
    }
}

void TAnnotTools::makeHighlight(TPdfControl &view, TReaderSettings &settings, QPoint release)
{
    TPdfPage page = view.CurrentPage();
    const int count = page.GetTextRectCount(view.SelStart(), view.SelLength());
    int left = m_state.LastPoint.x();
    int top = m_state.LastPoint.y();
    int right = release.x();
    int bottom = release.y();
    Json entry = annot::makeHighlight(view.PageIndex(), m_state.HighlightColor);
    for (int i = 0; i < count; ++i) {
        const QRect r = view.PageToDevice(page.GetTextRect(i));
        right = std::max(right, r.right());
        left = std::min(left, r.left());
        top = std::min(top, r.top());
        bottom = std::max(bottom, r.bottom());
        if (count == 1) {
            top = r.top();
            bottom = r.bottom();
        }
        entry["draw_data"].push_back(annot::deviceBoxJson(r.topLeft(), r.bottomRight()));
        entry["point_data"].push_back(annot::boxJson(toPage(view, r.topLeft(), r.bottomRight())));
    }
    m_state.DragFrom = QPoint(left, top);
    m_state.DragTo = QPoint(right, bottom);
    entry["point"] = annot::boxJson(toPage(view, m_state.DragFrom, m_state.DragTo));
    const int position = m_books.append(&view, settings.AnnotationObject, std::move(entry));
    m_overlay.view = &view;
    m_overlay.made = position;
    m_overlay.madeShown = false;
    m_overlay.madeClip = QRect();
    view.viewport()->update();
    m_books.reader().toolbar().btnAnnotHighlight->click();
}

void TAnnotTools::makeRectangle(TPdfControl &view, TReaderSettings &settings, QPoint release)
{
    m_overlay.band = false;
    m_state.DragFrom = m_state.LastPoint;
    m_state.DragTo = release;
    // Stored as drawn: the corners where the mouse went down and up, not reordered, not clipped.
    const int position = m_books.append(&view, settings.AnnotationObject,
                                        annot::makeRectangle(view.PageIndex(), m_state.RectColor,
                                                             toPage(view, m_state.DragFrom, m_state.DragTo)));
    m_overlay.view = &view;
    m_overlay.made = position;
    m_overlay.madeShown = false;
    m_overlay.madeClip = view.GetPageRect();
    m_overlay.madeFrom = m_state.DragFrom;
    m_overlay.madeTo = m_state.DragTo;
    view.viewport()->update();
    m_books.reader().toolbar().btnAnnotRect->click();
}

void TAnnotTools::makeInk(TPdfControl &view, TReaderSettings &settings)
{
    Json stroke = std::move(m_state.Stroke);
    m_state.Stroke = Json();
    m_overlay.ink.clear();
    view.viewport()->update();
    const auto points = stroke.is_object() ? stroke.find("draw_data") : stroke.end();
    // A gesture without movement drew nothing: nothing is kept.
    if (stroke.is_object() && points != stroke.end() && points->is_array() && !points->empty()) {
        std::vector<int> xs;
        std::vector<int> ys;
        const annot::PageMapper mapper(view);
        for (const Json &point : *points) {
            const QPoint device = mapper.toDevice(annot::number(point, "x"), annot::number(point, "y"));
            xs.push_back(device.x());
            ys.push_back(device.y());
        }
        std::sort(xs.begin(), xs.end());
        std::sort(ys.begin(), ys.end());
        m_state.DragFrom = QPoint(xs.front(), ys.front());
        m_state.DragTo = QPoint(xs.back(), ys.back());
        const annot::PageBox box = toPage(view, m_state.DragFrom, m_state.DragTo);
        Json &point = stroke["point"];
        point["left"] = box.left;
        point["top"] = box.top;
        point["right"] = box.right;
        point["bottom"] = box.bottom;
        m_books.append(&view, settings.AnnotationObject, std::move(stroke));
    }
    m_books.reader().toolbar().btnAnnotPen->click();
}

void TAnnotTools::placeNote(TPdfControl &view, QPoint)
{
    m_state.DragFrom = m_state.LastPoint;
    m_state.DragTo = m_state.LastPoint + QPoint(annot::kNoteBoxPixels, annot::kNoteBoxPixels);
    // The note's page and place are taken now, so paging or pressing in the view while the member writes
    // cannot move it.
    NoteTarget target;
    target.tab = m_books.activeTab();
    target.view = &view;
    target.page = view.PageIndex();
    target.box = toPage(view, m_state.DragFrom, m_state.DragTo);
    m_sticky.openNote(target);
    m_books.reader().toolbar().btnAnnotText->click();
}

int TAnnotTools::hitEntry(TPdfControl &view, TReaderSettings &settings, QRect *box)
{
    const Json &data = annot::entries(settings.AnnotationObject);
    const std::vector<int> &candidates = m_books.entriesOn(&view, settings.AnnotationObject, view.PageIndex());
    return annot::hitTest(data, candidates, annot::PageMapper(view), m_state.LastPoint, box);
}

void TAnnotTools::PDFViewClick(TPdfControl *sender)
{
    try {
        TReaderSettings *settings = activeBook(sender);
        if (!settings || !settings->CurrentAnnotViewState)
            return;
        QRect box;
        if (hitEntry(*sender, *settings, &box) < 0)
            return;
        m_state.DragFrom = box.topLeft();
        m_state.DragTo = box.bottomRight();
        // Framing the framed entry again takes the frame away.
        if (m_overlay.view == sender && m_overlay.frame == box && m_overlay.frameShown) {
            m_overlay.frame = QRect();
        } else {
            m_overlay.view = sender;
            m_overlay.frame = box;
            m_overlay.frameShown = false;
        }
        sender->viewport()->update();
    } catch (const std::exception &error) {
        m_dialogs.error(QStringLiteral("Error Exception #2032 : ") + failureText(error));
    }
}

void TAnnotTools::PDFViewDblClick(TPdfControl *sender)
{
    try {
        TReaderSettings *settings = activeBook(sender);
        if (!settings || !settings->CurrentAnnotViewState)
            return;
        const int position = hitEntry(*sender, *settings, nullptr);
        if (position < 0)
            return;
        const Json entry = annot::entries(settings->AnnotationObject)[size_t(position)];
        const QString type = annot::entryType(entry);
        if (type == QLatin1String(annot::kNotes)) {
            m_notes.showNote(m_books.activeTab(), sender, position, entry);
        } else if (settings->CurrentAnnotDeleteState
                   && (type == QLatin1String(annot::kRectangle) || type == QLatin1String(annot::kHighlight)
                       || type == QLatin1String(annot::kInk))) {
            if (m_dialogs.confirmOkCancel(QStringLiteral("Hapus Anotasi?"))) {
                // The box may have let other events run; the entry is deleted only if it is still there.
                const Json &data = annot::entries(settings->AnnotationObject);
                if (activeBook(sender) == settings && size_t(position) < data.size() && data[size_t(position)] == entry) {
                    m_books.remove(sender, settings->AnnotationObject, position);
                    m_overlay.made = -1;
                }
            }
            sender->viewport()->update();
        }
    } catch (const std::exception &error) {
        m_dialogs.error(QStringLiteral("Error Exception #2036 : ") + failureText(error));
    }
}

void TAnnotTools::PDFViewPaint(TPdfControl *sender)
{
    QPainter *painter = sender->Canvas();
    TReaderSettings *settings = m_books.settingsOf(sender);
    if (!painter || !settings)
        return;
    // What was made or framed once stays only until the repaint after the one that showed it.
    if (m_overlay.view == sender) {
        if (m_overlay.madeShown)
            m_overlay.made = -1;
        if (m_overlay.frameShown)
            m_overlay.frame = QRect();
    }
    if (!settings->CurrentAnnotViewState)
        return;
    painter->save();
    try {
        const Json &data = annot::entries(settings->AnnotationObject);
        const std::vector<int> &onPage = m_books.entriesOn(sender, settings->AnnotationObject, sender->PageIndex());
        const annot::PageMapper mapper(*sender);
        m_strokes.keep(sender, &data, data.size(), m_books.generation(), sender->PageIndex(), mapper.pageRect().size());
        const int made = m_overlay.view == sender ? m_overlay.made : -1;
        for (const int position : onPage) {
            const Json &entry = data[size_t(position)];
            const QString type = position == made ? annot::entryType(entry) : QString();
            if (type == QLatin1String(annot::kHighlight))
                annot::paintMadeHighlight(*painter, entry);
            else if (type == QLatin1String(annot::kRectangle))
                annot::paintMadeRectangle(*painter, m_overlay.madeClip, m_overlay.madeFrom, m_overlay.madeTo,
                                          annot::entryColour(entry));
            else
                annot::paintEntry(*painter, mapper, entry, &m_strokes, position);
        }
        if (m_overlay.view == sender)
            paintOverlays(*painter);
    } catch (const std::exception &error) {
        // A box cannot open inside a paint; it follows at once, and one at a time.
        if (!m_paintErrorPending) {
            m_paintErrorPending = true;
            QTimer::singleShot(0, this, [this, text = failureText(error)] {
                m_dialogs.error(QStringLiteral("Error Exception #1706 : ") + text);
                m_paintErrorPending = false;
            });
        }
    }
    painter->restore();
}

void TAnnotTools::paintOverlays(QPainter &painter)
{
    if (m_overlay.made >= 0)
        m_overlay.madeShown = true;
    if (m_overlay.band)
        annot::paintFocusRect(painter, m_state.DragFrom, m_state.DragTo);
    if (m_overlay.ink.size() > 1) {
        painter.setPen(QPen(annot::colourOf(m_state.InkColor), annot::kInkPenWidth));
        painter.drawPolyline(m_overlay.ink.constData(), int(m_overlay.ink.size()));
    }
    if (!m_overlay.frame.isNull()) {
        annot::paintFocusRect(painter, m_overlay.frame.topLeft(), m_overlay.frame.bottomRight());
        m_overlay.frameShown = true;
    }
}

} // namespace elumira
