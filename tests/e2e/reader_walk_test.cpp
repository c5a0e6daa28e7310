// A member opens a borrowed book from the home page, as they would: a book's detail, "BACA", the question
// whether to go on where they stopped, and the book in the reader.
#include "annotations/text_copy.h"
#include "demo/book_files.h"
#include "demo/book_text.h"
#include "demo/catalogue.h"
#include "demo/control.h"
#include "reader/pdf_control.h"
#include "reader/reader_panel.h"
#include "shell/tchromium.h"
#include "tests/support/main_window_fixture.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

using elumira::Dialogs;
using elumira::test::evaluate;
using elumira::test::waitUntil;

namespace {

using ReaderWalkTest = elumira::test::MainWindowOnDemo;

TEST_F(ReaderWalkTest, homePageBookToTheReader_resumesWhereTheMemberStopped)
{
    logIn();
    // The seeded member stopped reading book 1012 at page index 17.
    ASSERT_TRUE(click(window->Chromium1, QStringLiteral("[onclick*=\"'1012'\"]")));
    ASSERT_TRUE(waitShowing(window->Chromium3, "detail.html"));
    EXPECT_EQ(front(), window->Chromium3);
    dialogs.scriptAnswers({Dialogs::Answer::Yes});
    ASSERT_TRUE(click(window->Chromium3, QStringLiteral(".btn-baca")));

    elumira::TReaderPanel &reader = *window->reader();
    ASSERT_TRUE(waitUntil([&] { return reader.books().detailOfTab(window->TabSheet1) != nullptr; }));
    ASSERT_EQ(dialogs.boxes().size(), 1);
    EXPECT_EQ(dialogs.boxes().first().text, QStringLiteral("Lanjut ke halaman terakhir yang anda baca?"));
    const QString title = reader.books().detailOfTab(window->TabSheet1)->judul;
    EXPECT_FALSE(title.isEmpty());
    EXPECT_EQ(window->PageControl1->tabText(0), title);
    EXPECT_EQ(window->PageControl1->currentWidget(), window->TabSheet1);
    EXPECT_EQ(reader.viewOf(window->TabSheet1)->PageIndex(), 17);
    EXPECT_TRUE(reader.toolbar().edPage->text().startsWith(QStringLiteral("18/")));
    EXPECT_EQ(window->frontSurface(), window->PanelReader);
    EXPECT_TRUE(reader.viewOf(window->TabSheet1)->isVisible());
    // Behind the reader the detail page is back in place of the loading page.
    EXPECT_TRUE(waitShowing(window->Chromium3, "detail.html"));
}

TEST_F(ReaderWalkTest, readingAndReturning_sendsEverythingInOrderAndTheNextLoanResumes)
{
    logIn();
    const QString id = QStringLiteral("1003");
    const demo::Book &book = *service->catalogue().book(id.toStdString());
    send(QStringLiteral("detail"), {id});
    ASSERT_TRUE(waitUntil([&] { return waitShowing(window->Chromium3, "detail.html", 2000); }));
    ASSERT_TRUE(click(window->Chromium3, QStringLiteral(".btn-baca")));
    elumira::TReaderPanel &reader = *window->reader();
    ASSERT_TRUE(waitUntil([&] { return reader.books().detailOfTab(window->TabSheet1) != nullptr; }));
    elumira::TPdfControl *view = reader.viewOf(window->TabSheet1);

    QTest::mouseClick(reader.toolbar().btnNext, Qt::LeftButton);
    QTest::mouseClick(reader.toolbar().btnNext, Qt::LeftButton);
    EXPECT_EQ(view->PageIndex(), 2);
    EXPECT_EQ(reader.toolbar().edPage->text(), QStringLiteral("3/%1").arg(book.pages));
    reader.toolbar().cmbZoom->setCurrentIndex(3);
    emit reader.toolbar().cmbZoom->activated(3);
    EXPECT_EQ(view->ZoomPercentage(), 200);

    // A word first printed on page index 9 after the page shown.
    const demo::BookText &text = service->books().text(book);
    QString word;
    for (const QString &candidate : QString::fromStdString(text.pages[9].text).split(QLatin1Char(' '))) {
        bool earlier = false;
        for (int page = 3; page < 9; ++page)
            earlier = earlier || QString::fromStdString(text.pages[size_t(page)].text).contains(candidate, Qt::CaseInsensitive);
        if (candidate.size() >= 6 && !earlier && std::all_of(candidate.begin(), candidate.end(), [](QChar c) { return c.isLetter(); })) {
            word = candidate;
            break;
        }
    }
    ASSERT_FALSE(word.isEmpty());
    QTest::keyClicks(reader.toolbar().edSearch, word.toLower());
    QTest::keyClick(reader.toolbar().edSearch, Qt::Key_Return);
    ASSERT_TRUE(waitUntil([&] { return view->PageIndex() == 9 && !window->SearchBusy; }));
    EXPECT_FALSE(view->highlightRects().isEmpty());

    // While a search runs, the catalogue search waits its turn.
    window->SearchBusy = true;
    send(QStringLiteral("searching"), {QStringLiteral("kota"), QStringLiteral("Semua"), std::int32_t(1)});
    ASSERT_EQ(dialogs.boxes().size(), 1);
    EXPECT_EQ(dialogs.boxes().first().text, QStringLiteral("Harap Tunggu..Sedang Memproses Pencarian Sebelumnya"));
    window->SearchBusy = false;

    dialogs.clear();
    dialogs.scriptAnswers({Dialogs::Answer::Yes});
    QTest::mouseClick(reader.toolbar().btnReturn, Qt::LeftButton);
    EXPECT_EQ(dialogs.boxes().first().text, QStringLiteral("Selesai dan kembalikan Buku Ini?"));
    // The book leaves the reader once the service has taken it back and its documents are saved.
    ASSERT_TRUE(waitUntil([&] { return requestsTo("/api/wl/copyText") == 1 && window->OpenBookCount == 0; }));
    std::vector<std::string> order;
    const elumira::Json log = service->control().requests("");
    for (const elumira::Json &request : log["requests"]) {
        const std::string path = request["path"];
        if (path == "/api/wl/bookReturn" || path == "/api/wl/saveAnotasi" || path == "/api/wl/copyText")
            order.push_back(path);
    }
    EXPECT_EQ(order, (std::vector<std::string>{"/api/wl/bookReturn", "/api/wl/saveAnotasi", "/api/wl/copyText"}));
    const std::string returned = service->control().requests("/api/wl/bookReturn")["requests"][0]["body"];
    EXPECT_NE(returned.find("page_index=9"), std::string::npos) << returned;

    dialogs.clear();
    dialogs.scriptAnswers({Dialogs::Answer::Yes});
    // The detail page came back behind the reader when the book opened; its button borrows the book again.
    ASSERT_TRUE(waitUntil([&] { return click(window->Chromium3, QStringLiteral(".btn-baca")); }));
    ASSERT_TRUE(waitUntil([&] { return reader.books().detailOfTab(window->TabSheet1) != nullptr; }));
    ASSERT_EQ(dialogs.boxes().size(), 1);
    EXPECT_EQ(dialogs.boxes().first().text, QStringLiteral("Lanjut ke halaman terakhir yang anda baca?"));
    EXPECT_EQ(reader.viewOf(window->TabSheet1)->PageIndex(), 9);
}

TEST_F(ReaderWalkTest, copyingAPassage_putsItsCitationOnTheClipboardAndTheLogGoesBackWithTheBook)
{
    logIn();
    const QString id = QStringLiteral("1003");
    send(QStringLiteral("detail"), {id});
    ASSERT_TRUE(waitUntil([&] { return waitShowing(window->Chromium3, "detail.html", 2000); }));
    ASSERT_TRUE(click(window->Chromium3, QStringLiteral(".btn-baca")));
    elumira::TReaderPanel &reader = *window->reader();
    ASSERT_TRUE(waitUntil([&] { return reader.books().detailOfTab(window->TabSheet1) != nullptr; }));
    const elumira::TDetailBook &book = *reader.books().detailOfTab(window->TabSheet1);
    elumira::TPdfControl *view = reader.viewOf(window->TabSheet1);
    QTest::mouseClick(reader.toolbar().btnNext, Qt::LeftButton);
    QTest::mouseClick(reader.toolbar().btnTextSelect, Qt::LeftButton);
    ASSERT_TRUE(view->AllowUserTextSelection());

    // A drag over the first lines of the page's text, as the member would make it.
    view->setPageIndex(12);
    elumira::TPdfPage page = view->CurrentPage();
    ASSERT_GT(page.GetTextRectCount(0, 80), 1);
    const QRect first = view->PageToDevice(page.GetTextRect(0)).normalized();
    const QRect second = view->PageToDevice(page.GetTextRect(1)).normalized();
    QTest::mousePress(view->viewport(), Qt::LeftButton, {}, first.topLeft() + QPoint(1, 2));
    QTest::mouseMove(view->viewport(), second.center());
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, second.center());
    ASSERT_GT(view->SelLength(), 0);
    QApplication::clipboard()->clear();
    QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);

    const QString copied = QApplication::clipboard()->text();
    const QStringList lines = copied.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 6) << copied.toStdString();
    EXPECT_EQ(lines[0], QStringLiteral("Judul : ") + book.judul);
    EXPECT_EQ(lines[1], QStringLiteral("Penulis : ") + book.penulis);
    EXPECT_EQ(lines[4], QStringLiteral("Halaman : ") + elumira::pageLabel(13, book.halaman_romawi));
    const QString passage = lines[5].mid(QStringLiteral("Frase : ").size());
    EXPECT_FALSE(passage.isEmpty());

    dialogs.scriptAnswers({Dialogs::Answer::Yes});
    QTest::mouseClick(reader.toolbar().btnReturn, Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return requestsTo("/api/wl/copyText") == 1; }));
    const elumira::Json sent = service->control().requests("/api/wl/copyText")["requests"][0]["json"];
    EXPECT_EQ(sent["id_konten"], id.toStdString());
    ASSERT_EQ(sent["data"].size(), 1u);
    EXPECT_EQ(sent["data"][0]["text"], passage.toStdString());
    EXPECT_EQ(sent["data"][0]["page"], elumira::pageLabel(13, book.halaman_romawi).toStdString());
}

} // namespace
