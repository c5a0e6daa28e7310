// Raw-socket HTTP capture server for tests.
#include "tests/support/capture_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace elumira::test {

QByteArray CapturedRequest::header(const QByteArray &name) const
{
    for (const auto &[key, value] : headers)
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    return {};
}

bool CapturedRequest::hasHeader(const QByteArray &name) const
{
    for (const auto &entry : headers)
        if (entry.first.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

namespace {

int listenOnFreePort(int *port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    const int yes = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    if (::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 || ::listen(fd, 16) != 0) {
        ::close(fd);
        return -1;
    }
    socklen_t length = sizeof address;
    ::getsockname(fd, reinterpret_cast<sockaddr *>(&address), &length);
    *port = ntohs(address.sin_port);
    return fd;
}

} // namespace

CaptureServer::CaptureServer()
{
    m_listener = listenOnFreePort(&m_port);
    m_thread = std::thread([this] { serve(); });
}

CaptureServer::~CaptureServer()
{
    m_stopping = true;
    m_thread.join();
    if (m_listener >= 0)
        ::close(m_listener);
}

QByteArray CaptureServer::url() const
{
    return "http://127.0.0.1:" + QByteArray::number(m_port);
}

void CaptureServer::queue(CannedResponse response)
{
    const std::lock_guard lock(m_lock);
    m_queue.push_back(std::move(response));
}

void CaptureServer::setDefault(CannedResponse response)
{
    const std::lock_guard lock(m_lock);
    m_default = std::move(response);
}

QList<CapturedRequest> CaptureServer::requests() const
{
    const std::lock_guard lock(m_lock);
    return m_requests;
}

void CaptureServer::clear()
{
    const std::lock_guard lock(m_lock);
    m_requests.clear();
    m_queue.clear();
}

void CaptureServer::serve()
{
    while (!m_stopping) {
        pollfd waiting{m_listener, POLLIN, 0};
        if (::poll(&waiting, 1, 50) <= 0)
            continue;
        const int connection = ::accept(m_listener, nullptr, nullptr);
        if (connection < 0)
            continue;
        handle(connection);
        ::close(connection);
    }
}

void CaptureServer::handle(int connection)
{
    QByteArray data;
    char buffer[8192];
    qsizetype headerEnd = -1;
    qsizetype contentLength = 0;
    for (;;) {
        if (headerEnd >= 0 && data.size() >= headerEnd + 4 + contentLength)
            break;
        pollfd waiting{connection, POLLIN, 0};
        if (::poll(&waiting, 1, 5000) <= 0)
            return;
        const ssize_t read = ::recv(connection, buffer, sizeof buffer, 0);
        if (read <= 0)
            return;
        data.append(buffer, read);
        if (headerEnd < 0) {
            headerEnd = data.indexOf("\r\n\r\n");
            if (headerEnd >= 0) {
                for (const QByteArray &line : data.left(headerEnd).split('\n')) {
                    if (line.toLower().startsWith("content-length:"))
                        contentLength = line.mid(15).trimmed().toLongLong();
                }
            }
        }
    }

    CapturedRequest request;
    const QList<QByteArray> lines = data.left(headerEnd).split('\n');
    const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
    request.method = first.value(0);
    request.path = first.value(1);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines[i].trimmed();
        const qsizetype colon = line.indexOf(':');
        if (colon > 0)
            request.headers.append({line.left(colon), line.mid(colon + 1).trimmed()});
    }
    request.body = data.mid(headerEnd + 4, contentLength);

    CannedResponse response;
    {
        const std::lock_guard lock(m_lock);
        m_requests.append(request);
        if (!m_queue.empty()) {
            response = m_queue.front();
            m_queue.pop_front();
        } else {
            response = m_default;
        }
    }
    if (response.delayMs > 0) {
        // Wait in slices, so that a client that gives up (closes the connection) ends the wait.
        for (int waited = 0; waited < response.delayMs && !m_stopping; waited += 20) {
            pollfd closed{connection, POLLIN, 0};
            if (::poll(&closed, 1, 20) > 0) {
                char probe;
                if (::recv(connection, &probe, 1, MSG_PEEK) <= 0)
                    return;
            }
        }
    }
    QByteArray answer = "HTTP/1.1 " + QByteArray::number(response.status) + ' ' + response.reason + "\r\n";
    if (!response.contentType.isEmpty())
        answer += "Content-Type: " + response.contentType + "\r\n";
    answer += "Content-Length: " + QByteArray::number(response.body.size()) + "\r\nConnection: close\r\n\r\n";
    answer += response.body;
    qsizetype sent = 0;
    while (sent < answer.size()) {
        const ssize_t written = ::send(connection, answer.constData() + sent, answer.size() - sent, MSG_NOSIGNAL);
        if (written <= 0)
            return;
        sent += written;
    }
}

int closedPort()
{
    int port = 0;
    const int fd = listenOnFreePort(&port);
    ::close(fd);
    return port;
}

} // namespace elumira::test
