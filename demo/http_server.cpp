// The demo service's servers. httplib parses requests into sorted header maps and drops the order of multipart parts;
// the request log needs both as the client sent them, so each connection is served through a stream of our own that
// keeps every byte read, and that can refuse to write an answer when a test asks for a dropped connection.
#include "demo/http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <openssl/ssl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>

namespace demo {

namespace {

thread_local Connection *tlConnection = nullptr;

int toMs(time_t sec, time_t usec)
{
    return static_cast<int>(sec * 1000 + usec / 1000);
}

bool waitFor(socket_t sock, short events, int timeoutMs)
{
    pollfd pfd{sock, events, 0};
    for (;;) {
        const int r = ::poll(&pfd, 1, timeoutMs);
        if (r < 0 && errno == EINTR)
            continue;
        return r > 0;
    }
}

void addressOf(socket_t sock, bool peer, std::string &ip, int &port)
{
    sockaddr_storage addr{};
    socklen_t len = sizeof(addr);
    const int r = peer ? ::getpeername(sock, reinterpret_cast<sockaddr *>(&addr), &len)
                       : ::getsockname(sock, reinterpret_cast<sockaddr *>(&addr), &len);
    if (r != 0)
        return;
    char text[INET6_ADDRSTRLEN] = {};
    if (addr.ss_family == AF_INET) {
        const auto *in = reinterpret_cast<const sockaddr_in *>(&addr);
        ::inet_ntop(AF_INET, &in->sin_addr, text, sizeof(text));
        port = ntohs(in->sin_port);
    } else if (addr.ss_family == AF_INET6) {
        const auto *in6 = reinterpret_cast<const sockaddr_in6 *>(&addr);
        ::inet_ntop(AF_INET6, &in6->sin6_addr, text, sizeof(text));
        port = ntohs(in6->sin6_port);
    }
    ip = text;
}

// A stream over one accepted connection that appends what httplib consumes to the connection's record.
class CapturingStream : public httplib::Stream
{
public:
    CapturingStream(socket_t sock, Connection &conn, int readMs, int writeMs)
        : m_sock(sock), m_conn(conn), m_readMs(readMs), m_writeMs(writeMs)
    {
    }

    bool hasBuffered() const { return m_pos < m_buf.size() || rawPending() > 0; }

    bool is_readable() const override { return hasBuffered() || waitFor(m_sock, POLLIN, m_readMs); }
    bool is_writable() const override { return !m_conn.drop && waitFor(m_sock, POLLOUT, m_writeMs); }

    ssize_t read(char *ptr, size_t size) override
    {
        if (m_pos == m_buf.size()) {
            if (!is_readable())
                return -1;
            char chunk[4096];
            const ssize_t n = rawRead(chunk, sizeof(chunk));
            if (n <= 0)
                return n;
            m_buf.assign(chunk, static_cast<size_t>(n));
            m_pos = 0;
        }
        const size_t n = std::min(size, m_buf.size() - m_pos);
        std::memcpy(ptr, m_buf.data() + m_pos, n);
        m_conn.received.append(ptr, n);
        m_pos += n;
        return static_cast<ssize_t>(n);
    }

    ssize_t write(const char *ptr, size_t size) override
    {
        if (m_conn.drop || !waitFor(m_sock, POLLOUT, m_writeMs))
            return -1;
        return rawWrite(ptr, size);
    }

    void get_remote_ip_and_port(std::string &ip, int &port) const override { addressOf(m_sock, true, ip, port); }
    void get_local_ip_and_port(std::string &ip, int &port) const override { addressOf(m_sock, false, ip, port); }
    socket_t socket() const override { return m_sock; }

protected:
    virtual ssize_t rawRead(char *ptr, size_t size) = 0;
    virtual ssize_t rawWrite(const char *ptr, size_t size) = 0;
    virtual size_t rawPending() const { return 0; }

    socket_t m_sock;

private:
    Connection &m_conn;
    int m_readMs;
    int m_writeMs;
    std::string m_buf;
    size_t m_pos = 0;
};

class PlainStream : public CapturingStream
{
public:
    using CapturingStream::CapturingStream;

protected:
    ssize_t rawRead(char *ptr, size_t size) override
    {
        ssize_t n;
        do {
            n = ::recv(m_sock, ptr, size, 0);
        } while (n < 0 && errno == EINTR);
        return n;
    }
    ssize_t rawWrite(const char *ptr, size_t size) override
    {
        ssize_t n;
        do {
            n = ::send(m_sock, ptr, size, MSG_NOSIGNAL);
        } while (n < 0 && errno == EINTR);
        return n;
    }
};

class TlsStream : public CapturingStream
{
public:
    TlsStream(socket_t sock, SSL *ssl, Connection &conn, int readMs, int writeMs)
        : CapturingStream(sock, conn, readMs, writeMs), m_ssl(ssl)
    {
    }

protected:
    ssize_t rawRead(char *ptr, size_t size) override
    {
        const int n = SSL_read(m_ssl, ptr, static_cast<int>(std::min<size_t>(size, 1 << 20)));
        return n > 0 ? n : -1;
    }
    ssize_t rawWrite(const char *ptr, size_t size) override
    {
        const int n = SSL_write(m_ssl, ptr, static_cast<int>(std::min<size_t>(size, 1 << 20)));
        return n > 0 ? n : -1;
    }
    size_t rawPending() const override { return static_cast<size_t>(std::max(0, SSL_pending(m_ssl))); }

private:
    SSL *m_ssl;
};

// Waits for the next request on a kept-alive connection, giving up when the server stops.
bool waitForNextRequest(const CapturingStream &strm, const std::atomic<socket_t> &serverSocket, time_t keepAliveSec)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(keepAliveSec);
    while (serverSocket != INVALID_SOCKET) {
        if (strm.hasBuffered() || waitFor(strm.socket(), POLLIN, 100))
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
    }
    return false;
}

// The keep-alive loop of one connection; processOne is the server's own request processing.
template <typename ProcessOne>
bool serveConnection(CapturingStream &strm, Connection &conn, const std::atomic<socket_t> &serverSocket,
                     size_t keepAliveMax, time_t keepAliveSec, ProcessOne processOne)
{
    tlConnection = &conn;
    bool ret = false;
    for (size_t count = keepAliveMax; count > 0; --count) {
        if (!waitForNextRequest(strm, serverSocket, keepAliveSec))
            break;
        conn.received.clear();
        conn.drop = false;
        bool closed = false;
        ret = processOne(strm, count == 1, closed);
        if (!ret || closed || conn.drop)
            break;
    }
    tlConnection = nullptr;
    return ret;
}

void closeSocket(socket_t sock)
{
    ::shutdown(sock, SHUT_RDWR);
    ::close(sock);
}

class PlainServer : public httplib::Server
{
private:
    bool process_and_close_socket(socket_t sock) override
    {
        Connection conn;
        PlainStream strm(sock, conn, toMs(read_timeout_sec_, read_timeout_usec_),
                         toMs(write_timeout_sec_, write_timeout_usec_));
        const bool ret = serveConnection(strm, conn, svr_sock_, keep_alive_max_count_, keep_alive_timeout_sec_,
                                         [this](httplib::Stream &s, bool closeConnection, bool &closed) {
                                             return process_request(s, closeConnection, closed, nullptr);
                                         });
        closeSocket(sock);
        return ret;
    }
};

class TlsServer : public httplib::SSLServer
{
public:
    using httplib::SSLServer::SSLServer;

private:
    bool process_and_close_socket(socket_t sock) override
    {
        // The handshake runs on a blocking socket; time-outs keep a silent peer from holding a worker for ever.
        timeval tv{static_cast<time_t>(read_timeout_sec_), static_cast<suseconds_t>(read_timeout_usec_)};
        ::setsockopt(sock, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof(tv));
        ::setsockopt(sock, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof(tv));

        SSL *ssl = SSL_new(ssl_context());
        if (!ssl) {
            closeSocket(sock);
            return false;
        }
        BIO *bio = BIO_new_socket(sock, BIO_NOCLOSE);
        SSL_set_bio(ssl, bio, bio);
        bool ret = false;
        if (SSL_accept(ssl) == 1) {
            Connection conn;
            conn.tls = true;
            TlsStream strm(sock, ssl, conn, toMs(read_timeout_sec_, read_timeout_usec_),
                           toMs(write_timeout_sec_, write_timeout_usec_));
            ret = serveConnection(strm, conn, svr_sock_, keep_alive_max_count_, keep_alive_timeout_sec_,
                                  [this, ssl](httplib::Stream &s, bool closeConnection, bool &closed) {
                                      return process_request(s, closeConnection, closed,
                                                             [ssl](httplib::Request &req) { req.ssl = ssl; });
                                  });
            if (!conn.drop)
                SSL_shutdown(ssl);
        }
        SSL_free(ssl);
        closeSocket(sock);
        return ret;
    }
};

} // namespace

Connection *currentConnection()
{
    return tlConnection;
}

std::unique_ptr<httplib::Server> makeServer(const std::string &certFile, const std::string &keyFile, std::string *error)
{
    std::unique_ptr<httplib::Server> server;
    if (certFile.empty()) {
        server = std::make_unique<PlainServer>();
    } else {
        server = std::make_unique<TlsServer>(certFile.c_str(), keyFile.c_str());
        if (!server->is_valid()) {
            if (error)
                *error = "cannot load the certificate " + certFile + " with the key " + keyFile;
            return nullptr;
        }
    }
    // Delayed answers hold a worker each; leave room for the client's parallel requests beside them.
    server->new_task_queue = [] { return new httplib::ThreadPool(16); };
    return server;
}

} // namespace demo
