// Fixtures for the generators that read the partner configuration: a service client whose configuration
// came from a local server, with a recording view or with a real view.
#pragma once

#include "common/dialogs.h"
#include "service/lekora_lib.h"
#include "tests/support/page_view.h"
#include "tests/support/recording_view.h"
#include "tests/support/capture_server.h"
#include "tests/support/page_text.h"

#include <gtest/gtest.h>

#include <QFile>

#include <memory>

namespace elumira::test {

// The partner configuration the pages are branded with.
inline constexpr char kPartnerConfiguration[] = R"json({"code":"200","data":{"nama":"Perpustakaan Telmarin",
    "logo":"logo kepala.png","warna_header":"#204060","warna_button_login":"#1a7f5a",
    "warna_hover_button_login":"#145c42","warna_hover_baca":"#c0392b"}})json";

// A service client of its own, its configuration fetched from a local server, and a view that records what
// the generators ask of it. For the generators' writes, loads and failures.
class PartnerServiceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qputenv("ELUMIRA_SERVICE_URL", server.url());
        service = std::make_unique<TLekoraLib>(dialogs);
        ASSERT_TRUE(dialogs.boxes().isEmpty());
    }
    void TearDown() override
    {
        service.reset();
        qunsetenv("ELUMIRA_SERVICE_URL");
    }

    void fetchConfiguration(const QByteArray &configuration = kPartnerConfiguration)
    {
        server.queue({200, "OK", "application/json", configuration});
        service->getClientJson();
        ASSERT_TRUE(dialogs.boxes().isEmpty());
    }

    // A new service client with a fresh data folder, no answers, no boxes and a fresh view, for the next case
    // of a table. The old client removes its data folder as it goes, so it goes before the new one builds it.
    void startAfresh()
    {
        service.reset();
        service = std::make_unique<TLekoraLib>(dialogs);
        dialogs.clear();
        view = RecordingView();
    }

    QString serviceUrl() const { return QString::fromLatin1(server.url()); }
    QString pageFile(const char *fileName) const { return service->DataPath() + QLatin1Char('/') + fileName; }
    QUrl pageFileUrl(const char *fileName) const { return QUrl::fromLocalFile(pageFile(fileName)); }

    // The one box shown, which must be an error with OK whose text starts with the prefix and goes on (with
    // the failure's own message, which mentions the given text when one is given).
    void expectOneFailureBox(const char *prefix, const QString &mentions = {})
    {
        ASSERT_EQ(dialogs.boxes().size(), 1);
        const RecordingDialogs::Box box = dialogs.boxes()[0];
        EXPECT_EQ(box.kind, RecordingDialogs::Kind::Error);
        EXPECT_EQ(box.buttons, RecordingDialogs::Buttons::Ok);
        EXPECT_TRUE(box.text.startsWith(QLatin1String(prefix))) << box.text.toStdString();
        EXPECT_GT(box.text.size(), qsizetype(qstrlen(prefix)) + mentions.size())
            << "the failure's own message is missing";
        EXPECT_TRUE(box.text.contains(mentions)) << box.text.toStdString();
    }

    CaptureServer server;
    RecordingDialogs dialogs;
    std::unique_ptr<TLekoraLib> service;
    RecordingView view;
};

// A real view over the suite's data folder, with the partner configuration fetched from a local server.
class PartnerViewTest : public PageViewTest
{
protected:
    void SetUp() override
    {
        qputenv("ELUMIRA_SERVICE_URL", server.url());
        PageViewTest::SetUp();
        server.setDefault({200, "OK", "application/json", kPartnerConfiguration});
        s_service->getClientJson();
        ASSERT_TRUE(s_dialogs->boxes().isEmpty());
    }
    void TearDown() override
    {
        PageViewTest::TearDown();
        qunsetenv("ELUMIRA_SERVICE_URL");
    }

    CaptureServer server;
};

} // namespace elumira::test
