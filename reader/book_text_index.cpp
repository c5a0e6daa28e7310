// Reads an open book's page texts in the background, page by page, each call to the PDF engine short so the
// view's rendering is never kept waiting long.
#include "reader/book_text_index.h"

#include "common/background_task.h"

#include <QBuffer>
#include <QLocale>
#include <QPdfDocument>
#include <QPdfSelection>
#include <QThread>

namespace elumira {

std::shared_ptr<BookTextIndex> BookTextIndex::start(const QByteArray &book)
{
    auto index = std::make_shared<BookTextIndex>();
    // The worker holds the index; a cancelled reading ends at its next page.
    (void)runOnPool([index, book] {
        QThread::currentThread()->setPriority(QThread::LowPriority);
        index->run(book);
    });
    return index;
}

std::shared_ptr<BookTextIndex> BookTextIndex::build(const QByteArray &book)
{
    auto index = std::make_shared<BookTextIndex>();
    index->run(book);
    return index;
}

void BookTextIndex::run(const QByteArray &book)
{
    QByteArray bytes = book;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QPdfDocument document;
    document.load(&buffer);
    if (document.status() == QPdfDocument::Status::Ready) {
        const int count = document.pageCount();
        m_pageCount = count;
        {
            const std::lock_guard lock(m_mutex);
            m_pages.reserve(count);
        }
        const QLocale locale;
        for (int page = 0; page < count && !m_cancelled; ++page) {
            QString text = locale.toUpper(document.getAllText(page).text());
            const std::lock_guard lock(m_mutex);
            m_pages.append(std::move(text));
            m_read = page + 1;
        }
    }
    document.close();
    m_finished = true;
}

std::optional<QString> BookTextIndex::upperText(int page) const
{
    if (page < 0 || page >= m_read.load())
        return std::nullopt;
    const std::lock_guard lock(m_mutex);
    return m_pages.at(page);
}

} // namespace elumira
