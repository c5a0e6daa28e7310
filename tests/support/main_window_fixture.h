// A main window on real views against the demo library service, and helpers to drive its pages.
#pragma once

#include "common/dialogs.h"
#include "common/json_read.h"
#include "common/process_message.h"
#include "demo/control.h"
#include "demo/service.h"
#include "shell/main_window.h"

#include <QTemporaryDir>
#include <QWebEngineProfile>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

namespace elumira::test {

class MainWindowOnDemo : public ::testing::Test
{
protected:
    static constexpr const char *kEmail = "sekar.ayuningtyas@telmarin.example";
    static constexpr const char *kPassword = "Baca2024";

    // Starts the demo service, the service client and the main window, and waits for the log-in page.
    void SetUp() override;
    void TearDown() override;

    // Whether the view has loaded the data-folder file (and, when given, shows the title).
    static bool showing(TChromium *view, const char *file, const char *title = nullptr);
    // Waits until the view has the file fully loaded.
    static bool waitShowing(TChromium *view, const char *file, int timeoutMs = 30000);
    // Clicks the first element matching the selector, once the page has fully loaded.
    static bool click(TChromium *view, const QString &selector);

    void send(const QString &name, const QList<ProcessMessage::Argument> &arguments = {}, TChromium *sender = nullptr);
    size_t requestsTo(const char *path) const;
    void addFault(const char *path, std::optional<int> status, const std::string &body);
    QWidget *front() const;

    // Logs in through the log-in page, as the member would, and waits for the home page.
    void logIn();

    QTemporaryDir books;
    std::unique_ptr<demo::Service> service;
    RecordingDialogs dialogs;
    UpdateOffer update;
    std::shared_ptr<TLekoraLib> lekora;
    std::unique_ptr<QWebEngineProfile> profile;
    std::unique_ptr<TFormMain> window;
};

} // namespace elumira::test
