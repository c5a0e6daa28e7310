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

QString readPageFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw PageWriteError(QStringLiteral("Cannot open %1: %2").arg(path, file.errorString()).toStdString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw PageWriteError(QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()).toStdString());
    return QString::fromUtf8(bytes);
}

QStringList splitPageLines(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        lines << text.mid(start, i - start);
        if (c == QLatin1Char('\r') && i + 1 < size && text.at(i + 1) == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    if (start < size)
        lines << text.mid(start);
    return lines;
}

QString joinPageLines(const QStringList &lines)
{
    QString text;
    for (const QString &line : lines)
        text += line + QLatin1String(kLineBreak);
    return text;
}

} // namespace elumira::pages
