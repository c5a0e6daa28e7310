// The in-book search: a word looked for page by page, forwards or backwards from the page shown, off the UI
// thread, and marked on the first page that has it.
#include "reader/reader_panel.h"

#include "common/background_task.h"
#include "common/dialogs.h"
#include "reader/pdf_control.h"

#include <QBuffer>
#include <QLineEdit>
#include <QLocale>
#include <QPdfDocument>
#include <QPdfSelection>

#include <memory>

namespace elumira {

std::optional<TReaderPanel::SearchMessage> TReaderPanel::searchPages(const QByteArray &book, int shownPage,
                                                                    const QString &keyword, int direction,
                                                                    const BookTextIndex *index)
{
    try {
        // The document is opened only for pages the index has not read yet.
        QByteArray bytes = book;
        QBuffer buffer(&bytes);
        std::unique_ptr<QPdfDocument> document;
        auto openDocument = [&] {
            if (document)
                return;
            document = std::make_unique<QPdfDocument>();
            buffer.open(QIODevice::ReadOnly);
            document->load(&buffer);
            if (document->status() != QPdfDocument::Status::Ready)
                throw std::runtime_error("the book cannot be read");
        };
        int count = index && index->finished() && index->pageCount() > 0 ? index->pageCount() : -1;
        if (count < 0) {
            openDocument();
            count = document->pageCount();
        }
        const int first = direction == 1 ? shownPage + 1 : shownPage - 1;
        const int step = direction == 1 ? 1 : -1;
        if (first < 0 || first >= count)
            return std::nullopt;
        const QLocale locale;
        const QString word = locale.toUpper(keyword);
        for (int page = first; page >= 0 && page < count; page += step) {
            std::optional<QString> text = index ? index->upperText(page) : std::nullopt;
            if (!text) {
                openDocument();
                text = locale.toUpper(document->getAllText(page).text());
            }
            if (text->contains(word))
                return SearchMessage{1, page, {}};
        }
        return SearchMessage{3, -1, QStringLiteral("Tidak Ditemukan")};
    } catch (const std::exception &error) {
        return SearchMessage{13, -1, QStringLiteral("Error Exception #1338 : ") + QString::fromUtf8(error.what())};
    }
}

void TReaderPanel::startSearch(int direction)
{
    QWidget *sheet = activeSheet();
    TPdfControl *view = viewOf(sheet);
    TReaderSettings *settings = activeSettings();
    const QString keyword = m_toolbar.edSearch->text();
    if (!view || !settings || keyword.isEmpty())
        return;
    // Busy from the request on, so a second search cannot slip in before this one's worker starts.
    bool idle = false;
    if (!m_searchBusy.compare_exchange_strong(idle, true))
        return;
    settings->CurrentSearchKeyWord = keyword;
    const auto indexed = m_textIndexes.find(sheet->objectName());
    std::shared_ptr<BookTextIndex> index = indexed == m_textIndexes.end() ? nullptr : indexed->second;
    runTask<std::optional<SearchMessage>>(
        QStringLiteral("searchWorker"), this,
        [book = view->bytes(), shown = view->PageIndex(), keyword, direction, index] {
            return searchPages(book, shown, keyword, direction, index.get());
        },
        [this, keyword](std::optional<SearchMessage> message) {
            searchDone(keyword, message);
            m_searchBusy = false;
        });
}

void TReaderPanel::searchDone(const QString &keyword, const std::optional<SearchMessage> &message)
{
    if (!message)
        return;
    switch (message->kind) {
    case 1:
        // The page goes to whichever book is in front now.
        if (TPdfControl *view = viewOf(activeSheet())) {
            view->setPageIndex(message->page);
            view->HightlightText(keyword, false, true);
        }
        break;
    case 3:
        m_dialogs.show(Dialogs::Kind::Information, message->text, Dialogs::Buttons::Yes);
        break;
    default:
        m_dialogs.show(Dialogs::Kind::Error, message->text, Dialogs::Buttons::Yes);
        break;
    }
}

void TReaderPanel::btnSearchNextClick()
{
    startSearch(1);
}

void TReaderPanel::btnSearchPreviousClick()
{
    startSearch(0);
}

void TReaderPanel::edSearchKeyPress(QChar key)
{
    if (key == QChar(13) && !m_toolbar.edSearch->text().isEmpty())
        btnSearchNextClick();
}

void TReaderPanel::edSearchChange()
{
    if (!m_toolbar.edSearch->text().isEmpty())
        return;
    if (TPdfControl *view = viewOf(activeSheet()))
        view->ClearHighlightText();
}

} // namespace elumira
