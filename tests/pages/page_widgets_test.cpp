// The widgets of the catalogue pages in a real view: carousels and rating stars set up once and as they come
// near the view, and the home page grown in place by "Selebihnya" matching its file.
#include "pages/chart_pages.h"
#include "pages/home_page.h"
#include "pages/page_writer.h"
#include "pages/search_pages.h"
#include "service/lekora_lib.h"
#include "tests/support/member_page_view.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>

#include <functional>

using elumira::Json;
using elumira::test::waitUntil;
using namespace elumira::pages;

namespace {

// What a member can see of the book area and do with it: each section's title and link, and each tile's call,
// picture and rating, in order (the copies a carousel makes of its tiles left aside).
const char kBookArea[] = R"js(JSON.stringify($('#myBooks .section-item').map(function () {
    return [[$(this).find('h2').text(), $(this).find('.link-see-all').attr('onclick'),
        $(this).find('.list-item-wrap:not(.slick-cloned) .list-item > a').map(function () {
            return [[$(this).attr('onclick'), $(this).find('img').attr('data-src'),
                $(this).find('input.rating-detail').val()]];
        }).get()]];
}).get()))js";

// Every drawn star widget holds one input and no other widget, and every input is drawn at most once.
const char kStarsDrawnOnce[] = R"js((function () {
    var containers = $('.rating-container');
    return containers.find('.rating-container').length === 0
        && containers.toArray().every(function (c) { return $(c).find('input.rating-detail').length === 1; })
        && $('input.rating-detail').toArray().every(function (i) {
               return $(i).parents('.rating-container').length <= 1; });
})())js";

// Every drawn star widget is in its tile, where its input was (last in the tile's description), and is filled to
// its input's rating.
const char kStarsInPlaceAndFilled[] = R"js((function () {
    var containers = $('#myBooks .rating-container');
    return containers.length > 0 && containers.toArray().every(function (c) {
        var input = $(c).find('input.rating-detail');
        return document.body.contains(c) && $(c).parent().is('.describe-wrap') && c === c.parentNode.lastElementChild
            && $(c).find('.filled-stars')[0].style.width === (Number(input.val()) * 20) + '%';
    });
})())js";

class PageWidgetsTest : public elumira::test::MemberPageViewTest
{
protected:
    void SetUp() override
    {
        MemberPageViewTest::SetUp();
        view->resize(1366, 768);
        ASSERT_TRUE(waitUntil([this] { return js(QStringLiteral("innerWidth")).toInt() == 1366; }));
    }

    int sections() { return js(QStringLiteral("$('#myBooks .section-item').length")).toInt(); }
    bool lastGrid(const char *state)
    {
        return js(QStringLiteral("$('#myBooks .multiple-items').last().is('%1')").arg(QLatin1String(state))).toBool();
    }
    // Has the next page loaded in the view evaluate EXPRESSION at the first frame after its set-up (the probe is
    // registered before the page's own scripts, so it runs first at the document's ready and its frame callback
    // after all of them); the value is then read with firstFrame().
    void probeFirstFrame(const QString &expression)
    {
        QWebEngineScript probe;
        probe.setName(QStringLiteral("first-frame-probe"));
        probe.setInjectionPoint(QWebEngineScript::DocumentCreation);
        probe.setWorldId(QWebEngineScript::MainWorld);
        probe.setSourceCode(QStringLiteral("document.addEventListener('DOMContentLoaded', function () {"
                                           " requestAnimationFrame(function () { window.atFirstFrame = (%1); }); });")
                                .arg(expression));
        for (const QWebEngineScript &old : view->page()->scripts().find(probe.name()))
            view->page()->scripts().remove(old);
        view->page()->scripts().insert(probe);
    }
    QVariant firstFrame()
    {
        EXPECT_TRUE(waitUntil([this] { return js(QStringLiteral("window.atFirstFrame !== undefined")).toBool(); }));
        return js(QStringLiteral("window.atFirstFrame"));
    }

    void scrollToEnd()
    {
        js(QStringLiteral("window.scrollTo(0, document.body.scrollHeight); 0"));
        ASSERT_TRUE(waitUntil([this] { return view->page()->scrollPosition().y() > 500; }));
    }
};

TEST_F(PageWidgetsTest, homePage_widgetsAreSetUpOnceAsTheyComeNearTheView)
{
    s_service->setBannerJson(s_service->BannerRequest());
    s_service->setHomeContentJson(s_service->HomeRequest(1));
    renderAndWait([this] { renderHomeHtmlFile(*s_service, *view, *s_dialogs, 1); });
    ASSERT_GT(sections(), 5);

    // At the top: the first section is a carousel with its stars, the last one still a plain grid.
    EXPECT_TRUE(waitUntil([this] { return js(QStringLiteral("$('#myBooks .multiple-items').first()"
                                                            ".is('.slick-initialized')")).toBool(); }));
    EXPECT_TRUE(js(QStringLiteral("$('#myBooks .multiple-items').first().find('.rating-container').length > 0"))
                    .toBool());
    EXPECT_TRUE(lastGrid(":not(.slick-initialized)"));
    EXPECT_EQ(js(QStringLiteral("$('#myBooks .multiple-items').last().find('.rating-container').length")).toInt(), 0);
    // The slides beside the ones shown, which a carousel clips, get their pictures before the carousel moves to
    // them: the banner's next and previous slides (copies included), a grid's next and previous six tiles.
    const auto pictured = [this](const QString &carousel, const QString &slides) {
        return js(carousel + QStringLiteral(".find('.slick-track > .slick-slide').filter(function () {"
                                            " var i = Number(this.getAttribute('data-slick-index'));"
                                            " var n = $(this).closest('.slick-initialized')[0].slick.slideCount;"
                                            " var at = $(this).closest('.slick-initialized')[0].slick.currentSlide;"
                                            " var place = (((i - at) % n) + n) % n; return %1; })"
                                            ".find('img[data-src]').toArray().every(function (i) {"
                                            " return i.getAttribute('src') === i.getAttribute('data-src'); })")
                                 .arg(slides))
            .toBool();
    };
    const QString banner = QStringLiteral("$('.banner')");
    const QString first = QStringLiteral("$('#myBooks .multiple-items').first()");
    ASSERT_GT(js(first + QStringLiteral(".find('.slick-slide:not(.slick-cloned)').length")).toInt(), 6);
    EXPECT_TRUE(waitUntil([&] { return pictured(banner, QStringLiteral("place <= 1 || place === n - 1")); }));
    EXPECT_TRUE(waitUntil([&] { return pictured(first, QStringLiteral("place < 12 || place >= n - 6")); }));
    js(first + QStringLiteral(".slick('slickNext'); 0"));
    EXPECT_TRUE(waitUntil([&] {
        return js(first + QStringLiteral(".find('.slick-active img[data-src]').toArray().every(function (i) {"
                                         " return i.getAttribute('src') === i.getAttribute('data-src'); })"))
            .toBool();
    }));
    // Once it has moved, the slides beside its new place are asked for in turn.
    EXPECT_TRUE(waitUntil([&] { return pictured(first, QStringLiteral("place < 12")); }));
    // A grid just below the view is built too, without any scrolling, once the page has a moment to spare.
    const QString belowTheView = QStringLiteral(
        "$('#myBooks .multiple-items').filter(function () { var top = this.getBoundingClientRect().top;"
        " return top > innerHeight && top < innerHeight + 400; })");
    ASSERT_GT(js(belowTheView + QStringLiteral(".length")).toInt(), 0);
    EXPECT_TRUE(waitUntil([&] { return js(belowTheView + QStringLiteral(".is(':not(.slick-initialized)')")).toBool() == false; }));
    EXPECT_EQ(js(QStringLiteral("scrollY")).toInt(), 0);

    // Scrolled down, the last one is built too, every star input of the page drawn exactly once.
    scrollToEnd();
    EXPECT_TRUE(waitUntil([this] { return lastGrid(".slick-initialized"); }));
    EXPECT_TRUE(waitUntil([this] {
        return js(QStringLiteral("$('#myBooks .multiple-items').last().find('input.rating-detail').toArray()"
                                 ".every(function (i) { return $(i).closest('.rating-container').length === 1; })"))
            .toBool();
    }));
    EXPECT_TRUE(js(QLatin1String(kStarsDrawnOnce)).toBool());
    EXPECT_TRUE(js(QLatin1String(kStarsInPlaceAndFilled)).toBool());
    // The stars keep their look: read-only, the rating filled in.
    EXPECT_GT(js(QStringLiteral("$('.rating-container.rating-disabled').length")).toInt(), 0);
    EXPECT_EQ(js(QStringLiteral("$('.rating-container:not(.rating-disabled)').length")).toInt(), 0);
    EXPECT_TRUE(s_dialogs->boxes().isEmpty());
}

// The frame drawn right after the page has set itself up already shows the banner and the grids in view as
// carousels with their stars: the member never sees them stacked or as plain grids for a moment.
TEST_F(PageWidgetsTest, homePage_carouselsInViewAreBuiltBeforeTheFirstFrame)
{
    probeFirstFrame(QStringLiteral(R"js((function () {
        var inView = $('.banner, #myBooks .multiple-items').filter(function () {
            var box = this.getBoundingClientRect();
            return box.top < innerHeight && box.bottom > 0;
        });
        return {
            inView: inView.length,
            built: inView.filter('.slick-initialized').length,
            starless: inView.filter('.multiple-items').filter(function () {
                return $(this).find('.rating-container').length === 0; }).length
        };
    })())js"));
    s_service->setBannerJson(s_service->BannerRequest());
    s_service->setHomeContentJson(s_service->HomeRequest(1));
    renderAndWait([this] { renderHomeHtmlFile(*s_service, *view, *s_dialogs, 1); });
    const QVariantMap seen = firstFrame().toMap();
    EXPECT_GE(seen.value(QStringLiteral("inView")).toInt(), 2); // the banner and at least the first section
    EXPECT_EQ(seen.value(QStringLiteral("built")), seen.value(QStringLiteral("inView")));
    EXPECT_EQ(seen.value(QStringLiteral("starless")).toInt(), 0);
}

// Where the banner's picture shown and the first sections' tiles in view stand (page coordinates, rounded), in
// plain script so that it also runs in a page without its libraries. The picture is measured inside the banner,
// since the real one may have arrived in one state and not the other.
const char kHomeGeometry[] = R"js((function () {
    function box(e) {
        var b = e.getBoundingClientRect();
        return { x: Math.round(b.left), y: Math.round(b.top + scrollY), w: Math.round(b.width), h: Math.round(b.height) };
    }
    var banner = document.querySelector('.banner');
    var b = box(banner), i = box(banner.querySelector('.slick-current img') || banner.querySelector('img'));
    var sections = Array.prototype.slice.call(document.querySelectorAll('#myBooks .section-item'), 0, 3);
    return {
        bannerPicture: [i.x, i.w, i.y - b.y, b.y + b.h - (i.y + i.h)],
        belowBanner: box(sections[0]).y - (b.y + b.h),
        sections: sections.map(function (section) {
            var grid = box(section.querySelector('.multiple-items'));
            var tiles = Array.prototype.filter.call(section.querySelectorAll('.list-item'), function (tile) {
                var t = box(tile);
                return t.w > 0 && t.x >= grid.x - 1 && t.x + t.w <= grid.x + grid.w + 1 && !tile.closest('.slick-cloned');
            });
            return { height: box(section).h, grid: [grid.x, grid.w, grid.h], tiles: tiles.map(function (tile) {
                var t = box(tile);
                return [t.x, t.y - grid.y, t.w, t.h];
            }) };
        }),
        numberBoxes: Array.prototype.filter.call(document.querySelectorAll('input.rating-detail'), function (input) {
            return getComputedStyle(input).visibility !== 'hidden' && input.offsetParent !== null;
        }).length
    };
})())js";

// The engine may draw the page before its scripts have run: the home page then already looks as it will once
// its carousels are built (one banner picture, six tiles a section, spaced alike, no number boxes), so nothing
// jumps when they are built. A single banner gets no dots, a short section no copies or arrows.
TEST_F(PageWidgetsTest, homePage_looksTheSameBeforeItsScriptsRun)
{
    Json oneBanner = s_service->BannerRequest();
    oneBanner["data"] = Json::array({oneBanner["data"][0]});
    Json shortSection = s_service->HomeRequest(1);
    Json &rows = shortSection["data"][1]["rows"];
    rows.erase(rows.begin() + 3, rows.end());
    const struct
    {
        const char *page;
        Json banners, sections;
    } cases[] = {
        {"the demo's home page", s_service->BannerRequest(), s_service->HomeRequest(1)},
        {"one banner, a section of three tiles", oneBanner, shortSection},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.page);
        s_service->setBannerJson(c.banners);
        s_service->setHomeContentJson(c.sections);
        renderAndWait([this] { renderHomeHtmlFile(*s_service, *view, *s_dialogs, 1); });
        // The first three sections built, the page back at its top.
        js(QStringLiteral("$('#myBooks .section-item')[2].scrollIntoView(); 0"));
        ASSERT_TRUE(waitUntil([this] {
            return js(QStringLiteral("$('#myBooks .multiple-items').slice(0, 3).not('.slick-initialized').length"
                                     " === 0"))
                .toBool();
        }));
        js(QStringLiteral("window.scrollTo(0, 0); 0"));
        ASSERT_TRUE(waitUntil([this] { return view->page()->scrollPosition().y() == 0; }));
        const QVariantMap built = js(QLatin1String(kHomeGeometry)).toMap();

        QFile file(pagePath(s_service->DataPath(), QLatin1String(kHomePageFile)));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        QString text = QString::fromUtf8(file.readAll());
        text.remove(QRegularExpression(QStringLiteral("<script\\b[^>]*>.*?</script>"),
                                       QRegularExpression::DotMatchesEverythingOption));
        ASSERT_FALSE(text.contains(QLatin1String("<script")));
        showPage(QStringLiteral("unbuilt_index.html"), text);
        const QVariantMap unbuilt = js(QLatin1String(kHomeGeometry)).toMap();

        EXPECT_EQ(unbuilt.value(QStringLiteral("bannerPicture")), built.value(QStringLiteral("bannerPicture")));
        EXPECT_EQ(unbuilt.value(QStringLiteral("belowBanner")), built.value(QStringLiteral("belowBanner")));
        const QVariantList builtSections = built.value(QStringLiteral("sections")).toList();
        const QVariantList unbuiltSections = unbuilt.value(QStringLiteral("sections")).toList();
        ASSERT_EQ(builtSections.size(), 3);
        ASSERT_EQ(unbuiltSections.size(), 3);
        for (int s = 0; s < 3; ++s) {
            SCOPED_TRACE(s);
            const QVariantMap a = builtSections[s].toMap(), b = unbuiltSections[s].toMap();
            EXPECT_EQ(b.value(QStringLiteral("height")), a.value(QStringLiteral("height")));
            EXPECT_EQ(b.value(QStringLiteral("grid")), a.value(QStringLiteral("grid")));
            const QVariantList builtTiles = a.value(QStringLiteral("tiles")).toList();
            const QVariantList unbuiltTiles = b.value(QStringLiteral("tiles")).toList();
            ASSERT_EQ(unbuiltTiles.size(), builtTiles.size());
            ASSERT_GE(builtTiles.size(), 3);
            for (int t = 0; t < builtTiles.size(); ++t) {
                const QVariantList x = builtTiles[t].toList(), y = unbuiltTiles[t].toList();
                for (int k = 0; k < 4; ++k) // a carousel places its slides to the fraction of a pixel
                    EXPECT_NEAR(y[k].toDouble(), x[k].toDouble(), 2.0) << "tile " << t << " value " << k;
            }
        }
        EXPECT_EQ(unbuilt.value(QStringLiteral("numberBoxes")).toInt(), 0);
        EXPECT_TRUE(s_dialogs->boxes().isEmpty());
    }
}

// Pages whose stars stand outside any carousel (search hits stay a plain grid, a chart is a table): the stars
// of the tiles in view are drawn on their own, each once, and none is left to a carousel that never comes.
TEST_F(PageWidgetsTest, starsOutsideCarousels_areDrawnOnTheirOwn)
{
    const struct
    {
        const char *page;
        std::function<void()> render;
    } cases[] = {
        {"search hits",
         [this] {
             s_service->setSearchContentJson(s_service->SearchContentRequest(QStringLiteral("Semua"), QStringLiteral("a"), 1));
             renderSearchResult(*s_service, *view, *s_dialogs, 1, QStringLiteral("a"), QStringLiteral("Semua"));
         }},
        {"top chart",
         [this] {
             s_service->setChartContentJson(s_service->ChartContentRequest(QStringLiteral("topRead"), 1));
             renderTopChart(*s_service, *view, *s_dialogs, 1);
         }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.page);
        // The stars in view are drawn before the page is first drawn: the member never sees their inputs.
        probeFirstFrame(QStringLiteral("$('input.rating-detail').filter(function () {"
                                       " var box = this.getBoundingClientRect(); return box.top < innerHeight; })"
                                       ".not('.rating-container input').length"));
        renderAndWait(c.render);
        EXPECT_EQ(firstFrame().toInt(), 0);
        ASSERT_GT(js(QStringLiteral("$('input.rating-detail').length")).toInt(), 0);
        EXPECT_TRUE(waitUntil([this] {
            return js(QStringLiteral("$('input.rating-detail').filter(function () {"
                                     " return this.getBoundingClientRect().top < innerHeight; }).toArray()"
                                     ".every(function (i) { return $(i).closest('.rating-container').length === 1; })"))
                .toBool();
        }));
        EXPECT_TRUE(js(QLatin1String(kStarsDrawnOnce)).toBool());
        EXPECT_FALSE(js(QStringLiteral("$('.multiple-items').is('.slick-initialized')")).toBool());
        EXPECT_TRUE(s_dialogs->boxes().isEmpty());
    }
}

TEST_F(PageWidgetsTest, selebihnya_growsThePageInPlaceAsItsFileWouldShowIt)
{
    s_service->setBannerJson(s_service->BannerRequest());
    s_service->setHomeContentJson(s_service->HomeRequest(1));
    renderAndWait([this] { renderHomeHtmlFile(*s_service, *view, *s_dialogs, 1); });
    const int first = sections();
    scrollToEnd();
    const double scrolled = view->page()->scrollPosition().y();
    const int loads = loadsFinished;

    s_service->setHomeContentJson(s_service->HomeRequest(2));
    renderHomeHtmlFile(*s_service, *view, *s_dialogs, 2);
    ASSERT_TRUE(s_dialogs->boxes().isEmpty());
    ASSERT_TRUE(waitUntil([&] { return sections() > first; }));

    // No reload: the member stays where they were, and the new sections are set up like the first ones.
    EXPECT_EQ(loadsFinished, loads);
    EXPECT_NEAR(js(QStringLiteral("scrollY")).toDouble(), scrolled, 50.0);
    scrollToEnd();
    EXPECT_TRUE(waitUntil([this] { return lastGrid(".slick-initialized"); }));
    EXPECT_TRUE(js(QLatin1String(kStarsDrawnOnce)).toBool());
    // The loader takes the new pictures: the ones in view arrive.
    EXPECT_TRUE(waitUntil([this] {
        return js(QStringLiteral("$('#myBooks .multiple-items').last().find('img[data-src]').filter(function () {"
                                 " return $(this).attr('src') === $(this).attr('data-src'); }).length > 0"))
            .toBool();
    }));

    // The page shown and its file, loaded afresh, hold the same sections, tiles and calls.
    const QString grown = js(QLatin1String(kBookArea)).toString();
    const int before = beforeLoad();
    view->loadUrl(QUrl::fromLocalFile(pagePath(s_service->DataPath(), QLatin1String(kHomePageFile))));
    waitForLoadAfter(before);
    EXPECT_GT(sections(), first);
    EXPECT_EQ(js(QLatin1String(kBookArea)).toString(), grown);
    EXPECT_GT(grown.size(), 1000);
}

} // namespace
