// The reader panel on real widgets against the demo library service, shared by the reader and annotation tests.
#include "tests/support/reader_on_demo.h"

#include "demo/control.h"
#include "tests/support/demo_service_fixture.h"
#include "reader/pdf_control.h"
#include "tests/support/test_support.h"

#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

namespace elumira::test {

void ReaderOnDemo::SetUp()
{
    std::string error;
    service = startDemoService(books.path(), &error);
    ASSERT_TRUE(service) << error;
    lekora = std::make_shared<TLekoraLib>(dialogs);
    lekora->setUserJson(lekora->LoginRequest(QStringLiteral("bima.pratama@telmarin.example"), QStringLiteral("Pustaka88")));
    ASSERT_FALSE(lekora->Token().isEmpty());

    auto *layout = new QVBoxLayout(&window);
    auto *toolbarPanel = new QWidget(&window);
    tabs = new QTabWidget(&window);
    layout->addWidget(toolbarPanel);
    layout->addWidget(tabs, 1);
    std::array<QWidget *, 3> sheets{};
    for (int i = 0; i < 3; ++i) {
        sheets[i] = new QWidget(tabs);
        sheets[i]->setObjectName(QStringLiteral("TabSheet%1").arg(i + 1));
        tabs->addTab(sheets[i], sheets[i]->objectName());
    }
    panel = std::make_unique<TReaderPanel>(lekora, dialogs, toolbarPanel, tabs, sheets, openBooks, searchBusy,
                                           ReaderHost{});
    window.resize(1366, 768);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
}

void ReaderOnDemo::TearDown()
{
    panel.reset();
    lekora.reset();
    if (service)
        service->stop();
    qunsetenv("ELUMIRA_SERVICE_URL");
}

void ReaderOnDemo::openLocal(int i, const QByteArray &pdf, const QString &id, const QString &total, const Json &moreData)
{
    BookOpening opening;
    Json data{{"id", id.toStdString()}, {"judul", "Buku " + id.toStdString()}, {"halaman_total", total.toStdString()}};
    for (const auto &[key, value] : moreData.items())
        data[key] = value;
    opening.detail = Json{{"data", data}};
    opening.bytes = pdf;
    const Json permission{{"code", "200"}, {"id_baca", "9" + id.toStdString()}, {"page_index", 0}};
    ASSERT_TRUE(panel->books().addDetail(TDetailBook::fromAnswers(opening.detail, permission)));
    ++openBooks;
    ASSERT_TRUE(panel->streamProcess(opening, sheet(i), 0, QStringLiteral("9") + id));
    panel->books().detail(id)->TabSheet = sheet(i);
}

void ReaderOnDemo::openFromService(const QString &id)
{
    const int before = openBooks;
    BookOpening opening;
    opening.detail = lekora->DetailContentRequest(id);
    panel->openBook(std::move(opening));
    ASSERT_TRUE(waitUntil([&] { return openBooks == before + 1; }));
    ASSERT_TRUE(waitUntil([&] { return panel->books().detail(id) && panel->books().detail(id)->TabSheet; }));
}

size_t ReaderOnDemo::requestsTo(const char *path)
{
    return service->control().requests(path)["requests"].size();
}

Json ReaderOnDemo::lastRequestTo(const char *path)
{
    const Json list = service->control().requests(path)["requests"];
    return list.empty() ? Json() : list.back();
}

void ReaderOnDemo::tick(QTimer *timer, int times)
{
    for (int i = 0; i < times; ++i)
        panel->TimerTick(timer);
}

} // namespace elumira::test
