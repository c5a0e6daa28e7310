// The app object of the library pages: every function sends its message name and arguments in order, and
// calls with a wrong number or kind of arguments send nothing.
#include "shell/browser_profile.h"
#include "shell/tchromium.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEngineProfile>

#include <memory>

using elumira::ProcessMessage;
using elumira::TChromium;
using elumira::test::waitUntil;

namespace {

class AppBridgeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        profile.reset(elumira::createBrowserProfile());
        view = std::make_unique<TChromium>(profile.get());
        view->resize(400, 300);
        view->show();
        QObject::connect(view.get(), &TChromium::processMessageReceived,
                         [this](const ProcessMessage &message) { messages.append(message); });
    }
    void TearDown() override
    {
        view.reset();
        profile.reset();
    }

    // Shows a page that runs script once, then waits for count messages and a little more.
    QList<ProcessMessage> run(const QString &script, qsizetype count)
    {
        const QString path = folder.filePath(QStringLiteral("bridge.html"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("<!DOCTYPE html><html><head><meta charset=\"utf-8\"></head><body><script>" + script.toUtf8()
                   + "</script></body></html>");
        file.close();
        messages.clear();
        view->loadUrl(QUrl::fromLocalFile(path));
        EXPECT_TRUE(waitUntil([this, count] { return messages.size() >= count; }));
        QTest::qWait(200);
        return messages;
    }

    QTemporaryDir folder;
    std::unique_ptr<QWebEngineProfile> profile;
    std::unique_ptr<TChromium> view;
    QList<ProcessMessage> messages;
};

TEST_F(AppBridgeTest, everyFunction_sendsItsMessageAndArgumentsInOrder)
{
    using A = QList<ProcessMessage::Argument>;
    const QString s1 = QStringLiteral("s1"), s2 = QStringLiteral("s2");
    const struct
    {
        const char *call;
        ProcessMessage expected;
    } table[] = {
        {"executeLogin('s1','s2')", {QStringLiteral("login"), A{s1, s2}}},
        {"forgotPass()", {QStringLiteral("forgotPass"), A{QStringLiteral("forgotPass")}}},
        {"forgotPassRequest('s1')", {QStringLiteral("forgotPassRequest"), A{s1}}},
        {"detail('s1')", {QStringLiteral("detail"), A{s1}}},
        {"loadMore()", {QStringLiteral("loadMore"), A{}}},
        {"homeDetail('s1','s2')", {QStringLiteral("homeDetail"), A{s1, s2}}},
        {"back()", {QStringLiteral("back"), A{}}},
        {"loadKategori()", {QStringLiteral("loadKategori"), A{}}},
        {"changeDept('s1','s2')", {QStringLiteral("changeDept"), A{s1, s2}}},
        {"kategoriKonten('12','2','5','Novel')",
         {QStringLiteral("kategoriKonten"),
          A{QStringLiteral("5"), QStringLiteral("12"), QStringLiteral("2"), QStringLiteral("Novel")}}},
        {"backKategori()", {QStringLiteral("backKategori"), A{}}},
        {"backToSection()", {QStringLiteral("backToSection"), A{}}},
        {"backToCategory()", {QStringLiteral("backToCategory"), A{}}},
        {"backToChart()", {QStringLiteral("backToChart"), A{}}},
        {"backToSearch()", {QStringLiteral("backToSearch"), A{}}},
        {"subKategoriKonten('31','1','5','Puisi')",
         {QStringLiteral("subKategoriKonten"),
          A{QStringLiteral("5"), QStringLiteral("31"), QStringLiteral("1"), QStringLiteral("Puisi")}}},
        {"detailFromSection('s1')", {QStringLiteral("detailFromSection"), A{s1}}},
        {"detailFromCategory('s1')", {QStringLiteral("detailFromCategory"), A{s1}}},
        {"detailFromChart('s1')", {QStringLiteral("detailFromChart"), A{s1}}},
        {"detailFromSearch('s1')", {QStringLiteral("detailFromSearch"), A{s1}}},
        {"topChart()", {QStringLiteral("topChart"), A{}}},
        {"loadMoreChart(2)", {QStringLiteral("loadMoreChart"), A{std::int32_t(2)}}},
        {"lastRead()", {QStringLiteral("lastRead"), A{}}},
        {"loadMoreLastRead(-3)", {QStringLiteral("loadMoreLastRead"), A{std::int32_t(-3)}}},
        {"lastView()", {QStringLiteral("lastView"), A{}}},
        {"loadMoreLastView(2147483647)", {QStringLiteral("loadMoreLastView"), A{std::int32_t(2147483647)}}},
        {"searching('K','C')", {QStringLiteral("searching"), A{QStringLiteral("K"), QStringLiteral("C"), std::int32_t(1)}}},
        {"searchResult('K','C',1)", {QStringLiteral("searching"), A{QStringLiteral("K"), QStringLiteral("C"), std::int32_t(1)}}},
        {"openBanner('s1')", {QStringLiteral("openBanner"), A{s1}}},
        {"registerPage()", {QStringLiteral("register"), A{}}},
        {"baca('s1')", {QStringLiteral("baca"), A{s1}}},
        {"bacaSection('s1')", {QStringLiteral("bacaSection"), A{s1}}},
        {"bacaKalimat('s1','s2')", {QStringLiteral("bacaKalimat"), A{s1, s2}}},
        {"logout()", {QStringLiteral("logout"), A{}}},
        {"account()", {QStringLiteral("account"), A{}}},
    };

    QString script;
    for (const auto &row : table)
        script += QStringLiteral("app.%1;\n").arg(QLatin1String(row.call));
    const QList<ProcessMessage> received = run(script, std::size(table));
    ASSERT_EQ(received.size(), qsizetype(std::size(table)));
    for (qsizetype i = 0; i < received.size(); ++i)
        EXPECT_EQ(received[i], table[i].expected) << table[i].call << " sent " << received[i].toDebugString().toStdString();
}

TEST_F(AppBridgeTest, wrongArguments_sendNothing)
{
    // Each refused call stands between two accepted ones, so a stray message would show in the middle.
    const char *refused[] = {
        "loadMoreChart('x')", "loadMoreChart(1.5)", "loadMoreChart(2147483648)", "loadMoreChart()",
        "detail()",           "detail(5)",          "detail('a','b')",          "executeLogin('a')",
        "searchResult('k','c','2')", "back(1)",    "kategoriKonten('1','2','3')", "homeDetail(null,'x')",
    };
    QString script;
    for (const char *call : refused)
        script += QStringLiteral("try { app.%1; } catch (e) {}\napp.topChart();\n").arg(QLatin1String(call));
    const QList<ProcessMessage> received = run(script, std::size(refused));
    ASSERT_EQ(received.size(), qsizetype(std::size(refused)));
    for (const ProcessMessage &message : received)
        EXPECT_EQ(message, ProcessMessage(QStringLiteral("topChart")));
}

} // namespace
