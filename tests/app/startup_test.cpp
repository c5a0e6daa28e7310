// Start-up of the whole program against the demo library service: one case per version answer, the version check
// and the partner configuration against every fault of the service, and the About window.
#include "app/splash.h"
#include "app/startup.h"
#include "forms/bookmark.h"
#include "forms/forgot_pass.h"
#include "forms/info_buku.h"
#include "forms/user_register.h"
#include "common/dialogs.h"
#include "demo/control.h"
#include "demo/service.h"
#include "service/lekora_lib.h"
#include "shell/tchromium.h"
#include "tests/support/capture_server.h"
#include "tests/support/demo_service_fixture.h"
#include "tests/support/service_faults.h"
#include "tests/support/short_request_limits.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <functional>
#include <memory>

using elumira::Dialogs;
using elumira::ElumiraProgram;
using elumira::RecordingDialogs;
using elumira::TLekoraLib;
using elumira::test::startDemoService;

namespace {

const char kUpdateUrl[] = "https://unduh.telmarin.example/elumira/elumira-2.1.0.tar.gz";

QString dataFolder()
{
    return TLekoraLib::getAppPath() + QLatin1String(TLekoraLib::kAppCode);
}

class StartupTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        qunsetenv("ELUMIRA_SERVICE_URL");
        if (service)
            service->stop();
        QFile::remove(updaterPath());
    }

    void startService(demo::VersionAnswer answer)
    {
        demo::Config config;
        config.versionAnswer = answer;
        config.updateUrl = kUpdateUrl;
        std::string error;
        service = startDemoService(books.path(), &error, config);
        ASSERT_TRUE(service) << error;
    }

    // Runs the program; step is called every 50 ms inside its event loop until it returns true.
    int runProgram(const std::function<bool(ElumiraProgram &)> &step)
    {
        ElumiraProgram program(dialogs);
        QTimer driver;
        QObject::connect(&driver, &QTimer::timeout, [&] {
            if (step(program))
                driver.stop();
        });
        driver.start(50);
        // A program that neither ends nor reaches its goal fails the test instead of hanging it. The timer ends
        // with this run, so that it cannot stop a later one.
        QTimer deadline;
        deadline.setSingleShot(true);
        QObject::connect(&deadline, &QTimer::timeout, [] {
            ADD_FAILURE() << "the program did not end";
            QCoreApplication::exit(99);
        });
        deadline.start(90000);
        const int result = program.run();
        loginShown = loginShown || sawLogin(program);
        return result;
    }

public:
    static bool sawLogin(ElumiraProgram &program)
    {
        // Loaded, not only asked for: the page's own title is showing.
        return program.mainWindow()
            && program.mainWindow()->Chromium1->url().toLocalFile().endsWith(QLatin1String("/login.html"))
            && program.mainWindow()->Chromium1->title() == QStringLiteral("Please Login");
    }

protected:
    static QString updaterPath() { return QCoreApplication::applicationDirPath() + QStringLiteral("/updater"); }

    QTemporaryDir books;
    std::unique_ptr<demo::Service> service;
    RecordingDialogs dialogs;
    bool loginShown = false;
};

// Closes the main window once the log-in page is in Chromium1.
bool closeAtLogin(ElumiraProgram &program)
{
    if (!program.mainWindow() || !program.mainWindow()->isVisible())
        return false;
    if (!StartupTest::sawLogin(program))
        return false;
    program.mainWindow()->close();
    return true;
}

TEST_F(StartupTest, versionCurrent_reachesTheLogInPageWithoutABox)
{
    startService(demo::VersionAnswer::Current);
    bool splashSeen = false;
    bool bookmarkMadeAndHidden = false;
    qsizetype windowsWithIcon = 0;
    const int result = runProgram([&](ElumiraProgram &program) {
        splashSeen = splashSeen || (program.splash() && program.splash()->isVisible());
        // The bookmark window is made with the others and never shown.
        bookmarkMadeAndHidden = program.bookmarkWindow() && !program.bookmarkWindow()->isVisible()
            && program.bookmarkWindow()->windowTitle() == QStringLiteral("Bookmark");
        if (program.mainWindow() && program.aboutWindow()) {
            // Every window, the frameless ones too, carries the program's icon.
            const qint64 icon = QApplication::windowIcon().cacheKey();
            const QList<QWidget *> windows = {program.splash(), program.mainWindow(), program.aboutWindow(),
                program.registrationWindow(), program.forgotPasswordWindow(), program.bookmarkWindow(),
                program.bookInfoWindow()};
            windowsWithIcon = std::count_if(windows.begin(), windows.end(),
                [&](QWidget *w) { return w && w->windowIcon().cacheKey() == icon; });
        }
        return closeAtLogin(program);
    });
    EXPECT_TRUE(bookmarkMadeAndHidden);
    EXPECT_EQ(windowsWithIcon, 7);
    EXPECT_FALSE(QApplication::windowIcon().pixmap(48).isNull());
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(loginShown);
    EXPECT_TRUE(dialogs.boxes().isEmpty());
    EXPECT_FALSE(QDir(dataFolder()).exists());
}

TEST_F(StartupTest, versionUpdateCancelled_goesOnNormally)
{
    startService(demo::VersionAnswer::Update);
    dialogs.scriptAnswers({Dialogs::Answer::Cancel});
    runProgram(closeAtLogin);
    EXPECT_TRUE(loginShown);
    ASSERT_EQ(dialogs.boxes().size(), 1);
    EXPECT_EQ(dialogs.boxes().first().kind, Dialogs::Kind::Confirmation);
    EXPECT_EQ(dialogs.boxes().first().buttons, Dialogs::Buttons::OkCancel);
    EXPECT_EQ(dialogs.boxes().first().text, QStringLiteral("Update baru telah tersedia, download sekarang?"));
    EXPECT_FALSE(QFile::exists(updaterPath()));
}

TEST_F(StartupTest, versionUpdateAccepted_startsTheUpdaterAndEnds)
{
    // A stand-in updater in the program's folder that notes the address it was started with.
    QTemporaryDir scratch;
    const QString noted = scratch.filePath(QStringLiteral("updater-args"));
    {
        QFile updater(updaterPath());
        ASSERT_TRUE(updater.open(QIODevice::WriteOnly | QIODevice::Truncate));
        updater.write(QStringLiteral("#!/bin/sh\nprintf '%s|%s' \"$#\" \"$1\" > '%1'\n").arg(noted).toUtf8());
        updater.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    startService(demo::VersionAnswer::Update);
    dialogs.scriptAnswers({Dialogs::Answer::Ok});

    const int result = runProgram([this](ElumiraProgram &program) {
        loginShown = loginShown || sawLogin(program);
        return false;
    });

    EXPECT_EQ(result, 0);
    EXPECT_FALSE(loginShown);
    EXPECT_FALSE(QDir(dataFolder()).exists());
    ASSERT_TRUE(elumira::test::waitUntil([&] { return QFile::exists(noted); }, 10000));
    QFile args(noted);
    ASSERT_TRUE(args.open(QIODevice::ReadOnly));
    EXPECT_EQ(args.readAll(), QByteArray("1|") + kUpdateUrl);
}

TEST_F(StartupTest, versionRefused_showsTheServiceMessageAndEnds)
{
    startService(demo::VersionAnswer::Refuse);
    bool mainShown = false;
    runProgram([&](ElumiraProgram &program) {
        mainShown = mainShown || (program.mainWindow() && program.mainWindow()->isVisible());
        return false;
    });
    EXPECT_FALSE(mainShown);
    EXPECT_FALSE(loginShown);
    ASSERT_EQ(dialogs.boxes().size(), 1);
    EXPECT_EQ(dialogs.boxes().first().kind, Dialogs::Kind::Warning);
    EXPECT_FALSE(dialogs.boxes().first().text.isEmpty());
    EXPECT_FALSE(dialogs.boxes().first().text.startsWith(QLatin1Char('#')));
}

TEST_F(StartupTest, noService_warns301AndEnds)
{
    qputenv("ELUMIRA_SERVICE_URL", "http://127.0.0.1:" + QByteArray::number(elumira::test::closedPort()));
    runProgram([](ElumiraProgram &) { return false; });
    EXPECT_FALSE(loginShown);
    ASSERT_GE(dialogs.boxes().size(), 1);
    EXPECT_EQ(dialogs.boxes().first().kind, Dialogs::Kind::Warning);
    EXPECT_TRUE(dialogs.boxes().first().text.startsWith(QStringLiteral("#301 "))) << dialogs.boxes().first().text.toStdString();
}

TEST_F(StartupTest, partnerConfigurationRefused_showsErrorAndKeepsTheLoadingPage)
{
    startService(demo::VersionAnswer::Current);
    demo::Fault fault;
    fault.path = "/api/wl/mitra";
    fault.status = 200;
    fault.body = R"({"code":"500","msg":"Mitra sedang dalam pemeliharaan"})";
    fault.contentType = "application/json";
    service->control().addFault(fault);

    bool checked = false;
    runProgram([&](ElumiraProgram &program) {
        if (dialogs.boxes().isEmpty() || !program.mainWindow())
            return false;
        // Give a login page that should not come the time to arrive.
        QTest::qWait(500);
        checked = program.mainWindow()->Chromium1->url().toLocalFile().endsWith(QLatin1String("/loading.html"));
        program.mainWindow()->close();
        return true;
    });
    EXPECT_TRUE(checked);
    EXPECT_FALSE(loginShown);
    ASSERT_EQ(dialogs.boxes().size(), 1);
    EXPECT_EQ(dialogs.boxes().first().kind, Dialogs::Kind::Error);
    EXPECT_EQ(dialogs.boxes().first().text, QStringLiteral("Error : Mitra sedang dalam pemeliharaan"));
}

// Whatever goes wrong with the version check, the member is told in one warning and the program ends before its
// main window shows. (An unreachable service is the case above.) The check waits 30 s for its answer (a few
// seconds more, as it sent a body), so the stalled service answers well after that.
TEST_F(StartupTest, versionCheck_everyFault_oneClearWarningAndTheProgramEnds)
{
    using namespace elumira::test;
    startService(demo::VersionAnswer::Current);
    for (const ServiceFault fault : kEveryServiceFault) {
        if (fault == ServiceFault::Unreachable)
            continue;
        SCOPED_TRACE(faultName(fault));
        dialogs.clear();
        loginShown = false;
        demo::Fault f = demoFault(fault, "/api/wl/checkAppVersion");
        if (fault == ServiceFault::Stalled)
            f.delayMs = 40000;
        service->control().addFault(f);
        bool mainShown = false;
        const int result = runProgram([&](ElumiraProgram &program) {
            mainShown = mainShown || (program.mainWindow() && program.mainWindow()->isVisible());
            return false;
        });
        EXPECT_EQ(result, 0);
        EXPECT_FALSE(mainShown);
        EXPECT_FALSE(loginShown);
        ASSERT_EQ(dialogs.boxes().size(), 1);
        EXPECT_EQ(dialogs.boxes().first().kind, Dialogs::Kind::Warning);
        EXPECT_TRUE(clearText(dialogs.boxes().first().text)) << dialogs.boxes().first().text.toStdString();
        if (fault == ServiceFault::AuthFailed) {
            EXPECT_EQ(dialogs.boxes().first().text, QStringLiteral("Auth Failed"));
        }
        service->control().clearFaults();
    }
}

// Whatever goes wrong with the partner configuration, the member sees one error box, the loading page stays,
// and the program still closes normally. (An unreachable service already ends the program at its version check.)
TEST_F(StartupTest, partnerConfiguration_everyFault_oneErrorBoxTheLoadingPageStaysAndTheProgramCloses)
{
    using namespace elumira::test;
    startService(demo::VersionAnswer::Current);
    for (const ServiceFault fault : kEveryServiceFault) {
        if (fault == ServiceFault::Unreachable)
            continue;
        SCOPED_TRACE(faultName(fault));
        dialogs.clear();
        loginShown = false;
        std::unique_ptr<ShortRequestLimits> limits;
        if (fault == ServiceFault::Stalled)
            limits = std::make_unique<ShortRequestLimits>(kFaultLimitMs, kFaultLimitMs);
        service->control().addFault(demoFault(fault, "/api/wl/mitra"));
        bool onLoadingPage = false;
        bool closed = false;
        const int result = runProgram([&](ElumiraProgram &program) {
            if (dialogs.boxes().isEmpty() || !program.mainWindow() || !program.mainWindow()->isVisible())
                return false;
            // Give a log-in page that should not come the time to arrive.
            QTest::qWait(500);
            onLoadingPage = program.mainWindow()->Chromium1->url().toLocalFile().endsWith(QLatin1String("/loading.html"));
            closed = program.mainWindow()->close();
            return true;
        });
        limits.reset();
        EXPECT_EQ(result, 0);
        EXPECT_TRUE(onLoadingPage);
        EXPECT_TRUE(closed);
        EXPECT_FALSE(loginShown);
        ASSERT_EQ(dialogs.boxes().size(), 1);
        const QString text = dialogs.boxes().first().text;
        EXPECT_EQ(dialogs.boxes().first().kind, Dialogs::Kind::Error);
        EXPECT_TRUE(text.startsWith(QStringLiteral("Error : ")) && clearText(text.mid(8))) << text.toStdString();
        if (fault == ServiceFault::AuthFailed) {
            EXPECT_EQ(text, QStringLiteral("Error : Auth Failed"));
        }
        service->control().clearFaults();
    }
}

TEST_F(StartupTest, aboutWindow_showsByButtonAndHidesOnAnyClick)
{
    startService(demo::VersionAnswer::Current);
    int clicks = 0;
    runProgram([&](ElumiraProgram &program) {
        if (!program.mainWindow() || !sawLogin(program))
            return false;
        auto *about = program.aboutWindow();
        for (const QPoint point : {QPoint(100, 100), QPoint(5, 395)}) {
            program.mainWindow()->btnAbout->click();
            EXPECT_TRUE(about->isVisible());
            EXPECT_EQ(about->size(), QSize(385, 407));
            QTest::mouseClick(about, Qt::LeftButton, Qt::NoModifier, point);
            EXPECT_FALSE(about->isVisible());
            ++clicks;
        }
        program.mainWindow()->close();
        return true;
    });
    EXPECT_EQ(clicks, 2);
}

} // namespace
