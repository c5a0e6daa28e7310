// The catalogue pages as a member sees them in a window of 1366 × 768, from the demo library service's
// answers: every picture in view is loaded without any scrolling (also after "Selebihnya" and a department
// change), the content starts at its page's top offset, no page is wider than the window, the field button's
// caret stays inside the search box, and the "Jenis Konten" label stands before its chooser on one line.
#include "pages/chart_pages.h"
#include "pages/detail_page.h"
#include "pages/home_page.h"
#include "pages/listing_pages.h"
#include "pages/search_pages.h"
#include "service/lekora_lib.h"
#include "tests/support/member_page_view.h"

#include <gtest/gtest.h>

#include <QVariantMap>

#include <functional>

using namespace elumira::pages;
using elumira::Json;
using elumira::test::waitUntil;

namespace {

// Pictures that stand in the visible area (or within the carousels' clipped edges of it) but still show
// their placeholder, as "index: data-src" lines.
const char *const kPendingPicturesInView = R"js(
(function () {
    var pending = [];
    document.querySelectorAll('img[data-src]').forEach(function (img, index) {
        var box = img.getBoundingClientRect();
        var inView = box.width > 0 && box.height > 0 && box.bottom > 0 && box.top < innerHeight
            && box.right > 0 && box.left < innerWidth;
        if (inView && img.getAttribute('src') !== img.getAttribute('data-src'))
            pending.push(index + ': ' + img.getAttribute('data-src'));
    });
    return pending.join('\n');
})())js";

const char *const kPicturesInView = R"js(
Array.prototype.filter.call(document.querySelectorAll('img[data-src]'), function (img) {
    var box = img.getBoundingClientRect();
    return box.width > 0 && box.height > 0 && box.bottom > 0 && box.top < innerHeight && box.right > 0
        && box.left < innerWidth;
}).length)js";

// The layout facts of the page shown, as numbers (missing elements give -1).
const char *const kLayoutFacts = R"js(
(function () {
    function box(selector) {
        var element = document.querySelector(selector);
        return element ? element.getBoundingClientRect() : null;
    }
    var root = document.documentElement;
    var facts = { scrollWidth: root.scrollWidth, clientWidth: root.clientWidth, innerWidth: innerWidth };
    var first = box('.section-wrapper .container > .row, .section-wrapper #myBooks > .row,'
                    + ' .detail-book-wrapper .container > .row, .kategori-wrapper .container > .row');
    facts.firstRowTop = first ? first.top + scrollY : -1;
    var button = box('.search-panel .btn-filter'), caret = box('.search-panel .btn-filter .caret'),
        input = box('#keyword');
    facts.hasFieldButton = !!(button && caret && input);
    if (facts.hasFieldButton) {
        facts.caretInside = caret.left >= button.left && caret.right <= button.right
            && caret.top >= button.top && caret.bottom <= button.bottom;
        facts.buttonInsideInput = button.left >= input.left && button.right <= input.right;
    }
    var label = box('.top-area li p'), chooser = box('.top-area .select2-container');
    facts.hasChooserRow = !!(label && chooser);
    if (facts.hasChooserRow) {
        facts.labelBeforeChooser = label.right <= chooser.left;
        facts.sameLine = label.top < chooser.bottom && chooser.top < label.bottom;
    }
    return facts;
})())js";

class CatalogueLooksTest : public elumira::test::MemberPageViewTest
{
protected:
    void SetUp() override
    {
        MemberPageViewTest::SetUp();
        view->resize(1366, 768);
        ASSERT_TRUE(waitUntil([this] { return js(QStringLiteral("innerWidth")).toInt() == 1366; }));
    }

    // Every picture in view shows its own picture once the page has settled, without any scrolling.
    void expectPicturesInViewLoaded(bool somePictures)
    {
        if (somePictures) {
            EXPECT_GT(js(QLatin1String(kPicturesInView)).toInt(), 0) << "no picture in view to check";
        }
        QString pending;
        const bool loaded = waitUntil([&] {
            pending = js(QLatin1String(kPendingPicturesInView)).toString();
            return pending.isEmpty();
        });
        EXPECT_TRUE(loaded) << "still placeholders:\n" << pending.toStdString();
    }

    void expectLayout(int firstRowTop)
    {
        const QVariantMap facts = js(QLatin1String(kLayoutFacts)).toMap();
        ASSERT_FALSE(facts.isEmpty());
        EXPECT_NEAR(facts[QStringLiteral("firstRowTop")].toDouble(), firstRowTop, 1.0);
        // Nothing is wider than the window, its vertical scroll bar left aside.
        EXPECT_LE(facts[QStringLiteral("scrollWidth")].toInt(), facts[QStringLiteral("innerWidth")].toInt());
        EXPECT_LE(facts[QStringLiteral("scrollWidth")].toInt(), facts[QStringLiteral("clientWidth")].toInt());
        if (facts[QStringLiteral("hasFieldButton")].toBool()) {
            EXPECT_TRUE(facts[QStringLiteral("caretInside")].toBool());
            EXPECT_TRUE(facts[QStringLiteral("buttonInsideInput")].toBool());
        }
        if (facts[QStringLiteral("hasChooserRow")].toBool()) {
            EXPECT_TRUE(facts[QStringLiteral("labelBeforeChooser")].toBool());
            EXPECT_TRUE(facts[QStringLiteral("sameLine")].toBool());
        }
    }

    static QString firstDepartmentWithCategories(const Json &categories, int skip)
    {
        for (const Json &department : categories["data_departemen"]) {
            if (department["data_kategori"].empty() || skip-- > 0)
                continue;
            return QString::fromStdString(department["id_departemen"].get<std::string>());
        }
        return {};
    }
};

TEST_F(CatalogueLooksTest, everyPage_showsItsPicturesInViewAndKeepsItsLayout)
{
    s_service->setBannerJson(s_service->BannerRequest());
    s_service->setHomeContentJson(s_service->HomeRequest(1));
    const QString section = QString::fromStdString(Json((*s_service->HomeContentJson())["data"][0]["id"]).dump());
    s_service->setCategoryJson(s_service->CategoryRequest());
    const Json categories = *s_service->CategoryJson();
    const QString department = firstDepartmentWithCategories(categories, 0);
    const Json firstCategory = categories["data_departemen"][0]["data_kategori"][0];
    const QString category = QString::fromStdString(firstCategory["id_kategori"].get<std::string>());
    const QString subCategory =
        QString::fromStdString(firstCategory["data_sub_kategori"][0]["id_sub_kategori"].get<std::string>());

    const struct
    {
        const char *name;
        std::function<void()> fetch;
        std::function<void()> render;
        int firstRowTop;
        bool pictures;
    } pages[] = {
        {"home", [] {}, [this] { renderHomeHtmlFile(*s_service, *view, *s_dialogs, 1); }, 85, true},
        {"home section", [&] { s_service->setHomeDetailJson(s_service->HomeDetailRequest(QString(section).remove(QLatin1Char('"')))); },
         [this] { renderHomeDetailHtmlFile(*s_service, *view, *s_dialogs, QStringLiteral("Rekomendasi")); }, 20, true},
        {"category browser", [] {}, [this] { renderCategoryHtmlFile(*s_service, *view, *s_dialogs); }, 20, false},
        {"category books",
         [&] { s_service->setCategoryContentJson(s_service->CategoryContentRequest(department, category)); },
         [this] { renderCategoryContent(*s_service, *view, *s_dialogs, QStringLiteral("Sejarah")); }, 20, true},
        {"sub-category books",
         [&] { s_service->setSubCategoryContentJson(s_service->SubCategoryContentRequest(department, subCategory)); },
         [this] { renderSubCategoryContent(*s_service, *view, *s_dialogs, QStringLiteral("Lokal")); }, 20, true},
        {"top-read chart",
         [this] { s_service->setChartContentJson(s_service->ChartContentRequest(QStringLiteral("topRead"), 1)); },
         [this] { renderTopChart(*s_service, *view, *s_dialogs, 1); }, 85, true},
        {"last-read chart",
         [this] { s_service->setChartContentJson(s_service->ChartContentRequest(QStringLiteral("lastRead"), 1)); },
         [this] { renderLastRead(*s_service, *view, *s_dialogs, 1); }, 85, true},
        {"book detail", [this] { s_service->setDetailContentJson(s_service->DetailContentRequest(QStringLiteral("1012"))); },
         [this] { renderDetailContent(*s_service, *view, *s_dialogs, QStringLiteral("chart")); }, 20, true},
        {"search by field",
         [this] {
             s_service->setSearchContentJson(s_service->SearchContentRequest(QStringLiteral("Semua"), QStringLiteral("a"), 1));
         },
         [this] { renderSearchResult(*s_service, *view, *s_dialogs, 1, QStringLiteral("a"), QStringLiteral("Semua")); },
         85, true},
        {"search by sentence",
         [this] { s_service->setSearchContentJson(s_service->SearchKalimatRequest(QStringLiteral("hutan bakau"), 1)); },
         [this] { renderSearchKalimatResult(*s_service, *view, *s_dialogs, 1, QStringLiteral("hutan bakau")); }, 85,
         true},
    };
    for (const auto &page : pages) {
        SCOPED_TRACE(page.name);
        page.fetch();
        renderAndWait(page.render);
        expectPicturesInViewLoaded(page.pictures);
        expectLayout(page.firstRowTop);
        EXPECT_TRUE(s_dialogs->boxes().isEmpty());
    }
}

TEST_F(CatalogueLooksTest, furtherSectionsAndChartRows_showTheirPicturesWhereTheMemberLooks)
{
    // The member scrolls down to "Selebihnya"; the grown page shows the same place with the new part below.
    s_service->setBannerJson(s_service->BannerRequest());
    s_service->setHomeContentJson(s_service->HomeRequest(1));
    renderAndWait([this] { renderHomeHtmlFile(*s_service, *view, *s_dialogs, 1); });
    expectPicturesInViewLoaded(true);
    js(QStringLiteral("window.scrollTo(0, document.body.scrollHeight); 0"));
    ASSERT_TRUE(waitUntil([this] { return view->page()->scrollPosition().y() > 500; }));
    const double scrolled = view->page()->scrollPosition().y();
    const int sections = js(QStringLiteral("$('#myBooks .section-item').length")).toInt();
    s_service->setHomeContentJson(s_service->HomeRequest(2));
    renderHomeHtmlFile(*s_service, *view, *s_dialogs, 2);
    ASSERT_TRUE(waitUntil([&] { return js(QStringLiteral("$('#myBooks .section-item').length")).toInt() > sections; }));
    EXPECT_TRUE(waitUntil([&] { return js(QStringLiteral("scrollY")).toDouble() > scrolled - 300; }))
        << js(QStringLiteral("scrollY")).toDouble() << " against " << scrolled;
    expectPicturesInViewLoaded(true);
    expectLayout(85);

    s_service->setChartContentJson(s_service->ChartContentRequest(QStringLiteral("topRead"), 1));
    renderAndWait([this] { renderTopChart(*s_service, *view, *s_dialogs, 1); });
    js(QStringLiteral("window.scrollTo(0, document.body.scrollHeight); 0"));
    ASSERT_TRUE(waitUntil([this] { return view->page()->scrollPosition().y() > 500; }));
    s_service->setChartContentJson(s_service->ChartContentRequest(QStringLiteral("topRead"), 2));
    renderAndWait([this] { renderTopChart(*s_service, *view, *s_dialogs, 2); });
    EXPECT_TRUE(waitUntil([this] { return js(QStringLiteral("scrollY")).toDouble() > 500; }));
    expectPicturesInViewLoaded(true);
    expectLayout(85);
    EXPECT_TRUE(s_dialogs->boxes().isEmpty());
}

TEST_F(CatalogueLooksTest, departmentChange_keepsTheChooserRowAndItsLayout)
{
    s_service->setCategoryJson(s_service->CategoryRequest());
    renderAndWait([this] { renderCategoryHtmlFile(*s_service, *view, *s_dialogs); });
    const QString before = js(QStringLiteral("$('#categoryContainer').text()")).toString();
    const QString other = firstDepartmentWithCategories(*s_service->CategoryJson(), 1);
    ASSERT_FALSE(other.isEmpty());

    renderDept(*s_service, *view, *s_dialogs, other);
    ASSERT_TRUE(waitUntil([&] { return js(QStringLiteral("$('#categoryContainer').text()")).toString() != before; }));
    expectPicturesInViewLoaded(false);
    expectLayout(20);
    EXPECT_TRUE(s_dialogs->boxes().isEmpty());
}

} // namespace
