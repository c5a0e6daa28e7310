// Page files in the data folder and their URLs.
#include "pages/page_writer.h"

#include "common/browser_view.h"

#include <QFile>

namespace elumira::pages {

QString pagePath(const QString &dataPath, const QString &fileName)
{
    return dataPath + QLatin1Char('/') + fileName;
}

QUrl pageUrl(const QString &dataPath, const QString &fileName)
{
    return QUrl::fromLocalFile(pagePath(dataPath, fileName));
}

void writePageFile(const QString &path, const QString &text)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw PageWriteError(QStringLiteral("Cannot create %1: %2").arg(path, file.errorString()).toStdString());
    const QByteArray bytes = text.toUtf8();
    if (file.write(bytes) != bytes.size() || !file.flush())
        throw PageWriteError(QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()).toStdString());
    file.close();
    if (file.error() != QFileDevice::NoError)
        throw PageWriteError(QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()).toStdString());
}

void writeAndLoadPage(const QString &dataPath, const QString &fileName, const QString &text, BrowserView &view)
{
    writePageFile(pagePath(dataPath, fileName), text);
    view.loadUrl(pageUrl(dataPath, fileName));
}

} // namespace elumira::pages
