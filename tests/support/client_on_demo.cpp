// The service client against the demo library service.
#include "tests/support/client_on_demo.h"

#include "tests/support/capture_server.h"
#include "tests/support/demo_service_fixture.h"
#include "tests/support/test_support.h"

namespace elumira::test {

void ClientOnDemo::SetUp()
{
    startServiceAndClient();
    ASSERT_TRUE(hasCode(lekora->getClientJson(), "200")) << lekora->ClientJson()->dump();
    service->control().clearRequests();
}

void ClientOnDemo::startServiceAndClient()
{
    std::string error;
    service = startDemoService(books.path(), &error);
    ASSERT_TRUE(service) << error;
    lekora = std::make_shared<TLekoraLib>(dialogs);
}

void ClientOnDemo::TearDown()
{
    limits.reset();
    lekora.reset();
    if (service)
        service->stop();
    qunsetenv("ELUMIRA_SERVICE_URL");
}

Json ClientOnDemo::requests(const std::string &path) const
{
    return service->control().requests(path)["requests"];
}

void ClientOnDemo::delay(const std::string &path, int delayMs)
{
    demo::Fault fault;
    fault.path = path;
    fault.delayMs = delayMs;
    service->control().addFault(fault);
}

void ClientOnDemo::drop(const std::string &path)
{
    demo::Fault fault;
    fault.path = path;
    fault.drop = true;
    service->control().addFault(fault);
}

void ClientOnDemo::answerWith(const std::string &path, const std::string &body)
{
    demo::Fault fault;
    fault.path = path;
    fault.status = 200;
    fault.body = body;
    fault.contentType = "application/json";
    service->control().addFault(fault);
}

void ClientOnDemo::inject(ServiceFault fault, const std::string &path)
{
    if (fault == ServiceFault::Unreachable) {
        qputenv("ELUMIRA_SERVICE_URL", "http://127.0.0.1:" + QByteArray::number(closedPort()));
        return;
    }
    if (fault == ServiceFault::Stalled)
        limits = std::make_unique<ShortRequestLimits>(kFaultLimitMs, kFaultLimitMs);
    service->control().addFault(demoFault(fault, path));
}

void ClientOnDemo::heal()
{
    limits.reset();
    qputenv("ELUMIRA_SERVICE_URL", QByteArray::fromStdString(service->baseUrl()));
    service->control().clearFaults();
}

bool ClientOnDemo::shown(const QString &text) const
{
    for (const RecordingDialogs::Box &box : dialogs.boxes())
        if (box.text == text)
            return true;
    return false;
}

bool ClientOnDemo::waitForBox(const QString &text, int timeoutMs) const
{
    return waitUntil([this, &text] { return shown(text); }, timeoutMs);
}

} // namespace elumira::test
