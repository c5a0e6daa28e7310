// The program's own pictures (:/logo.svg, its icon :/icon.svg) and its icon font (:/fonts/fa-solid-900.ttf).
#include "resources/program_resources.h"

#include <QFontDatabase>

namespace elumira {

QIcon programIcon()
{
    return QIcon(QStringLiteral(":/icon.svg"));
}

bool registerIconFont()
{
    static const bool registered = QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/fa-solid-900.ttf")) >= 0;
    if (!registered)
        qWarning("The icon font could not be registered");
    return registered;
}

QFont iconFont(int pixelSize)
{
    registerIconFont();
    QFont font(QString::fromLatin1(kIconFontFamily));
    font.setStyleStrategy(QFont::PreferDefault);
    font.setWeight(QFont::Black);
    font.setPixelSize(pixelSize);
    return font;
}

} // namespace elumira
