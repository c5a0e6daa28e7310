// Whole-page measures of the library views, each beside a plain reference: a page loaded until it is
// interactive beside the same page without its scripts, a "Selebihnya" on a long home page beside one on a short
// page, the seven views after a catalogue walk (kept open for the memory count), and start-up to the log-in page
// beside a bare browser window.
#include "app/startup.h"
#include "common/dialogs.h"
#include "pages/chart_pages.h"
#include "pages/home_page.h"
#include "pages/listing_pages.h"
#include "pages/page_writer.h"
#include "service/lekora_lib.h"
#include "shell/browser_profile.h"
#include "shell/main_window.h"
#include "shell/message_box_dialogs.h"
#include "shell/tchromium.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QProcess>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QTimer>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <unistd.h>
#include <vector>

using elumira::Json;
using elumira::TChromium;
namespace pages = elumira::pages;

namespace {

bool waitUntil(const std::function<bool()> &condition, int timeoutMs = 120000)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QEventLoop loop;
        QTimer::singleShot(2, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

QVariant evaluate(QWebEnginePage *page, const QString &script)
{
    QVariant result;
    bool done = false;
    page->runJavaScript(script, [&](const QVariant &value) {
        result = value;
        done = true;
    });
    waitUntil([&] { return done; }, 60000);
    return result;
}

// Waits until the page's main thread has gone through a frame and the tasks queued behind it: the page has run
// its set-up and answers input.
bool waitInteractive(QWebEnginePage *page)
{
    evaluate(page, QStringLiteral("window.__benchIdle = false; requestAnimationFrame(function () {"
                                  " requestAnimationFrame(function () { setTimeout(function () {"
                                  " window.__benchIdle = true; }, 0); }); }); 0"));
    return waitUntil([page] { return evaluate(page, QStringLiteral("window.__benchIdle === true")).toBool(); });
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

QString readFile(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QString::fromUtf8(file.readAll());
}

// The same page with every script element removed.
QString withoutScripts(const QString &text)
{
    static const QRegularExpression script(QStringLiteral("<script\\b[^>]*>.*?</script>"),
                                           QRegularExpression::CaseInsensitiveOption
                                               | QRegularExpression::DotMatchesEverythingOption);
    QString bare = text;
    bare.remove(script);
    return bare;
}

// The same page with only its library files linked: the shared page script and every inline script removed. What
// it costs beyond the page without scripts is the fixed price of reading the libraries, which no page script can
// lower.
QString librariesOnly(const QString &text)
{
    static const QRegularExpression script(QStringLiteral("<script\\b([^>]*)>.*?</script>"),
                                           QRegularExpression::CaseInsensitiveOption
                                               | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression library(QStringLiteral("\\bsrc\\s*=\\s*\"(?!js/main\\.js\")[^\"]+\""));
    QString kept;
    qsizetype from = 0;
    for (auto it = script.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        kept += text.mid(from, match.capturedStart() - from);
        if (library.match(match.captured(1)).hasMatch())
            kept += match.captured();
        from = match.capturedEnd();
    }
    return kept + text.mid(from);
}

struct FreshLoad
{
    std::unique_ptr<TChromium> view;
    double loadedMs = 0; // until the view reported the load's end
    double idleMs = 0;   // until, after that, the page's main thread was free
};

// The file loaded in a fresh view, timed from the request.
FreshLoad loadInFreshView(QWebEngineProfile *profile, const QString &path)
{
    FreshLoad load;
    load.view = std::make_unique<TChromium>(profile);
    load.view->resize(1280, 860);
    load.view->show();
    bool finished = false;
    const QMetaObject::Connection watch =
        QObject::connect(load.view->page(), &QWebEnginePage::loadFinished, [&](bool) { finished = true; });
    QElapsedTimer clock;
    clock.start();
    load.view->loadUrl(QUrl::fromLocalFile(path));
    waitUntil([&] { return finished; });
    QObject::disconnect(watch);
    load.loadedMs = double(clock.nsecsElapsed()) / 1e6;
    waitInteractive(load.view->page());
    load.idleMs = double(clock.nsecsElapsed()) / 1e6;
    return load;
}

// Milliseconds from asking for the file until it has loaded and its main thread is free, in a fresh view.
double loadMs(QWebEngineProfile *profile, const QString &path)
{
    return loadInFreshView(profile, path).idleMs;
}

// A copy of the file in the data folder, beside the assets, like the program's own pages.
QString intoDataFolder(const elumira::TLekoraLib &lib, const QString &given)
{
    const QString file = pages::pagePath(lib.DataPath(), QFileInfo(given).fileName());
    QFile::remove(file);
    QFile::copy(given, file);
    return file;
}

// Each page beside its copy without scripts, loaded in turns, RUNS times; a copy with its libraries only is loaded
// in the same turns, to show how much of the difference the libraries take by themselves.
int comparePages(const QStringList &files, int runs)
{
    elumira::RecordingDialogs dialogs;
    elumira::TLekoraLib lib(dialogs);
    auto *profile = elumira::createBrowserProfile(qApp);
    std::printf("%-36s %8s %8s %10s %8s %10s %10s\n", "page", "KB", "loaded", "no scripts", "ratio", "libraries",
                "lib. ratio");
    for (const QString &given : files) {
        const QString file = intoDataFolder(lib, given);
        const QFileInfo info(file);
        const QString text = readFile(file);
        const QString bare = info.absolutePath() + QStringLiteral("/bare_") + info.fileName();
        const QString libraries = info.absolutePath() + QStringLiteral("/libraries_") + info.fileName();
        pages::writePageFile(bare, withoutScripts(text));
        pages::writePageFile(libraries, librariesOnly(text));
        loadMs(profile, bare); // the assets into the cache, for all sides alike
        loadMs(profile, libraries);
        std::vector<double> full, plain, libs;
        for (int run = 0; run < runs; ++run) {
            full.push_back(loadMs(profile, file));
            plain.push_back(loadMs(profile, bare));
            libs.push_back(loadMs(profile, libraries));
        }
        QFile::remove(bare);
        QFile::remove(libraries);
        const double a = median(full), b = median(plain), c = median(libs);
        std::printf("%-36s %8lld %8.0f %10.0f %8.2f %10.0f %10.2f\n", qPrintable(info.fileName()), info.size() / 1024,
                    a, b, a / b, c, c / b);
        std::fflush(stdout);
    }
    return 0;
}

// Where the time of each file's load goes, three loads each: the page's navigation timings in ms from the
// request, followed by any marks a copy of the page pushed to window.__marks (timings of its own parts).
int probePages(const QStringList &files)
{
    elumira::RecordingDialogs dialogs;
    elumira::TLekoraLib lib(dialogs);
    auto *profile = elumira::createBrowserProfile(qApp);
    for (const QString &given : files) {
        const QString file = intoDataFolder(lib, given);
        for (int run = 0; run < 3; ++run) {
            const FreshLoad load = loadInFreshView(profile, file);
            const QString timings = evaluate(load.view->page(), QStringLiteral(R"js((function () {
                var n = performance.getEntriesByType('navigation')[0];
                return ['response end ' + n.responseEnd, 'parsed ' + n.domInteractive,
                        'ready handlers end ' + n.domContentLoadedEventEnd, 'load event ' + n.loadEventStart]
                    .map(function (t) { return t.replace(/\.\d+$/, ''); })
                    .concat(window.__marks || []).join(' | ');
            })())js")).toString();
            std::printf("%s  loaded %.0f  idle %.0f | %s\n", qPrintable(QFileInfo(file).fileName()), load.loadedMs,
                        load.idleMs, qPrintable(timings));
            std::fflush(stdout);
        }
    }
    return 0;
}

const char *const kPartner = R"({"code":"200","data":{"logo":"logo.png","warna_header":"#204060",
    "warna_button_login":"#1a7f5a","warna_hover_button_login":"#145c42","warna_hover_baca":"#c0392b"}})";

Json book(int n)
{
    const std::string id = std::to_string(n);
    return {{"id_konten", "B" + id}, {"img", "sampul-" + id + ".jpg"}, {"judul", "Cerita & Kisah " + id},
            {"penulis", "Penulis " + id}, {"stok", "2"}, {"qty", "5"}, {"nilai_rate", std::to_string(n % 6)}};
}

Json homeSections(int first, int count, int tiles)
{
    Json sections = Json::array();
    for (int s = first; s < first + count; ++s) {
        Json rows = Json::array();
        for (int t = 0; t < tiles; ++t)
            rows.push_back(book(s * tiles + t));
        sections.push_back({{"id", std::to_string(s)}, {"judul_section", "Bagian " + std::to_string(s)},
                            {"rows", std::move(rows)}});
    }
    return {{"code", "200"}, {"data", std::move(sections)}};
}

Json bookRows(int count)
{
    Json rows = Json::array();
    for (int n = 0; n < count; ++n)
        rows.push_back(book(n));
    return {{"code", "200"}, {"total", count}, {"count", count}, {"data", std::move(rows)}};
}

// Writes the long pages (home of 100 sections of 20 tiles, a chart and a book list of 1,000 rows) into the
// folder and prints their paths.
int writeLongPages(const QString &folder, const QString &serviceUrl)
{
    const Json partner = Json::parse(kPartner);
    const Json banners = Json::parse(R"({"data":[{"img":"b1.jpg","url_link":"#"},{"img":"b2.jpg"}]})");
    const struct
    {
        const char *name;
        QString text;
    } written[] = {
        {"long_index.html", pages::homePage(partner, banners, homeSections(0, 100, 20), serviceUrl, 2)},
        {"long_topChart.html", pages::chartPage(partner, bookRows(1000), pages::ChartKind::TopRead, 1, serviceUrl)},
        {"long_index_detail.html",
         pages::bookListPage(pages::BookList::HomeSection, bookRows(1000), QStringLiteral("Bagian"), serviceUrl)},
    };
    for (const auto &page : written) {
        const QString path = pages::pagePath(folder, QLatin1String(page.name));
        pages::writePageFile(path, page.text);
        std::printf("%s\n", qPrintable(path));
    }
    return 0;
}

int sectionCount(QWebEnginePage *page)
{
    return evaluate(page, QStringLiteral("document.querySelectorAll('#myBooks .section-item').length")).toInt();
}

// Milliseconds of one "Selebihnya" (ten sections of 20 tiles) on a home page of SECTIONS sections, from the
// program's append step until the new sections are in the page and its main thread is free.
double moreMs(elumira::TLekoraLib &lib, QWebEngineProfile *profile, int sections, const QString &serviceUrl)
{
    elumira::RecordingDialogs dialogs;
    const Json partner = Json::parse(kPartner);
    const Json banners = Json::parse(R"({"data":[{"img":"b1.jpg","url_link":"#"},{"img":"b2.jpg"}]})");
    auto view = std::make_unique<TChromium>(profile);
    view->resize(1280, 860);
    view->show();
    bool finished = false;
    QObject::connect(view->page(), &QWebEnginePage::loadFinished, [&](bool) { finished = true; });
    pages::writeAndLoadPage(lib.DataPath(), QLatin1String(pages::kHomePageFile),
                            pages::homePage(partner, banners, homeSections(0, sections, 20), serviceUrl, 2), *view);
    waitUntil([&] { return finished; });
    waitInteractive(view->page());
    // The member reads the page before asking for more: what the page sets up in its spare moments after it
    // answers (the carousels just below the view) is done by then, and is not counted as the press's cost.
    QEventLoop reading;
    QTimer::singleShot(2000, &reading, &QEventLoop::quit);
    reading.exec();

    lib.setHomeContentJson(homeSections(sections, 10, 20));
    QElapsedTimer clock;
    clock.start();
    pages::renderHomeHtmlFile(lib, *view, dialogs, 2);
    waitUntil([&] { return sectionCount(view->page()) == sections + 10; });
    waitInteractive(view->page());
    return double(clock.nsecsElapsed()) / 1e6;
}

int compareMore(int runs, const QString &serviceUrl)
{
    elumira::RecordingDialogs dialogs;
    elumira::TLekoraLib lib(dialogs);
    auto *profile = elumira::createBrowserProfile(qApp);
    moreMs(lib, profile, 10, serviceUrl);
    std::vector<double> longPage, shortPage;
    for (int run = 0; run < runs; ++run) {
        shortPage.push_back(moreMs(lib, profile, 10, serviceUrl));
        longPage.push_back(moreMs(lib, profile, 50, serviceUrl));
    }
    const double a = median(longPage), b = median(shortPage);
    std::printf("%-36s %8.0f ms   on 10 sections %8.0f ms   ratio %.2f\n", "Selebihnya on 50 sections", a, b, a / b);
    return 0;
}

bool showing(TChromium *view, const char *file)
{
    return view->url().toLocalFile().endsWith(QLatin1Char('/') + QLatin1String(file))
        && evaluate(view->page(), QStringLiteral("document.readyState")).toString() == QLatin1String("complete");
}

bool click(TChromium *view, const char *selector)
{
    const QString script = QStringLiteral("(function () { var e = document.querySelector(%1); if (!e) return false;"
                                          " e.click(); return true; })()")
                               .arg(QString::fromStdString(Json(selector).dump()));
    return evaluate(view->page(), script).toBool();
}

// The member's walk through the seven views: home, the category browser, a category's books, the top chart, a
// detail, a search and a section. Copies the data folder (the pages and their assets) to OUTDIR, prints READY
// and keeps the program running, so that its memory can be counted.
int walk(const QString &outDir)
{
    elumira::RecordingDialogs dialogs;
    elumira::UpdateOffer update;
    auto lekora = std::make_shared<elumira::TLekoraLib>(dialogs);
    std::unique_ptr<QWebEngineProfile> profile(elumira::createBrowserProfile());
    auto window = std::make_unique<elumira::TFormMain>(lekora, dialogs, profile.get(), update);
    window->resize(1280, 860);
    window->show();
    const auto step = [](bool ok, const char *what) {
        if (!ok) {
            std::fprintf(stderr, "walk: %s failed\n", what);
            std::exit(2);
        }
    };
    step(waitUntil([&] { return showing(window->Chromium1, "login.html"); }), "log-in page");
    evaluate(window->Chromium1->page(),
             QStringLiteral("document.getElementById('email').value = 'sekar.ayuningtyas@telmarin.example';"
                            "document.getElementById('kata_sandi').value = 'Baca2024';"
                            "document.getElementById('btnLogin').click(); 0"));
    step(waitUntil([&] { return showing(window->Chromium1, "index.html"); }), "home");
    step(click(window->Chromium1, ".category-list li:nth-child(4)"), "category tab");
    step(waitUntil([&] { return showing(window->Chromium4, "category.html"); }), "category browser");
    step(click(window->Chromium4, "#categoryContainer .category-box h3 a"), "category");
    step(waitUntil([&] { return showing(window->Chromium5, "category_detail.html"); }), "category books");
    step(click(window->Chromium1, ".category-list li:nth-child(1)"), "chart tab");
    step(waitUntil([&] { return showing(window->Chromium6, "topChart.html"); }), "chart");
    step(click(window->Chromium5, ".list-item a"), "book");
    step(waitUntil([&] { return showing(window->Chromium3, "detail.html"); }), "detail");
    evaluate(window->Chromium1->page(), QStringLiteral("$('#keyword').val('a'); $('#submitSearch').submit(); 0"));
    step(waitUntil([&] { return showing(window->Chromium7, "search_result.html"); }), "search");
    step(click(window->Chromium1, "#myBooks .link-see-all"), "section link");
    step(waitUntil([&] { return showing(window->Chromium2, "index_detail.html"); }), "section");
    // Views behind others draw no frames: the pages are given a moment to settle instead.
    QEventLoop settle;
    QTimer::singleShot(3000, &settle, &QEventLoop::quit);
    settle.exec();
    QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-r"), lekora->DataPath() + QStringLiteral("/."), outDir});
    std::printf("READY\n");
    std::fflush(stdout);
    return QApplication::exec();
}

double sinceStartMs()
{
    const qint64 start = qEnvironmentVariable("BENCH_T0_NS").toLongLong();
    const qint64 now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                           std::chrono::system_clock::now().time_since_epoch())
                           .count();
    return double(now - start) / 1e6;
}

// A bare browser window with a blank page: the time from the process's start until the page has loaded.
int bareWindow()
{
    QWebEngineView view;
    view.resize(1280, 860);
    view.show();
    QObject::connect(&view, &QWebEngineView::loadFinished, [] {
        std::printf("%.0f\n", sinceStartMs());
        std::fflush(stdout);
        ::_exit(0);
    });
    view.load(QUrl(QStringLiteral("about:blank")));
    return QApplication::exec();
}

// The program from its start until its log-in page has loaded.
int programToLogin()
{
    elumira::MessageBoxDialogs dialogs;
    elumira::ElumiraProgram program(dialogs);
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&watch] {
        for (QWidget *widget : QApplication::allWidgets()) {
            auto *view = qobject_cast<TChromium *>(widget);
            if (!view || view->objectName() != QLatin1String("Chromium1"))
                continue;
            watch.stop();
            // With STAGES set, the way there goes to the error output: views made, each load finished.
            const bool stages = qEnvironmentVariableIsSet("STAGES");
            if (stages)
                std::fprintf(stderr, "views made %.0f\n", sinceStartMs());
            QObject::connect(view->page(), &QWebEnginePage::loadFinished, [view, stages](bool ok) {
                if (stages)
                    std::fprintf(stderr, "%s loaded %.0f\n", qPrintable(view->url().fileName()), sinceStartMs());
                if (!ok || !view->url().toLocalFile().endsWith(QLatin1String("/login.html")))
                    return;
                std::printf("%.0f\n", sinceStartMs());
                std::fflush(stdout);
                ::_exit(0);
            });
        }
    });
    watch.start(1);
    return program.run();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("elumira"));
    const QStringList args = QApplication::arguments().mid(1);
    const QString mode = args.value(0);
    const QString serviceUrl = qEnvironmentVariable("ELUMIRA_SERVICE_URL", QStringLiteral("http://127.0.0.1:8765"));
    const int runs = qEnvironmentVariableIsSet("RUNS") ? qEnvironmentVariableIntValue("RUNS") : 5;
    if (mode == QLatin1String("load"))
        return comparePages(args.mid(1), runs);
    if (mode == QLatin1String("probe"))
        return probePages(args.mid(1));
    if (mode == QLatin1String("long-pages"))
        return writeLongPages(args.value(1), serviceUrl);
    if (mode == QLatin1String("more"))
        return compareMore(runs, serviceUrl);
    if (mode == QLatin1String("walk"))
        return walk(args.value(1));
    if (mode == QLatin1String("bare"))
        return bareWindow();
    if (mode == QLatin1String("startup"))
        return programToLogin();
    std::fprintf(stderr, "usage: page_load_bench load FILE... | probe FILE... | long-pages OUTDIR | more | walk OUTDIR | bare | startup\n");
    return 1;
}
