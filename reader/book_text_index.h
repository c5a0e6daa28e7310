// The upper-cased text of every page of an open book, read once in the background and kept while the book is
// open, so that a search scans memory instead of the document.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>

namespace elumira {

class BookTextIndex
{
public:
    // Starts reading the pages of the book, first to last, on a worker thread of its own document.
    static std::shared_ptr<BookTextIndex> start(const QByteArray &book);
    // The same, on the calling thread, to its end; for measurements.
    static std::shared_ptr<BookTextIndex> build(const QByteArray &book);

    // The page's text upper-cased with the locale's rules, once it has been read.
    std::optional<QString> upperText(int page) const;
    int pagesRead() const { return m_read.load(); }
    int pageCount() const { return m_pageCount.load(); }
    bool finished() const { return m_finished.load(); }
    // Stops the reading (the book has gone back); what was read stays readable.
    void cancel() { m_cancelled = true; }

private:
    void run(const QByteArray &book);

    mutable std::mutex m_mutex;
    QList<QString> m_pages;
    std::atomic<int> m_read{0};
    std::atomic<int> m_pageCount{0};
    std::atomic<bool> m_finished{false};
    std::atomic<bool> m_cancelled{false};
};

} // namespace elumira
