// Event-loop helpers for widget and page tests.
#include "tests/support/test_support.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QSignalSpy>
#include <QThread>
#include <QWebEnginePage>

#include <memory>

namespace elumira::test {

bool waitUntil(const std::function<bool()> &condition, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

QVariant evaluate(QWebEnginePage *page, const QString &script, int timeoutMs)
{
    auto done = std::make_shared<bool>(false);
    auto result = std::make_shared<QVariant>();
    page->runJavaScript(script, [done, result](const QVariant &value) {
        *result = value;
        *done = true;
    });
    if (!waitUntil([done] { return *done; }, timeoutMs))
        return {};
    return *result;
}

bool waitForLoad(QWebEnginePage *page, int timeoutMs)
{
    QSignalSpy spy(page, &QWebEnginePage::loadFinished);
    if (!spy.wait(timeoutMs))
        return false;
    return spy.takeFirst().at(0).toBool();
}

} // namespace elumira::test
