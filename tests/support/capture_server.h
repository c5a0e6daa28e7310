// A small HTTP server for tests: records each request exactly as it came over the wire and answers
// with a scripted response.
#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>

#include <atomic>
#include <deque>
#include <mutex>
#include <thread>

namespace elumira::test {

struct CapturedRequest
{
    QByteArray method;
    QByteArray path;
    // Headers in the order they were sent.
    QList<QPair<QByteArray, QByteArray>> headers;
    QByteArray body;

    QByteArray header(const QByteArray &name) const;
    bool hasHeader(const QByteArray &name) const;
};

struct CannedResponse
{
    int status = 200;
    QByteArray reason = "OK";
    QByteArray contentType = "application/json";
    QByteArray body = R"({"code":"200"})";
    // Time to wait before answering.
    int delayMs = 0;
};

class CaptureServer
{
public:
    // Listens on a free port of 127.0.0.1.
    CaptureServer();
    ~CaptureServer();

    int port() const { return m_port; }
    QByteArray url() const;

    // The next answers, in order; when none is queued the default response is used.
    void queue(CannedResponse response);
    void setDefault(CannedResponse response);

    QList<CapturedRequest> requests() const;
    void clear();

private:
    void serve();
    void handle(int connection);

    int m_listener = -1;
    int m_port = 0;
    std::atomic<bool> m_stopping{false};
    mutable std::mutex m_lock;
    QList<CapturedRequest> m_requests;
    std::deque<CannedResponse> m_queue;
    CannedResponse m_default;
    std::thread m_thread;
};

// A port on 127.0.0.1 on which nothing listens.
int closedPort();

} // namespace elumira::test
