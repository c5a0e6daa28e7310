// The demo library's books as files for the reader benchmarks: the long one (1,000 pages) and a short one.
#pragma once

#include <QString>

namespace elumira::bench {

struct DemoBookFiles
{
    QString longBook;  // 1,000 pages
    QString shortBook; // the shortest of the catalogue
};

// Writes the two books into dir (once; files already there are kept) and returns their paths.
DemoBookFiles writeDemoBooks(const QString &dir);

} // namespace elumira::bench
