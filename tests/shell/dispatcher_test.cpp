// The dispatcher and the log-in chain, against the demo library service: checks and their boxes, which view
// comes to the front, which requests go out, and the pages that result.
#include "common/dialogs.h"
#include "demo/control.h"
#include "demo/service.h"
#include "service/lekora_lib.h"
#include "shell/browser_profile.h"
#include "shell/main_window.h"
#include "shell/tchromium.h"
#include "tests/support/main_window_fixture.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEngineProfile>

#include <memory>

using elumira::Dialogs;
using elumira::Json;
using elumira::ProcessMessage;
using elumira::RecordingDialogs;
using elumira::TChromium;
using elumira::TFormMain;
using elumira::TLekoraLib;
using elumira::UpdateOffer;
using elumira::test::evaluate;
using elumira::test::waitUntil;
using A = QList<ProcessMessage::Argument>;

namespace {

using DispatcherTest = elumira::test::MainWindowOnDemo;

TEST_F(DispatcherTest, login_fromThePage_reachesTheHomePageAndFillsTheMember)
{
    logIn();
    EXPECT_TRUE(dialogs.boxes().isEmpty());
    EXPECT_TRUE(window->PanelHeader->isVisible());
    for (const QString &field : {lekora->Name(), lekora->Username(), lekora->UserLevel(), lekora->LastDate(),
                                 lekora->Token(), lekora->ProfilePict(), lekora->UserId()})
        EXPECT_FALSE(field.isEmpty());
    // The member's requests from then on carry the token.
    bool tokenSent = false;
    const Json menu = service->control().requests("/api/wl/menu");
    for (const Json &header : menu["requests"][0]["headers"])
        tokenSent = tokenSent || (header[0] == "KEY" && header[1] == lekora->Token().toStdString());
    EXPECT_TRUE(tokenSent);
    EXPECT_EQ(window->HomePage, 1);
    EXPECT_EQ(window->HomeCount, 25);
    EXPECT_EQ(window->HomeLoaded, 10);

    QWebEnginePage *page = window->Chromium1->page();
    ASSERT_TRUE(waitUntil([page] { return evaluate(page, QStringLiteral("$('.banner').hasClass('slick-initialized')")).toBool(); }));
    EXPECT_EQ(evaluate(page, QStringLiteral("$('.category-list li').length")).toInt(), 4);
    EXPECT_EQ(evaluate(page, QStringLiteral("$('#myBooks .section-item').length")).toInt(), 10);
    EXPECT_TRUE(evaluate(page, QStringLiteral("$('#btnMore').is(':visible')")).toBool());
}

TEST_F(DispatcherTest, loadMore_pagesThroughTheSectionsAndHidesTheButtonAtTheEnd)
{
    logIn();
    QWebEnginePage *page = window->Chromium1->page();
    for (const int expectedLoaded : {20, 25}) {
        send(QStringLiteral("loadMore"));
        ASSERT_TRUE(waitUntil([&] { return window->HomeLoaded == expectedLoaded; }));
        ASSERT_TRUE(waitUntil([&] {
            return evaluate(page, QStringLiteral("$('#myBooks .section-item').length")).toInt() == expectedLoaded;
        }));
    }
    EXPECT_EQ(window->HomePage, 3);
    EXPECT_TRUE(waitUntil([page] { return !evaluate(page, QStringLiteral("$('#btnMore').is(':visible')")).toBool(); }));

    // All loaded: the button hides and no request goes out.
    const size_t before = requestsTo("/api/wl/listHomepage");
    send(QStringLiteral("loadMore"));
    QTest::qWait(300);
    EXPECT_EQ(requestsTo("/api/wl/listHomepage"), before);
    EXPECT_EQ(window->HomePage, 3);
    EXPECT_TRUE(dialogs.boxes().isEmpty());
}

TEST_F(DispatcherTest, login_refusals_showTheirBoxAndReloadTheLogInPage)
{
    const struct
    {
        const char *name;
        const char *faultPath;
        std::optional<int> status;
        std::string body;
        QString password;
        std::function<bool(const QString &)> boxText;
    } cases[] = {
        {"wrong password", nullptr, std::nullopt, "", QStringLiteral("salah"),
         [](const QString &text) { return !text.isEmpty() && !text.startsWith(QLatin1Char('#')); }},
        {"Auth Failed at the banners", "/api/wl/listBanner", 200, R"({"code":"500","msg":"Auth Failed"})",
         QLatin1String(DispatcherTest::kPassword), [](const QString &text) { return text == QLatin1String("Auth Failed"); }},
        {"menu refused", "/api/wl/menu", 200, R"({"code":"400","msg":"Menu tidak tersedia"})",
         QLatin1String(DispatcherTest::kPassword), [](const QString &text) { return text == QLatin1String("Menu tidak tersedia"); }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        dialogs.clear();
        if (c.faultPath)
            addFault(c.faultPath, c.status, c.body);
        send(QStringLiteral("login"), A{QLatin1String(DispatcherTest::kEmail), c.password});
        ASSERT_TRUE(waitUntil([this] { return !dialogs.boxes().isEmpty(); }));
        EXPECT_EQ(dialogs.boxes().first().kind, Dialogs::Kind::Warning);
        EXPECT_TRUE(c.boxText(dialogs.boxes().first().text)) << dialogs.boxes().first().text.toStdString();
        EXPECT_TRUE(waitUntil([this] { return showing(window->Chromium1, "login.html"); }));
        EXPECT_EQ(front(), window->Chromium1);
        EXPECT_EQ(dialogs.boxes().size(), 1);
    }
}

TEST_F(DispatcherTest, login_failedHomeStep_returnsToTheLogInPageWithItsBox)
{
    addFault("/api/wl/listHomepage", 500, "oops");
    send(QStringLiteral("login"), A{QLatin1String(DispatcherTest::kEmail), QLatin1String(DispatcherTest::kPassword)});
    ASSERT_TRUE(waitUntil([this] { return !dialogs.boxes().isEmpty(); }));
    EXPECT_EQ(dialogs.boxes().size(), 1);
    EXPECT_EQ(dialogs.boxes().first().kind, Dialogs::Kind::Warning);
    EXPECT_EQ(dialogs.boxes().first().text, QStringLiteral("#457 HTTP/1.1 500 Internal Server Error"));
    EXPECT_TRUE(waitShowing(window->Chromium1, "login.html"));
    EXPECT_EQ(front(), window->Chromium1);
}

TEST_F(DispatcherTest, login_emptyNameOrPassword_refusedWithoutARequest)
{
    window->ShowBrowserView(window->Chromium4);
    for (const A &arguments : {A{QString(), QStringLiteral("x")}, A{QStringLiteral("x"), QString()}, A{QString(), QString()}}) {
        dialogs.clear();
        send(QStringLiteral("login"), arguments);
        ASSERT_EQ(dialogs.boxes().size(), 1);
        EXPECT_EQ(dialogs.boxes().first().kind, Dialogs::Kind::Error);
        EXPECT_EQ(dialogs.boxes().first().text, QStringLiteral("Nama Pengguna Dan Kata Sandi Wajib Diisi"));
        EXPECT_EQ(front(), window->Chromium1);
    }
    QTest::qWait(200);
    EXPECT_EQ(requestsTo("/api/wl/executeLogin"), 0u);
}

TEST_F(DispatcherTest, searching_checksInTheirOrder)
{
    logIn();
    const struct
    {
        const char *name;
        bool busy;
        QString keyword;
        QString field;
        const char *box;
    } refusals[] = {
        {"empty keyword before busy", true, QString(), QStringLiteral("Kalimat"), "Kata Kunci Pencarian Wajib Diisi"},
        {"busy before length", true, QStringLiteral("ab"), QStringLiteral("Kalimat"),
         "Harap Tunggu..Sedang Memproses Pencarian Sebelumnya"},
        {"sentence of two letters", false, QStringLiteral("ab"), QStringLiteral("Kalimat"), "Minimal masukkan 3-huruf"},
    };
    window->ShowBrowserView(window->Chromium2);
    for (const auto &c : refusals) {
        SCOPED_TRACE(c.name);
        dialogs.clear();
        window->SearchBusy = c.busy;
        send(QStringLiteral("searching"), A{c.keyword, c.field, std::int32_t(1)});
        ASSERT_EQ(dialogs.boxes().size(), 1);
        EXPECT_EQ(dialogs.boxes().first().text, QLatin1String(c.box));
        EXPECT_EQ(front(), window->Chromium2);
    }
    window->SearchBusy = false;
    QTest::qWait(200);
    EXPECT_EQ(requestsTo("/api/wl/searching") + requestsTo("/api/wl/searchingKalimat"), 0u);

    // Accepted: three letters for a sentence, one letter for any other field.
    dialogs.clear();
    send(QStringLiteral("searching"), A{QStringLiteral("ibu"), QStringLiteral("Kalimat"), std::int32_t(1)});
    EXPECT_EQ(front(), window->Chromium7);
    EXPECT_EQ(window->SentenceKeyword, QStringLiteral("ibu"));
    ASSERT_TRUE(waitUntil([this] { return !window->SearchBusy && requestsTo("/api/wl/searchingKalimat") == 1; }));
    send(QStringLiteral("searching"), A{QStringLiteral("a"), QStringLiteral("Penulis"), std::int32_t(2)});
    ASSERT_TRUE(waitUntil([this] { return requestsTo("/api/wl/searching") == 1; }));
    const Json sent = service->control().requests("/api/wl/searching")["requests"][0];
    EXPECT_EQ(sent["body"], "page=2&keyword=a&field=Penulis");
    EXPECT_TRUE(dialogs.boxes().isEmpty());
}

TEST_F(DispatcherTest, bookLimit_refusesAFourthBookWithoutTouchingAView)
{
    window->OpenBookCount = 3;
    window->ShowBrowserView(window->Chromium6);
    const QUrl shown = window->Chromium3->url();
    for (const auto &message : {ProcessMessage(QStringLiteral("baca"), A{QStringLiteral("1012")}),
                                ProcessMessage(QStringLiteral("bacaSection"), A{QStringLiteral("1012")}),
                                ProcessMessage(QStringLiteral("bacaKalimat"), A{QStringLiteral("1012"), QStringLiteral("4")})}) {
        dialogs.clear();
        window->ProcessMessageReceived(window->Chromium6, message);
        ASSERT_EQ(dialogs.boxes().size(), 1) << message.toDebugString().toStdString();
        EXPECT_EQ(dialogs.boxes().first().kind, Dialogs::Kind::Warning);
        EXPECT_EQ(dialogs.boxes().first().text, QStringLiteral("Anda melebihi batas baca sebanyak 3 Buku"));
        EXPECT_EQ(front(), window->Chromium6);
        EXPECT_EQ(window->Chromium3->url(), shown);
    }
    EXPECT_EQ(window->SentencePage, 0);
    QTest::qWait(200);
    EXPECT_EQ(requestsTo("/api/wl/detailKonten"), 0u);
}

TEST_F(DispatcherTest, backMessages_bringTheirViewForwardWithoutReloading)
{
    const struct
    {
        const char *name;
        TChromium *TFormMain::*view;
    } cases[] = {
        {"back", &TFormMain::Chromium1},          {"backToSection", &TFormMain::Chromium2},
        {"backToCategory", &TFormMain::Chromium5}, {"backKategori", &TFormMain::Chromium4},
        {"backToChart", &TFormMain::Chromium6},    {"backToSearch", &TFormMain::Chromium7},
    };
    QList<std::shared_ptr<QSignalSpy>> loads;
    for (TChromium *view : window->browserViews())
        loads.append(std::make_shared<QSignalSpy>(view->page(), &QWebEnginePage::loadStarted));
    for (const auto &c : cases) {
        window->ShowBrowserView(window->Chromium3);
        send(QLatin1String(c.name));
        EXPECT_EQ(front(), window.get()->*c.view) << c.name;
    }
    QTest::qWait(300);
    for (const auto &spy : loads)
        EXPECT_EQ(spy->count(), 0);
    EXPECT_TRUE(dialogs.boxes().isEmpty());
}

TEST_F(DispatcherTest, unknownOrMiscasedNames_doNothing)
{
    window->ShowBrowserView(window->Chromium5);
    QTest::qWait(300);
    const size_t before = service->control().requests("")["requests"].size();
    for (const char *name : {"Login", "LOGOUT", "forgotPassRequest", "detailfromchart", "", "Back", "searching "}) {
        send(QLatin1String(name), A{QStringLiteral("a"), QStringLiteral("b"), std::int32_t(1)});
        EXPECT_EQ(front(), window->Chromium5) << name;
    }
    QTest::qWait(300);
    EXPECT_TRUE(dialogs.boxes().isEmpty());
    EXPECT_EQ(service->control().requests("")["requests"].size(), before);
}

TEST_F(DispatcherTest, logout_cancelSendsNothing_okReturnsToTheLogInPage)
{
    logIn();
    dialogs.scriptAnswers({Dialogs::Answer::Cancel, Dialogs::Answer::Ok});
    send(QStringLiteral("logout"));
    QTest::qWait(300);
    EXPECT_EQ(requestsTo("/api/wl/executeLogout"), 0u);
    EXPECT_TRUE(showing(window->Chromium1, "index.html"));
    EXPECT_TRUE(window->PanelHeader->isVisible());

    send(QStringLiteral("logout"));
    ASSERT_EQ(dialogs.boxes().size(), 2);
    EXPECT_EQ(dialogs.boxes().last().text, QStringLiteral("Keluar dari akun anda?"));
    EXPECT_EQ(dialogs.boxes().last().buttons, Dialogs::Buttons::OkCancel);
    ASSERT_TRUE(waitUntil([this] { return showing(window->Chromium1, "login.html"); }));
    EXPECT_EQ(requestsTo("/api/wl/executeLogout"), 1u);
    EXPECT_FALSE(window->PanelHeader->isVisible());
}

TEST_F(DispatcherTest, accountAndBanner_actWithoutAPage)
{
    send(QStringLiteral("account"));
    ASSERT_EQ(dialogs.boxes().size(), 1);
    EXPECT_EQ(dialogs.boxes().first().kind, Dialogs::Kind::Information);
    EXPECT_EQ(dialogs.boxes().first().text, QStringLiteral("Under Construction"));

    QList<QUrl> opened;
    window->setUrlOpener([&opened](const QUrl &url) { opened.append(url); });
    send(QStringLiteral("openBanner"), A{QStringLiteral("https://telmarin.example/acara?id=5&x=%20y")});
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened.first().toString(QUrl::FullyEncoded), QStringLiteral("https://telmarin.example/acara?id=5&x=%20y"));
}

} // namespace
