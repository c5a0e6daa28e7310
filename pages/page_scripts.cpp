// Reading the pages' inline scripts from the library's resources.
#include "pages/page_scripts.h"

#include <QFile>

#include <stdexcept>

namespace elumira::pages {

QString pageScript(const QString &name)
{
    QFile file(QStringLiteral(":/pages/%1.js").arg(name));
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error(QStringLiteral("The page script %1 is missing").arg(name).toStdString());
    QString text = QString::fromUtf8(file.readAll());
    text.remove(QLatin1Char('\r'));
    while (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return text;
}

QString tilePageScript(const QString &name)
{
    return pageScript(QStringLiteral("read_only_stars")) + QLatin1String("\r\n") + pageScript(name);
}

} // namespace elumira::pages
