// A reader panel on real widgets in a window of its own, and books opened in its tabs from PDF bytes made in
// the test, as an opening does once the loan has been granted.
#pragma once

#include "common/dialogs.h"
#include "reader/open_books.h"
#include "reader/pdf_control.h"
#include "reader/reader_panel.h"

#include <QByteArray>
#include <QString>
#include <QTabWidget>
#include <QWidget>

#include <atomic>
#include <memory>
#include <optional>

namespace elumira::test {

class ReaderWindow
{
public:
    ReaderWindow() = default;
    ~ReaderWindow() { panel.reset(); }

    // Builds the tool bar and the three tabs (named as the main window names them) around a new reader panel,
    // shows the window at 1366 by 768 and waits until it is on screen; false when it never showed.
    bool buildReader(std::weak_ptr<TLekoraLib> lekora, Dialogs &dialogs, ReaderHost host = {});

    // Opens a PDF in tab i as the book id. The detail answer's data holds id, a title "Buku <id>", the page
    // total and any further members given; annotation, when given, is the document the service kept for the book.
    bool openLocal(int i, const QByteArray &pdf, const QString &id, const QString &total = QStringLiteral("240"),
                   const Json &moreData = Json::object(), std::optional<QByteArray> annotation = std::nullopt);

    TReaderToolbar &bar() { return panel->toolbar(); }
    QWidget *sheet(int i) { return panel->sheets()[size_t(i)]; }
    TPdfControl *view(int i) { return panel->viewOf(sheet(i)); }
    TReaderSettings &settings(int i) { return *panel->books().settings(sheet(i)->objectName()); }

    QWidget window;
    QTabWidget *tabs = nullptr;
    int openBooks = 0;
    std::atomic<bool> searchBusy{false};
    std::unique_ptr<TReaderPanel> panel;
};

} // namespace elumira::test
