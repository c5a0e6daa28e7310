// Registering the icon font that the forms' glyph buttons use.
#include "forms/icon_font.h"

#include <QFontDatabase>

namespace elumira {

void registerIconFont()
{
    static const bool registered = QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/fa-solid-900.ttf")) >= 0;
    if (!registered)
        qWarning("The icon font could not be registered");
}

QFont iconFont(int pixelSize)
{
    QFont font(QStringLiteral("Font Awesome 5 Free"));
    font.setStyleStrategy(QFont::PreferDefault);
    font.setWeight(QFont::Black);
    font.setPixelSize(pixelSize);
    return font;
}

} // namespace elumira
