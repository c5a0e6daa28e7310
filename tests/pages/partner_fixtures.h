// Fixtures for the generators that read the partner configuration: a service client whose configuration
// came from a local server, with a recording view or with a real view.
#pragma once

#include "common/dialogs.h"
#include "service/lekora_lib.h"
#include "tests/pages/page_view.h"
#include "tests/pages/recording_view.h"
#include "tests/support/capture_server.h"

#include <gtest/gtest.h>

#include <QFile>

#include <memory>

namespace elumira::test {

// The partner configuration the pages are branded with.
inline constexpr char kPartnerConfiguration[] = R"json({"code":"200","data":{"nama":"Perpustakaan Telmarin",
    "logo":"logo kepala.png","warna_header":"#204060","warna_button_login":"#1a7f5a",
    "warna_hover_button_login":"#145c42","warna_hover_baca":"#c0392b"}})json";

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

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

    void fetchConfiguration()
    {
        server.queue({200, "OK", "application/json", kPartnerConfiguration});
        service->getClientJson();
        ASSERT_TRUE(dialogs.boxes().isEmpty());
    }

    QString serviceUrl() const { return QString::fromLatin1(server.url()); }
    QString pageFile(const char *fileName) const { return service->DataPath() + QLatin1Char('/') + fileName; }
    QUrl pageFileUrl(const char *fileName) const { return QUrl::fromLocalFile(pageFile(fileName)); }

    // The one box shown, which must be an error with OK whose text starts with the prefix and goes on.
    void expectOneFailureBox(const char *prefix)
    {
        ASSERT_EQ(dialogs.boxes().size(), 1);
        const RecordingDialogs::Box box = dialogs.boxes()[0];
        EXPECT_EQ(box.kind, RecordingDialogs::Kind::Error);
        EXPECT_EQ(box.buttons, RecordingDialogs::Buttons::Ok);
        EXPECT_TRUE(box.text.startsWith(QLatin1String(prefix))) << box.text.toStdString();
        EXPECT_GT(box.text.size(), qsizetype(qstrlen(prefix))) << "the failure's own message is missing";
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

    // Runs a generator that loads or reloads the view, and waits until the view has loaded the page.
    template <typename Render> void renderAndWait(Render render)
    {
        const int before = loadsFinished;
        render();
        ASSERT_TRUE(s_dialogs->boxes().isEmpty()) << s_dialogs->boxes()[0].text.toStdString();
        waitForLoadAfter(before);
    }

    // Clicks the element the selector finds first (jQuery selector), without waiting for what follows.
    void click(const QString &selector)
    {
        ASSERT_EQ(js(QStringLiteral("$(\"%1\").length").arg(selector)).toInt(), 1) << selector.toStdString();
        js(QStringLiteral("$(\"%1\")[0].click(); 0").arg(selector));
    }

    CaptureServer server;
};

} // namespace elumira::test
