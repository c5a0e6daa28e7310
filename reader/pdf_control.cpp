// The page view of an open book: layout, rendering with a bounded cache, scrolling, the automatic page change,
// selection, search marks and the conversion between view pixels and page coordinates.
#include "reader/pdf_control.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPdfDocument>
#include <QPdfSelection>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace elumira {

namespace {

constexpr int kArrowStep = 25;
constexpr int kWheelZoomStep = 5;
constexpr int kMinZoom = 10;
constexpr int kMaxZoom = 800;
const QColor kBackground(0x52, 0x56, 0x59);
const QColor kSelectionColour(0x33, 0x77, 0xdd, 90);
const QColor kMarkColour(0xff, 0xd4, 0x00, 110);

QString loadErrorText(QPdfDocument::Error error)
{
    switch (error) {
    case QPdfDocument::Error::None:
        return {};
    case QPdfDocument::Error::DataNotYetAvailable:
        return QStringLiteral("the book file is incomplete");
    case QPdfDocument::Error::FileNotFound:
        return QStringLiteral("the book file is empty");
    case QPdfDocument::Error::InvalidFileFormat:
        return QStringLiteral("the book file is not a PDF document");
    case QPdfDocument::Error::IncorrectPassword:
        return QStringLiteral("the book file needs a password");
    case QPdfDocument::Error::UnsupportedSecurityScheme:
        return QStringLiteral("the book file is protected in a way that cannot be read");
    case QPdfDocument::Error::Unknown:
        break;
    }
    return QStringLiteral("the book file cannot be opened");
}

// Groups the text-layer boxes of a range into one box per line: boxes whose heights overlap by at least half
// of the smaller one belong to the same line. Boxes are in Qt PDF's page points, y growing downwards.
QList<QRectF> mergeIntoLines(const QList<QPolygonF> &bounds)
{
    QList<QRectF> lines;
    for (const QPolygonF &polygon : bounds) {
        const QRectF box = polygon.boundingRect();
        if (box.isEmpty())
            continue;
        bool merged = false;
        for (QRectF &line : lines) {
            const double overlap = std::min(line.bottom(), box.bottom()) - std::max(line.top(), box.top());
            if (overlap >= 0.5 * std::min(line.height(), box.height())) {
                line = line.united(box);
                merged = true;
                break;
            }
        }
        if (!merged)
            lines.append(box);
    }
    return lines;
}

bool isWordCharacter(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

} // namespace

int TPdfPage::GetCharCount() const
{
    return isValid() ? static_cast<int>(m_control->pageText(m_index).size()) : 0;
}

QString TPdfPage::ReadText(int start, int count) const
{
    if (!isValid() || start < 0 || count <= 0)
        return {};
    return m_control->pageText(m_index).mid(start, count);
}

int TPdfPage::GetTextRectCount(int start, int count)
{
    m_rects = isValid() ? m_control->textRects(m_index, start, count) : QList<QRectF>();
    return static_cast<int>(m_rects.size());
}

QRectF TPdfPage::GetTextRect(int i) const
{
    return i >= 0 && i < m_rects.size() ? m_rects[i] : QRectF();
}

TPdfControl::TPdfControl(QWidget *parent) : QAbstractScrollArea(parent), m_document(std::make_unique<QPdfDocument>())
{
    setFocusPolicy(Qt::StrongFocus);
    setFrameShape(QFrame::NoFrame);
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
    verticalScrollBar()->setSingleStep(kArrowStep);
    horizontalScrollBar()->setSingleStep(kArrowStep);
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this, &TPdfControl::onVerticalAction);
}

TPdfControl::~TPdfControl()
{
    // The document reads from the buffer until it is closed.
    m_document->close();
}

void TPdfControl::LoadFromStream(const QByteArray &bytes, const QString &password)
{
    Close();
    m_bytes = bytes;
    m_buffer.close();
    m_buffer.setBuffer(&m_bytes);
    m_buffer.open(QIODevice::ReadOnly);
    if (!password.isEmpty())
        m_document->setPassword(password);
    m_document->load(&m_buffer);
    if (m_document->status() != QPdfDocument::Status::Ready || m_document->pageCount() <= 0) {
        const QString reason = m_document->status() == QPdfDocument::Status::Ready
                                   ? QStringLiteral("the book file has no pages")
                                   : loadErrorText(m_document->error());
        Close();
        throw std::runtime_error(reason.toStdString());
    }
    m_pageIndex = 0;
    updateLayout();
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    viewport()->update();
}

void TPdfControl::Close()
{
    m_document->close();
    m_buffer.close();
    m_bytes.clear();
    m_texts.clear();
    m_images.clear();
    m_imageBytes = 0;
    m_pageIndex = 0;
    m_selStart = m_selLength = 0;
    m_selection.clear();
    m_marks.clear();
    updateLayout();
    viewport()->update();
}

bool TPdfControl::isLoaded() const
{
    return m_document->status() == QPdfDocument::Status::Ready && m_document->pageCount() > 0;
}

int TPdfControl::PageCount() const
{
    return isLoaded() ? m_document->pageCount() : 0;
}

void TPdfControl::setPageIndex(int index)
{
    if (!isLoaded())
        return;
    index = std::clamp(index, 0, PageCount() - 1);
    if (index == m_pageIndex)
        return;
    showPage(index, false);
}

void TPdfControl::GotoNextPage()
{
    if (m_pageIndex + 1 < PageCount())
        setPageIndex(m_pageIndex + 1);
}

void TPdfControl::GotoPrevPage()
{
    if (m_pageIndex > 0)
        setPageIndex(m_pageIndex - 1);
}

void TPdfControl::showPage(int index, bool fromBottom)
{
    m_pageIndex = index;
    clearSelection();
    updateLayout();
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(fromBottom ? verticalScrollBar()->maximum() : 0);
    recomputeMarks();
    viewport()->update();
    emit OnPageChange(this);
}

void TPdfControl::setScaleMode(TScaleMode mode)
{
    m_scaleMode = mode;
    updateLayout();
    viewport()->update();
}

void TPdfControl::setZoomPercentage(int percent)
{
    m_zoom = std::clamp(percent, kMinZoom, kMaxZoom);
    updateLayout();
    viewport()->update();
}

void TPdfControl::setAllowUserTextSelection(bool allow)
{
    m_allowSelection = allow;
    m_selecting = false;
    viewport()->setCursor(allow ? Qt::IBeamCursor : Qt::ArrowCursor);
}

QSizeF TPdfControl::pageSize(int index) const
{
    if (!isLoaded() || index < 0 || index >= m_document->pageCount())
        return {};
    return m_document->pagePointSize(index);
}

double TPdfControl::scaleFor(QSize area, bool withVerticalBar) const
{
    const QSizeF page = pageSize(m_pageIndex);
    if (page.isEmpty() || area.isEmpty())
        return 1.0;
    const double width = area.width() - (withVerticalBar ? style()->pixelMetric(QStyle::PM_ScrollBarExtent) : 0);
    switch (m_scaleMode) {
    case smFitAuto:
        return std::min(area.width() / page.width(), area.height() / page.height());
    case smFitWidth:
        return width / page.width();
    case smFitHeight:
        return area.height() / page.height();
    case smZoom:
        break;
    }
    return m_zoom / 100.0 * logicalDpiX() / 72.0;
}

double TPdfControl::scale() const
{
    const QSize area = maximumViewportSize();
    if (m_scaleMode != smFitWidth)
        return scaleFor(area, false);
    // Fitting the width: when the page is then taller than the view, its scroll bar takes part of the width.
    const double wide = scaleFor(area, false);
    return pageSize(m_pageIndex).height() * wide > area.height() ? scaleFor(area, true) : wide;
}

QSize TPdfControl::scaledPageSize() const
{
    const QSizeF page = pageSize(m_pageIndex);
    if (page.isEmpty())
        return {};
    const double s = scale();
    return QSize(std::max(1, int(std::lround(page.width() * s))), std::max(1, int(std::lround(page.height() * s))));
}

void TPdfControl::updateLayout()
{
    const QSize page = scaledPageSize();
    const QSize area = viewport()->size();
    QScrollBar *vertical = verticalScrollBar();
    QScrollBar *horizontal = horizontalScrollBar();
    vertical->setRange(0, std::max(0, page.height() - area.height()));
    vertical->setPageStep(std::max(1, area.height()));
    horizontal->setRange(0, std::max(0, page.width() - area.width()));
    horizontal->setPageStep(std::max(1, area.width()));
}

QRect TPdfControl::GetPageRect() const
{
    const QSize page = scaledPageSize();
    if (page.isEmpty())
        return {};
    const QSize area = viewport()->size();
    const int x = page.width() < area.width() ? (area.width() - page.width()) / 2 : -horizontalScrollBar()->value();
    const int y = page.height() < area.height() ? (area.height() - page.height()) / 2 : -verticalScrollBar()->value();
    return QRect(QPoint(x, y), page);
}

QPointF TPdfControl::DeviceToPage(QPoint point) const
{
    const QRect rect = GetPageRect();
    const QSizeF page = pageSize(m_pageIndex);
    if (rect.isEmpty() || page.isEmpty())
        return {};
    const double sx = rect.width() / page.width();
    const double sy = rect.height() / page.height();
    return QPointF((point.x() - rect.x()) / sx, page.height() - (point.y() - rect.y()) / sy);
}

QRectF TPdfControl::DeviceToPage(const QRect &rect) const
{
    return QRectF(DeviceToPage(rect.topLeft()), DeviceToPage(rect.bottomRight()));
}

QPoint TPdfControl::PageToDevice(QPointF point) const
{
    const QRect rect = GetPageRect();
    const QSizeF page = pageSize(m_pageIndex);
    if (rect.isEmpty() || page.isEmpty())
        return {};
    const double sx = rect.width() / page.width();
    const double sy = rect.height() / page.height();
    return QPoint(int(std::lround(rect.x() + point.x() * sx)), int(std::lround(rect.y() + (page.height() - point.y()) * sy)));
}

QRect TPdfControl::PageToDevice(const QRectF &rect) const
{
    return QRect(PageToDevice(QPointF(rect.left(), rect.top())), PageToDevice(QPointF(rect.right(), rect.bottom())));
}

QString TPdfControl::pageText(int index) const
{
    if (!isLoaded() || index < 0 || index >= m_document->pageCount())
        return {};
    auto found = m_texts.constFind(index);
    if (found == m_texts.constEnd())
        found = m_texts.insert(index, m_document->getAllText(index).text());
    return *found;
}

QList<QRectF> TPdfControl::textRects(int page, int start, int count) const
{
    if (!isLoaded() || page < 0 || page >= m_document->pageCount() || start < 0 || count <= 0)
        return {};
    const double height = m_document->pagePointSize(page).height();
    QList<QRectF> rects;
    for (const QRectF &line : mergeIntoLines(m_document->getSelectionAtIndex(page, start, count).bounds())) {
        // Corners as the page has them: top above bottom, y growing upwards.
        rects.append(QRectF(QPointF(line.left(), height - line.top()), QPointF(line.right(), height - line.bottom())));
    }
    return rects;
}

QString TPdfControl::GetTextInRect(const QRect &deviceRect) const
{
    if (!isLoaded())
        return {};
    const QRect rect = deviceRect.normalized();
    const double height = pageSize(m_pageIndex).height();
    const QPointF start = DeviceToPage(rect.topLeft());
    const QPointF end = DeviceToPage(rect.bottomRight());
    return m_document->getSelection(m_pageIndex, QPointF(start.x(), height - start.y()), QPointF(end.x(), height - end.y()))
        .text();
}

void TPdfControl::selectText(int start, int count)
{
    m_selection.clear();
    m_selStart = m_selLength = 0;
    if (isLoaded() && start >= 0 && count > 0) {
        const QPdfSelection selection = m_document->getSelectionAtIndex(m_pageIndex, start, count);
        m_selStart = selection.startIndex();
        m_selLength = std::max(0, selection.endIndex() - selection.startIndex());
        for (const QRectF &line : textRects(m_pageIndex, m_selStart, m_selLength))
            m_selection.append(QPolygonF(line));
    }
    viewport()->update();
}

void TPdfControl::clearSelection()
{
    m_selecting = false;
    if (m_selLength == 0 && m_selection.isEmpty())
        return;
    m_selStart = m_selLength = 0;
    m_selection.clear();
    viewport()->update();
}

void TPdfControl::updateSelection(QPoint deviceEnd)
{
    const double height = pageSize(m_pageIndex).height();
    const QPointF end = DeviceToPage(deviceEnd);
    const QPdfSelection selection = m_document->getSelection(
        m_pageIndex, QPointF(m_selectionAnchor.x(), height - m_selectionAnchor.y()), QPointF(end.x(), height - end.y()));
    m_selection.clear();
    m_selStart = m_selLength = 0;
    if (selection.isValid() && selection.endIndex() > selection.startIndex()) {
        m_selStart = selection.startIndex();
        m_selLength = selection.endIndex() - selection.startIndex();
        for (const QRectF &line : textRects(m_pageIndex, m_selStart, m_selLength))
            m_selection.append(QPolygonF(line));
    }
    viewport()->update();
}

void TPdfControl::HightlightText(const QString &SearchText, bool MatchCase, bool MatchWholeWord)
{
    m_markText = SearchText;
    m_markCase = MatchCase;
    m_markWholeWord = MatchWholeWord;
    recomputeMarks();
    viewport()->update();
}

void TPdfControl::ClearHighlightText()
{
    m_markText.clear();
    m_marks.clear();
    viewport()->update();
}

void TPdfControl::recomputeMarks()
{
    m_marks.clear();
    if (m_markText.isEmpty() || !isLoaded())
        return;
    const QString text = pageText(m_pageIndex);
    const Qt::CaseSensitivity sensitivity = m_markCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    const qsizetype length = m_markText.size();
    for (qsizetype at = text.indexOf(m_markText, 0, sensitivity); at >= 0;
         at = text.indexOf(m_markText, at + 1, sensitivity)) {
        if (m_markWholeWord) {
            const bool startsWord = at == 0 || !isWordCharacter(text[at - 1]);
            const bool endsWord = at + length >= text.size() || !isWordCharacter(text[at + length]);
            if (!startsWord || !endsWord)
                continue;
        }
        m_marks.append(textRects(m_pageIndex, int(at), int(length)));
    }
}

QImage TPdfControl::pageImage(int index, QSize size)
{
    for (auto it = m_images.begin(); it != m_images.end(); ++it) {
        if (it->page == index && it->size == size) {
            m_images.splice(m_images.begin(), m_images, it);
            return m_images.front().image;
        }
    }
    QPdfDocumentRenderOptions options;
    options.setRenderFlags(QPdfDocumentRenderOptions::RenderFlag::Annotations);
    QImage image = m_document->render(index, size, options);
    if (image.isNull())
        return image;
    m_images.push_front({index, size, image});
    m_imageBytes += image.sizeInBytes();
    while (m_imageBytes > kRenderCacheBytes && m_images.size() > 1) {
        m_imageBytes -= m_images.back().image.sizeInBytes();
        m_images.pop_back();
    }
    return image;
}

void TPdfControl::paintEvent(QPaintEvent *)
{
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), kBackground);
    const QRect rect = GetPageRect();
    if (isLoaded() && !rect.isEmpty()) {
        const qreal ratio = devicePixelRatioF();
        QImage image = pageImage(m_pageIndex, (QSizeF(rect.size()) * ratio).toSize());
        // Pages come rendered on a transparent ground; paper is white.
        painter.fillRect(rect, Qt::white);
        if (!image.isNull()) {
            image.setDevicePixelRatio(ratio);
            painter.drawImage(rect.topLeft(), image);
        }
        auto fillPageRects = [&](const QList<QRectF> &rects, const QColor &colour) {
            for (const QRectF &r : rects)
                painter.fillRect(QRect(PageToDevice(r)).normalized(), colour);
        };
        painter.setCompositionMode(QPainter::CompositionMode_Multiply);
        QList<QRectF> selection;
        for (const QPolygonF &polygon : std::as_const(m_selection))
            selection.append(QRectF(polygon[0], polygon[2]));
        fillPageRects(selection, kSelectionColour);
        fillPageRects(m_marks, kMarkColour);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    m_canvas = &painter;
    emit OnPaint(this);
    m_canvas = nullptr;
}

void TPdfControl::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateLayout();
}

void TPdfControl::scrollContentsBy(int, int)
{
    viewport()->update();
}

void TPdfControl::scrollVertically(int delta)
{
    QScrollBar *bar = verticalScrollBar();
    if (delta == 0 || bar->maximum() <= 0)
        return;
    const int before = bar->value();
    bar->setValue(before + delta);
    if (m_autoPageChange && bar->value() == before) {
        if (before == 0)
            GotoPrevPage();
        else
            GotoNextPage();
    }
}

void TPdfControl::onVerticalAction(int action)
{
    if (action == QAbstractSlider::SliderNoAction || !m_autoPageChange)
        return;
    QScrollBar *bar = verticalScrollBar();
    if (bar->maximum() <= 0 || bar->sliderPosition() != bar->value())
        return;
    // The bar applies its own step after this signal; the page turns once it has.
    const bool previous = bar->value() == 0;
    QMetaObject::invokeMethod(
        this, [this, previous] { previous ? GotoPrevPage() : GotoNextPage(); }, Qt::QueuedConnection);
}

void TPdfControl::wheelEvent(QWheelEvent *event)
{
    const QPoint angle = event->angleDelta();
    const int distance = angle.y() != 0 ? angle.y() : angle.x();
    if (event->modifiers() & Qt::ControlModifier) {
        if (m_scaleMode == smZoom && distance != 0)
            setZoomPercentage(m_zoom + kWheelZoomStep * distance / 120);
    } else if ((event->modifiers() & Qt::ShiftModifier) || angle.y() == 0) {
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() - distance);
    } else {
        scrollVertically(-angle.y());
    }
    event->accept();
}

void TPdfControl::keyPressEvent(QKeyEvent *event)
{
    const bool control = event->modifiers() & Qt::ControlModifier;
    const int step = (event->modifiers() & Qt::ShiftModifier) ? 2 * kArrowStep : kArrowStep;
    QScrollBar *vertical = verticalScrollBar();
    switch (event->key()) {
    case Qt::Key_Down:
        scrollVertically(step);
        break;
    case Qt::Key_Up:
        scrollVertically(-step);
        break;
    case Qt::Key_Right:
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() + step);
        break;
    case Qt::Key_Left:
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() - step);
        break;
    case Qt::Key_PageDown:
        if (vertical->value() >= vertical->maximum())
            GotoNextPage();
        else
            vertical->setValue(vertical->value() + vertical->pageStep());
        break;
    case Qt::Key_PageUp:
        if (vertical->value() <= 0) {
            if (m_pageIndex > 0)
                showPage(m_pageIndex - 1, true);
        } else {
            vertical->setValue(vertical->value() - vertical->pageStep());
        }
        break;
    case Qt::Key_Home:
        if (control)
            setPageIndex(0);
        else
            vertical->setValue(0);
        break;
    case Qt::Key_End:
        if (control)
            setPageIndex(PageCount() - 1);
        else
            vertical->setValue(vertical->maximum());
        break;
    case Qt::Key_A:
        if (!control) {
            event->ignore();
            return;
        }
        if (m_allowSelection)
            selectText(0, CurrentPage().GetCharCount());
        break;
    case Qt::Key_C:
    case Qt::Key_Insert:
        // Copying is the reader's own business at the key's release; the view copies nothing itself.
        if (!(control && m_allowSelection && m_selLength > 0)) {
            event->ignore();
            return;
        }
        break;
    default:
        event->ignore();
        return;
    }
    event->accept();
}

void TPdfControl::keyReleaseEvent(QKeyEvent *event)
{
    if (event->isAutoRepeat()) {
        event->ignore();
        return;
    }
    emit OnKeyUp(this, event->key(), event->modifiers());
    event->accept();
}

void TPdfControl::mousePressEvent(QMouseEvent *event)
{
    setFocus(Qt::MouseFocusReason);
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        m_pressed = true;
        if (m_allowSelection && isLoaded()) {
            clearSelection();
            m_selecting = true;
            m_selectionAnchor = DeviceToPage(pos);
        }
    }
    emit OnMouseDown(this, event->button(), event->modifiers(), pos);
}

void TPdfControl::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (m_selecting && (event->buttons() & Qt::LeftButton))
        updateSelection(pos);
    emit OnMouseMove(this, event->modifiers(), pos, event->buttons());
}

void TPdfControl::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton && m_selecting) {
        m_selecting = false;
        if (DeviceToPage(pos) != m_selectionAnchor)
            updateSelection(pos);
    }
    const bool click = event->button() == Qt::LeftButton && m_pressed && viewport()->rect().contains(pos);
    if (event->button() == Qt::LeftButton)
        m_pressed = false;
    if (click)
        emit OnClick(this);
    emit OnMouseUp(this, event->button(), event->modifiers(), pos);
}

void TPdfControl::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        m_pressed = true;
        emit OnDblClick(this);
    }
    emit OnMouseDown(this, event->button(), event->modifiers(), event->position().toPoint());
}

} // namespace elumira
