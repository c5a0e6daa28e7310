// The tool bar's handlers: page navigation, zoom, the switch between open books, and the tool modes.
#include "reader/reader_panel.h"

#include "common/dialogs.h"
#include "reader/pdf_control.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QToolButton>

#include <stdexcept>

namespace elumira {

namespace {

// A tool mode: its button and where the book's settings keep its state.
struct ToolMode
{
    QToolButton *button;
    bool TReaderSettings::*state;
};

void setMode(TReaderSettings &settings, const ToolMode &mode, bool on)
{
    settings.*mode.state = on;
    TReaderToolbar::setGlyphColour(mode.button, on ? TReaderToolbar::kActiveGlyphColour : TReaderToolbar::kIdleGlyphColour);
}

} // namespace

void TReaderPanel::wireToolbar()
{
    connect(m_toolbar.btnNext, &QToolButton::clicked, this, &TReaderPanel::btnNextClick);
    connect(m_toolbar.btnPrevious, &QToolButton::clicked, this, &TReaderPanel::btnPreviousClick);
    // Only the member's own choice re-zooms; the opening and a tab switch set the box without it.
    connect(m_toolbar.cmbZoom, &QComboBox::activated, this, &TReaderPanel::cmbZoomChange);
    connect(m_pageControl, &QTabWidget::currentChanged, this, &TReaderPanel::PageControl1Change);
    for (QToolButton *button : {m_toolbar.btnTextSelect, m_toolbar.btnAnnotHighlight, m_toolbar.btnAnnotRect,
                                m_toolbar.btnAnnotPen, m_toolbar.btnAnnotText, m_toolbar.btnAnnotDelete,
                                m_toolbar.btnAnnotSettings, m_toolbar.btnInfo})
        connect(button, &QToolButton::clicked, this, [this, button] { ButtonAnnotClick(button); });
    for (QCheckBox *box : {m_toolbar.AnnotView, m_toolbar.CheckAutoPage})
        connect(box, &QCheckBox::clicked, this, [this, box] { ButtonAnnotClick(box); });
    connect(m_toolbar.btnSearchNext, &QToolButton::clicked, this, &TReaderPanel::btnSearchNextClick);
    connect(m_toolbar.btnSearchPrevious, &QToolButton::clicked, this, &TReaderPanel::btnSearchPreviousClick);
    connect(m_toolbar.edSearch, &QLineEdit::textChanged, this, &TReaderPanel::edSearchChange);
    connect(m_toolbar.edSearch, &QLineEdit::returnPressed, this, [this] { edSearchKeyPress(QChar(13)); });
}

TReaderSettings *TReaderPanel::activeSettings() const
{
    QWidget *sheet = activeSheet();
    return viewOf(sheet) ? m_books.settings(sheet->objectName()) : nullptr;
}

void TReaderPanel::btnNextClick()
{
    TPdfControl *view = viewOf(activeSheet());
    if (!view)
        return;
    try {
        if (view->PageIndex() + 1 < view->PageCount())
            view->setPageIndex(view->PageIndex() + 1);
    } catch (const std::exception &error) {
        m_dialogs.error(QStringLiteral("Failed Going Next Page : ") + QString::fromUtf8(error.what()));
    }
}

void TReaderPanel::btnPreviousClick()
{
    TPdfControl *view = viewOf(activeSheet());
    if (!view)
        return;
    try {
        if (view->PageIndex() != 0)
            view->setPageIndex(view->PageIndex() - 1);
    } catch (const std::exception &error) {
        m_dialogs.error(QStringLiteral("Failed Going Previous Page : ") + QString::fromUtf8(error.what()));
    }
}

void TReaderPanel::cmbZoomChange()
{
    QWidget *sheet = activeSheet();
    TPdfControl *view = viewOf(sheet);
    TReaderSettings *settings = activeSettings();
    if (!view || !settings)
        return;
    const int index = m_toolbar.cmbZoom->currentIndex();
    switch (index) {
    case 0:
        view->setScaleMode(TPdfControl::smFitAuto);
        break;
    case 1:
        view->setScaleMode(TPdfControl::smFitWidth);
        break;
    case 2:
    case 3:
        view->setScaleMode(TPdfControl::smZoom);
        view->setZoomPercentage(index == 2 ? 100 : 200);
        break;
    default:
        return;
    }
    settings->CurrentZoomIndex = index;
}

void TReaderPanel::PageControl1Change()
{
    QWidget *sheet = activeSheet();
    TPdfControl *view = viewOf(sheet);
    TReaderSettings *settings = activeSettings();
    if (!view || !settings)
        return;
    try {
        m_toolbar.edPage->setText(settings->CurrentPage);
        m_toolbar.cmbZoom->setCurrentIndex(settings->CurrentZoomIndex);
        {
            // Putting the book's word back is not the member emptying the box: the marks stay.
            const QSignalBlocker quiet(m_toolbar.edSearch);
            m_toolbar.edSearch->setText(settings->CurrentSearchKeyWord);
        }
        m_toolbar.AnnotView->setChecked(settings->CurrentAnnotViewState);
        const ToolMode modes[] = {
            {m_toolbar.btnAnnotText, &TReaderSettings::CurrentTextAnnotState},
            {m_toolbar.btnAnnotRect, &TReaderSettings::CurrentRectAnnotState},
            {m_toolbar.btnAnnotHighlight, &TReaderSettings::CurrentHighlightAnnotState},
            {m_toolbar.btnAnnotPen, &TReaderSettings::CurrentPenAnnotState},
            {m_toolbar.btnTextSelect, &TReaderSettings::CurrentTextSelectState},
            {m_toolbar.btnAnnotDelete, &TReaderSettings::CurrentAnnotDeleteState},
        };
        for (const ToolMode &mode : modes)
            setMode(*settings, mode, settings->*mode.state);
        view->setAllowUserTextSelection(settings->CurrentHighlightAnnotState || settings->CurrentTextSelectState);
        view->setAutoPageChange(settings->AutoPageChange);
        m_toolbar.CheckAutoPage->setChecked(settings->AutoPageChange);
        view->viewport()->update();
    } catch (const std::exception &error) {
        m_dialogs.error(QStringLiteral("Error Exception #1336 : ") + QString::fromUtf8(error.what()));
    }
}

void TReaderPanel::ButtonAnnotClick(QObject *Sender)
{
    QWidget *sheet = activeSheet();
    TPdfControl *view = viewOf(sheet);
    TReaderSettings *settings = activeSettings();
    if (!view || !settings)
        return;
    try {
        if (Sender == m_toolbar.AnnotView) {
            settings->CurrentAnnotViewState = m_toolbar.AnnotView->isChecked();
            view->viewport()->update();
            return;
        }
        if (Sender == m_toolbar.CheckAutoPage) {
            view->setAutoPageChange(m_toolbar.CheckAutoPage->isChecked());
            settings->AutoPageChange = m_toolbar.CheckAutoPage->isChecked();
            return;
        }
        if (Sender == m_toolbar.btnInfo) {
            if (m_host.showBookInfo)
                m_host.showBookInfo(sheet);
            return;
        }
        if (Sender == m_toolbar.btnAnnotSettings) {
            if (m_host.showAnnotSettings)
                m_host.showAnnotSettings();
            return;
        }

        const ToolMode note{m_toolbar.btnAnnotText, &TReaderSettings::CurrentTextAnnotState};
        const ToolMode rect{m_toolbar.btnAnnotRect, &TReaderSettings::CurrentRectAnnotState};
        const ToolMode highlight{m_toolbar.btnAnnotHighlight, &TReaderSettings::CurrentHighlightAnnotState};
        const ToolMode ink{m_toolbar.btnAnnotPen, &TReaderSettings::CurrentPenAnnotState};
        const ToolMode select{m_toolbar.btnTextSelect, &TReaderSettings::CurrentTextSelectState};
        const ToolMode erase{m_toolbar.btnAnnotDelete, &TReaderSettings::CurrentAnnotDeleteState};
        // For each tool: the modes it switches off, whether the view then selects text (unset: unchanged),
        // and whether annotations are forced into view.
        enum class Selection { Allowed, NotAllowed, Unchanged };
        const struct
        {
            ToolMode mode;
            QList<ToolMode> switchesOff;
            Selection selection;
            bool showsAnnotations;
            bool switchingOffStopsSelection;
        } tools[] = {
            {select, {note, rect, ink, highlight}, Selection::Allowed, false, true},
            {highlight, {note, select, rect, ink}, Selection::Allowed, true, true},
            {rect, {note, highlight, ink, select}, Selection::NotAllowed, true, true},
            {ink, {note, highlight, rect, select}, Selection::NotAllowed, true, false},
            {note, {ink, highlight, select, rect}, Selection::Unchanged, true, false},
            {erase, {ink, highlight, rect, select, note}, Selection::NotAllowed, true, false},
        };
        for (const auto &tool : tools) {
            if (Sender != tool.mode.button)
                continue;
            if (settings->*tool.mode.state) {
                setMode(*settings, tool.mode, false);
                if (tool.switchingOffStopsSelection)
                    view->setAllowUserTextSelection(false);
                return;
            }
            setMode(*settings, tool.mode, true);
            for (const ToolMode &other : tool.switchesOff)
                setMode(*settings, other, false);
            if (tool.selection != Selection::Unchanged)
                view->setAllowUserTextSelection(tool.selection == Selection::Allowed);
            if (tool.showsAnnotations) {
                settings->CurrentAnnotViewState = true;
                m_toolbar.AnnotView->setChecked(true);
                view->viewport()->update();
            }
            return;
        }
    } catch (const std::exception &error) {
        m_dialogs.error(QStringLiteral("Error Exception #1355 : ") + QString::fromUtf8(error.what()));
    }
}

} // namespace elumira
