// Repainting a page of a book with a large annotation document (10,000 entries, 100 of them on the page shown)
// beside the same page with no annotations, at 100%.
#include "annotations/annot_books.h"
#include "annotations/annot_document.h"
#include "annotations/annot_settings.h"
#include "annotations/annot_tools.h"
#include "annotations/notes.h"
#include "annotations/sticky_notes.h"
#include "common/dialogs.h"
#include "reader/pdf_control.h"
#include "reader/reader_panel.h"

#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QTabWidget>
#include <QVBoxLayout>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using elumira::Json;
namespace annot = elumira::annot;

QByteArray makeBook(int pages)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setResolution(72);
    QPainter painter(&writer);
    for (int p = 0; p < pages; ++p) {
        if (p > 0)
            writer.newPage();
        for (int line = 0; line < 40; ++line)
            painter.drawText(50, 60 + line * 18, QStringLiteral("Page %1 line %2 of a book with a great many marks").arg(p + 1).arg(line));
    }
    return bytes;
}

// One of four kinds in turn, spread over the page.
Json entryOn(int page, int i)
{
    const double x = 40 + (i * 37) % 480;
    const double y = 80 + (i * 53) % 700;
    switch (i % 4) {
    case 0: {
        Json e = annot::makeHighlight(page, 65535);
        for (int line = 0; line < 2; ++line) {
            e["draw_data"].push_back(annot::deviceBoxJson(QPoint(int(x), int(y)), QPoint(int(x) + 90, int(y) + 14)));
            e["point_data"].push_back(annot::boxJson({x, y - line * 18, x + 90, y - line * 18 - 14}));
        }
        e["point"] = annot::boxJson({x, y, x + 90, y - 32});
        return e;
    }
    case 1:
        return annot::makeRectangle(page, 255, {x, y, x + 60, y - 40});
    case 2: {
        Json e = annot::makeInk(page, 16711680, QPointF(x, y));
        for (int p = 0; p < 50; ++p)
            e["draw_data"].push_back(Json{{"x", x + p * 2}, {"y", y - (p % 7) * 3}});
        e["point"]["left"] = x;
        e["point"]["top"] = y;
        e["point"]["right"] = x + 100;
        e["point"]["bottom"] = y - 18;
        return e;
    }
    default:
        return annot::makeNote(page, annot::NoteText{QStringLiteral("Tahoma"), 8, annot::kWindowTextColour,
                                                     QStringLiteral("10/12/26"), QStringLiteral("catatan")},
                               {x, y, x + 37, y - 37});
    }
}

// A reader with the annotation tools, one book open in its first tab, its page shown at 100%.
struct Reader
{
    Reader()
    {
        auto *layout = new QVBoxLayout(&window);
        auto *bar = new QWidget(&window);
        tabs = new QTabWidget(&window);
        layout->addWidget(bar);
        layout->addWidget(tabs, 1);
        std::array<QWidget *, 3> sheets{};
        for (int i = 0; i < 3; ++i) {
            sheets[size_t(i)] = new QWidget(tabs);
            sheets[size_t(i)]->setObjectName(QStringLiteral("TabSheet%1").arg(i + 1));
            tabs->addTab(sheets[size_t(i)], sheets[size_t(i)]->objectName());
        }
        panel = std::make_unique<elumira::TReaderPanel>(std::weak_ptr<elumira::TLekoraLib>(), dialogs, bar, tabs, sheets,
                                                        openBooks, searchBusy, elumira::ReaderHost{});
        books = std::make_unique<elumira::AnnotBooks>(*panel);
        sticky = std::make_unique<elumira::TFormSticky>(*books, dialogs);
        notes = std::make_unique<elumira::TFormNotes>(*books, dialogs);
        tools = std::make_unique<elumira::TAnnotTools>(*books, dialogs, state, *sticky, *notes);
        QObject::connect(panel.get(), &elumira::TReaderPanel::viewCreated, tools.get(), &elumira::TAnnotTools::attach);
        window.resize(1366, 768);
        elumira::BookOpening opening;
        opening.detail = Json{{"data", {{"id", "1"}, {"judul", "Buku"}, {"halaman_total", "100"}}}};
        opening.bytes = makeBook(100);
        panel->books().addDetail(elumira::TDetailBook::fromAnswers(opening.detail, Json{{"id_baca", "9"}}));
        panel->streamProcess(opening, sheets[0], 0, QStringLiteral("9"));
        view = panel->viewOf(sheets[0]);
        view->setPageIndex(50);
    }
    ~Reader()
    {
        tools.reset();
        panel.reset();
    }
    QImage frame()
    {
        QImage image(view->viewport()->size(), QImage::Format_ARGB32_Premultiplied);
        view->viewport()->render(&image);
        return image;
    }

    elumira::RecordingDialogs dialogs;
    QWidget window;
    QTabWidget *tabs = nullptr;
    int openBooks = 0;
    std::atomic<bool> searchBusy{false};
    elumira::AnnotToolState state;
    std::unique_ptr<elumira::TReaderPanel> panel;
    std::unique_ptr<elumira::AnnotBooks> books;
    std::unique_ptr<elumira::TFormSticky> sticky;
    std::unique_ptr<elumira::TFormNotes> notes;
    std::unique_ptr<elumira::TAnnotTools> tools;
    elumira::TPdfControl *view = nullptr;
};

void BM_RepaintPage(benchmark::State &state)
{
    Reader reader;
    Json &document = reader.panel->books().settings(QStringLiteral("TabSheet1"))->AnnotationObject;
    const bool annotated = state.range(0) != 0;
    if (annotated) {
        // 100 pages of 100 entries each, interleaved as a member makes them over time.
        Json &data = annot::entries(document);
        for (int i = 0; i < 100; ++i) {
            for (int page = 0; page < 100; ++page)
                data.push_back(entryOn(page, i));
        }
    }
    benchmark::DoNotOptimize(reader.frame().constBits());
    for (auto _ : state)
        benchmark::DoNotOptimize(reader.frame().constBits());
    state.counters["entries"] = double(annot::entries(document).size());
}
BENCHMARK(BM_RepaintPage)->Arg(0)->Arg(1)->ArgName("annotated")->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
