// The page requests of the main window against the demo service's faults: a failed or stalled request gives
// the member back the page they asked from (or the log-in page), and a newer request makes an older answer
// irrelevant without the window ever waiting for it.
#include "common/dialogs.h"
#include "demo/control.h"
#include "demo/service.h"
#include "service/lekora_lib.h"
#include "shell/main_window.h"
#include "shell/tchromium.h"
#include "tests/support/main_window_fixture.h"
#include "tests/support/short_request_limits.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <QStackedWidget>
#include <QTest>

#include <memory>

using elumira::Dialogs;
using elumira::ProcessMessage;
using elumira::TChromium;
using elumira::test::evaluate;
using elumira::test::waitUntil;
using A = QList<ProcessMessage::Argument>;

namespace {

class PageTasksTest : public elumira::test::MainWindowOnDemo
{
protected:
    enum class Fault { Html500, Dropped, NotJson, Stalled };

    void addFault(const char *path, Fault kind)
    {
        demo::Fault fault;
        fault.path = path;
        switch (kind) {
        case Fault::Html500:
            fault.status = 500;
            fault.body = "<html><body><h1>500 Internal Server Error</h1></body></html>";
            fault.contentType = "text/html";
            break;
        case Fault::Dropped:
            fault.drop = true;
            break;
        case Fault::NotJson:
            fault.status = 200;
            fault.body = "<html><body>Layanan sedang dalam pemeliharaan</body></html>";
            fault.contentType = "text/html";
            break;
        case Fault::Stalled:
            // Far past the shortened limits; the service would answer normally after it.
            fault.delayMs = 12000;
            break;
        }
        service->control().addFault(fault);
    }

    // Leaves a mark in the page shown in view, so that a page loaded again (or another one) can be told apart.
    static void mark(TChromium *view, const QString &marker)
    {
        evaluate(view->page(), QStringLiteral("window.elumiraTestMark = '%1'; 0").arg(marker));
    }
    static QString markOf(TChromium *view)
    {
        return evaluate(view->page(), QStringLiteral("String(window.elumiraTestMark)")).toString();
    }
    static bool covered(TChromium *view)
    {
        return evaluate(view->page(), QStringLiteral("document.getElementById('elumiraLoadingCover') !== null"))
            .toBool();
    }
    // The loading page in front: loaded into the view in front, or laid over its page.
    bool loadingPageInFront() const
    {
        auto *view = qobject_cast<TChromium *>(front());
        return view && (showing(view, "loading.html") ||
                        evaluate(view->page(),
                                 QStringLiteral("(function () { var c = document.getElementById('elumiraLoadingCover');"
                                                " if (c === null) return false; var r = c.getBoundingClientRect();"
                                                " return r.width >= document.documentElement.clientWidth && r.height "
                                                ">= document.documentElement.clientHeight"
                                                " && c.querySelector('.loader') !== null; })()"))
                            .toBool());
    }

    // Searches from the page shown in view through its header form, as the member would.
    static void searchFrom(TChromium *view, const char *field, const char *keyword)
    {
        evaluate(view->page(), QStringLiteral("$('.search-panel .dropdown-menu a:contains(%1)').click();"
                                              "$('#keyword').val('%2'); $('#submitSearch').submit(); 0")
                                   .arg(QLatin1String(field), QLatin1String(keyword)));
    }

    // After a failed request: one error box, then the view the member came from in front with its page as it
    // was, uncovered.
    void expectBackAt(TChromium *origin, const QUrl &url, const QString &marker)
    {
        ASSERT_TRUE(waitUntil([this] { return !dialogs.boxes().isEmpty(); }, 30000));
        EXPECT_EQ(dialogs.boxes().size(), 1);
        EXPECT_EQ(dialogs.boxes().first().kind, Dialogs::Kind::Error);
        EXPECT_FALSE(dialogs.boxes().first().text.isEmpty());
        EXPECT_EQ(front(), origin);
        EXPECT_EQ(window->frontSurface(), window->panelBrowser);
        EXPECT_EQ(origin->url(), url);
        EXPECT_TRUE(waitUntil([origin] { return !covered(origin); }));
        EXPECT_EQ(markOf(origin), marker);
    }
};

TEST_F(PageTasksTest, failedDetailOrSearch_givesBackThePageAskedFromAsItWas)
{
    logIn();
    // A search results page to ask from, besides the home page.
    searchFrom(window->Chromium1, "Penulis", "a");
    ASSERT_TRUE(waitShowing(window->Chromium7, "search_result.html"));

    const struct
    {
        const char *name;
        TChromium *elumira::TFormMain::*origin;
        const char *path;
        std::function<void(TChromium *)> ask;
    } requests[] = {
        // The search results first: a failed search from elsewhere leaves the loading page in their view.
        {"detail from the search results", &elumira::TFormMain::Chromium7, "/api/wl/detailKonten",
         [](TChromium *from) { ASSERT_TRUE(click(from, QStringLiteral("#contents a[onclick*=detailFromSearch]"))); }},
        {"field search from the search results", &elumira::TFormMain::Chromium7, "/api/wl/searching",
         [](TChromium *from) { searchFrom(from, "Penulis", "sari"); }},
        {"sentence search from the search results", &elumira::TFormMain::Chromium7, "/api/wl/searchingKalimat",
         [](TChromium *from) { searchFrom(from, "Kalimat", "hutan bakau"); }},
        {"detail from the home page", &elumira::TFormMain::Chromium1, "/api/wl/detailKonten",
         [](TChromium *from) { ASSERT_TRUE(click(from, QStringLiteral("#myBooks .list-item a"))); }},
        {"field search from the home page", &elumira::TFormMain::Chromium1, "/api/wl/searching",
         [](TChromium *from) { searchFrom(from, "Penerbit", "pustaka"); }},
    };
    int n = 0;
    for (const auto &r : requests) {
        for (const Fault fault : {Fault::Html500, Fault::Dropped, Fault::NotJson}) {
            SCOPED_TRACE(::testing::Message() << r.name << ", fault " << static_cast<int>(fault));
            TChromium *origin = window.get()->*r.origin;
            window->ShowBrowserView(origin);
            dialogs.clear();
            const QString marker = QStringLiteral("m%1").arg(++n);
            mark(origin, marker);
            const QUrl url = origin->url();
            addFault(r.path, fault);
            r.ask(origin);
            expectBackAt(origin, url, marker);
            EXPECT_FALSE(window->SearchBusy);
        }
    }

    // The next click works: the page given back still leads on, to a search and from it to a book's detail.
    dialogs.clear();
    window->ShowBrowserView(window->Chromium1);
    const size_t searches = requestsTo("/api/wl/searching");
    searchFrom(window->Chromium1, "Penulis", "sari");
    ASSERT_TRUE(waitUntil([&] { return requestsTo("/api/wl/searching") == searches + 1 && !window->SearchBusy; }));
    ASSERT_TRUE(waitShowing(window->Chromium7, "search_result.html"));
    EXPECT_EQ(front(), window->Chromium7);
    ASSERT_TRUE(click(window->Chromium7, QStringLiteral("#contents a[onclick*=detailFromSearch]")));
    ASSERT_TRUE(waitShowing(window->Chromium3, "detail.html"));
    EXPECT_EQ(front(), window->Chromium3);
    EXPECT_TRUE(dialogs.boxes().isEmpty());
}

TEST_F(PageTasksTest, stalledService_everyRequestEndsWithItsBoxAwayFromTheLoadingPage)
{
    logIn();
    elumira::test::ShortRequestLimits limits;
    const QUrl home = window->Chromium1->url();

    const struct
    {
        const char *name;
        const char *path;
        std::function<void()> ask;
        Dialogs::Kind kind;
        const char *marker;
        TChromium *elumira::TFormMain::*then;
        const char *thenShowing;
    } cases[] = {
        {"detail", "/api/wl/detailKonten",
         [this] { ASSERT_TRUE(click(window->Chromium1, QStringLiteral("#myBooks .list-item a"))); },
         Dialogs::Kind::Error, "", &elumira::TFormMain::Chromium1, "index.html"},
        {"search", "/api/wl/searching", [this] { searchFrom(window->Chromium1, "Penulis", "a"); }, Dialogs::Kind::Error,
         "", &elumira::TFormMain::Chromium1, "index.html"},
        {"search from the search results", "/api/wl/searchingKalimat",
         [this] {
             searchFrom(window->Chromium1, "Penulis", "a");
             ASSERT_TRUE(waitShowing(window->Chromium7, "search_result.html"));
             searchFrom(window->Chromium7, "Kalimat", "hutan bakau");
         },
         Dialogs::Kind::Error, "", &elumira::TFormMain::Chromium7, "search_result.html"},
        {"chart", "/api/wl/listTopRead",
         [this] { ASSERT_TRUE(click(window->Chromium1, QStringLiteral(".category-list li:nth-child(1)"))); },
         Dialogs::Kind::Error, "#527 ", &elumira::TFormMain::Chromium1, "index.html"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        dialogs.clear();
        window->ShowBrowserView(window->Chromium1);
        addFault(c.path, Fault::Stalled);
        c.ask();
        // The loading page is in front while the request waits, and gone once it has given up.
        EXPECT_TRUE(waitUntil([this] { return loadingPageInFront(); }));
        ASSERT_TRUE(waitUntil([this] { return !dialogs.boxes().isEmpty(); }, 20000));
        EXPECT_EQ(dialogs.boxes().first().kind, c.kind);
        EXPECT_TRUE(dialogs.boxes().first().text.startsWith(QLatin1String(c.marker)));
        EXPECT_EQ(front(), window.get()->*c.then);
        EXPECT_TRUE(showing(window.get()->*c.then, c.thenShowing));
        EXPECT_FALSE(loadingPageInFront());
    }
    EXPECT_EQ(window->Chromium1->url(), home);
}

TEST_F(PageTasksTest, logInChain_failedStepAfterTheLogIn_endsOnTheLogInPageWithItsBox)
{
    auto limits = std::make_unique<elumira::test::ShortRequestLimits>();
    const struct
    {
        const char *name;
        const char *path;
        std::optional<Fault> fault;
        const char *body;
        const char *marker;
    } cases[] = {
        {"log-in stalled", "/api/wl/executeLogin", Fault::Stalled, nullptr, " #387 "},
        {"banners stalled", "/api/wl/listBanner", Fault::Stalled, nullptr, "#410 "},
        {"menu dropped", "/api/wl/menu", Fault::Dropped, nullptr, "#431 "},
        {"first home page stalled", "/api/wl/listHomepage", Fault::Stalled, nullptr, "#457 "},
        {"first home page refused", "/api/wl/listHomepage", std::nullopt, R"({"code":"400","msg":"Beranda kosong"})",
         "Beranda kosong"},
        {"log-in answer without a code", "/api/wl/executeLogin", std::nullopt, R"({"msg":"Coba lagi"})", "Coba lagi"},
        {"menu answer without a code", "/api/wl/menu", std::nullopt, R"({"data_departemen":[]})", ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        dialogs.clear();
        if (c.fault)
            addFault(c.path, *c.fault);
        else
            MainWindowOnDemo::addFault(c.path, 200, c.body);
        send(QStringLiteral("login"), A{QLatin1String(kEmail), QLatin1String(kPassword)});
        ASSERT_TRUE(waitUntil([this] { return !dialogs.boxes().isEmpty(); }, 20000));
        EXPECT_EQ(dialogs.boxes().size(), 1);
        EXPECT_EQ(dialogs.boxes().first().kind, Dialogs::Kind::Warning);
        EXPECT_TRUE(dialogs.boxes().first().text.startsWith(QLatin1String(c.marker)))
            << dialogs.boxes().first().text.toStdString();
        EXPECT_FALSE(dialogs.boxes().first().text.isEmpty());
        // The member can act: the log-in page is back and logging in works.
        ASSERT_TRUE(waitShowing(window->Chromium1, "login.html"));
        EXPECT_EQ(front(), window->Chromium1);
    }
    limits.reset();
    dialogs.clear();
    logIn();
    EXPECT_TRUE(dialogs.boxes().isEmpty());
}

TEST_F(PageTasksTest, detailWhileAnOlderRequestStalls_opensAtOnceAndTheLateAnswerChangesNothing)
{
    logIn();
    mark(window->Chromium1, QStringLiteral("home"));
    demo::Fault slow;
    slow.path = "/api/wl/listHomepage";
    slow.delayMs = 4000;
    service->control().addFault(slow);
    ASSERT_TRUE(click(window->Chromium1, QStringLiteral("#loadMore")));
    ASSERT_TRUE(waitUntil([this] { return requestsTo("/api/wl/listHomepage") == 2; }));
    EXPECT_EQ(window->HomePage, 2);

    // The window does not wait for the older request: when the dispatcher returns, its answer is still due.
    send(QStringLiteral("detail"), A{QStringLiteral("1012")});
    EXPECT_EQ(window->HomeLoaded, 10);
    EXPECT_EQ(front(), window->Chromium3);
    ASSERT_TRUE(waitShowing(window->Chromium3, "detail.html"));
    mark(window->Chromium3, QStringLiteral("detail"));

    // The older answer arrives and is let go: the detail stays in front as it is, the home page keeps its items,
    // and its More button is back for the page that was not loaded.
    ASSERT_TRUE(waitUntil([this] { return window->HomePage == 1; }, 20000));
    QTest::qWait(300);
    EXPECT_EQ(front(), window->Chromium3);
    EXPECT_EQ(markOf(window->Chromium3), QStringLiteral("detail"));
    EXPECT_EQ(markOf(window->Chromium1), QStringLiteral("home"));
    EXPECT_EQ(window->HomeLoaded, 10);
    EXPECT_EQ(evaluate(window->Chromium1->page(), QStringLiteral("$('#myBooks .section-item').length")).toInt(), 10);
    EXPECT_TRUE(evaluate(window->Chromium1->page(), QStringLiteral("$('#btnMore').is(':visible')")).toBool());
    EXPECT_TRUE(dialogs.boxes().isEmpty());

    // And the More button asks for that page again.
    window->ShowBrowserView(window->Chromium1);
    ASSERT_TRUE(click(window->Chromium1, QStringLiteral("#loadMore")));
    ASSERT_TRUE(waitUntil([this] { return window->HomeLoaded == 20; }));
    EXPECT_EQ(service->control().requests("/api/wl/listHomepage")["requests"][2]["body"], "page=2&limit=10");
}

TEST_F(PageTasksTest, logOutWhileARequestStalls_theLateAnswerLeavesTheLogInPage)
{
    logIn();
    // A page of sections that the service sends late, as it was when the request was made.
    demo::Fault slow;
    slow.path = "/api/wl/listHomepage";
    slow.delayMs = 3000;
    slow.status = 200;
    slow.body = R"({"code":"200","msg":"","count":25,"total":10,"data":[]})";
    slow.contentType = "application/json";
    service->control().addFault(slow);
    ASSERT_TRUE(click(window->Chromium1, QStringLiteral("#loadMore")));
    ASSERT_TRUE(waitUntil([this] { return requestsTo("/api/wl/listHomepage") == 2; }));

    dialogs.scriptAnswers({Dialogs::Answer::Ok});
    send(QStringLiteral("logout"));
    ASSERT_TRUE(waitShowing(window->Chromium1, "login.html"));
    mark(window->Chromium1, QStringLiteral("login"));

    // The answer of the ended session arrives (its task is gone) and is let go: the log-in page stays as it is.
    ASSERT_TRUE(
        waitUntil([this] { return window->findChildren<QObject *>(QStringLiteral("HomeContent")).isEmpty(); }, 20000));
    QTest::qWait(300);
    EXPECT_TRUE(showing(window->Chromium1, "login.html"));
    EXPECT_EQ(markOf(window->Chromium1), QStringLiteral("login"));
    EXPECT_EQ(front(), window->Chromium1);
}

} // namespace
