// The open books' annotation documents by tab, and their page indexes, one per book view.
#include "annotations/annot_books.h"

#include "reader/pdf_control.h"
#include "reader/reader_panel.h"

namespace elumira {

AnnotBooks::AnnotBooks(TReaderPanel &reader, QObject *parent) : QObject(parent), m_reader(reader) {}

TPdfControl *AnnotBooks::view(const QString &tab) const
{
    for (QWidget *sheet : m_reader.sheets()) {
        if (sheet && sheet->objectName() == tab)
            return m_reader.viewOf(sheet);
    }
    return nullptr;
}

TReaderSettings *AnnotBooks::settings(const QString &tab) const
{
    return view(tab) ? m_reader.books().settings(tab) : nullptr;
}

QString AnnotBooks::tabOf(const TPdfControl *view) const
{
    for (QWidget *sheet : m_reader.sheets()) {
        if (view && sheet && m_reader.viewOf(sheet) == view)
            return sheet->objectName();
    }
    return {};
}

TReaderSettings *AnnotBooks::settingsOf(const TPdfControl *view) const
{
    const QString tab = tabOf(view);
    return tab.isEmpty() ? nullptr : m_reader.books().settings(tab);
}

QString AnnotBooks::activeTab() const
{
    QWidget *sheet = m_reader.activeSheet();
    return sheet && m_reader.viewOf(sheet) ? sheet->objectName() : QString();
}

annot::PageIndex &AnnotBooks::indexOf(const TPdfControl *view)
{
    auto found = m_indexes.find(view);
    if (found == m_indexes.end()) {
        found = m_indexes.emplace(view, annot::PageIndex()).first;
        // A view lives as long as its book is open; its index goes with it.
        connect(view, &QObject::destroyed, this, [this, view] { m_indexes.erase(view); });
    }
    return found->second;
}

const std::vector<int> &AnnotBooks::entriesOn(const TPdfControl *view, const Json &document, int page)
{
    const Json &data = annot::entries(document);
    annot::PageIndex &index = indexOf(view);
    if (!index.isFor(data))
        index.rebuild(data);
    return index.entriesOn(page);
}

int AnnotBooks::append(const TPdfControl *view, Json &document, Json entry)
{
    Json &data = annot::entries(document);
    annot::PageIndex &index = indexOf(view);
    if (!index.isFor(data))
        index.rebuild(data);
    data.push_back(std::move(entry));
    index.appended(data);
    ++m_generation;
    return int(data.size() - 1);
}

void AnnotBooks::remove(const TPdfControl *view, Json &document, int position)
{
    Json &data = annot::entries(document);
    if (position < 0 || size_t(position) >= data.size())
        return;
    annot::PageIndex &index = indexOf(view);
    if (!index.isFor(data))
        index.rebuild(data);
    data.erase(data.begin() + position);
    index.removed(data, position);
    ++m_generation;
}

} // namespace elumira
