// The reader's tool bar: framed groups of glyph buttons, the zoom box, the page box and the search box.
#pragma once

#include <QString>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QToolButton;
class QWidget;

namespace elumira {

// Builds the controls into the tool bar panel it is given; the panel owns them.
class TReaderToolbar
{
public:
    // Glyph colours of the tool buttons, as 0x00BBGGRR: a mode that is on, and one that is off.
    static constexpr int kActiveGlyphColour = 0x0006D0D3;
    static constexpr int kIdleGlyphColour = 0;
    static constexpr int kHeight = 71;

    explicit TReaderToolbar(QWidget *panel);

    // Shows a tool's state by the colour of its glyph.
    static void setGlyphColour(QToolButton *button, int colour);
    static int glyphColour(const QToolButton *button);

    QWidget *panel = nullptr;
    QToolButton *btnReturn = nullptr;
    QWidget *groupBookmark = nullptr;
    QToolButton *btnBookmark = nullptr;
    QToolButton *btnInfo = nullptr;
    QComboBox *cmbZoom = nullptr;
    QCheckBox *CheckAutoPage = nullptr;
    QToolButton *btnPrevious = nullptr;
    QLineEdit *edPage = nullptr;
    QToolButton *btnNext = nullptr;
    QToolButton *btnTextSelect = nullptr;
    QCheckBox *AnnotView = nullptr;
    QToolButton *btnAnnotSettings = nullptr;
    QToolButton *btnAnnotHighlight = nullptr;
    QToolButton *btnAnnotRect = nullptr;
    QToolButton *btnAnnotPen = nullptr;
    QToolButton *btnAnnotText = nullptr;
    QToolButton *btnAnnotDelete = nullptr;
    QLineEdit *edSearch = nullptr;
    QToolButton *btnSearchPrevious = nullptr;
    QToolButton *btnSearchNext = nullptr;
};

} // namespace elumira
