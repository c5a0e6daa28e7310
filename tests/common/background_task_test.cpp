// Background tasks: the worker's result reaches the completion on the UI thread whole, a released handle still
// gets its completion, and a completion whose context has gone never runs.
#include "common/background_task.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QObject>
#include <QThread>

#include <atomic>
#include <memory>
#include <vector>

using elumira::runTask;
using elumira::TaskHandle;
using elumira::test::waitUntil;

namespace {

// The flags that let a held worker return are static, not on the test's stack: the worker's last read of one
// and the test's return are ordered only by the thread pool's own locks, which the thread sanitizer cannot see
// in a Qt not built for it, so a flag on the stack would be reported as a race once the stack is reused.

// A result large enough that a completion reading it before the worker has finished writing it would show.
std::vector<QString> pagesOf(int n)
{
    std::vector<QString> pages;
    for (int i = 0; i < 200; ++i)
        pages.push_back(QStringLiteral("halaman %1 dari %2").arg(i).arg(n));
    return pages;
}

TEST(BackgroundTask, manyAtOnce_eachCompletionGetsItsOwnResultOnTheUiThread)
{
    QObject context;
    QThread *const ui = QThread::currentThread();
    constexpr int tasks = 40;
    int done = 0;
    std::vector<TaskHandle> handles;
    for (int n = 0; n < tasks; ++n) {
        handles.push_back(runTask<std::vector<QString>>(
            QStringLiteral("pages%1").arg(n), &context,
            [n, ui] {
                EXPECT_NE(QThread::currentThread(), ui) << "the worker runs off the UI thread";
                return pagesOf(n);
            },
            [n, ui, &done](std::vector<QString> pages) {
                EXPECT_EQ(QThread::currentThread(), ui);
                EXPECT_EQ(pages, pagesOf(n));
                ++done;
            }));
    }
    EXPECT_EQ(handles.front().name(), QStringLiteral("pages0"));
    ASSERT_TRUE(waitUntil([&] { return done == tasks; }));
    for (TaskHandle &handle : handles)
        EXPECT_FALSE(handle.isRunning());
}

TEST(BackgroundTask, releasedHandle_leavesTheTaskRunningAndItsCompletionArrives)
{
    QObject context;
    static std::atomic<bool> go;
    go = false;
    bool completed = false;
    TaskHandle handle = runTask<QString>(
        QStringLiteral("held"), &context,
        [] {
            while (!go)
                QThread::msleep(1);
            return QStringLiteral("selesai");
        },
        [&completed](QString text) { completed = text == QLatin1String("selesai"); });
    EXPECT_TRUE(handle.isRunning());
    handle.release();
    EXPECT_TRUE(handle.isNull());
    go = true;
    EXPECT_TRUE(waitUntil([&] { return completed; }));
}

TEST(BackgroundTask, contextGoneBeforeTheWorkerReturns_completionNeverRuns)
{
    auto context = std::make_unique<QObject>();
    static std::atomic<bool> go;
    go = false;
    bool completed = false;
    TaskHandle handle = runTask<std::vector<QString>>(
        QStringLiteral("orphan"), context.get(),
        [] {
            while (!go)
                QThread::msleep(1);
            return pagesOf(1);
        },
        [&completed](std::vector<QString>) { completed = true; });
    context.reset();
    go = true;
    handle.waitForWorker();
    // Give a completion that wrongly survived its context every chance to arrive.
    for (int i = 0; i < 20; ++i) {
        QCoreApplication::processEvents();
        QThread::msleep(5);
    }
    EXPECT_FALSE(completed);
}

} // namespace
