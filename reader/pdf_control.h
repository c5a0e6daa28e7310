// TPdfControl: the page view of an open book, one page of a PDF document at a time over Qt PDF.
#pragma once

#include <QAbstractScrollArea>
#include <QBuffer>
#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QList>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QString>

#include <list>
#include <memory>

class QPdfDocument;
class QPainter;

namespace elumira {

class TPdfControl;

// One page of the document as the reader and the annotations see it. Character indexes and text are those of
// the page's text layer; rectangles are in page coordinates (PDF user space, y growing upwards).
class TPdfPage
{
public:
    TPdfPage() = default;

    bool isValid() const { return m_control != nullptr && m_index >= 0; }
    int index() const { return m_index; }
    int GetCharCount() const;
    QString ReadText(int start, int count) const;
    // Rectangles covering a character range, one per line of text; GetTextRect reads the range asked for last.
    int GetTextRectCount(int start, int count);
    QRectF GetTextRect(int i) const;

private:
    friend class TPdfControl;
    TPdfPage(const TPdfControl *control, int index) : m_control(control), m_index(index) {}

    const TPdfControl *m_control = nullptr;
    int m_index = -1;
    QList<QRectF> m_rects;
};

// The view draws one page centred in its client area, scrolls within it, selects text, marks the words of a
// search and turns the page when the reader scrolls past the top or the bottom of a page.
class TPdfControl : public QAbstractScrollArea
{
    Q_OBJECT
public:
    enum TScaleMode { smFitAuto, smFitWidth, smFitHeight, smZoom };

    explicit TPdfControl(QWidget *parent = nullptr);
    ~TPdfControl() override;

    // Loads a document from memory. Throws std::runtime_error with the reason when the bytes are not a PDF
    // document that can be opened.
    void LoadFromStream(const QByteArray &bytes, const QString &password = QString());
    void Close();
    bool isLoaded() const;
    // The document's bytes as loaded (shared, not copied).
    const QByteArray &bytes() const { return m_bytes; }

    int PageIndex() const { return m_pageIndex; }
    // Clamped into the document's pages; writing the page shown does nothing.
    void setPageIndex(int index);
    int PageCount() const;
    void GotoNextPage();
    void GotoPrevPage();

    TScaleMode ScaleMode() const { return m_scaleMode; }
    void setScaleMode(TScaleMode mode);
    int ZoomPercentage() const { return m_zoom; }
    void setZoomPercentage(int percent);

    bool AllowUserTextSelection() const { return m_allowSelection; }
    void setAllowUserTextSelection(bool allow);
    bool AutoPageChange() const { return m_autoPageChange; }
    void setAutoPageChange(bool on) { m_autoPageChange = on; }

    // The selection on the page shown: first character and number of characters (0 when nothing is selected).
    int SelStart() const { return m_selStart; }
    int SelLength() const { return m_selLength; }
    // Selects a character range of the page shown (empty range: clears the selection).
    void selectText(int start, int count);
    void clearSelection();

    TPdfPage CurrentPage() const { return TPdfPage(this, m_pageIndex); }
    TPdfPage Page(int index) const { return TPdfPage(this, index); }

    // Device rectangle the page shown is drawn in.
    QRect GetPageRect() const;
    QPointF DeviceToPage(QPoint point) const;
    QRectF DeviceToPage(const QRect &rect) const;
    QPoint PageToDevice(QPointF point) const;
    QRect PageToDevice(const QRectF &rect) const;
    QString GetTextInRect(const QRect &deviceRect) const;

    // Marks every occurrence of text on whatever page is shown, until cleared or replaced.
    void HightlightText(const QString &SearchText, bool MatchCase, bool MatchWholeWord);
    void ClearHighlightText();
    // The marks of the page shown, in page coordinates.
    const QList<QRectF> &highlightRects() const { return m_marks; }

    // The painter of the frame being painted, while OnPaint runs; null otherwise.
    QPainter *Canvas() const { return m_canvas; }

    // Text of a page, read once and kept; page texts are what searches and marks read most.
    QString pageText(int index) const;
    // Text-layer rectangles of a character range, in page coordinates, one per line.
    QList<QRectF> textRects(int page, int start, int count) const;
    QSizeF pageSize(int index) const;
    // The most memory a view spends on rendered page images (about four pages at 200%).
    static constexpr int kRenderCacheBytes = 32 * 1024 * 1024;

signals:
    void OnPageChange(TPdfControl *sender);
    void OnPaint(TPdfControl *sender);
    void OnMouseDown(TPdfControl *sender, Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);
    // buttons: the mouse buttons held during the move.
    void OnMouseMove(TPdfControl *sender, Qt::KeyboardModifiers modifiers, QPoint pos, Qt::MouseButtons buttons);
    void OnMouseUp(TPdfControl *sender, Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);
    void OnClick(TPdfControl *sender);
    void OnDblClick(TPdfControl *sender);
    void OnKeyUp(TPdfControl *sender, int key, Qt::KeyboardModifiers modifiers);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    // Device pixels per page point at the current scale.
    double scale() const;
    double scaleFor(QSize viewportSize, bool withVerticalBar) const;
    QSize scaledPageSize() const;
    void updateLayout();
    // Scrolls vertically by delta pixels, turning the page when the position cannot move and the page is
    // taller than the view.
    void scrollVertically(int delta);
    void showPage(int index, bool fromBottom);
    void recomputeMarks();
    void updateSelection(QPoint deviceEnd);
    QImage pageImage(int index, QSize size);
    void onVerticalAction(int action);

    std::unique_ptr<QPdfDocument> m_document;
    QByteArray m_bytes;
    QBuffer m_buffer;
    int m_pageIndex = 0;
    TScaleMode m_scaleMode = smZoom;
    int m_zoom = 100;
    bool m_allowSelection = false;
    bool m_autoPageChange = false;

    int m_selStart = 0;
    int m_selLength = 0;
    QList<QPolygonF> m_selection; // page coordinates
    bool m_selecting = false;
    QPointF m_selectionAnchor; // page coordinates

    QString m_markText;
    bool m_markCase = false;
    bool m_markWholeWord = false;
    QList<QRectF> m_marks;

    QPainter *m_canvas = nullptr;
    bool m_pressed = false;

    mutable QHash<int, QString> m_texts;
    struct CachedImage
    {
        int page;
        QSize size;
        QImage image;
    };
    std::list<CachedImage> m_images; // most recently used first
    qsizetype m_imageBytes = 0;
};

} // namespace elumira
