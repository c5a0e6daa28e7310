// Writes the demo library's long and short books with the demo service's own book writer.
#include "bench/demo_books.h"

#include "demo/book_files.h"
#include "demo/book_text.h"
#include "demo/catalogue.h"

#include <QDir>
#include <QFileInfo>

#include <atomic>
#include <stdexcept>

namespace elumira::bench {

DemoBookFiles writeDemoBooks(const QString &dir)
{
    QDir().mkpath(dir);
    const demo::Catalogue catalogue;
    const demo::Book *longest = nullptr;
    const demo::Book *shortest = nullptr;
    for (const demo::Book &book : catalogue.books()) {
        if (!longest || book.pages > longest->pages)
            longest = &book;
        if (!shortest || book.pages < shortest->pages)
            shortest = &book;
    }
    const std::atomic<bool> cancel{false};
    auto write = [&](const demo::Book &book) {
        const QString path = dir + QLatin1Char('/') + QString::fromStdString(book.namaPcFile);
        if (!QFileInfo(path).isFile() && !demo::BookFiles::writePdf(book, demo::composeBook(book), path, cancel))
            throw std::runtime_error("cannot write " + path.toStdString());
        return path;
    };
    return {write(*longest), write(*shortest)};
}

} // namespace elumira::bench
