// The viewer assets: every file the pages use is in the archive, the pictures have their sizes, and in a real
// browser view the libraries load at their versions, the loading page spins and the page script does its work.
#include "common/dialogs.h"
#include "service/lekora_lib.h"
#include "shell/browser_profile.h"
#include "shell/tchromium.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QWebEngineProfile>

#include <memory>

using elumira::RecordingDialogs;
using elumira::TChromium;
using elumira::TLekoraLib;
using elumira::test::evaluate;
using elumira::test::waitUntil;

namespace {

class ViewerAssetsTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_dialogs = new RecordingDialogs;
        s_service = new TLekoraLib(*s_dialogs);
        s_profile = elumira::createBrowserProfile();
    }
    static void TearDownTestSuite()
    {
        delete s_service;
        delete s_profile;
        delete s_dialogs;
    }

    static QString dataFile(const QString &name) { return s_service->DataPath() + QLatin1Char('/') + name; }

    // Shows a file of the data folder in a fresh view and waits until it has loaded.
    std::unique_ptr<TChromium> show(const QString &name)
    {
        auto view = std::make_unique<TChromium>(s_profile);
        view->resize(1280, 800);
        view->show();
        // The connection ends with this call, so a later load cannot write to the flag once it is gone.
        bool loaded = false;
        QObject scope;
        QObject::connect(view->page(), &QWebEnginePage::loadFinished, &scope, [&loaded](bool ok) { loaded = ok; });
        view->loadUrl(QUrl::fromLocalFile(dataFile(name)));
        EXPECT_TRUE(waitUntil([&loaded] { return loaded; }, 30000)) << name.toStdString();
        return view;
    }

    static RecordingDialogs *s_dialogs;
    static TLekoraLib *s_service;
    static QWebEngineProfile *s_profile;
};

RecordingDialogs *ViewerAssetsTest::s_dialogs = nullptr;
TLekoraLib *ViewerAssetsTest::s_service = nullptr;
QWebEngineProfile *ViewerAssetsTest::s_profile = nullptr;

TEST_F(ViewerAssetsTest, archive_everyPathThePagesUse_isUnpacked)
{
    ASSERT_TRUE(s_dialogs->boxes().isEmpty());
    static const char *const paths[] = {
        "loading.html",
        "css/bootstrap.min.css",
        "js/bootstrap.min.js",
        "fonts/glyphicons-halflings-regular.eot",
        "fonts/glyphicons-halflings-regular.svg",
        "fonts/glyphicons-halflings-regular.ttf",
        "fonts/glyphicons-halflings-regular.woff",
        "fonts/glyphicons-halflings-regular.woff2",
        "js/jquery.js",
        "js/lazyload.min.js",
        "plugins/slick-slider/slick/slick.min.js",
        "plugins/slick-slider/slick/slick.css",
        "plugins/slick-slider/slick/slick-theme.css",
        "plugins/slick-slider/slick/ajax-loader.gif",
        "plugins/slick-slider/slick/fonts/slick.woff",
        "plugins/slick-slider/slick/fonts/slick.ttf",
        "plugins/bootstrap-star-rating/js/star-rating.js",
        "plugins/bootstrap-star-rating/css/star-rating.css",
        "js/select2.min.js",
        "css/select2.min.css",
        "css/style.css",
        "js/main.js",
        "js/loading.js",
        "css/download.css",
        "fonts/segoeui/SEGOEUI.TTF",
        "img/loading.jpg",
        "img/loading-banner.jpg",
        "img/user.png",
        "img/book_shadow.png",
        "img/select.png",
    };
    for (const char *path : paths) {
        QFile file(dataFile(QLatin1String(path)));
        EXPECT_TRUE(file.exists() && file.size() > 0) << path;
    }
}

TEST_F(ViewerAssetsTest, pictures_haveTheirSizes)
{
    const struct
    {
        const char *path;
        QSize size;
    } cases[] = {
        {"img/loading.jpg", {400, 600}},
        {"img/loading-banner.jpg", {1170, 230}},
        {"img/user.png", {40, 40}},
        {"img/book_shadow.png", {168, 24}},
        {"img/select.png", {60, 40}},
    };
    for (const auto &c : cases) {
        const QImage image(dataFile(QLatin1String(c.path)));
        EXPECT_FALSE(image.isNull()) << c.path;
        EXPECT_EQ(image.size(), c.size) << c.path;
    }
    // The placeholders are white with grey dots at the centre.
    const QImage cover(dataFile(QStringLiteral("img/loading.jpg")));
    EXPECT_GT(qGray(cover.pixel(5, 5)), 245);
    EXPECT_LT(qGray(cover.pixel(200, 300 - 36)), 200);
}

TEST_F(ViewerAssetsTest, loadingPage_showsOneCentredSpinningLoader)
{
    auto view = show(QStringLiteral("loading.html"));
    const QVariantMap loader = evaluate(view->page(), QStringLiteral(R"js(
        (function () {
            var all = document.querySelectorAll('.loader');
            var el = all[0], s = getComputedStyle(el);
            return { count: all.length, scripts: document.scripts.length,
                     width: el.offsetWidth, height: el.offsetHeight,
                     centreX: el.offsetLeft + el.offsetWidth / 2 - window.innerWidth / 2,
                     centreY: el.offsetTop + el.offsetHeight / 2 - window.innerHeight / 2,
                     border: s.borderLeftWidth, colour: s.borderLeftColor, top: s.borderTopColor,
                     radius: s.borderTopLeftRadius,
                     animation: s.animationName, duration: s.animationDuration,
                     timing: s.animationTimingFunction, repeat: s.animationIterationCount,
                     running: el.getAnimations().length === 1 && el.getAnimations()[0].playState === 'running' };
        })())js")).toMap();

    EXPECT_EQ(loader.value(QStringLiteral("count")).toInt(), 1);
    // The one script is the download display, which shows nothing until a book file is on its way.
    EXPECT_EQ(loader.value(QStringLiteral("scripts")).toInt(), 1);
    EXPECT_EQ(loader.value(QStringLiteral("width")).toDouble(), 100.0);
    EXPECT_EQ(loader.value(QStringLiteral("height")).toDouble(), 100.0);
    EXPECT_NEAR(loader.value(QStringLiteral("centreX")).toDouble(), 0.0, 1.0);
    EXPECT_NEAR(loader.value(QStringLiteral("centreY")).toDouble(), 0.0, 1.0);
    EXPECT_EQ(loader.value(QStringLiteral("border")).toString(), QStringLiteral("16px"));
    EXPECT_EQ(loader.value(QStringLiteral("colour")).toString(), QStringLiteral("rgb(171, 171, 171)"));
    EXPECT_EQ(loader.value(QStringLiteral("top")).toString(), QStringLiteral("rgb(52, 152, 219)"));
    EXPECT_EQ(loader.value(QStringLiteral("radius")).toString(), QStringLiteral("50%"));
    EXPECT_EQ(loader.value(QStringLiteral("duration")).toString(), QStringLiteral("2s"));
    EXPECT_EQ(loader.value(QStringLiteral("timing")).toString(), QStringLiteral("linear"));
    EXPECT_EQ(loader.value(QStringLiteral("repeat")).toString(), QStringLiteral("infinite"));
    EXPECT_TRUE(loader.value(QStringLiteral("running")).toBool());
}

TEST_F(ViewerAssetsTest, loadingPage_showsHowMuchOfABookHasArrived)
{
    auto view = show(QStringLiteral("loading.html"));
    const QString state = QStringLiteral(
        "(function () { var b = document.getElementById('download'); return [String(b.hidden),"
        " document.getElementById('download-bar').className, document.querySelector('#download-bar span').style.width,"
        " document.getElementById('download-text').textContent].join('|'); })()");
    EXPECT_EQ(evaluate(view->page(), state).toString(), QStringLiteral("true|bar||"));

    const struct
    {
        const char *call;
        const char *expected;
    } cases[] = {
        {"showDownloadProgress(5242880, 10485760)", "false|bar|50%|Mengunduh buku 50% (5,0 / 10,0 MB)"},
        {"showDownloadProgress(1572864, 0)", "false|bar indeterminate||Mengunduh buku (1,5 MB)"},
        {"showDownloadProgress(20, 10)", "false|bar|100%|Mengunduh buku 100% (0,0 / 0,0 MB)"},
    };
    for (const auto &c : cases) {
        evaluate(view->page(), QLatin1String(c.call) + QStringLiteral("; 0"));
        EXPECT_EQ(evaluate(view->page(), state).toString(), QLatin1String(c.expected)) << c.call;
    }
}

TEST_F(ViewerAssetsTest, libraries_loadAtTheirVersionsAndPageScriptDoesItsWork)
{
    QFile::remove(dataFile(QStringLiteral("main_js_page.html")));
    ASSERT_TRUE(QFile::copy(QStringLiteral(ELUMIRA_TEST_DATA "/main_js_page.html"), dataFile(QStringLiteral("main_js_page.html"))));
    auto view = show(QStringLiteral("main_js_page.html"));
    QWebEnginePage *page = view->page();

    const struct
    {
        const char *expression;
        QVariant expected;
    } libraries[] = {
        {"jQuery.fn.jquery", QStringLiteral("1.11.1")},
        {"$.fn.modal.Constructor.VERSION", QStringLiteral("3.3.7")},
        {"typeof $.fn.slick", QStringLiteral("function")},
        {"typeof $.fn.select2", QStringLiteral("function")},
        {"typeof LazyLoad", QStringLiteral("function")},
        {"typeof $.fn.rating", QStringLiteral("function")},
    };
    for (const auto &c : libraries)
        EXPECT_EQ(evaluate(page, QLatin1String(c.expression)), c.expected) << c.expression;

    // The text font is the one from the archive, and it has loaded.
    EXPECT_EQ(evaluate(page, QStringLiteral("getComputedStyle(document.body).fontFamily")), QStringLiteral("segoeui, sans-serif"));
    evaluate(page, QStringLiteral("document.fonts.load('14px segoeui').then(function (f) { window.fontFaces = f.length; }); 0"));
    EXPECT_TRUE(waitUntil([page] { return evaluate(page, QStringLiteral("window.fontFaces === 1")).toBool(); }));

    const struct
    {
        const char *expression;
        QVariant expected;
    } setUp[] = {
        {"window.lazyLoadInstance instanceof LazyLoad", true},
        {"$('.multiple-items').hasClass('slick-initialized')", true},
        {"$('.multiple-items').slick('slickGetOption', 'slidesToShow')", 6},
        {"$('.multiple-items').slick('slickGetOption', 'slidesToScroll')", 6},
        {"$('.multiple-items').slick('slickGetOption', 'infinite')", true},
        {"$('.multiple-items').slick('slickGetOption', 'lazyLoad')", QStringLiteral("ondemand")},
        {"$('.banner').hasClass('slick-initialized')", true},
        {"$('.banner').slick('slickGetOption', 'dots')", true},
        {"$('.banner').slick('slickGetOption', 'arrows')", false},
        {"$('.banner').slick('slickGetOption', 'autoplay')", true},
        {"$('.banner').slick('slickGetOption', 'autoplaySpeed')", 2000},
        {"$('.banner').slick('slickGetOption', 'infinite')", true},
        {"$('.rating-detail').length > 0 && $('.rating-detail').closest('.rating-container').length === $('.rating-detail').length", true},
        {"$('.rating-detail').prop('readonly')", true},
        {"$('.rating-detail').closest('.rating-container').find('.clear-rating').is(':visible')", false},
        {"$('.rating-detail').closest('.rating-container').find('.caption').is(':visible')", false},
    };
    for (const auto &c : setUp) {
        const QVariant actual = evaluate(page, QLatin1String(c.expression));
        EXPECT_EQ(actual.toString(), c.expected.toString()) << c.expression;
    }

    // Field menu: the chosen label replaces the button's label and the link is not followed.
    evaluate(page, QStringLiteral("$('.search-panel .dropdown-menu a:contains(Penulis)').click(); 0"));
    EXPECT_EQ(evaluate(page, QStringLiteral("$('#search_concept').text()")), QStringLiteral("Penulis"));
    EXPECT_EQ(evaluate(page, QStringLiteral("location.hash")), QString());

    // Account menu: open with the overlay while the pointer is over it, closed when it leaves.
    evaluate(page, QStringLiteral("$('.dropdown').trigger('mouseenter'); 0"));
    EXPECT_TRUE(waitUntil([page] {
        return evaluate(page, QStringLiteral("$('.dropdown').hasClass('open') && $('#overlay').is(':visible')")).toBool();
    }));
    evaluate(page, QStringLiteral("$('.dropdown').trigger('mouseleave'); 0"));
    EXPECT_TRUE(waitUntil([page] {
        return evaluate(page, QStringLiteral("!$('.dropdown').hasClass('open') && !$('#overlay').is(':visible')")).toBool();
    }));
}

} // namespace
