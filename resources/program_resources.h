// The program's own pictures and its icon font, embedded as resources.
#pragma once

#include <QFont>
#include <QIcon>

namespace elumira {

// The family of the icon font whose glyphs label the program's buttons ("Font Awesome 5 Free", solid).
inline constexpr const char *kIconFontFamily = "Font Awesome 5 Free";

// The program's icon, drawn as SVG and so sharp at every size.
QIcon programIcon();

// Registers the icon font once per run; false when it could not be registered.
bool registerIconFont();
// The icon font at a pixel size, registered first when needed.
QFont iconFont(int pixelSize);

} // namespace elumira
