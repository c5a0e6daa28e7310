// The thread-pool job behind background tasks.
#include "common/background_task.h"

#include <QFutureInterface>
#include <QRunnable>
#include <QThreadPool>

#if defined(__SANITIZE_THREAD__)
#define ELUMIRA_THREAD_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define ELUMIRA_THREAD_SANITIZER 1
#endif
#endif

#ifdef ELUMIRA_THREAD_SANITIZER
#include <sanitizer/tsan_interface.h>
#endif

namespace elumira {

void handOver([[maybe_unused]] const void *data)
{
#ifdef ELUMIRA_THREAD_SANITIZER
    __tsan_release(const_cast<void *>(data));
#endif
}

void tookOver([[maybe_unused]] const void *data)
{
#ifdef ELUMIRA_THREAD_SANITIZER
    __tsan_acquire(const_cast<void *>(data));
#endif
}

namespace {

// Owns the job until the pool thread has run it; the pool deletes it afterwards on that thread.
class PoolJob : public QRunnable
{
public:
    explicit PoolJob(std::function<void()> job) : m_job(std::move(job)) { m_promise.reportStarted(); }

    QFuture<void> future() { return m_promise.future(); }

    void run() override
    {
        tookOver(this);
        m_job();
        // What the job holds is released here, before anyone waiting on the future carries on.
        m_job = nullptr;
        m_promise.reportFinished();
    }

private:
    std::function<void()> m_job;
    QFutureInterface<void> m_promise;
};

} // namespace

QFuture<void> runOnPool(std::function<void()> job)
{
    auto *poolJob = new PoolJob(std::move(job));
    QFuture<void> future = poolJob->future();
    handOver(poolJob);
    QThreadPool::globalInstance()->start(poolJob);
    return future;
}

} // namespace elumira
