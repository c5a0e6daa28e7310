// The reader's page view: the first frame of a book from its bytes in memory, paging through a long book, and
// the memory three long books take when each has been paged through end to end.
#include "bench/demo_books.h"
#include "reader/book_text_index.h"
#include "reader/pdf_control.h"
#include "reader/reader_panel.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPdfDocument>
#include <QPdfSelection>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QBuffer>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

namespace {

elumira::bench::DemoBookFiles g_books;

QByteArray readAll(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

// Paints one frame of the view into an image, as the screen would get it.
QImage frame(elumira::TPdfControl &view)
{
    QImage image(view.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    view.viewport()->render(&image);
    return image;
}

void BM_FirstFrame(benchmark::State &state, const QString *path)
{
    const QByteArray bytes = readAll(*path);
    for (auto _ : state) {
        elumira::TPdfControl view;
        view.resize(1000, 760);
        view.LoadFromStream(bytes);
        benchmark::DoNotOptimize(frame(view).constBits());
    }
    state.counters["file_MB"] = bytes.size() / 1048576.0;
}
BENCHMARK_CAPTURE(BM_FirstFrame, long_book, &g_books.longBook)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FirstFrame, short_book, &g_books.shortBook)->Unit(benchmark::kMillisecond);

// Turning to the next page and painting it, through the whole long book.
void BM_NextPage(benchmark::State &state)
{
    elumira::TPdfControl view;
    view.resize(1000, 760);
    view.LoadFromStream(readAll(g_books.longBook));
    for (auto _ : state) {
        if (view.PageIndex() + 1 >= view.PageCount())
            view.setPageIndex(0);
        else
            view.GotoNextPage();
        benchmark::DoNotOptimize(frame(view).constBits());
    }
}
BENCHMARK(BM_NextPage)->Unit(benchmark::kMillisecond);

// Three long books open at once, each paged through from its first page to its last at 100% and then at
// 200%; the page images kept stay within the view's cache, whatever the number of pages seen.
void BM_ThreeLongBooksPagedThrough(benchmark::State &state)
{
    const QByteArray bytes = readAll(g_books.longBook);
    for (auto _ : state) {
        std::vector<std::unique_ptr<elumira::TPdfControl>> views;
        for (int i = 0; i < 3; ++i) {
            auto view = std::make_unique<elumira::TPdfControl>();
            view->resize(1000, 760);
            view->LoadFromStream(bytes);
            views.push_back(std::move(view));
        }
        for (auto &view : views) {
            for (const int zoom : {100, 200}) {
                view->setZoomPercentage(zoom);
                for (int page = 0; page < view->PageCount(); ++page) {
                    view->setPageIndex(page);
                    benchmark::DoNotOptimize(frame(*view).constBits());
                }
            }
        }
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_MB"] = usage.ru_maxrss / 1024.0;
}
BENCHMARK(BM_ThreeLongBooksPagedThrough)->Unit(benchmark::kSecond)->Iterations(1);

// A word printed on one page only, the last such page of the long book, and that page's index.
std::pair<QString, int> lateWord()
{
    static std::pair<QString, int> found;
    if (!found.first.isEmpty())
        return found;
    QByteArray bytes = readAll(g_books.longBook);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QPdfDocument document;
    document.load(&buffer);
    QStringList pages;
    for (int page = 0; page < document.pageCount(); ++page)
        pages.append(document.getAllText(page).text().toUpper());
    for (int page = int(pages.size()) - 1; page > 0; --page) {
        for (const QString &candidate : pages[page].split(QRegularExpression(QStringLiteral("\\W+")))) {
            if (candidate.size() < 5)
                continue;
            int seen = 0;
            for (const QString &text : std::as_const(pages))
                seen += text.contains(candidate) ? 1 : 0;
            if (seen == 1)
                return found = {candidate.toLower(), page};
        }
    }
    return found = {QStringLiteral("Zyxwvutsr"), -1};
}

// The search itself, once the book's page texts have been read: a word on one late page only, from the first
// page forwards, and a word that is nowhere.
void BM_SearchIndexed(benchmark::State &state, bool nowhere)
{
    const QByteArray bytes = readAll(g_books.longBook);
    const auto index = elumira::BookTextIndex::build(bytes);
    const QString word = nowhere ? QStringLiteral("Zyxwvutsr") : lateWord().first;
    for (auto _ : state) {
        const auto found = elumira::TReaderPanel::searchPages(bytes, 0, word, 1, index.get());
        if (!found || found->kind != (nowhere ? 3 : 1))
            state.SkipWithError("unexpected search result");
    }
    if (!nowhere)
        state.counters["found_on_page_index"] = lateWord().second;
}
BENCHMARK_CAPTURE(BM_SearchIndexed, last_page_word, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SearchIndexed, nowhere, true)->Unit(benchmark::kMillisecond);

// The same searches before any page text has been read: every page is read from the document on the way.
void BM_SearchUnindexed(benchmark::State &state)
{
    const QByteArray bytes = readAll(g_books.longBook);
    for (auto _ : state)
        benchmark::DoNotOptimize(elumira::TReaderPanel::searchPages(bytes, 0, QStringLiteral("Zyxwvutsr"), 1));
}
BENCHMARK(BM_SearchUnindexed)->Unit(benchmark::kMillisecond)->Iterations(1);

// Reading every page text of the long book, as an opening starts it in the background.
void BM_TextIndexBuild(benchmark::State &state)
{
    const QByteArray bytes = readAll(g_books.longBook);
    for (auto _ : state)
        benchmark::DoNotOptimize(elumira::BookTextIndex::build(bytes)->pagesRead());
}
BENCHMARK(BM_TextIndexBuild)->Unit(benchmark::kMillisecond)->Iterations(1);

// The longest the UI thread goes without running its events, measured by a 2 ms heartbeat, while it pages
// through the long book with the page texts being read in the background, and then while an unindexed search
// runs beside the paging.
void BM_UiStall(benchmark::State &state)
{
    const QByteArray bytes = readAll(g_books.longBook);
    double pagingStall = 0, searchStall = 0;
    for (auto _ : state) {
        for (const bool search : {false, true}) {
            elumira::TPdfControl view;
            view.resize(1000, 760);
            view.LoadFromStream(bytes);
            auto index = search ? nullptr : elumira::BookTextIndex::start(bytes);
            QFuture<void> searching;
            if (search)
                searching = QtConcurrent::run([bytes] {
                    elumira::TReaderPanel::searchPages(bytes, 0, QStringLiteral("Zyxwvutsr"), 1);
                });
            QElapsedTimer clock;
            clock.start();
            qint64 last = 0, worst = 0;
            QTimer heartbeat;
            heartbeat.setInterval(2);
            QObject::connect(&heartbeat, &QTimer::timeout, [&] {
                worst = std::max(worst, clock.elapsed() - last);
                last = clock.elapsed();
            });
            heartbeat.start();
            // One page turn and its frame per event, as a member paging with the keyboard would.
            QEventLoop loop;
            int page = 0;
            std::function<void()> turn = [&] {
                if (page >= 300) {
                    loop.quit();
                    return;
                }
                view.setPageIndex(page++);
                benchmark::DoNotOptimize(frame(view).constBits());
                QTimer::singleShot(0, turn);
            };
            QTimer::singleShot(0, turn);
            last = clock.elapsed();
            loop.exec();
            (search ? searchStall : pagingStall) = double(worst);
            if (index)
                index->cancel();
            searching.waitForFinished();
        }
    }
    state.counters["paging_with_text_reading_max_stall_ms"] = pagingStall;
    state.counters["paging_with_search_max_stall_ms"] = searchStall;
}
BENCHMARK(BM_UiStall)->Unit(benchmark::kSecond)->Iterations(1);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    g_books = elumira::bench::writeDemoBooks(QDir::tempPath() + QStringLiteral("/elumira-bench-books"));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
