// Named background tasks: a worker on the thread pool and a completion handler on the UI thread.
#pragma once

#include <QFuture>
#include <QFutureWatcher>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

namespace elumira {

// Runs job on the global thread pool and returns its future, finished once job has returned.
QFuture<void> runOnPool(std::function<void()> job);

// A hand-over of data from one thread to another that happens through the Qt library's own locks: the sender
// calls handOver after writing, the receiver tookOver before reading. They compile to nothing except in a
// ThreadSanitizer build, which cannot see those locks and is told about the ordering this way.
void handOver(const void *data);
void tookOver(const void *data);

// A running task's handle. Releasing it leaves the task running; its completion still arrives.
class TaskHandle
{
public:
    TaskHandle() = default;
    TaskHandle(QString name, QFuture<void> future) : m_name(std::move(name)), m_future(std::move(future)) {}

    const QString &name() const { return m_name; }
    bool isNull() const { return m_name.isEmpty() && !m_future.isValid(); }
    bool isRunning() const { return m_future.isValid() && !m_future.isFinished(); }
    // Blocks until the worker has returned (its completion may still be pending on the UI thread).
    void waitForWorker() { m_future.waitForFinished(); }
    void release() { *this = TaskHandle(); }

private:
    QString m_name;
    QFuture<void> m_future;
};

// Runs worker on the global thread pool; when it returns, completion runs on context's thread with the
// worker's result, unless context has been destroyed by then. Workers must not touch widgets.
template <typename Result>
TaskHandle runTask(const QString &name, QObject *context, std::function<Result()> worker,
                   std::function<void(Result)> completion)
{
    auto result = std::make_shared<Result>();
    QFuture<void> future = runOnPool([worker = std::move(worker), result] {
        *result = worker();
        handOver(result.get());
    });
    auto *watcher = new QFutureWatcher<void>(context);
    watcher->setObjectName(name);
    QObject::connect(watcher, &QFutureWatcher<void>::finished, context,
                     [watcher, result, completion = std::move(completion)] {
                         watcher->deleteLater();
                         tookOver(result.get());
                         completion(std::move(*result));
                     });
    watcher->setFuture(future);
    return TaskHandle(name, future);
}

} // namespace elumira
