// Helpers for tests that compare generated page text: the service address the pages are built for, fixed
// texts written with CR LF line ends, and the parts of a page.
#pragma once

#include <QFile>
#include <QString>

namespace elumira::test {

// The service address the generators are given in tests that only compare text.
inline const QString kService = QStringLiteral("http://127.0.0.1:8765");

// A fixture text written with plain line ends, as the pages write it: with CR LF.
inline QString crlf(const char *text)
{
    return QString::fromUtf8(text).replace(QLatin1String("\n"), QLatin1String("\r\n"));
}

// What a page holds after its header bar; empty when it has none.
inline QString afterHeader(const QString &page)
{
    const QString end = QStringLiteral("</header>\r\n");
    const qsizetype at = page.indexOf(end);
    return at < 0 ? QString() : page.mid(at + end.size());
}

// The bytes of a file; empty when it cannot be read.
inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace elumira::test
