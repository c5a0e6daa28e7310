// Every request the program makes, against every fault the demo service can give it: the member gets one clear
// box (or, where the program names one, that box), the program goes on, the views are not left behind the
// loading page, and the open book with its annotations and copied passages is still there afterwards.
#include "common/dialogs.h"
#include "demo/catalogue.h"
#include "demo/control.h"
#include "demo/service.h"
#include "reader/open_books.h"
#include "reader/pdf_control.h"
#include "reader/reader_panel.h"
#include "service/lekora_lib.h"
#include "shell/main_window.h"
#include "shell/tchromium.h"
#include "tests/support/main_window_fixture.h"
#include "tests/support/service_faults.h"
#include "tests/support/short_request_limits.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <QStackedWidget>
#include <QTabWidget>
#include <QTcpServer>
#include <QTest>
#include <QTimer>

#include <functional>
#include <iostream>
#include <memory>

using elumira::Dialogs;
using elumira::Json;
using elumira::ProcessMessage;
using elumira::TChromium;
using elumira::TReaderPanel;
using elumira::TReaderSettings;
using elumira::test::evaluate;
using elumira::test::waitUntil;
using A = QList<ProcessMessage::Argument>;

namespace {

using Fault = elumira::test::ServiceFault;
using elumira::test::clearText;
using elumira::test::faultName;
constexpr auto &kAllFaults = elumira::test::kEveryServiceFault;
constexpr int kLimitMs = elumira::test::kFaultLimitMs;

// The seeded member last read book 1012 and saved annotations in it: the open book every case must leave alone.
const QString kOpenBook = QStringLiteral("1012");

class ServiceFaultsTest : public elumira::test::MainWindowOnDemo
{
protected:
    void SetUp() override
    {
        MainWindowOnDemo::SetUp();
        if (HasFatalFailure())
            return;
        // An address where nothing listens: a port just taken and given back.
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
        closedUrl = QStringLiteral("http://127.0.0.1:%1").arg(probe.serverPort());
        probe.close();
        logIn();
    }
    void TearDown() override
    {
        limits.reset();
        MainWindowOnDemo::TearDown();
    }

    TReaderPanel &reader() { return *window->reader(); }
    QWidget *sheet(int i) { return reader().sheets()[size_t(i)]; }

    // Makes the next request to path (or, for an unreachable service, every request) fail with fault.
    void inject(Fault fault, const std::string &path)
    {
        if (fault == Fault::Unreachable) {
            qputenv("ELUMIRA_SERVICE_URL", closedUrl.toUtf8());
            return;
        }
        if (fault == Fault::Stalled)
            limits = std::make_unique<elumira::test::ShortRequestLimits>(kLimitMs, kLimitMs);
        const demo::Fault f = elumira::test::demoFault(fault, path);
        service->control().addFault(f);
    }
    // The service is reachable again and gives no more faults.
    void heal()
    {
        limits.reset();
        qputenv("ELUMIRA_SERVICE_URL", QByteArray::fromStdString(service->baseUrl()));
        service->control().clearFaults();
    }

    bool loadingPageInFront() const
    {
        auto *view = qobject_cast<TChromium *>(front());
        return view && (showing(view, "loading.html") ||
                        evaluate(view->page(), QStringLiteral("document.getElementById('elumiraLoadingCover') !== null"),
                                 3000)
                            .toBool());
    }

    // Opens a book from its detail page as the member does, and waits until it is open.
    void openBook(const QString &id)
    {
        const int before = reader().books().detailCount();
        showDetail(id);
        ASSERT_TRUE(waitUntil([this] { return click(window->Chromium3, QStringLiteral(".btn-baca")); }));
        ASSERT_TRUE(waitUntil([&] { return reader().books().detailCount() == before + 1; }, 30000))
            << (dialogs.boxes().isEmpty() ? std::string() : dialogs.boxes().last().text.toStdString());
    }
    void showDetail(const QString &id)
    {
        evaluate(window->Chromium3->page(), QStringLiteral("window.shownBefore = true; 0"));
        send(QStringLiteral("detail"), {id}, window->Chromium1);
        ASSERT_TRUE(waitUntil(
            [&] {
                const Json *detail = lekora->DetailContentJson();
                return detail && detail->contains("data") && elumira::jsonText((*detail)["data"], "id") == id
                    && waitShowing(window->Chromium3, "detail.html", 2000)
                    && evaluate(window->Chromium3->page(), QStringLiteral("String(window.shownBefore)"))
                           == QStringLiteral("undefined");
            },
            30000));
    }

    // Books of the demo library that the seeded member has not read and that have a copy free.
    QString unreadBook(int n)
    {
        for (const demo::Book &b : service->catalogue().books()) {
            const QString id = QString::fromStdString(b.id);
            if (id == kOpenBook || id == QLatin1String("1007") || id == QLatin1String("1024")
                || b.qty - b.heldElsewhere <= 0)
                continue;
            if (n-- == 0)
                return id;
        }
        return {};
    }
    std::string fileOf(const QString &id)
    {
        return "/pc/lkr/" + service->catalogue().book(id.toStdString())->namaPcFile;
    }

    // What the member has in the open book: its record, its annotations and its copied passages.
    struct Kept
    {
        Json annotations;
        Json copies;
    };
    Kept keptOf(const QString &id)
    {
        const elumira::TDetailBook *book = reader().books().detail(id);
        if (!book)
            return {};
        const TReaderSettings *settings = reader().books().settings(book->TabSheet->objectName());
        return settings ? Kept{settings->AnnotationObject, settings->TextCopyObject} : Kept{};
    }
    // The book is still open, usable and holds what it held.
    void expectStillOpen(const QString &id, const Kept &kept)
    {
        const elumira::TDetailBook *book = reader().books().detail(id);
        ASSERT_NE(book, nullptr) << "the open book was lost";
        elumira::TPdfControl *view = reader().viewOf(book->TabSheet);
        ASSERT_NE(view, nullptr);
        const Kept now = keptOf(id);
        EXPECT_EQ(now.annotations, kept.annotations);
        EXPECT_EQ(now.copies, kept.copies);
        const int page = view->PageIndex();
        view->setPageIndex(page == 0 ? 1 : 0);
        EXPECT_NE(view->PageIndex(), page) << "the open book no longer turns its pages";
        view->setPageIndex(page);
    }

    // After a failed request: one clear box (the one expected when given), no loading page left in front, and
    // back on the log-in page only when the member has to log in again.
    void expectHandled(Fault fault, bool boxExpected, const std::function<bool(const QString &)> &expectedText)
    {
        if (boxExpected) {
            ASSERT_TRUE(waitUntil([this] { return !dialogs.boxes().isEmpty(); }, 20000))
                << "no box was shown for " << faultName(fault);
            heal();
            QTest::qWait(100);
            EXPECT_EQ(dialogs.boxes().size(), 1);
            const QString text = dialogs.boxes().first().text;
            EXPECT_TRUE(clearText(text)) << text.toStdString();
            EXPECT_NE(dialogs.boxes().first().kind, Dialogs::Kind::Information) << text.toStdString();
            if (expectedText) {
                EXPECT_TRUE(expectedText(text)) << text.toStdString();
            }
        }
        EXPECT_TRUE(waitUntil([this] { return !loadingPageInFront(); }, 20000)) << "the loading page stayed";
        EXPECT_FALSE(window->SearchBusy);
        EXPECT_TRUE(window->isVisible());
    }

    // When the case ended on the log-in page, logs in again for the next one.
    void logInAgainIfAsked()
    {
        heal();
        if (showing(window->Chromium1, "login.html") || !window->PanelHeader->isVisible()) {
            dialogs.clear();
            logIn();
        }
        window->ShowBrowserView(window->Chromium1);
    }

    void runMainWindowTable(bool logInSide);

    QString closedUrl;
    std::unique_ptr<elumira::test::ShortRequestLimits> limits;
};

bool authBox(const QString &text)
{
    return text.startsWith(QLatin1String("Authentication Error : ")) || text == QLatin1String("Auth Failed");
}

// The main window's requests; those of the log-in and the log-out (which end on the log-in page) apart from the
// catalogue's, so that each half runs on its own.
void ServiceFaultsTest::runMainWindowTable(bool logInSide)
{
    openBook(kOpenBook);
    ASSERT_FALSE(HasFatalFailure());
    dialogs.clear();
    const Kept kept = keptOf(kOpenBook);
    ASSERT_FALSE(kept.annotations.is_null());

    const Json *home = lekora->HomeContentJson();
    ASSERT_TRUE(home && !(*home)["data"].empty());
    const Json &section = (*home)["data"][0];
    const QString sectionId = elumira::jsonText(section, "id_homepage").isEmpty()
                                  ? elumira::jsonText(section, "id")
                                  : elumira::jsonText(section, "id_homepage");
    const Json *menu = lekora->CategoryJson();
    ASSERT_TRUE(menu);
    const Json &department = (*menu)["data_departemen"][0];
    const QString deptId = elumira::jsonText(department, "id_departemen");
    const Json &category = department["data_kategori"][0];
    const QString categoryId = elumira::jsonText(category, "id_kategori");
    const QString subCategoryId = elumira::jsonText(category["data_sub_kategori"][0], "id_sub_kategori");

    const QString email = QLatin1String(kEmail), password = QLatin1String(kPassword);
    const struct
    {
        const char *name;
        const char *path;
        std::function<void()> ask;
        bool boxExpected;
    } requests[] = {
        {"log-in", "/api/wl/executeLogin", [&] { send(QStringLiteral("login"), A{email, password}); }, true},
        {"banners", "/api/wl/listBanner", [&] { send(QStringLiteral("login"), A{email, password}); }, true},
        {"menu", "/api/wl/menu", [&] { send(QStringLiteral("login"), A{email, password}); }, true},
        {"first home page", "/api/wl/listHomepage", [&] { send(QStringLiteral("login"), A{email, password}); },
         true},
        {"more home sections", "/api/wl/listHomepage", [&] { send(QStringLiteral("loadMore")); }, true},
        {"home section", "/api/wl/listHomepageDetail",
         [&] { send(QStringLiteral("homeDetail"), A{sectionId, QStringLiteral("Pilihan")}); }, true},
        {"category", "/api/wl/listContentCategory",
         [&] {
             send(QStringLiteral("kategoriKonten"),
                  A{deptId, categoryId, QStringLiteral("1"), QStringLiteral("Kategori")});
         },
         true},
        {"sub-category", "/api/wl/listContentSubCategory",
         [&] {
             send(QStringLiteral("subKategoriKonten"),
                  A{deptId, subCategoryId, QStringLiteral("1"), QStringLiteral("Sub")});
         },
         true},
        {"most read", "/api/wl/listTopRead", [&] { send(QStringLiteral("topChart")); }, true},
        {"last read", "/api/wl/listLastRead", [&] { send(QStringLiteral("lastRead")); }, true},
        {"last viewed", "/api/wl/listLastView", [&] { send(QStringLiteral("lastView")); }, true},
        {"detail", "/api/wl/detailKonten", [&] { send(QStringLiteral("detail"), A{QStringLiteral("1003")}); }, true},
        {"field search", "/api/wl/searching",
         [&] { send(QStringLiteral("searching"), A{QStringLiteral("sari"), QStringLiteral("Penulis"), std::int32_t(1)}); }, true},
        {"sentence search", "/api/wl/searchingKalimat",
         [&] { send(QStringLiteral("searching"), A{QStringLiteral("hutan bakau"), QStringLiteral("Kalimat"), std::int32_t(1)}); },
         true},
        // The member leaves whatever the service says: the log-in page, no box.
        {"log-out", "/api/wl/executeLogout",
         [&] {
             dialogs.scriptAnswers({Dialogs::Answer::Ok});
             send(QStringLiteral("logout"));
         },
         false},
    };

    for (const auto &r : requests) {
        const std::string path = r.path;
        const bool onLogInSide = r.name == std::string("more home sections")
            ? false
            : path == "/api/wl/executeLogin" || path == "/api/wl/listBanner" || path == "/api/wl/menu"
                || path == "/api/wl/listHomepage" || path == "/api/wl/executeLogout";
        if (onLogInSide != logInSide)
            continue;
        for (const Fault fault : kAllFaults) {
            SCOPED_TRACE(::testing::Message() << r.name << ", " << faultName(fault));
            dialogs.clear();
            window->ShowBrowserView(window->Chromium1);
            inject(fault, r.path);
            r.ask();
            if (!r.boxExpected) {
                EXPECT_TRUE(waitShowing(window->Chromium1, "login.html"));
                // Give a late box the time to appear: the member is asked, and told nothing more.
                QTest::qWait(fault == Fault::Stalled ? kLimitMs + 500 : 300);
                ASSERT_EQ(dialogs.boxes().size(), 1);
                EXPECT_EQ(dialogs.boxes().first().kind, Dialogs::Kind::Confirmation);
            }
            expectHandled(fault, r.boxExpected, fault == Fault::AuthFailed ? authBox : nullptr);
            for (const auto &box : dialogs.boxes())
                std::cerr << "      [" << r.name << ", " << faultName(fault) << "] " << box.text.toStdString() << "\n";
            expectStillOpen(kOpenBook, kept);
            logInAgainIfAsked();
        }
    }

    // Everything still works: a detail page opens and leads on to a search.
    dialogs.clear();
    showDetail(QStringLiteral("1003"));
    send(QStringLiteral("searching"), A{QStringLiteral("sari"), QStringLiteral("Penulis"), std::int32_t(1)});
    EXPECT_TRUE(waitShowing(window->Chromium7, "search_result.html"));
    EXPECT_TRUE(dialogs.boxes().isEmpty());
    expectStillOpen(kOpenBook, kept);
}

TEST_F(ServiceFaultsTest, logInAndLogOut_everyFault_oneClearBoxAndTheOpenBookKept)
{
    runMainWindowTable(true);
}

TEST_F(ServiceFaultsTest, catalogueRequests_everyFault_oneClearBoxAndTheOpenBookKept)
{
    runMainWindowTable(false);
}

TEST_F(ServiceFaultsTest, borrowing_everyFaultOfTheFileTheLoanAndTheSavedAnnotations_leavesOnlyTheOpenBook)
{
    openBook(kOpenBook);
    ASSERT_FALSE(HasFatalFailure());
    const Kept kept = keptOf(kOpenBook);
    const QString id = unreadBook(0);
    const std::string document = "/pc/anotasi/faults.json";

    const struct
    {
        const char *name;
        std::function<std::string()> prepare; // returns the path the fault is for
    } requests[] = {
        {"book file", [&] { return fileOf(id); }},
        {"loan", [&] { return std::string("/api/wl/requestBaca"); }},
        {"saved annotations",
         [&] {
             // A loan whose annotations are kept at an address of the service.
             addFault("/api/wl/requestBaca", 200,
                      Json{{"code", "200"},
                           {"msg", "OK"},
                           {"id_baca", "77"},
                           {"page_index", 0},
                           {"file_anotasi", service->baseUrl() + document},
                           {"rate", 4}}
                          .dump());
             return document;
         }},
    };
    for (const auto &r : requests) {
        for (const Fault fault : kAllFaults) {
            SCOPED_TRACE(::testing::Message() << r.name << ", " << faultName(fault));
            showDetail(id);
            ASSERT_FALSE(HasFatalFailure());
            dialogs.clear();
            const std::string path = r.prepare();
            if (fault == Fault::Unreachable && path == document) {
                // Only the annotations' address leads nowhere.
                service->control().clearFaults();
                addFault("/api/wl/requestBaca", 200,
                         Json{{"code", "200"},
                              {"msg", "OK"},
                              {"id_baca", "77"},
                              {"page_index", 0},
                              {"file_anotasi", closedUrl.toStdString() + document},
                              {"rate", 4}}
                             .dump());
            } else {
                inject(fault, path);
            }
            ASSERT_TRUE(waitUntil([this] { return click(window->Chromium3, QStringLiteral(".btn-baca")); }));
            expectHandled(fault, true, fault == Fault::AuthFailed && path != fileOf(id) ? authBox : nullptr);
            for (const auto &box : dialogs.boxes())
                std::cerr << "      [" << r.name << ", " << faultName(fault) << "] " << box.text.toStdString() << "\n";
            EXPECT_EQ(reader().books().detail(id), nullptr) << "a book that failed to open was left behind";
            EXPECT_EQ(window->OpenBookCount, 1);
            EXPECT_EQ(reader().books().detailCount(), 1);
            expectStillOpen(kOpenBook, kept);
            logInAgainIfAsked();
        }
    }
    // The loans the failed openings took were not kept by the service: the book still opens.
    dialogs.clear();
    openBook(id);
    EXPECT_EQ(window->OpenBookCount, 2);
}

TEST_F(ServiceFaultsTest, returnAndReports_everyFault_keepTheBookOrTellWhatWasNotSaved)
{
    const QString id = unreadBook(1);
    auto settingsOf = [this](const QString &book) {
        const elumira::TDetailBook *record = reader().books().detail(book);
        return record ? reader().books().settings(record->TabSheet->objectName()) : nullptr;
    };
    // Something of the member's own in the book: an annotation and a copied passage.
    auto markBook = [&] {
        TReaderSettings *settings = settingsOf(id);
        ASSERT_NE(settings, nullptr);
        settings->AnnotationObject["elumira_test"] = "catatan anggota";
        settings->TextCopyObject["elumira_test"] = "salinan anggota";
    };
    auto received = [this](const char *path) {
        std::vector<std::string> bodies;
        const Json log = service->control().requests(path);
        for (const Json &r : log["requests"])
            bodies.push_back(r["body"].is_string() ? r["body"].get<std::string>() : std::string());
        return bodies;
    };
    auto returnBook = [&] {
        window->PageControl1->setCurrentWidget(reader().books().detail(id)->TabSheet);
        dialogs.scriptAnswers({Dialogs::Answer::Yes});
        window->btnReturnClick();
    };

    // The return: refused or failed, the book stays open with everything in it; taken, the documents follow.
    for (const Fault fault : kAllFaults) {
        SCOPED_TRACE(::testing::Message() << "return, " << faultName(fault));
        if (!reader().books().detail(id)) {
            openBook(id);
            ASSERT_FALSE(HasFatalFailure());
            markBook();
        }
        const Kept kept = keptOf(id);
        dialogs.clear();
        service->control().clearRequests();
        inject(fault, "/api/wl/bookReturn");
        returnBook();
        ASSERT_TRUE(waitUntil([this] { return dialogs.boxes().size() >= 2; }, 20000));
        heal();
        for (const auto &box : dialogs.boxes())
            std::cerr << "      [return, " << faultName(fault) << "] " << box.text.toStdString() << "\n";
        EXPECT_EQ(dialogs.boxes().size(), 2);
        const QString text = dialogs.boxes().last().text;
        EXPECT_TRUE(clearText(text)) << text.toStdString();
        expectStillOpen(id, kept);
        ASSERT_NE(settingsOf(id), nullptr);
        EXPECT_TRUE(settingsOf(id)->TimerChecking->isActive());
        EXPECT_TRUE(received("/api/wl/saveAnotasi").empty());
        logInAgainIfAsked();
    }

    // The documents after a return the service took: a failure to save them is told, never passed over.
    const struct
    {
        const char *name;
        const char *path;
    } documents[] = {{"annotations", "/api/wl/saveAnotasi"}, {"copied passages", "/api/wl/copyText"}};
    for (const auto &d : documents) {
        for (const Fault fault : kAllFaults) {
            if (fault == Fault::Unreachable)
                continue; // the return itself would not reach the service
            SCOPED_TRACE(::testing::Message() << d.name << ", " << faultName(fault));
            if (!reader().books().detail(id)) {
                openBook(id);
                ASSERT_FALSE(HasFatalFailure());
                markBook();
            }
            dialogs.clear();
            service->control().clearRequests();
            inject(fault, d.path);
            returnBook();
            ASSERT_TRUE(waitUntil([this] { return dialogs.boxes().size() >= 2; }, 20000)) << "no box was shown";
            heal();
            for (const auto &box : dialogs.boxes())
                std::cerr << "      [" << d.name << ", " << faultName(fault) << "] " << box.text.toStdString() << "\n";
            EXPECT_EQ(dialogs.boxes().size(), 2);
            const QString text = dialogs.boxes().last().text;
            EXPECT_TRUE(clearText(text)) << text.toStdString();
            EXPECT_EQ(dialogs.boxes().last().kind, Dialogs::Kind::Error);
            EXPECT_EQ(reader().books().detail(id), nullptr);
            EXPECT_EQ(received("/api/wl/bookReturn").size(), 1u);
        }
    }

    // The status report that would end an idle book: unanswered, the book stays open and the report is made
    // again later; nothing is sent in its place.
    for (const Fault fault : kAllFaults) {
        SCOPED_TRACE(::testing::Message() << "idle report, " << faultName(fault));
        if (!reader().books().detail(id)) {
            openBook(id);
            ASSERT_FALSE(HasFatalFailure());
            markBook();
        }
        const Kept kept = keptOf(id);
        dialogs.clear();
        service->control().clearRequests();
        TReaderSettings *settings = settingsOf(id);
        settings->ReadStatus = 0;
        settings->CheckingTime = TReaderPanel::kReportPeriod;
        inject(fault, "/api/wl/updateReadStatus");
        reader().TimerTick(settings->TimerChecking);
        ASSERT_TRUE(waitUntil([&] { return settingsOf(id) == nullptr || settingsOf(id)->TimerChecking->isActive(); },
                              20000));
        heal();
        QTest::qWait(200);
        expectStillOpen(id, kept);
        EXPECT_TRUE(dialogs.boxes().isEmpty());
        EXPECT_TRUE(received("/api/wl/saveAnotasi").empty());
        EXPECT_TRUE(received("/api/wl/copyText").empty());
        logInAgainIfAsked();
        settingsOf(id)->ReadStatus = 1;
    }
}

} // namespace
