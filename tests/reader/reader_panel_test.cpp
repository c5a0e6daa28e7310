// The reader with books open in its tabs: page navigation, zoom, tab switches and tool modes on small PDF
// documents; the reading timers, read-status reports and returns against the demo library service; and the
// in-book search.
#include "common/dialogs.h"
#include "demo/control.h"
#include "demo/service.h"
#include "reader/pdf_control.h"
#include "reader/reader_panel.h"
#include "service/lekora_lib.h"
#include "tests/support/reader_on_demo.h"
#include "tests/support/test_pdf.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QMouseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <memory>

using elumira::BookOpening;
using elumira::Dialogs;
using elumira::Json;
using elumira::RecordingDialogs;
using elumira::TDetailBook;
using elumira::TPdfControl;
using elumira::TReaderPanel;
using elumira::TReaderSettings;
using elumira::TReaderToolbar;
using elumira::test::makeNumberedPdf;
using elumira::test::makePdf;
using elumira::test::waitUntil;

namespace {

using ReaderPanelTest = elumira::test::ReaderOnDemo;

TEST_F(ReaderPanelTest, toolbar_everyHintIsATooltipAndGlyphButtonsAreNamedByIt)
{
    EXPECT_EQ(bar().panel->height(), 71);
    EXPECT_FALSE(bar().groupBookmark->isVisible());
    EXPECT_EQ(bar().cmbZoom->count(), 4);
    EXPECT_EQ(bar().cmbZoom->itemText(1), QStringLiteral("Fith Width"));
    EXPECT_EQ(bar().cmbZoom->currentIndex(), 2);
    const struct
    {
        QToolButton *button;
        char16_t glyph;
        const char *hint;
    } buttons[] = {
        {bar().btnReturn, 0xF00C, "Tutup Buku Dan Kembalikan Ke Rak"},
        {bar().btnInfo, 0xF129, "Info Buku dan Daftar Pustaka"},
        {bar().btnPrevious, 0xF060, "Ke Halaman Sebelumnya"},
        {bar().btnNext, 0xF061, "Ke Halaman Selanjutnya"},
        {bar().btnTextSelect, 0xF246, "Aktifkan Pemilihan Teks"},
        {bar().btnAnnotSettings, 0xF013, "Setting Warna Anotasi"},
        {bar().btnAnnotHighlight, u'H', "Aktifkan Mode Highlight"},
        {bar().btnAnnotRect, 0xF247, "Aktifkan Anotasi Kotak"},
        {bar().btnAnnotPen, 0xF303, "Aktifkan Anotasi Pulpen"},
        {bar().btnAnnotText, 0xF27A, "Aktifkan Anotasi Komentar"},
        {bar().btnAnnotDelete, 0xF2ED, "Hapus Anotasi Yang Telah Dibuat ( Dobel Klik Pada Anotasi)"},
    };
    for (const auto &b : buttons) {
        EXPECT_EQ(b.button->text(), QString(QChar(b.glyph))) << b.hint;
        EXPECT_EQ(b.button->toolTip(), QString::fromUtf8(b.hint));
        EXPECT_EQ(b.button->accessibleName(), QString::fromUtf8(b.hint));
        EXPECT_TRUE(b.button->isVisible()) << b.hint;
    }
    EXPECT_EQ(bar().cmbZoom->toolTip(), QStringLiteral("Ubah Perbesaran Halaman"));
    EXPECT_EQ(bar().CheckAutoPage->toolTip(), QStringLiteral("Scroll Untuk Berpindah Halaman"));
    EXPECT_EQ(bar().AnnotView->toolTip(), QStringLiteral("Tampil / Sembunyikan Anotasi"));
    EXPECT_EQ(bar().edSearch->toolTip(), QStringLiteral("Lakukan Pencarian Kata"));
    // The return group keeps to the left edge, the others to the right one, all within a 1366-pixel window.
    EXPECT_LT(bar().btnReturn->mapTo(&window, QPoint()).x(), 60);
    EXPECT_LE(bar().btnSearchNext->mapTo(&window, QPoint(bar().btnSearchNext->width(), 0)).x(), window.width());
    EXPECT_GT(bar().btnSearchNext->mapTo(&window, QPoint()).x(), window.width() - 80);
}

TEST_F(ReaderPanelTest, navigation_showsTheServicePageTotalAndStopsAtTheEnds)
{
    openLocal(0, makeNumberedPdf(3), QStringLiteral("1"));
    QSignalSpy changes(view(0), &TPdfControl::OnPageChange);
    panel->btnPreviousClick();
    EXPECT_EQ(changes.count(), 0);
    panel->btnNextClick();
    EXPECT_EQ(bar().edPage->text(), QStringLiteral("2/240"));
    EXPECT_EQ(settings(0).CurrentPage, QStringLiteral("2/240"));
    panel->btnNextClick();
    panel->btnNextClick();
    EXPECT_EQ(view(0)->PageIndex(), 2);
    EXPECT_EQ(changes.count(), 2);
    // The page box only shows the page: typing in it moves nowhere.
    QTest::keyClicks(bar().edPage, QStringLiteral("1"));
    QTest::keyClick(bar().edPage, Qt::Key_Return);
    EXPECT_EQ(view(0)->PageIndex(), 2);
}

TEST_F(ReaderPanelTest, zoomAndTabSwitch_eachBookKeepsItsOwnState)
{
    openLocal(0, makeNumberedPdf(3), QStringLiteral("1"));
    openLocal(1, makeNumberedPdf(3), QStringLiteral("2"));
    tabs->setCurrentIndex(0);
    bar().cmbZoom->setCurrentIndex(3);
    panel->cmbZoomChange();
    EXPECT_EQ(view(0)->ZoomPercentage(), 200);
    EXPECT_EQ(settings(0).CurrentZoomIndex, 3);
    QTest::mouseClick(bar().btnAnnotHighlight, Qt::LeftButton);
    panel->btnNextClick();

    tabs->setCurrentIndex(1);
    EXPECT_EQ(bar().cmbZoom->currentIndex(), 2);
    EXPECT_EQ(view(1)->ZoomPercentage(), 100);
    EXPECT_EQ(bar().edPage->text(), QStringLiteral("1/240"));
    EXPECT_EQ(TReaderToolbar::glyphColour(bar().btnAnnotHighlight), 0);
    EXPECT_FALSE(view(1)->AllowUserTextSelection());

    tabs->setCurrentIndex(0);
    EXPECT_EQ(bar().cmbZoom->currentIndex(), 3);
    EXPECT_EQ(bar().edPage->text(), QStringLiteral("2/240"));
    EXPECT_EQ(TReaderToolbar::glyphColour(bar().btnAnnotHighlight), TReaderToolbar::kActiveGlyphColour);
    EXPECT_TRUE(view(0)->AllowUserTextSelection()) << "highlight mode selects text";

    for (const int index : {0, 1}) {
        bar().cmbZoom->setCurrentIndex(index);
        panel->cmbZoomChange();
    }
    EXPECT_EQ(view(0)->ScaleMode(), TPdfControl::smFitWidth);
}

TEST_F(ReaderPanelTest, toolModes_switchOthersOffShowAnnotationsAndSetSelection)
{
    openLocal(0, makeNumberedPdf(2), QStringLiteral("1"));
    auto on = [](QToolButton *b) { return TReaderToolbar::glyphColour(b) == TReaderToolbar::kActiveGlyphColour; };
    auto clickBox = [](QCheckBox *box) { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, box->height() / 2)); };
    const struct
    {
        QToolButton *TReaderToolbar::*button;
        bool selection;
        bool annotationsForced;
    } cases[] = {
        {&TReaderToolbar::btnTextSelect, true, false},  {&TReaderToolbar::btnAnnotHighlight, true, true},
        {&TReaderToolbar::btnAnnotRect, false, true},   {&TReaderToolbar::btnAnnotPen, false, true},
        {&TReaderToolbar::btnAnnotDelete, false, true},
    };
    const QList<QToolButton *> drawing = {bar().btnTextSelect, bar().btnAnnotHighlight, bar().btnAnnotRect,
                                          bar().btnAnnotPen, bar().btnAnnotText};
    for (const auto &c : cases) {
        QToolButton *button = bar().*c.button;
        const std::string name = button->objectName().toStdString();
        // The sticky-note tool is on first, and the annotations hidden.
        if (!on(bar().btnAnnotText))
            QTest::mouseClick(bar().btnAnnotText, Qt::LeftButton);
        clickBox(bar().AnnotView);
        ASSERT_FALSE(settings(0).CurrentAnnotViewState) << name;

        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_TRUE(on(button)) << name;
        for (QToolButton *other : drawing) {
            if (other != button) {
                EXPECT_FALSE(on(other)) << name << " leaves " << other->objectName().toStdString() << " on";
            }
        }
        EXPECT_EQ(view(0)->AllowUserTextSelection(), c.selection) << name;
        EXPECT_EQ(settings(0).CurrentAnnotViewState, c.annotationsForced) << name;
        EXPECT_EQ(bar().AnnotView->isChecked(), c.annotationsForced) << name;

        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_FALSE(on(button)) << name;
        EXPECT_FALSE(view(0)->AllowUserTextSelection()) << name;
    }

    // Delete mode stays on beside a drawing tool.
    QTest::mouseClick(bar().btnAnnotDelete, Qt::LeftButton);
    QTest::mouseClick(bar().btnAnnotRect, Qt::LeftButton);
    EXPECT_TRUE(settings(0).CurrentAnnotDeleteState && settings(0).CurrentRectAnnotState);
    EXPECT_TRUE(on(bar().btnAnnotDelete) && on(bar().btnAnnotRect));
}

TEST_F(ReaderPanelTest, automaticPageChangeBox_followsTheBookAndAloneWithoutOne)
{
    QTest::mouseClick(bar().CheckAutoPage, Qt::LeftButton, {}, QPoint(5, bar().CheckAutoPage->height() / 2));
    EXPECT_FALSE(bar().CheckAutoPage->isChecked()) << "without a book only the box changes";

    openLocal(0, makeNumberedPdf(2), QStringLiteral("1"));
    EXPECT_TRUE(bar().CheckAutoPage->isChecked()) << "a book opens with the automatic page change on";
    QTest::mouseClick(bar().CheckAutoPage, Qt::LeftButton, {}, QPoint(5, bar().CheckAutoPage->height() / 2));
    EXPECT_FALSE(view(0)->AutoPageChange());
    EXPECT_FALSE(settings(0).AutoPageChange);
}

TEST_F(ReaderPanelTest, timers_idleLimitAndReportPeriodCountedInTicks)
{
    openLocal(0, makeNumberedPdf(2), QStringLiteral("1"));
    TReaderSettings &s = settings(0);
    s.TimerIdle->stop();
    s.TimerChecking->stop();
    s.TimerIdle->start();
    tick(s.TimerIdle, 1800);
    EXPECT_EQ(s.ReadStatus, 1);
    EXPECT_TRUE(s.TimerIdle->isActive());
    tick(s.TimerIdle, 1);
    EXPECT_EQ(s.ReadStatus, 0) << "the 1801st tick reaches the idle limit";
    EXPECT_FALSE(s.TimerIdle->isActive());

    // Moving the mouse over the view resets the count but not the status.
    QMouseEvent move(QEvent::MouseMove, QPointF(30, 40), view(0)->viewport()->mapToGlobal(QPointF(30, 40)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(view(0)->viewport(), &move);
    EXPECT_EQ(s.IdleTime, 0);
    EXPECT_EQ(s.ReadStatus, 0);
}

TEST_F(ReaderPanelTest, statusReport_sendsOneAndRestartsCounting_orReturnsAnIdleBook)
{
    openFromService(QStringLiteral("1003"));
    TReaderSettings &s = settings(0);
    // The test ticks by itself; the real timers would add ticks of their own while it waits.
    s.TimerIdle->stop();
    s.CheckingTime = 0;
    tick(s.TimerChecking, 300);
    EXPECT_EQ(requestsTo("/api/wl/updateReadStatus"), 0u);
    tick(s.TimerChecking, 1);
    EXPECT_FALSE(s.TimerChecking->isActive()) << "the checking timer waits for its report";
    ASSERT_TRUE(waitUntil([&] { return s.TimerTask.isNull() && s.TimerChecking->isActive(); }));
    EXPECT_EQ(lastRequestTo("/api/wl/updateReadStatus")["body"], "id_baca=" + s.IdBaca.toStdString() + "&status=1");
    EXPECT_LE(s.CheckingTime, 2);

    // Untouched for the idle limit: the next report says "0" and the book goes back to the shelf by itself,
    // its annotations and copied passages following.
    tick(s.TimerIdle, 1801);
    tick(s.TimerChecking, 301);
    ASSERT_TRUE(waitUntil([&] { return openBooks == 0; }));
    EXPECT_NE(lastRequestTo("/api/wl/updateReadStatus")["body"].get<std::string>().find("status=0"), std::string::npos);
    ASSERT_EQ(dialogs.boxes().size(), 1);
    EXPECT_EQ(dialogs.boxes().first().kind, Dialogs::Kind::Information);
    EXPECT_EQ(dialogs.boxes().first().text,
              QStringLiteral("Buku otomatis kembali ke rak , karena telah mencapai waktu idle selama 30-menit"));
    EXPECT_EQ(view(0), nullptr);
    EXPECT_FALSE(tabs->isTabVisible(0));
    EXPECT_EQ(panel->books().detailCount(), 0);
    EXPECT_TRUE(waitUntil([&] { return requestsTo("/api/wl/copyText") == 1; }));
    EXPECT_EQ(requestsTo("/api/wl/saveAnotasi"), 1u);
    EXPECT_EQ(requestsTo("/api/wl/bookReturn"), 0u);
}

TEST_F(ReaderPanelTest, idleRule_aBookMovedOverIsKept_theOneBehindGoesBackByItself)
{
    openFromService(QStringLiteral("1003"));
    openFromService(QStringLiteral("1004"));
    tabs->setCurrentIndex(0);
    TReaderSettings &front = settings(0);
    TReaderSettings &behind = settings(1);
    for (TReaderSettings *s : {&front, &behind}) {
        s->TimerIdle->stop();
        s->TimerChecking->stop();
        s->IdleTime = s->CheckingTime = 0;
    }
    // Half an hour and a few reports: the member moves the mouse over the front book every 1800 seconds.
    for (int second = 1; second <= 2 * 1800 + 10; ++second) {
        if (second % 1800 == 0) {
            QMouseEvent move(QEvent::MouseMove, QPointF(20, 20), view(0)->viewport()->mapToGlobal(QPointF(20, 20)),
                             Qt::NoButton, Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(view(0)->viewport(), &move);
        }
        if (front.TimerIdle)
            panel->TimerTick(front.TimerIdle);
        if (view(1))
            panel->TimerTick(behind.TimerIdle);
        // A report runs to its end before the next second is counted.
        for (TReaderSettings *s : {&front, view(1) ? &behind : nullptr}) {
            if (!s)
                continue;
            const bool behindBook = s == &behind;
            panel->TimerTick(s->TimerChecking);
            if (s->TimerTask.isNull())
                continue;
            ASSERT_TRUE(waitUntil([&] { return (behindBook && !view(1)) || s->TimerTask.isNull(); }));
            if (!behindBook || view(1))
                s->TimerChecking->stop(); // the test counts the seconds itself
        }
    }
    EXPECT_NE(view(0), nullptr);
    EXPECT_EQ(front.ReadStatus, 1);
    EXPECT_EQ(view(1), nullptr) << "the book behind went back after its idle time";
    EXPECT_EQ(openBooks, 1);
    const Json reports = service->control().requests("/api/wl/updateReadStatus")["requests"];
    int frontReports = 0;
    for (const Json &report : reports) {
        if (report["body"] == "id_baca=" + front.IdBaca.toStdString() + "&status=1")
            ++frontReports;
    }
    EXPECT_EQ(frontReports, (2 * 1800 + 10) / 301);
}

TEST_F(ReaderPanelTest, statusReportForABookReturnedMeanwhile_doesNothing)
{
    openFromService(QStringLiteral("1003"));
    panel->ReadStatusDone(QStringLiteral("TabSheet1"), Json{{"code", "200"}});
    dialogs.scriptAnswers({Dialogs::Answer::Yes});
    panel->btnReturnClick();
    ASSERT_TRUE(waitUntil([&] { return openBooks == 0; }));
    dialogs.clear();
    panel->ReadStatusDone(QStringLiteral("TabSheet1"), Json{{"code", "200"}});
    EXPECT_TRUE(dialogs.boxes().isEmpty());
    EXPECT_EQ(openBooks, 0);
}

TEST_F(ReaderPanelTest, returnButton_noKeepsTheBook_yesSendsReturnThenDocuments)
{
    openFromService(QStringLiteral("1003"));
    openFromService(QStringLiteral("1004"));
    openFromService(QStringLiteral("1005"));
    tabs->setCurrentIndex(1);
    view(1)->setPageIndex(6);

    dialogs.scriptAnswers({Dialogs::Answer::No});
    panel->btnReturnClick();
    EXPECT_EQ(dialogs.boxes().last().text, QStringLiteral("Selesai dan kembalikan Buku Ini?"));
    EXPECT_NE(view(1), nullptr);
    EXPECT_TRUE(settings(1).TimerIdle->isActive() && settings(1).TimerChecking->isActive());

    const QString loan = panel->books().detail(QStringLiteral("1004"))->id_baca;
    dialogs.scriptAnswers({Dialogs::Answer::Yes});
    panel->btnReturnClick();
    // The book goes once the service has taken it back.
    ASSERT_TRUE(waitUntil([&] { return view(1) == nullptr; }));
    EXPECT_FALSE(tabs->isTabVisible(1));
    EXPECT_EQ(openBooks, 2);
    ASSERT_TRUE(waitUntil([&] { return requestsTo("/api/wl/copyText") == 1; }));
    EXPECT_EQ(lastRequestTo("/api/wl/bookReturn")["body"],
              "id_konten=1004&id_baca=" + loan.toStdString() + "&page_index=6");
    EXPECT_EQ(requestsTo("/api/wl/saveAnotasi"), 1u);
    // The other books keep their records and their timers.
    for (int i : {0, 2}) {
        EXPECT_NE(view(i), nullptr);
        EXPECT_TRUE(settings(i).TimerIdle->isActive());
    }
    EXPECT_EQ(dialogs.boxes().size(), 2) << "a return the service took is not announced";
}

TEST_F(ReaderPanelTest, returnRefused_sendsNoDocumentsAndTellsTheMember)
{
    openFromService(QStringLiteral("1003"));
    demo::Fault refusal;
    refusal.path = "/api/wl/bookReturn";
    refusal.status = 200;
    refusal.body = R"({"code":"400","msg":"Peminjaman buku ini sudah berakhir"})";
    service->control().addFault(refusal);
    dialogs.scriptAnswers({Dialogs::Answer::Yes});
    panel->btnReturnClick();
    ASSERT_TRUE(waitUntil([&] { return dialogs.boxes().size() == 2; }));
    EXPECT_EQ(dialogs.boxes().last().kind, Dialogs::Kind::Warning);
    EXPECT_EQ(dialogs.boxes().last().text, QStringLiteral("Peminjaman buku ini sudah berakhir"));
    // The book stays open, with its timers running again, so the member keeps what they added to it.
    EXPECT_NE(view(0), nullptr);
    EXPECT_TRUE(settings(0).TimerChecking->isActive() && settings(0).TimerIdle->isActive());
    EXPECT_EQ(requestsTo("/api/wl/saveAnotasi"), 0u);
    EXPECT_EQ(requestsTo("/api/wl/copyText"), 0u);
}

TEST_F(ReaderPanelTest, returnButtonWithoutABook_asksNothing)
{
    panel->btnReturnClick();
    EXPECT_TRUE(dialogs.boxes().isEmpty());
}

class ReaderSearchTest : public ReaderPanelTest
{
protected:
    void SetUp() override
    {
        ReaderPanelTest::SetUp();
        if (HasFatalFailure())
            return;
        openLocal(0, makePdf({{QStringLiteral("Prologue")}, {QStringLiteral("the harbour at dawn")},
                              {QStringLiteral("Nothing here")}, {QStringLiteral("The HARBOUR again")},
                              {QStringLiteral("harbourmaster only")}}),
                  QStringLiteral("1"));
    }
    // Runs a search and waits until it has ended.
    void search(const QString &word, bool forwards)
    {
        bar().edSearch->setText(word);
        forwards ? panel->btnSearchNextClick() : panel->btnSearchPreviousClick();
        ASSERT_TRUE(waitUntil([&] { return !searchBusy; }));
    }
};

TEST_F(ReaderSearchTest, forwardsAndBackwards_findTheNextPageWithTheWordInAnyCase)
{
    search(QStringLiteral("harbour"), true);
    EXPECT_EQ(view(0)->PageIndex(), 1);
    EXPECT_EQ(view(0)->highlightRects().size(), 1);
    EXPECT_EQ(settings(0).CurrentSearchKeyWord, QStringLiteral("harbour"));
    search(QStringLiteral("harbour"), true);
    EXPECT_EQ(view(0)->PageIndex(), 3) << "found in capitals";
    EXPECT_EQ(view(0)->highlightRects().size(), 1);
    search(QStringLiteral("harbour"), true);
    EXPECT_EQ(view(0)->PageIndex(), 4) << "a page with the word only inside a longer one is shown";
    EXPECT_TRUE(view(0)->highlightRects().isEmpty()) << "but nothing is marked there";
    search(QStringLiteral("harbour"), false);
    EXPECT_EQ(view(0)->PageIndex(), 3);
    EXPECT_TRUE(dialogs.boxes().isEmpty());
}

TEST_F(ReaderSearchTest, wordOnlyOnThePageShown_isNotFoundEitherWay)
{
    view(0)->setPageIndex(2);
    for (const bool forwards : {true, false}) {
        dialogs.clear();
        search(QStringLiteral("nothing"), forwards);
        ASSERT_EQ(dialogs.boxes().size(), 1);
        EXPECT_EQ(dialogs.boxes().first().kind, Dialogs::Kind::Information);
        EXPECT_EQ(dialogs.boxes().first().text, QStringLiteral("Tidak Ditemukan"));
        EXPECT_EQ(dialogs.boxes().first().buttons, Dialogs::Buttons::Yes);
        EXPECT_EQ(view(0)->PageIndex(), 2);
    }
}

TEST_F(ReaderSearchTest, nothingToExamineOrNothingTyped_doesNothing)
{
    view(0)->setPageIndex(4);
    search(QStringLiteral("prologue"), true);
    view(0)->setPageIndex(0);
    search(QStringLiteral("harbour"), false);
    EXPECT_TRUE(dialogs.boxes().isEmpty());
    EXPECT_EQ(view(0)->PageIndex(), 0);

    bar().edSearch->clear();
    QTest::keyClick(bar().edSearch, Qt::Key_Return);
    EXPECT_FALSE(searchBusy);
    QTest::keyClicks(bar().edSearch, QStringLiteral("harbour"));
    QTest::keyClick(bar().edSearch, Qt::Key_Return);
    ASSERT_TRUE(waitUntil([&] { return !searchBusy; }));
    EXPECT_EQ(view(0)->PageIndex(), 1) << "Enter searches forwards";
}

TEST_F(ReaderSearchTest, clearingTheBox_removesTheMarksAtOnce_andABusySearchBlocksTheNext)
{
    search(QStringLiteral("harbour"), true);
    ASSERT_FALSE(view(0)->highlightRects().isEmpty());
    bar().edSearch->clear();
    EXPECT_TRUE(view(0)->highlightRects().isEmpty());

    searchBusy = true;
    bar().edSearch->setText(QStringLiteral("harbour"));
    panel->btnSearchNextClick();
    QTest::qWait(200);
    EXPECT_EQ(view(0)->PageIndex(), 1);
    searchBusy = false;
}

} // namespace
