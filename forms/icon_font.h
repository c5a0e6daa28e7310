// The icon font of the forms' glyph buttons ("Font Awesome 5 Free", solid).
#pragma once

#include <QFont>

namespace elumira {

// Registers the icon font once per run.
void registerIconFont();
// The icon font at a pixel size.
QFont iconFont(int pixelSize);

} // namespace elumira
