// The reader: the open books in the three tabs, their records, and opening a borrowed book from its download
// to its first page.
#pragma once

#include "common/json_read.h"
#include "reader/book_text_index.h"
#include "reader/open_books.h"
#include "reader/reader_toolbar.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

#include <array>
#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <optional>

class QTabWidget;
class QTimer;
class QWidget;

namespace elumira {

class Dialogs;
class TLekoraLib;
class TPdfControl;

// What the reader asks of the window around it: the library views it leaves behind, and the reader panel.
struct ReaderHost
{
    // The log-in page in front, when the service says the account is used elsewhere.
    std::function<void()> showLoginPage;
    // How much of a book file has arrived; total 0 when the size is not known.
    std::function<void(qint64 received, qint64 total)> showDownloadProgress;
    // The reader panel to the front.
    std::function<void()> showReader;
    // Whether the window has agreed to close; openings then stop where they are.
    std::function<bool()> closing;
    // The book information window for a tab's book, and the annotation colour window.
    std::function<void(QWidget *sheet)> showBookInfo;
    std::function<void()> showAnnotSettings;
};

// One opening of a book, carried from the press of "BACA" to the book's first page, so that overlapping
// openings never share their bytes or their detail answer.
struct BookOpening
{
    // The detail answer the opening started from.
    Json detail;
    // A sentence-search hit: the zero-based page it is on, and the sentence's keyword.
    std::optional<int> sentencePage;
    QString sentenceKeyword;
    // Brings back the library page the member pressed "BACA" on, as they left it, when the opening ends,
    // whether the book opened or not; the reader then comes in front of it when it did.
    std::function<void()> giveBack;

    // Filled on the way.
    QByteArray bytes;
    Json permission;
    std::optional<QByteArray> annotation;
    QString annotationError;

    QString bookId() const;
    QString pageTotal() const;
    QString title() const;
};

class TReaderPanel : public QObject
{
    Q_OBJECT
public:
    // The names of the tabs are the keys of their books' reader settings.
    // searchBusy is the window's one search flag, shared with the catalogue search.
    TReaderPanel(std::weak_ptr<TLekoraLib> lekora, Dialogs &dialogs, QWidget *toolbarPanel, QTabWidget *pageControl,
                 std::array<QWidget *, 3> sheets, int &openBookCount, std::atomic<bool> &searchBusy, ReaderHost host,
                 QObject *parent = nullptr);
    ~TReaderPanel() override;

    // Fetches the book file of the opening's detail answer, then asks for the loan and opens the book.
    void openBook(BookOpening opening);

    // The stages of an opening, in order; each runs on the UI thread.
    void netRequestRequestCompleted(BookOpening opening, long status);
    void netRequestRequestError(const BookOpening &opening, const QString &error);
    void ReadPermissionDone(BookOpening opening);
    // Opens the bytes in a new view in Tab at the loan's last page; false (nothing left behind) on failure.
    // The reader panel comes to the front only when the whole opening has succeeded.
    bool streamProcess(BookOpening &opening, QWidget *Tab, int PageIdx, const QString &IdBaca);

    // Handlers of the views and the tool bar.
    void PDFViewPageChange(TPdfControl *sender);
    void PDFViewMouseMove(TPdfControl *sender);

    // Reading timers, read status and the return.
    void TimerTick(QTimer *sender);
    void ReadStatusDone(const QString &key, const Json &answer);
    void btnReturnClick();
    // What a return brought back: the service's answer and, when it took the book, the documents that could
    // not be saved (empty when both were).
    struct ReturnOutcome
    {
        Json answer;
        QString unsaved;
    };
    void BookReturnDone(const QString &key, const QString &id, const ReturnOutcome &outcome);

    // Tool bar: page navigation, zoom, tab switch, tool modes.
    void btnNextClick();
    void btnPreviousClick();
    void cmbZoomChange();
    void PageControl1Change();
    void ButtonAnnotClick(QObject *Sender);

    // In-book search.
    void btnSearchNextClick();
    void btnSearchPreviousClick();
    void edSearchChange();
    void edSearchKeyPress(QChar key);
    // What a search reports: 1 found on a page, 3 not found, 13 failed.
    struct SearchMessage
    {
        int kind = 0;
        int page = -1;
        QString text;
    };
    // Looks for keyword in the pages after (direction 1) or before (any other) the page shown, in a document
    // of its own made from the book's bytes, so the view is never touched off the UI thread.
    // Pages already in the book's text index are scanned in memory.
    static std::optional<SearchMessage> searchPages(const QByteArray &book, int shownPage, const QString &keyword,
                                                    int direction, const BookTextIndex *index = nullptr);
    void searchDone(const QString &keyword, const std::optional<SearchMessage> &message);

    static constexpr int kIdleLimit = 1800;
    static constexpr int kReportPeriod = 300;

    // The book of a tab, if it holds one: its view, its records.
    TPdfControl *viewOf(const QWidget *sheet) const;
    QWidget *activeSheet() const;
    QWidget *freeSheet() const;
    // Takes a book out of the reader: its view, its records and its tab; the open-book count goes down.
    void removeBook(QWidget *sheet);
    // Sends a returned book's annotations and copied passages; names those the service did not take.
    static QString saveDocuments(const TLekoraLib &lekora, const QString &anotasi, const QString &textCopy);
    // Tells the member which documents of a returned book were not saved, if any.
    void reportUnsavedDocuments(const QString &unsaved);

    OpenBooks &books() { return m_books; }
    const std::array<QWidget *, 3> &sheets() const { return m_sheets; }
    TReaderToolbar &toolbar() { return m_toolbar; }

signals:
    // A book's view has been made and wired, before its document is loaded.
    void viewCreated(TPdfControl *view);

private:
    void startPermission(BookOpening opening);
    void startSearch(int direction);
    void wireToolbar();
    // The active book's view and settings, when the active tab holds one.
    TReaderSettings *activeSettings() const;
    void rollBack(QWidget *sheet, const QString &bookId, bool countRaised);
    void updateTabBar();

    std::weak_ptr<TLekoraLib> m_lekora;
    Dialogs &m_dialogs;
    QTabWidget *m_pageControl;
    std::array<QWidget *, 3> m_sheets;
    int &m_openBookCount;
    std::atomic<bool> &m_searchBusy;
    ReaderHost m_host;
    TReaderToolbar m_toolbar;
    OpenBooks m_books;
    // The page texts of each open book, by its tab's name.
    std::map<QString, std::shared_ptr<BookTextIndex>> m_textIndexes;
};

} // namespace elumira
