// The annotation documents of the open books as the tools and the note windows reach them: by the tab that
// shows the book, with an index of each document's entries by page kept in step with every change.
#pragma once

#include "annotations/annot_document.h"

#include <QObject>
#include <QString>

#include <unordered_map>

namespace elumira {

class TPdfControl;
class TReaderPanel;
class TReaderSettings;

class AnnotBooks : public QObject
{
    Q_OBJECT
public:
    explicit AnnotBooks(TReaderPanel &reader, QObject *parent = nullptr);

    TReaderPanel &reader() const { return m_reader; }
    // The book shown in a tab: its view and its reader settings; null when the tab holds no book.
    TPdfControl *view(const QString &tab) const;
    TReaderSettings *settings(const QString &tab) const;
    // The tab a view is shown in, and its book's settings; empty or null when the view holds no open book.
    QString tabOf(const TPdfControl *view) const;
    TReaderSettings *settingsOf(const TPdfControl *view) const;
    // The active tab's name, when it holds a book.
    QString activeTab() const;

    // The positions of a book's entries on a page, in document order.
    const std::vector<int> &entriesOn(const TPdfControl *view, const Json &document, int page);
    // Appends an entry to a book's document; returns its position.
    int append(const TPdfControl *view, Json &document, Json entry);
    void remove(const TPdfControl *view, Json &document, int position);
    // Counts every append and delete, so that what is drawn from a document knows when to draw it afresh.
    quint64 generation() const { return m_generation; }

private:
    annot::PageIndex &indexOf(const TPdfControl *view);

    TReaderPanel &m_reader;
    std::unordered_map<const TPdfControl *, annot::PageIndex> m_indexes;
    quint64 m_generation = 0;
};

} // namespace elumira
