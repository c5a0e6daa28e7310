// The main window: its create and show handlers, closing with and without open books, and the header buttons.
#include "common/dialogs.h"
#include "service/lekora_lib.h"
#include "shell/browser_profile.h"
#include "shell/main_window.h"
#include "shell/tchromium.h"
#include "tests/support/capture_server.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QWebEngineProfile>

#include <memory>

using elumira::Dialogs;
using elumira::RecordingDialogs;
using elumira::TChromium;
using elumira::TFormMain;
using elumira::TLekoraLib;
using elumira::UpdateOffer;
using elumira::test::CaptureServer;
using elumira::test::waitUntil;

namespace {

const QByteArray kConfiguration = R"json({"code":"200","data":{"nama":"Perpustakaan Telmarin",
    "warna_button_login":"#1a7f5a","warna_hover_button_login":"#145c42","logo_login":"logo.png"}})json";

class MainWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qputenv("ELUMIRA_SERVICE_URL", server.url());
        server.setDefault({200, "OK", "application/json", kConfiguration});
        lekora = std::make_shared<TLekoraLib>(dialogs);
        profile.reset(elumira::createBrowserProfile());
    }
    void TearDown() override
    {
        window.reset();
        profile.reset();
        lekora.reset();
        qunsetenv("ELUMIRA_SERVICE_URL");
    }

    void createWindow()
    {
        window = std::make_unique<TFormMain>(lekora, dialogs, profile.get(), update);
        window->setReleaseOnClose([this] { lekora.reset(); });
        window->resize(1200, 800);
    }

    QString currentUrl(TChromium *view) { return view->url().toLocalFile(); }

    CaptureServer server;
    RecordingDialogs dialogs;
    UpdateOffer update;
    std::shared_ptr<TLekoraLib> lekora;
    std::unique_ptr<QWebEngineProfile> profile;
    std::unique_ptr<TFormMain> window;
};

TEST_F(MainWindowTest, layout_hasItsCaptionButtonsAndViews)
{
    createWindow();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("e-Lumira Telmarin"));
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(window->PanelHeader->height(), 41);
    EXPECT_EQ(window->PanelToolbar->height(), 71);
    const struct
    {
        QToolButton *button;
        char16_t glyph;
        const char *hint;
    } buttons[] = {
        {window->btnLibrary, 0xF00A, "Daftar Buku"},
        {window->btnReader, 0xF02D, "Reader Buku"},
        {window->btnHelp, 0xF059, "Bantuan"},
        {window->btnAbout, 0xF05A, "Tentang Aplikasi"},
    };
    for (const auto &b : buttons) {
        EXPECT_EQ(b.button->text(), QString(QChar(b.glyph))) << b.hint;
        // The glyph comes from the icon font, not from a fallback font drawing an empty box.
        EXPECT_TRUE(QFontMetrics(b.button->font()).inFont(QChar(b.glyph))) << b.hint;
        EXPECT_EQ(QFontInfo(b.button->font()).family(), QStringLiteral("Font Awesome 5 Free")) << b.hint;
        EXPECT_EQ(b.button->toolTip(), QString::fromUtf8(b.hint));
        EXPECT_EQ(b.button->size(), QSize(32, 32));
    }
    EXPECT_EQ(window->panelBrowser->count(), 7);
    EXPECT_EQ(window->browserViews().size(), 7);
    EXPECT_EQ(window->PageControl1->count(), 3);
}

TEST_F(MainWindowTest, show_configurationAccepted_loadsTheLogInPageIntoChromium1)
{
    createWindow();
    EXPECT_EQ(window->AnnotState.HighlightColor, 0x00FFFF);
    EXPECT_EQ(window->AnnotState.RectColor, 0x0000FF);
    EXPECT_EQ(window->AnnotState.InkColor, 0xFF0000);
    window->show();
    // Before any log-in, not even the first frame shows the header.
    EXPECT_FALSE(window->PanelHeader->isVisible());
    EXPECT_TRUE(waitUntil([this] { return currentUrl(window->Chromium1).endsWith(QLatin1String("/login.html")); }));
    EXPECT_TRUE(dialogs.boxes().isEmpty());
    EXPECT_FALSE(window->PanelHeader->isVisible());
    EXPECT_EQ(window->panelBrowser->currentWidget(), window->Chromium1);
    EXPECT_TRUE(window->CurrentTask.isNull());
}

TEST_F(MainWindowTest, show_configurationRefused_showsTheErrorAndKeepsTheLoadingPage)
{
    server.setDefault({200, "OK", "application/json", R"({"code":"500","msg":"Mitra tidak dikenal"})"});
    createWindow();
    window->show();
    ASSERT_TRUE(waitUntil([this] { return !dialogs.boxes().isEmpty(); }));
    EXPECT_EQ(dialogs.boxes().first().kind, Dialogs::Kind::Error);
    EXPECT_EQ(dialogs.boxes().first().text, QStringLiteral("Error : Mitra tidak dikenal"));
    QTest::qWait(300);
    EXPECT_TRUE(waitUntil([this] { return currentUrl(window->Chromium1).endsWith(QLatin1String("/loading.html")); }))
        << currentUrl(window->Chromium1).toStdString();
    EXPECT_EQ(dialogs.boxes().size(), 1);
}

TEST_F(MainWindowTest, show_loadingPageMissing_asksForARestart)
{
    createWindow();
    QDir(lekora->DataPath()).removeRecursively();
    dialogs.scriptAnswers({Dialogs::Answer::Cancel});
    window->show();
    ASSERT_TRUE(waitUntil([this] { return !dialogs.boxes().isEmpty(); }));
    EXPECT_EQ(dialogs.boxes().first().text, QStringLiteral("Harap mulai ulang aplikasi ini"));
    EXPECT_EQ(dialogs.boxes().first().buttons, Dialogs::Buttons::OkCancel);
    EXPECT_TRUE(window->isVisible());
}

TEST_F(MainWindowTest, show_updateAccepted_startsTheUpdaterAndCloses)
{
    update.accepted = true;
    update.url = QStringLiteral("https://unduh.contoh.id/elumira-2.1.0.tar.gz");
    createWindow();
    QString started;
    window->setUpdaterLauncher([&started](const QString &url) {
        started = url;
        return true;
    });
    const QString dataPath = lekora->DataPath();
    window->show();
    ASSERT_TRUE(waitUntil([this] { return !window->isVisible(); }));
    EXPECT_EQ(started, update.url);
    EXPECT_FALSE(QDir(dataPath).exists());
    EXPECT_FALSE(currentUrl(window->Chromium1).endsWith(QLatin1String("/login.html")));
}

TEST_F(MainWindowTest, close_withABookOpen_isRefusedUntilItIsReturned)
{
    createWindow();
    window->show();
    const QString dataPath = lekora->DataPath();
    auto *book = new QLabel(QStringLiteral("buku"), window->TabSheet2);

    EXPECT_FALSE(window->close());
    ASSERT_EQ(dialogs.boxes().size(), 1);
    EXPECT_EQ(dialogs.boxes().first().kind, Dialogs::Kind::Warning);
    EXPECT_EQ(dialogs.boxes().first().text,
              QStringLiteral("Harap kembalikan terlebih dahulu semua buku yang anda baca sebelum menutup aplikasi ini"));
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->Closing);
    EXPECT_TRUE(QDir(dataPath).exists());

    delete book;
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(window->Closing);
    EXPECT_EQ(lekora, nullptr);
    EXPECT_FALSE(QDir(dataPath).exists());

    // A page message still on its way finds the window closed and the service client gone: nothing happens.
    window->ProcessMessageReceived(window->Chromium1, elumira::ProcessMessage(QStringLiteral("loadKategori")));
    EXPECT_TRUE(window->Chromium4->url().isEmpty() || window->Chromium4->url() == QUrl(QStringLiteral("about:blank")));
    EXPECT_EQ(dialogs.boxes().size(), 1);
}

TEST_F(MainWindowTest, headerButtons_switchSurfacesAndKeepTheFrontView)
{
    createWindow();
    window->show();
    window->ShowBrowserView(window->Chromium4);
    window->btnReader->click();
    EXPECT_EQ(window->frontSurface(), window->PanelReader);
    window->btnLibrary->click();
    EXPECT_EQ(window->frontSurface(), window->panelBrowser);
    EXPECT_EQ(window->panelBrowser->currentWidget(), window->Chromium4);

    // The help button has no action.
    window->btnHelp->click();
    EXPECT_EQ(window->frontSurface(), window->panelBrowser);
    EXPECT_EQ(window->panelBrowser->currentWidget(), window->Chromium4);
    EXPECT_TRUE(dialogs.boxes().isEmpty());
}

TEST_F(MainWindowTest, aboutButton_showsTheAboutWindow)
{
    createWindow();
    QWidget about;
    window->setAboutWindow(&about);
    window->show();
    window->btnAbout->click();
    EXPECT_TRUE(about.isVisible());
}

} // namespace
