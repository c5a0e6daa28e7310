// Small pieces the annotation windows share: glyph buttons and placing a window in the middle of the screen.
#pragma once

#include <QColor>

class QToolButton;
class QWidget;

namespace elumira::annot {

// A flat button showing one glyph of the icon font; its hint, when there is one, is its tooltip, and what it
// does is its accessible name.
QToolButton *glyphButton(QWidget *parent, const char *name, char16_t glyph, const char *hint, const char *purpose,
                         int pixelSize = 16);

// Shows a window centred on the screen it is on, raised and active.
void showCentred(QWidget *window);

// Sets a widget's background colour.
void setBackground(QWidget *widget, const QColor &colour);

} // namespace elumira::annot
