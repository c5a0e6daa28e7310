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

    ASSERT_TRUE(buildReader(lekora, dialogs));
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
    ASSERT_TRUE(ReaderWindow::openLocal(i, pdf, id, total, moreData));
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
