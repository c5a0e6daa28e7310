// Walks through the catalogue as a member would, in the real pages against the demo library service: sections,
// categories, charts, searches, book details, and the way back to the log-in page when the account is in use
// elsewhere.
#include "service/lekora_lib.h"
#include "shell/tchromium.h"
#include "tests/support/main_window_fixture.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <QTest>

using elumira::Dialogs;
using elumira::TChromium;
using elumira::test::evaluate;
using elumira::test::waitUntil;

namespace {

class CatalogueWalkTest : public elumira::test::MainWindowOnDemo
{
protected:
    void SetUp() override
    {
        MainWindowOnDemo::SetUp();
        if (!HasFatalFailure())
            logIn();
    }

    int count(TChromium *view, const char *selector)
    {
        return evaluate(view->page(), QStringLiteral("document.querySelectorAll(%1).length")
                                          .arg(QString::fromStdString(elumira::Json(selector).dump())))
            .toInt();
    }
    QString text(TChromium *view, const char *script) { return evaluate(view->page(), QLatin1String(script)).toString(); }
};

TEST_F(CatalogueWalkTest, memberSession_moreSectionsTwiceThenLogOut)
{
    EXPECT_TRUE(window->PanelHeader->isVisible());
    EXPECT_EQ(count(window->Chromium1, "#myBooks .section-item"), 10);
    // The run's first home page opens the partner's intro window; the member closes it before going on.
    ASSERT_TRUE(waitUntil([this] { return text(window->Chromium1, "String($('#myModal').hasClass('in'))") == QLatin1String("true"); }));
    ASSERT_TRUE(click(window->Chromium1, QStringLiteral("#myModal .close")));
    ASSERT_TRUE(waitUntil([this] { return text(window->Chromium1, "String($('#myModal').is(':visible'))") == QLatin1String("false"); }));
    for (const int sections : {20, 25}) {
        ASSERT_TRUE(click(window->Chromium1, QStringLiteral("#loadMore")));
        ASSERT_TRUE(waitUntil([&] { return count(window->Chromium1, "#myBooks .section-item") == sections; }));
    }
    // Everything is loaded: the button goes, and the intro window did not come back with the further pages.
    EXPECT_TRUE(waitUntil([this] { return text(window->Chromium1, "String($('#btnMore').is(':hidden'))") == QLatin1String("true"); }));
    EXPECT_EQ(text(window->Chromium1, "String($('#myModal').hasClass('in'))"), QStringLiteral("false"));

    ASSERT_TRUE(click(window->Chromium1, QStringLiteral(".login-list li:last-child a")));
    ASSERT_TRUE(waitUntil([this] { return !dialogs.boxes().isEmpty(); }));
    EXPECT_EQ(dialogs.boxes().first().text, QStringLiteral("Keluar dari akun anda?"));
    ASSERT_TRUE(waitUntil([this] { return requestsTo("/api/wl/executeLogout") == 1; }));
    ASSERT_TRUE(waitShowing(window->Chromium1, "login.html"));
    EXPECT_FALSE(window->PanelHeader->isVisible());
    EXPECT_EQ(dialogs.boxes().size(), 1);
}

TEST_F(CatalogueWalkTest, homeSection_toADetailAndBack)
{
    ASSERT_TRUE(click(window->Chromium1, QStringLiteral("#myBooks .link-see-all")));
    ASSERT_TRUE(waitShowing(window->Chromium2, "index_detail.html"));
    EXPECT_EQ(front(), window->Chromium2);
    ASSERT_GT(count(window->Chromium2, ".list-item a"), 0);

    ASSERT_TRUE(click(window->Chromium2, QStringLiteral(".list-item a")));
    ASSERT_TRUE(waitShowing(window->Chromium3, "detail.html"));
    EXPECT_EQ(front(), window->Chromium3);
    EXPECT_EQ(text(window->Chromium3, "$('.breadcrumb-item a').map(function () { return $(this).text(); }).get().join('|')"),
              QStringLiteral("Home|Section"));
    EXPECT_EQ(text(window->Chromium3, "$('.btn-baca').text()"), QStringLiteral("BACA"));

    ASSERT_TRUE(click(window->Chromium3, QStringLiteral(".breadcrumb-item:nth-child(2) a")));
    EXPECT_TRUE(waitUntil([this] { return front() == window->Chromium2; }));
    ASSERT_TRUE(click(window->Chromium3, QStringLiteral(".breadcrumb-item:nth-child(1) a")));
    EXPECT_TRUE(waitUntil([this] { return front() == window->Chromium1; }));
    EXPECT_TRUE(dialogs.boxes().isEmpty());
}

TEST_F(CatalogueWalkTest, categories_departmentChangeBooksDetailAndBack)
{
    ASSERT_TRUE(click(window->Chromium1, QStringLiteral(".category-list li:nth-child(4)")));
    ASSERT_TRUE(waitShowing(window->Chromium4, "category.html"));
    EXPECT_EQ(front(), window->Chromium4);
    const QString firstBoxes = text(window->Chromium4, "$('#categoryContainer').text()");
    ASSERT_FALSE(firstBoxes.trimmed().isEmpty());

    // Choose another department in the chooser.
    const QString other = text(window->Chromium4, "$('select.select-category option').eq(1).val()");
    ASSERT_FALSE(other.isEmpty());
    evaluate(window->Chromium4->page(),
             QStringLiteral("$('select.select-category').val('%1').trigger('change'); 0").arg(other));
    ASSERT_TRUE(waitUntil([&] { return text(window->Chromium4, "$('#categoryContainer').text()") != firstBoxes; }));
    EXPECT_EQ(front(), window->Chromium4);

    ASSERT_TRUE(click(window->Chromium4, QStringLiteral("#categoryContainer .category-box h3 a")));
    ASSERT_TRUE(waitShowing(window->Chromium5, "category_detail.html"));
    EXPECT_EQ(front(), window->Chromium5);
    ASSERT_TRUE(click(window->Chromium5, QStringLiteral(".list-item a")));
    ASSERT_TRUE(waitShowing(window->Chromium3, "detail.html"));
    EXPECT_EQ(text(window->Chromium3, "$('.breadcrumb-item a').eq(1).text()"), QStringLiteral("Kategori"));
    ASSERT_TRUE(click(window->Chromium3, QStringLiteral(".breadcrumb-item:nth-child(2) a")));
    EXPECT_TRUE(waitUntil([this] { return front() == window->Chromium5; }));
    EXPECT_TRUE(dialogs.boxes().isEmpty());
}

TEST_F(CatalogueWalkTest, topReadChart_growsByTenUntilTheListEnds)
{
    ASSERT_TRUE(click(window->Chromium1, QStringLiteral(".category-list li:nth-child(1)")));
    ASSERT_TRUE(waitShowing(window->Chromium6, "topChart.html"));
    EXPECT_EQ(front(), window->Chromium6);
    int rows = count(window->Chromium6, ".list-chart-row");
    EXPECT_EQ(rows, 10);

    bool ended = false;
    for (int more = 0; more < 6 && !ended; ++more) {
        const size_t asked = requestsTo("/api/wl/listTopRead");
        ASSERT_TRUE(click(window->Chromium6, QStringLiteral("#loadMore")));
        // The answer has been handled once the request went out and the window holds no page task any more.
        ASSERT_TRUE(waitUntil([&] { return requestsTo("/api/wl/listTopRead") == asked + 1 && window->CurrentTask.isNull(); }));
        ASSERT_TRUE(waitShowing(window->Chromium6, "topChart.html"));
        QTest::qWait(300);
        const int now = count(window->Chromium6, ".list-chart-row");
        const bool hidden = evaluate(window->Chromium6->page(), QStringLiteral("$('#btnMore').is(':hidden')")).toBool();
        if (now == rows) {
            EXPECT_TRUE(hidden);
            ended = true;
        } else {
            EXPECT_GT(now, rows);
            EXPECT_LE(now - rows, 10);
            EXPECT_FALSE(hidden);
            rows = now;
        }
    }
    EXPECT_TRUE(ended);
    EXPECT_GT(rows, 20);
    EXPECT_TRUE(dialogs.boxes().isEmpty());
}

TEST_F(CatalogueWalkTest, searchByAuthor_pagesThroughTheResults)
{
    evaluate(window->Chromium1->page(),
             QStringLiteral("$('.search-panel .dropdown-menu a:contains(Penulis)').click();"
                            "$('#keyword').val('a'); $('#submitSearch').submit(); 0"));
    ASSERT_TRUE(waitShowing(window->Chromium7, "search_result.html"));
    EXPECT_EQ(front(), window->Chromium7);
    EXPECT_EQ(count(window->Chromium7, "#contents .list-item-wrap"), 10);
    const elumira::Json first = service->control().requests("/api/wl/searching")["requests"][0];
    EXPECT_EQ(first["body"], "page=1&keyword=a&field=Penulis");
    ASSERT_GT(count(window->Chromium7, ".pagination a"), 1);

    ASSERT_TRUE(click(window->Chromium7, QStringLiteral(".pagination li:nth-child(2) a")));
    ASSERT_TRUE(waitUntil([this] { return requestsTo("/api/wl/searching") == 2; }));
    const elumira::Json second = service->control().requests("/api/wl/searching")["requests"][1];
    EXPECT_EQ(second["body"], "page=2&keyword=a&field=Penulis");
    ASSERT_TRUE(waitShowing(window->Chromium7, "search_result.html"));
    EXPECT_TRUE(waitUntil([this] { return count(window->Chromium7, "#contents .list-item-wrap") > 0; }));
    EXPECT_TRUE(dialogs.boxes().isEmpty());
}

TEST_F(CatalogueWalkTest, sentenceSearch_showsHitsWithTheirReadButtons)
{
    evaluate(window->Chromium1->page(),
             QStringLiteral("$('.search-panel .dropdown-menu a:contains(Kalimat)').click();"
                            "$('#keyword').val('hutan bakau'); $('#submitSearch').submit(); 0"));
    ASSERT_TRUE(waitShowing(window->Chromium7, "search_kalimat_result.html"));
    EXPECT_EQ(window->SentenceKeyword, QStringLiteral("hutan bakau"));
    EXPECT_EQ(requestsTo("/api/wl/searchingKalimat"), 1u);
    ASSERT_TRUE(waitUntil([this] { return count(window->Chromium7, ".list-chart-row, #contents > *") > 0; }));
    EXPECT_GT(text(window->Chromium7, "String($('button').filter(function () { return $(this).text().trim() === 'BACA'; }).length)").toInt(), 0);
    EXPECT_TRUE(text(window->Chromium7, "document.body.innerText").contains(QStringLiteral("hutan bakau"), Qt::CaseInsensitive));
    EXPECT_FALSE(window->SearchBusy);
    EXPECT_TRUE(dialogs.boxes().isEmpty());
}

TEST_F(CatalogueWalkTest, authFailed_returnsToTheLogInPageWithItsText)
{
    const struct
    {
        const char *name;
        const char *path;
        QString clickIn;
        const char *text;
    } cases[] = {
        {"detail", "/api/wl/detailKonten", QStringLiteral("#myBooks .list-item a"),
         "Authentication Error : Akun Anda Digunakan Di Perangkat Lain"},
        {"chart", "/api/wl/listTopRead", QStringLiteral(".category-list li:nth-child(1)"),
         "Authentication Error : Akun Anda Digunakan Pada Perangkat Lain"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        dialogs.clear();
        window->ShowBrowserView(window->Chromium1);
        ASSERT_TRUE(waitShowing(window->Chromium1, "index.html"));
        addFault(c.path, 200, R"({"code":"500","msg":"Auth Failed"})");
        ASSERT_TRUE(click(window->Chromium1, c.clickIn));
        ASSERT_TRUE(waitUntil([this] { return !dialogs.boxes().isEmpty(); }));
        EXPECT_EQ(dialogs.boxes().first().kind, Dialogs::Kind::Error);
        EXPECT_EQ(dialogs.boxes().first().text, QLatin1String(c.text));
        ASSERT_TRUE(waitShowing(window->Chromium1, "login.html"));
        EXPECT_EQ(front(), window->Chromium1);
        logIn();
    }
}

} // namespace
