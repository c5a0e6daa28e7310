// The reader panel in a window of its own, with the demo library service and a logged-in member behind it.
#pragma once

#include "common/dialogs.h"
#include "common/json_read.h"
#include "demo/service.h"
#include "reader/reader_panel.h"
#include "service/lekora_lib.h"
#include "tests/support/reader_window.h"

#include <QTabWidget>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>

class QTimer;

namespace elumira::test {

class ReaderOnDemo : public ::testing::Test, public ReaderWindow
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Opens a PDF made in the test in tab i, as an opening would once the loan has been granted. The detail
    // answer's data holds id, a title "Buku <id>", the page total, and any further members given.
    void openLocal(int i, const QByteArray &pdf, const QString &id, const QString &total = QStringLiteral("240"),
                   const Json &moreData = Json::object());
    // Opens a book of the demo library in the first free tab, through the download and the loan.
    void openFromService(const QString &id);
    size_t requestsTo(const char *path);
    Json lastRequestTo(const char *path);
    void tick(QTimer *timer, int times);

    QTemporaryDir books;
    std::unique_ptr<demo::Service> service;
    RecordingDialogs dialogs;
    std::shared_ptr<TLekoraLib> lekora;
};

} // namespace elumira::test
