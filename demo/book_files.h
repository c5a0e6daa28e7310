// The demo books as PDF files: written with QPdfWriter from the composed page texts and kept in the data folder, so
// that only the first start pays for them.
#pragma once

#include "demo/book_text.h"
#include "demo/catalogue.h"

#include <QString>

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace demo {

class BookFiles
{
public:
    BookFiles(const Catalogue &catalogue, const QString &dataDir);
    ~BookFiles();

    // The composed pages of a book; composed on first use and kept.
    const BookText &text(const Book &book);

    // The book's file, written first when the cache lacks it; empty when it cannot be written.
    QString file(const Book &book);
    QString cachePath(const Book &book) const;

    // Writes every missing file on one background thread, smallest books first.
    void startBackground();
    void stop();

    // Writes one book; false when writing failed or cancel became true on the way (no file is left then).
    static bool writePdf(const Book &book, const BookText &text, const QString &path, const std::atomic<bool> &cancel);

private:
    struct Slot
    {
        std::once_flag composed;
        std::unique_ptr<BookText> text;
        std::mutex writing;
    };
    Slot &slot(const Book &book);

    const Catalogue &m_catalogue;
    QString m_dir;
    std::vector<std::unique_ptr<Slot>> m_slots; // in catalogue order
    std::atomic<bool> m_stop{false};
    std::thread m_background;
};

} // namespace demo
