// Opening borrowed books against the demo library service: the resume question, sentence hits, the free tab,
// every failure of the download, the loan and the saved annotations, and overlapping openings.
#include "demo/book_files.h"
#include "demo/book_text.h"
#include "demo/catalogue.h"
#include "reader/pdf_control.h"
#include "reader/reader_panel.h"
#include "service/lekora_lib.h"
#include "shell/tchromium.h"
#include "tests/support/main_window_fixture.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QStackedWidget>
#include <QTabBar>
#include <QTimer>
#include <QTabWidget>
#include <QTest>

using elumira::Dialogs;
using elumira::Json;
using elumira::TDetailBook;
using elumira::TPdfControl;
using elumira::TReaderPanel;
using elumira::TReaderSettings;
using elumira::test::waitUntil;

namespace {

// The seeded member last read book 1012 at page index 17 and saved a rectangle and a note in it.
const QString kResumedBook = QStringLiteral("1012");

class BookOpeningTest : public elumira::test::MainWindowOnDemo
{
protected:
    void SetUp() override
    {
        MainWindowOnDemo::SetUp();
        if (!HasFatalFailure())
            logIn();
    }

    TReaderPanel &reader() { return *window->reader(); }
    QWidget *sheet(int i) { return reader().sheets()[i]; }
    TPdfControl *viewIn(int i) { return reader().viewOf(sheet(i)); }
    QString pageBox() { return reader().toolbar().edPage->text(); }

    // The detail page of a book, as the member opens it from a list: a page other than the one shown before.
    void showDetail(const QString &id)
    {
        elumira::test::evaluate(window->Chromium3->page(), QStringLiteral("window.shownBefore = true; 0"));
        send(QStringLiteral("detail"), {id}, window->Chromium1);
        ASSERT_TRUE(waitUntil(
            [&] {
                const Json *detail = lekora->DetailContentJson();
                return detail && elumira::jsonText((*detail)["data"], "id") == id
                    && waitShowing(window->Chromium3, "detail.html", 2000)
                    && elumira::test::evaluate(window->Chromium3->page(), QStringLiteral("String(window.shownBefore)"))
                           == QStringLiteral("undefined");
            },
            30000));
    }
    // Presses the detail page's read button.
    void pressRead(const QString &id)
    {
        showDetail(id);
        ASSERT_TRUE(click(window->Chromium3, QStringLiteral(".btn-baca")));
    }
    // Waits until a book is open in tab i, or a box has been shown.
    bool waitOpenIn(int i) { return waitUntil([&] { return reader().books().detailOfTab(sheet(i)) != nullptr; }); }
    bool waitBox() { return waitUntil([&] { return !dialogs.boxes().isEmpty(); }); }

    const demo::Book &book(const QString &id) { return *service->catalogue().book(id.toStdString()); }
    QString pageTotal(const QString &id) { return QString::number(book(id).pages); }
    QString fileOf(const QString &id) { return QStringLiteral("/pc/lkr/") + QString::fromStdString(book(id).namaPcFile); }
    // Books the seeded member has not read yet and that have a copy free.
    QString unreadBook(int n)
    {
        for (const demo::Book &b : service->catalogue().books()) {
            const QString id = QString::fromStdString(b.id);
            if (id == kResumedBook || id == QLatin1String("1007") || id == QLatin1String("1024") || b.qty - b.heldElsewhere <= 0)
                continue;
            if (n-- == 0)
                return id;
        }
        return {};
    }
    // A word of a page of a demo book, long enough to be a whole word of its own.
    QString wordOnPage(const QString &id, int page)
    {
        const demo::BookText &text = service->books().text(book(id));
        for (const QString &word : QString::fromStdString(text.pages[size_t(page)].text).split(QLatin1Char(' '))) {
            if (word.size() >= 6 && std::all_of(word.begin(), word.end(), [](QChar c) { return c.isLetter(); }))
                return word;
        }
        return {};
    }
    void expectNothingLeftBehind()
    {
        EXPECT_EQ(window->OpenBookCount, 0);
        EXPECT_EQ(reader().books().detailCount(), 0);
        EXPECT_EQ(reader().books().settingsCount(), 0);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(viewIn(i), nullptr) << i;
            EXPECT_FALSE(window->PageControl1->isTabVisible(i)) << i;
        }
        EXPECT_FALSE(window->PageControl1->tabBar()->isVisible());
    }
};

TEST_F(BookOpeningTest, resumeQuestion_yesGoesToTheLastPageRead_noStaysOnTheFirst)
{
    const struct
    {
        Dialogs::Answer answer;
        int page;
        QString box;
    } cases[] = {{Dialogs::Answer::Yes, 17, QStringLiteral("18/")}, {Dialogs::Answer::No, 0, QStringLiteral("1/")}};
    for (const auto &c : cases) {
        dialogs.clear();
        dialogs.scriptAnswers({c.answer});
        pressRead(kResumedBook);
        ASSERT_TRUE(waitOpenIn(0));
        ASSERT_EQ(dialogs.boxes().size(), 1);
        EXPECT_EQ(dialogs.boxes().first().kind, Dialogs::Kind::Confirmation);
        EXPECT_EQ(dialogs.boxes().first().buttons, Dialogs::Buttons::YesNo);
        EXPECT_EQ(dialogs.boxes().first().text, QStringLiteral("Lanjut ke halaman terakhir yang anda baca?"));
        EXPECT_EQ(viewIn(0)->PageIndex(), c.page);
        EXPECT_EQ(pageBox(), c.box + pageTotal(kResumedBook));
        EXPECT_EQ(reader().books().settings(QStringLiteral("TabSheet1"))->CurrentPage, pageBox());
        EXPECT_EQ(window->frontSurface(), window->PanelReader);
        EXPECT_TRUE(waitShowing(window->Chromium3, "detail.html"));
        reader().removeBook(sheet(0));
    }
}

TEST_F(BookOpeningTest, opening_fillsTheRecordsAndTheTabAndLoadsTheSavedAnnotations)
{
    dialogs.scriptAnswers({Dialogs::Answer::No});
    pressRead(kResumedBook);
    ASSERT_TRUE(waitOpenIn(0));
    const TDetailBook *record = reader().books().detail(kResumedBook);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->TabSheet, sheet(0));
    EXPECT_EQ(record->judul, QString::fromStdString(book(kResumedBook).judul));
    EXPECT_EQ(record->page_index, 17);
    EXPECT_FALSE(record->id_baca.isEmpty());
    EXPECT_EQ(window->OpenBookCount, 1);
    EXPECT_EQ(window->PageControl1->tabText(0), record->judul);
    EXPECT_EQ(window->PageControl1->currentIndex(), 0);
    EXPECT_TRUE(window->PageControl1->tabBar()->isVisible());

    const TReaderSettings *settings = reader().books().settings(QStringLiteral("TabSheet1"));
    ASSERT_NE(settings, nullptr);
    EXPECT_EQ(settings->IdBaca, record->id_baca);
    EXPECT_EQ(settings->CurrentZoomIndex, 2);
    EXPECT_TRUE(settings->AutoPageChange);
    EXPECT_EQ(settings->ReadStatus, 1);
    ASSERT_TRUE(settings->AnnotationObject["data"].is_array());
    EXPECT_EQ(settings->AnnotationObject["data"][0]["type"], "RECTANGLE");
    EXPECT_EQ(settings->TextCopyObject, (Json{{"id_konten", "1012"}, {"data", Json::array()}}));
    EXPECT_EQ(settings->TimerIdle->objectName(), QStringLiteral("TabSheet1_TimerIdle"));
    EXPECT_EQ(settings->TimerChecking->objectName(), QStringLiteral("TabSheet1_TimerChecking"));
    EXPECT_TRUE(settings->TimerIdle->isActive() && settings->TimerChecking->isActive());
    EXPECT_EQ(viewIn(0)->ScaleMode(), TPdfControl::smZoom);
    EXPECT_EQ(viewIn(0)->ZoomPercentage(), 100);
    EXPECT_FALSE(viewIn(0)->AllowUserTextSelection());
    EXPECT_TRUE(viewIn(0)->AutoPageChange());
    EXPECT_EQ(viewIn(0)->PageCount(), book(kResumedBook).pages);
}

TEST_F(BookOpeningTest, bookNeverRead_opensOnTheFirstPageWithoutAsking)
{
    const QString id = unreadBook(0);
    pressRead(id);
    ASSERT_TRUE(waitOpenIn(0));
    EXPECT_TRUE(dialogs.boxes().isEmpty());
    EXPECT_EQ(pageBox(), QStringLiteral("1/") + pageTotal(id));
    // Without saved annotations the book starts with an empty document of its own.
    EXPECT_EQ(reader().books().settings(QStringLiteral("TabSheet1"))->AnnotationObject,
              (Json{{"id_konten", id.toStdString()}, {"data", Json::array()}}));
    const Json log = service->control().requests("");
    for (const Json &request : log["requests"])
        EXPECT_NE(request["path"].get<std::string>().rfind("/pc/anotasi/", 0), 0u) << request["path"];
}

TEST_F(BookOpeningTest, sentenceHit_opensAtItsPageWithTheKeywordMarked_firstPageIncluded)
{
    for (const int hit : {12, 0}) {
        const QString keyword = wordOnPage(kResumedBook, hit);
        ASSERT_FALSE(keyword.isEmpty());
        dialogs.clear();
        // The member is on the sentence-search results when they press a hit's read button.
        window->ShowBrowserView(window->Chromium7);
        window->SentenceKeyword = keyword;
        send(QStringLiteral("bacaKalimat"), {kResumedBook, QString::number(hit)}, window->Chromium7);
        ASSERT_TRUE(waitOpenIn(0)) << hit;
        EXPECT_TRUE(dialogs.boxes().isEmpty()) << "a hit opens at its page without asking, " << hit;
        EXPECT_EQ(viewIn(0)->PageIndex(), hit);
        EXPECT_EQ(pageBox(), QString::number(hit + 1) + QLatin1Char('/') + pageTotal(kResumedBook));
        EXPECT_EQ(reader().toolbar().edSearch->text(), keyword);
        EXPECT_FALSE(viewIn(0)->highlightRects().isEmpty()) << keyword.toStdString();
        EXPECT_EQ(window->SentencePage, 0);
        EXPECT_EQ(window->frontSurface(), window->PanelReader);
        EXPECT_EQ(window->panelBrowser->currentWidget(), window->Chromium7) << "the results wait behind the reader";
        reader().removeBook(sheet(0));
    }
}

TEST_F(BookOpeningTest, nextBook_goesIntoTheFirstFreeTabAndBecomesActive)
{
    const QString first = unreadBook(0), second = unreadBook(1), third = unreadBook(2), fourth = unreadBook(3);
    for (int i = 0; i < 3; ++i) {
        pressRead(unreadBook(i));
        ASSERT_TRUE(waitOpenIn(i)) << i;
    }
    EXPECT_EQ(window->OpenBookCount, 3);
    EXPECT_EQ(window->PageControl1->currentIndex(), 2);

    // The member returns the second book; its tab is the free one then.
    window->PageControl1->setCurrentIndex(1);
    dialogs.scriptAnswers({Dialogs::Answer::Yes});
    window->btnReturnClick();
    ASSERT_TRUE(waitUntil([&] { return requestsTo("/api/wl/bookReturn") == 1 && window->OpenBookCount == 2; }));
    EXPECT_EQ(reader().books().detail(second), nullptr);

    pressRead(fourth);
    ASSERT_TRUE(waitOpenIn(1));
    EXPECT_EQ(reader().books().detailOfTab(sheet(1))->id, fourth);
    EXPECT_EQ(window->PageControl1->currentIndex(), 1);
    EXPECT_EQ(reader().books().detailOfTab(sheet(0))->id, first);
    EXPECT_EQ(reader().books().detailOfTab(sheet(2))->id, third);
    EXPECT_EQ(window->OpenBookCount, 3);
}

TEST_F(BookOpeningTest, downloadFailure_showsItsBoxAndBringsTheDetailPageBack)
{
    const QString id = unreadBook(0);
    const struct
    {
        const char *name;
        bool drop;
        QString box;
    } cases[] = {{"404", false, QStringLiteral("Jaringan Error dengan Status : 404")},
                 {"dropped", true, QStringLiteral("Request Error #671: ")}};
    for (const auto &c : cases) {
        dialogs.clear();
        demo::Fault fault;
        fault.path = fileOf(id).toStdString();
        if (c.drop)
            fault.drop = true;
        else
            fault.status = 404;
        service->control().addFault(fault);
        pressRead(id);
        ASSERT_TRUE(waitBox()) << c.name;
        EXPECT_EQ(dialogs.boxes().first().kind, Dialogs::Kind::Error) << c.name;
        EXPECT_TRUE(dialogs.boxes().first().text.startsWith(c.box)) << dialogs.boxes().first().text.toStdString();
        EXPECT_TRUE(waitShowing(window->Chromium3, "detail.html")) << c.name;
        EXPECT_EQ(front(), window->Chromium3);
        EXPECT_EQ(requestsTo("/api/wl/requestBaca"), 0u);
        expectNothingLeftBehind();
    }
}

TEST_F(BookOpeningTest, loanRefused_warnsWithTheServiceText_authFailedGoesToTheLogInPage)
{
    const QString id = unreadBook(0);
    addFault("/api/wl/requestBaca", 200, R"({"code":"400","msg":"Stok buku sedang kosong"})");
    pressRead(id);
    ASSERT_TRUE(waitBox());
    EXPECT_EQ(dialogs.boxes().first().kind, Dialogs::Kind::Warning);
    EXPECT_EQ(dialogs.boxes().first().text, QStringLiteral("Stok buku sedang kosong"));
    EXPECT_TRUE(waitShowing(window->Chromium3, "detail.html"));
    expectNothingLeftBehind();

    dialogs.clear();
    addFault("/api/wl/requestBaca", 200, R"({"code":"500","msg":"Auth Failed"})");
    pressRead(id);
    ASSERT_TRUE(waitBox());
    EXPECT_EQ(dialogs.boxes().first().kind, Dialogs::Kind::Error);
    EXPECT_EQ(dialogs.boxes().first().text, QStringLiteral("Authentication Error : Akun Anda Digunakan Di Perangkat Lain"));
    EXPECT_TRUE(waitShowing(window->Chromium1, "login.html"));
    expectNothingLeftBehind();
}

TEST_F(BookOpeningTest, sameBookTwice_isRefusedAndChangesNothing)
{
    const QString id = unreadBook(0);
    pressRead(id);
    ASSERT_TRUE(waitOpenIn(0));
    const TDetailBook *open = reader().books().detail(id);
    const QString loan = open->id_baca;

    pressRead(id);
    ASSERT_TRUE(waitBox());
    EXPECT_EQ(dialogs.boxes().first().kind, Dialogs::Kind::Error);
    EXPECT_TRUE(dialogs.boxes().first().text.startsWith(QStringLiteral("Error Exception #1098 : ")));
    EXPECT_EQ(window->OpenBookCount, 1);
    EXPECT_EQ(reader().books().detail(id), open);
    EXPECT_EQ(open->id_baca, loan);
    EXPECT_EQ(open->TabSheet, sheet(0));
    EXPECT_EQ(viewIn(1), nullptr);
    EXPECT_FALSE(window->PageControl1->isTabVisible(1));
    EXPECT_TRUE(waitShowing(window->Chromium3, "detail.html"));
}

TEST_F(BookOpeningTest, savedAnnotationsThatCannotBeRead_stopTheOpeningAndLeaveNothing)
{
    const QString id = unreadBook(0);
    const std::string saved = service->baseUrl() + "/pc/anotasi/broken.json";
    const struct
    {
        const char *name;
        std::optional<std::string> document; // none: the address answers 404
        QString reason;
    } cases[] = {
        {"missing", std::nullopt, QStringLiteral("the saved annotations could not be fetched")},
        {"not JSON", std::string("{\"id_konten\": \"1\", \"data\": [ {"), QStringLiteral("the saved annotations are not")},
        {"not an object", std::string("[1, 2, 3]"), QStringLiteral("the saved annotations are not")},
    };
    for (const auto &c : cases) {
        dialogs.clear();
        addFault("/api/wl/requestBaca", 200,
                 Json{{"code", "200"}, {"msg", "OK"}, {"id_baca", "77"}, {"page_index", 0}, {"file_anotasi", saved},
                      {"rate", 4}}
                     .dump());
        if (c.document)
            addFault("/pc/anotasi/broken.json", 200, *c.document);
        pressRead(id);
        ASSERT_TRUE(waitBox()) << c.name;
        ASSERT_EQ(dialogs.boxes().size(), 1) << c.name;
        EXPECT_EQ(dialogs.boxes().first().kind, Dialogs::Kind::Error);
        EXPECT_TRUE(dialogs.boxes().first().text.startsWith(QStringLiteral("Error Exception #1287 : ") + c.reason))
            << dialogs.boxes().first().text.toStdString();
        EXPECT_TRUE(waitShowing(window->Chromium3, "detail.html"));
        EXPECT_EQ(front(), window->Chromium3);
        expectNothingLeftBehind();
    }
}

TEST_F(BookOpeningTest, overlappingBorrowings_eachOpenTheirOwnBookWithTheirOwnTitle)
{
    const QString slow = unreadBook(0), quick = unreadBook(1);
    demo::Fault delay;
    delay.path = fileOf(slow).toStdString();
    delay.delayMs = 2500;
    service->control().addFault(delay);

    pressRead(slow);
    // Another detail page is opened and its book borrowed while the first file is still on its way.
    pressRead(quick);
    ASSERT_TRUE(waitOpenIn(0));
    ASSERT_TRUE(waitOpenIn(1));
    EXPECT_TRUE(dialogs.boxes().isEmpty());
    const struct
    {
        int tab;
        QString id;
    } expected[] = {{0, quick}, {1, slow}};
    for (const auto &e : expected) {
        const TDetailBook *record = reader().books().detailOfTab(sheet(e.tab));
        EXPECT_EQ(record->id, e.id);
        EXPECT_EQ(record->judul, QString::fromStdString(book(e.id).judul));
        EXPECT_EQ(window->PageControl1->tabText(e.tab), record->judul);
        EXPECT_EQ(viewIn(e.tab)->PageCount(), book(e.id).pages) << "the tab shows its own book's file";
        EXPECT_EQ(reader().books().settings(sheet(e.tab)->objectName())->TextCopyObject["id_konten"], e.id.toStdString());
    }
    EXPECT_EQ(window->OpenBookCount, 2);
}

TEST_F(BookOpeningTest, noFreeTabWhenTheLoanArrives_warnsOfTheLimitAndAddsNothing)
{
    // Two borrowings that overlapped: the loan of the later one arrives when every tab is taken.
    for (int i = 0; i < 3; ++i) {
        pressRead(unreadBook(i));
        ASSERT_TRUE(waitOpenIn(i));
    }
    const int before = window->OpenBookCount;
    elumira::BookOpening late;
    late.detail = lekora->DetailContentRequest(unreadBook(3));
    late.permission = Json{{"code", "200"}, {"msg", "OK"}, {"id_baca", "99"}, {"page_index", 0}, {"file_anotasi", "0"}};
    reader().ReadPermissionDone(late);
    ASSERT_EQ(dialogs.boxes().size(), 1);
    EXPECT_EQ(dialogs.boxes().first().kind, Dialogs::Kind::Warning);
    EXPECT_EQ(dialogs.boxes().first().text, QStringLiteral("Anda melebihi batas baca sebanyak 3 Buku"));
    EXPECT_EQ(window->OpenBookCount, before);
    EXPECT_EQ(reader().books().detail(unreadBook(3)), nullptr);
}

} // namespace
