// Writes small PDF documents with QPdfWriter, at 72 dots per inch so painter units are page points.
#include "tests/support/test_pdf.h"

#include <QBuffer>
#include <QFont>
#include <QPainter>
#include <QPdfWriter>

namespace elumira::test {

QByteArray makePdf(const QList<QStringList> &pages, QPageSize size)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageSize(size);
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setResolution(72);
        QPainter painter(&writer);
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(12);
        painter.setFont(font);
        for (qsizetype p = 0; p < pages.size(); ++p) {
            if (p > 0)
                writer.newPage();
            int baseline = 62;
            for (const QString &line : pages[p]) {
                painter.drawText(50, baseline, line);
                baseline += 20;
            }
        }
    }
    return bytes;
}

QByteArray makeNumberedPdf(int pageCount, QPageSize size)
{
    QList<QStringList> pages;
    for (int i = 1; i <= pageCount; ++i)
        pages.append({QStringLiteral("Page %1").arg(i), QStringLiteral("The quick brown fox jumps over the lazy dog."),
                      QStringLiteral("Reading is a journey of a thousand pages.")});
    return makePdf(pages, size);
}

} // namespace elumira::test
