// The partner configuration: stored as fetched, its colours filled into the style sheet's placeholders,
// and the "#355 " envelope when the fetch or the style sheet fails.
#include "common/dialogs.h"
#include "service/lekora_lib.h"
#include "tests/support/capture_server.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <QFile>

using elumira::Json;
using elumira::RecordingDialogs;
using elumira::TLekoraLib;
using elumira::test::CannedResponse;
using elumira::test::CaptureServer;

namespace {

const QByteArray kConfiguration = R"json({"code":"200","data":{"nama":"Perpustakaan Telmarin",
    "warna_button_login":"#1a7f5a","warna_hover_button_login":"#145c42","warna_header":"#ffffff"}})json";

class ClientConfigTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qputenv("ELUMIRA_SERVICE_URL", server.url());
        service = std::make_unique<TLekoraLib>(dialogs);
        sheetPath = service->DataPath() + QStringLiteral("/css/style.css");
    }
    void TearDown() override
    {
        service.reset();
        qunsetenv("ELUMIRA_SERVICE_URL");
    }

    void writeSheet(const QByteArray &bytes)
    {
        QFile file(sheetPath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    QByteArray readSheet()
    {
        QFile file(sheetPath);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    }

    CaptureServer server;
    RecordingDialogs dialogs;
    std::unique_ptr<TLekoraLib> service;
    QString sheetPath;
};

TEST_F(ClientConfigTest, getClientJson_sendsTheDeviceHeadersAndStoresTheAnswer)
{
    server.queue({200, "OK", "application/json", kConfiguration});
    const Json &configuration = service->getClientJson();

    EXPECT_EQ(configuration, Json::parse(kConfiguration.constData()));
    ASSERT_NE(service->ClientJson(), nullptr);
    EXPECT_EQ(service->ClientJson(), &configuration);
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 1);
    EXPECT_EQ(requests[0].method, "GET");
    EXPECT_EQ(requests[0].path, "/api/wl/mitra");
    EXPECT_EQ(requests[0].header("CLIENTID"), "395");
    EXPECT_EQ(requests[0].header("OS"), "WIN");
    EXPECT_EQ(requests[0].header("UUID"), service->UUID().toLatin1());
    EXPECT_FALSE(requests[0].hasHeader("KEY"));
}

TEST_F(ClientConfigTest, getClientJson_fillsPlaceholdersOnEveryLineThatHoldsThem)
{
    const struct
    {
        const char *name;
        QByteArray sheet;
        QByteArray expected;
    } cases[] = {
        {"both kinds, several per line, CR LF kept",
         ".a{color:[WARNA_BUTTON_LOGIN]}\r\n.b{color:[WARNA_HOVER_BUTTON_LOGIN];border-color:[WARNA_HOVER_BUTTON_LOGIN]}\r\n"
         ".c{background:[WARNA_BUTTON_LOGIN] [WARNA_HOVER_BUTTON_LOGIN]}\r\n",
         ".a{color:#1a7f5a}\r\n.b{color:#145c42;border-color:#145c42}\r\n.c{background:#1a7f5a #145c42}\r\n"},
        {"the test ignores case, the replacement does not",
         ".a{color:[warna_button_login]}\n.b{color:[Warna_Button_Login] [WARNA_BUTTON_LOGIN]}\n",
         ".a{color:[warna_button_login]}\n.b{color:[Warna_Button_Login] #1a7f5a}\n"},
        {"no placeholders: unchanged to the byte",
         "body {\n  color: #333;\t/* caf\xC3\xA9 */\n}\r\n\r\nlast line without break",
         "body {\n  color: #333;\t/* caf\xC3\xA9 */\n}\r\n\r\nlast line without break"},
        {"a UTF-8 sheet with a byte-order mark keeps it",
         "\xEF\xBB\xBF/* \xC3\xA9 */ .a{color:[WARNA_BUTTON_LOGIN]}\n",
         "\xEF\xBB\xBF/* \xC3\xA9 */ .a{color:#1a7f5a}\n"},
        {"an 8-bit sheet stays 8-bit", "/* caf\xE9 */ .a{color:[WARNA_BUTTON_LOGIN]}\n",
         "/* caf\xE9 */ .a{color:#1a7f5a}\n"},
        {"empty sheet", "", ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        writeSheet(c.sheet);
        server.queue({200, "OK", "application/json", kConfiguration});
        EXPECT_EQ(service->getClientJson().value("code", ""), "200");
        EXPECT_EQ(readSheet(), c.expected);
    }
}

TEST_F(ClientConfigTest, getClientJson_refusedOrFailedConfiguration_leavesTheSheetUntouched)
{
    const QByteArray sheet = ".a{color:[WARNA_BUTTON_LOGIN]}\n";
    const struct
    {
        const char *name;
        CannedResponse response;
        const char *msgStart;
    } cases[] = {
        {"refused with 500", {200, "OK", "application/json", R"({"code":"500","msg":"Mitra tidak aktif"})"},
         "Mitra tidak aktif"},
        {"HTTP failure", {503, "Service Unavailable", "text/plain", "down"}, "#355 HTTP/1.1 503"},
        {"not JSON", {200, "OK", "text/html", "<html>"}, "#355 "},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        writeSheet(sheet);
        server.queue(c.response);
        const Json &configuration = service->getClientJson();
        EXPECT_EQ(configuration.value("code", ""), "500");
        EXPECT_TRUE(QString::fromStdString(configuration.value("msg", "")).startsWith(QLatin1String(c.msgStart)))
            << configuration.dump();
        EXPECT_EQ(readSheet(), sheet);
    }
}

TEST_F(ClientConfigTest, getClientJson_missingSheet_givesEnvelope355)
{
    ASSERT_TRUE(QFile::remove(sheetPath));
    server.queue({200, "OK", "application/json", kConfiguration});
    const Json &configuration = service->getClientJson();
    EXPECT_EQ(configuration.value("code", ""), "500");
    const QString msg = QString::fromStdString(configuration.value("msg", ""));
    EXPECT_TRUE(msg.startsWith(QStringLiteral("#355 "))) << msg.toStdString();
    EXPECT_GT(msg.size(), 5);
    EXPECT_EQ(service->ClientJson()->value("code", ""), "500");
}

TEST_F(ClientConfigTest, getClientJson_serviceUnreachable_givesEnvelope355)
{
    qputenv("ELUMIRA_SERVICE_URL", "http://127.0.0.1:" + QByteArray::number(elumira::test::closedPort()));
    const Json &configuration = service->getClientJson();
    EXPECT_EQ(configuration.value("code", ""), "500");
    EXPECT_TRUE(QString::fromStdString(configuration.value("msg", "")).startsWith(QStringLiteral("#355 ")));
}

} // namespace
