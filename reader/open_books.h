// The records of the open books: what the service said about each book and its loan, and the reader's state
// for it, kept in two dictionaries of the main window.
#pragma once

#include "common/background_task.h"
#include "common/json_read.h"

#include <QString>

#include <map>
#include <memory>

class QTimer;
class QWidget;

namespace elumira {

// A book's metadata and loan identifiers as the service gave them when the loan was granted.
class TDetailBook
{
public:
    QString id;
    QWidget *TabSheet = nullptr; // the tab showing the book; not owned
    QString id_baca;
    int page_index = 0;
    QString file_anotasi;
    int rate = 0;
    QString kode;
    QString judul;
    QString tahun_terbit;
    QString sinopsis;
    int halaman_romawi = 0;
    int halaman_total = 0;
    QString penulis;
    QString penerbit;
    QString isbn;
    QString kategori;
    QString dept;
    QString mla_style;
    QString chicago_style;
    QString turabian_style;
    QString apa_style;
    QString harvard_style;
    QString ieee_style;

    // The record of a loan: the book's fields from the detail answer's data, the loan's from the permission.
    static std::unique_ptr<TDetailBook> fromAnswers(const Json &detail, const Json &permission);
};

// The reader's state for one open book.
class TReaderSettings
{
public:
    QString CurrentPage;
    int CurrentZoomIndex = 2;
    bool CurrentAnnotViewState = true;
    bool CurrentTextSelectState = false;
    bool CurrentTextAnnotState = false;
    bool CurrentRectAnnotState = false;
    bool CurrentHighlightAnnotState = false;
    bool CurrentPenAnnotState = false;
    bool CurrentAnnotDeleteState = false;
    QString CurrentSearchKeyWord;
    bool AutoPageChange = true;
    Json AnnotationObject;
    Json TextCopyObject;
    int IdleTime = 0;
    int CheckingTime = 0;
    QTimer *TimerIdle = nullptr;     // owned by the book's view
    QTimer *TimerChecking = nullptr; // owned by the book's view
    bool TimerRunning = false;
    TaskHandle TimerTask;
    int ReadStatus = 1;
    QString IdBaca;
    // A return of the book is on its way to the service.
    bool Returning = false;
};

// The two dictionaries: detail records by the book's id, reader settings by the tab's name. Each owns its
// records, so removing an entry frees it.
class OpenBooks
{
public:
    bool containsBook(const QString &id) const { return m_details.count(id) != 0; }
    // Adds a detail record; false (nothing added) when a record with the same id is there already.
    bool addDetail(std::unique_ptr<TDetailBook> record);
    void addSettings(const QString &tabName, std::unique_ptr<TReaderSettings> settings);

    TDetailBook *detail(const QString &id) const;
    // The first record whose tab is sheet, in the order of the books' ids.
    TDetailBook *detailOfTab(const QWidget *sheet) const;
    TReaderSettings *settings(const QString &tabName) const;

    void removeDetail(const QString &id) { m_details.erase(id); }
    void removeSettings(const QString &tabName) { m_settings.erase(tabName); }

    int detailCount() const { return static_cast<int>(m_details.size()); }
    int settingsCount() const { return static_cast<int>(m_settings.size()); }

private:
    std::map<QString, std::unique_ptr<TDetailBook>> m_details;
    std::map<QString, std::unique_ptr<TReaderSettings>> m_settings;
};

} // namespace elumira
