// Small PDF documents made in the tests, with real text a reader can select and search.
#pragma once

#include <QByteArray>
#include <QList>
#include <QPageSize>
#include <QStringList>

namespace elumira::test {

// One page per entry, each a list of text lines written top-down from the page's upper left corner, in a
// 12-point font with 20 points between lines and 50 points of margin.
QByteArray makePdf(const QList<QStringList> &pages, QPageSize size = QPageSize(QPageSize::A5));

// Numbered pages ("Page 1", "Page 2", ...), each with a few lines of ordinary text.
QByteArray makeNumberedPdf(int pageCount, QPageSize size = QPageSize(QPageSize::A5));

} // namespace elumira::test
