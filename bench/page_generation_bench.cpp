// How fast the library pages are generated and written: the home page with many sections, a long chart and
// the pages added to it, and the category browser with many departments.
#include "pages/chart_pages.h"
#include "pages/home_page.h"
#include "pages/listing_pages.h"
#include "pages/page_writer.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

#include <stdexcept>

using elumira::Json;
namespace pages = elumira::pages;

namespace {

const QString kService = QStringLiteral("https://api.telmarin.example");

constexpr int kSections = 100;
constexpr int kTilesPerSection = 20;
constexpr int kChartRows = 1000;
constexpr int kAppends = 50;
constexpr int kRowsPerAppend = 20;
constexpr int kDepartments = 50;
constexpr int kCategoriesPerDepartment = 10;
constexpr int kSubCategoriesPerCategory = 6;

const char *const kSynopsis = "<p>Sebuah kisah tentang kampung nelayan di pesisir utara, tentang laut yang memberi "
                              "dan mengambil, dan tentang <b>anak-anak</b> yang belajar membaca di bawah lampu minyak "
                              "sambil menunggu perahu ayah mereka pulang &amp; membawa ikan.</p>";

Json partner()
{
    return Json::parse(R"({"code":"200","data":{"logo":"logo.png","warna_header":"#204060",
        "warna_button_login":"#1a7f5a","warna_hover_button_login":"#145c42","warna_hover_baca":"#c0392b",
        "keterangan_intro":"<p>Selamat datang</p>","foto_intro":"https://api.telmarin.example/intro.jpg"}})");
}

// A book as the service lists it, with a title and an author that need escaping.
Json book(int n)
{
    const std::string id = std::to_string(n);
    return {{"id_konten", "B" + id},        {"img", "sampul-" + id + ".jpg"},
            {"judul", "Cerita & Kisah " + id}, {"penulis", "Penulis <" + id + ">"},
            {"penerbit", "Pustaka & Co"},   {"isbn", "978-602-" + id},
            {"sinopsis", kSynopsis},        {"stok", "2"},
            {"qty", "5"},                   {"nilai_rate", std::to_string(n % 6)}};
}

Json homeContent()
{
    Json sections = Json::array();
    for (int s = 0; s < kSections; ++s) {
        Json rows = Json::array();
        for (int t = 0; t < kTilesPerSection; ++t)
            rows.push_back(book(s * kTilesPerSection + t));
        sections.push_back({{"id", std::to_string(s)}, {"judul_section", "Bagian & Pilihan " + std::to_string(s)},
                            {"rows", std::move(rows)}});
    }
    return {{"code", "200"}, {"data", std::move(sections)}};
}

Json chart(int first, int count)
{
    Json rows = Json::array();
    for (int n = first; n < first + count; ++n)
        rows.push_back(book(n));
    return {{"code", "200"}, {"total", count}, {"data", std::move(rows)}};
}

Json categories()
{
    Json departments = Json::array();
    for (int d = 0; d < kDepartments; ++d) {
        Json categoryList = Json::array();
        for (int c = 0; c < kCategoriesPerDepartment; ++c) {
            Json subs = Json::array();
            for (int s = 0; s < kSubCategoriesPerCategory; ++s)
                subs.push_back({{"id_sub_kategori", std::to_string(d * 1000 + c * 10 + s)},
                                {"nama_sub_kategori", "Sub <" + std::to_string(s) + "> & Lainnya"}});
            categoryList.push_back({{"id_kategori", std::to_string(d * 100 + c)},
                                    {"nama_kategori", "Kategori " + std::to_string(c)},
                                    {"data_sub_kategori", std::move(subs)}});
        }
        departments.push_back({{"id_departemen", std::to_string(d)},
                               {"nama_departemen", "Departemen " + std::to_string(d)},
                               {"total_kategori", kCategoriesPerDepartment},
                               {"data_kategori", std::move(categoryList)}});
    }
    return {{"code", "200"}, {"data_departemen", std::move(departments)}};
}

QString readPage(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + path.toStdString());
    return QString::fromUtf8(file.readAll());
}

// Writes the page and counts its bytes.
qint64 writePage(const QString &path, const QString &text)
{
    pages::writePageFile(path, text);
    return text.toUtf8().size();
}

// Time per 1,000 items of a run: the counter shows seconds per 1,000.
benchmark::Counter perThousand(double itemsPerIteration)
{
    return benchmark::Counter(itemsPerIteration / 1000.0,
                              benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_HomePage(benchmark::State &state)
{
    QTemporaryDir folder;
    const QString path = pages::pagePath(folder.path(), QLatin1String(pages::kHomePageFile));
    const Json client = partner();
    const Json banners = Json::parse(R"({"data":[{"img":"b1.jpg","url_link":"#"},{"img":"b2.jpg"}]})");
    const Json content = homeContent();
    qint64 bytes = 0;
    for (auto _ : state)
        bytes += writePage(path, pages::homePage(client, banners, content, kService, 1));
    state.SetBytesProcessed(bytes);
    state.counters["s_per_1000_tiles"] = perThousand(kSections * kTilesPerSection);
}
BENCHMARK(BM_HomePage)->Unit(benchmark::kMillisecond);

void BM_ChartFullWrite(benchmark::State &state)
{
    QTemporaryDir folder;
    const QString path = pages::pagePath(folder.path(), QLatin1String(pages::kChartPageFile));
    const Json client = partner();
    const Json rows = chart(0, kChartRows);
    qint64 bytes = 0;
    for (auto _ : state)
        bytes += writePage(path, pages::chartPage(client, rows, pages::ChartKind::TopRead, 1, kService));
    state.SetBytesProcessed(bytes);
    state.counters["s_per_1000_rows"] = perThousand(kChartRows);
}
BENCHMARK(BM_ChartFullWrite)->Unit(benchmark::kMillisecond);

// The more button pressed 50 times on a chart of 1,000 rows: each time the file is read, grown at its marker
// line and written back. Every run starts again from the full chart.
void BM_ChartAppends(benchmark::State &state)
{
    QTemporaryDir folder;
    const QString path = pages::pagePath(folder.path(), QLatin1String(pages::kChartPageFile));
    const QString fullPage = pages::chartPage(partner(), chart(0, kChartRows), pages::ChartKind::TopRead, 1, kService);
    std::vector<Json> further;
    for (int a = 0; a < kAppends; ++a)
        further.push_back(chart(kChartRows + a * kRowsPerAppend, kRowsPerAppend));
    qint64 bytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        pages::writePageFile(path, fullPage);
        state.ResumeTiming();
        for (int a = 0; a < kAppends; ++a) {
            const QString rows = pages::chartAppendText(further[size_t(a)], pages::ChartKind::TopRead, kService);
            const QStringList lines = pages::appendChartRows(pages::splitPageLines(readPage(path)), rows,
                                                             pages::ChartKind::TopRead, a + 2);
            bytes += writePage(path, pages::joinPageLines(lines));
        }
    }
    state.SetBytesProcessed(bytes);
    state.counters["s_per_1000_rows_added"] = perThousand(kAppends * kRowsPerAppend);
}
BENCHMARK(BM_ChartAppends)->Unit(benchmark::kMillisecond);

void BM_CategoryBrowser(benchmark::State &state)
{
    QTemporaryDir folder;
    const QString path = pages::pagePath(folder.path(), QLatin1String(pages::kCategoryPageFile));
    const Json answer = categories();
    qint64 bytes = 0;
    for (auto _ : state)
        bytes += writePage(path, pages::categoryPage(answer));
    state.SetBytesProcessed(bytes);
    // The chooser lists every department; the boxes are those of the first.
    state.counters["s_per_1000_departments"] = perThousand(kDepartments);
}
BENCHMARK(BM_CategoryBrowser)->Unit(benchmark::kMicrosecond);

// Choosing each of the 50 departments in turn: the boxes as a script string, written to dept.html.
void BM_DepartmentChanges(benchmark::State &state)
{
    QTemporaryDir folder;
    const QString path = pages::pagePath(folder.path(), QLatin1String(pages::kDeptFile));
    const Json answer = categories();
    qint64 bytes = 0;
    for (auto _ : state) {
        for (int d = 0; d < kDepartments; ++d) {
            const pages::DeptChange change = pages::deptChange(answer, QString::number(d));
            bytes += writePage(path, change.fragment);
            benchmark::DoNotOptimize(change.script);
        }
    }
    state.SetBytesProcessed(bytes);
    state.counters["s_per_1000_category_boxes"] = perThousand(kDepartments * kCategoriesPerDepartment);
}
BENCHMARK(BM_DepartmentChanges)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
