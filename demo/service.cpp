// Starting and stopping the demo service, and what every route shares: logging, faults, header checks, answers.
#include "demo/service.h"

#include "demo/http_server.h"
#include "demo/service_state.h"

#include <QDir>
#include <QStandardPaths>

#include <chrono>
#include <thread>

namespace demo {

namespace {

const char kNotFoundPage[] = "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\"><title>404 Page Not "
                             "Found</title></head><body><h1>404 Page Not Found</h1><p>The page you requested was not "
                             "found.</p></body></html>\n";

bool isHex8(const std::string &s)
{
    return s.size() == 8 && s.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos;
}

} // namespace

QString defaultDataDir()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + QStringLiteral("/elumira-demo");
}

ServiceState::ServiceState(Config c)
    : config(std::move(c)), store(catalogue), books(catalogue, config.dataDir), pictures(catalogue)
{
}

void on(ServiceState &state, const std::string &method, const std::string &pattern, Route route)
{
    auto handler = [&state, route = std::move(route)](const httplib::Request &req, httplib::Response &res) {
        Connection *connection = currentConnection();
        const Incoming in = readIncoming(req, connection ? &connection->received : nullptr);
        std::optional<Fault> fault;
        if (in.path.rfind("/__demo/", 0) != 0) {
            fault = state.control.takeFault(in.method, in.path);
            state.control.record(in, fault ? &*fault : nullptr);
        }
        if (fault) {
            // A delayed answer gives way when the service stops, so that stopping never waits for it.
            const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(fault->delayMs);
            while (!state.stopping && std::chrono::steady_clock::now() < until)
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            if (fault->drop) {
                if (connection)
                    connection->drop = true;
                res.status = 500;
                return;
            }
            if (fault->replacesAnswer()) {
                res.status = fault->status.value_or(200);
                res.set_content(fault->body.value_or(std::string()), fault->contentType.c_str());
                return;
            }
        }
        route(in, req, res);
    };
    httplib::Server &s = *state.server;
    if (method == "GET")
        s.Get(pattern, handler);
    else if (method == "POST")
        s.Post(pattern, handler);
    else if (method == "PUT")
        s.Put(pattern, handler);
    else if (method == "PATCH")
        s.Patch(pattern, handler);
    else if (method == "DELETE")
        s.Delete(pattern, handler);
    else if (method == "OPTIONS")
        s.Options(pattern, handler);
}

void answer(httplib::Response &res, const Json &body)
{
    res.status = 200;
    res.set_content(serviceJson(body), "application/json; charset=utf-8");
}

Json refusal(const std::string &code, const std::string &msg)
{
    return {{"code", code}, {"msg", msg}};
}

std::string publicBase(const ServiceState &state, const Incoming &in)
{
    std::string host = in.header("Host");
    if (host.empty())
        host = "127.0.0.1:" + std::to_string(state.port);
    return std::string(state.tls ? "https://" : "http://") + host;
}

int toNumber(const std::string &text, int fallback)
{
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
        return fallback;
    return std::stoi(text);
}

bool checkHeaders(const Incoming &in, HeaderSet set, httplib::Response &res)
{
    if (in.header("CLIENTID") != "395") {
        answer(res, refusal("403", "Client ID tidak dikenali"));
        return false;
    }
    if (in.header("OS") != "WIN") {
        answer(res, refusal("403", "Sistem operasi perangkat tidak didukung"));
        return false;
    }
    if (set != HeaderSet::Registration && !isHex8(in.header("UUID"))) {
        answer(res, refusal("403", "Identitas perangkat tidak valid"));
        return false;
    }
    return true;
}

std::optional<Member> memberOf(ServiceState &state, const Incoming &in, httplib::Response &res)
{
    if (!checkHeaders(in, HeaderSet::Device, res))
        return std::nullopt;
    const std::string token = in.header("KEY");
    const std::string userId = in.header("USERID");
    if (token.empty() || userId.empty()) {
        answer(res, refusal("401", "Sesi login tidak ditemukan. Silakan login kembali."));
        return std::nullopt;
    }
    auto member = state.store.authenticate(token, userId, in.header("UUID"), in.header("USERLEVEL"));
    if (!member)
        answer(res, refusal("500", "Auth Failed"));
    return member;
}

Service::Service(Config config)
{
    if (config.dataDir.isEmpty())
        config.dataDir = defaultDataDir();
    QDir().mkpath(config.dataDir);
    m_state = std::make_unique<ServiceState>(std::move(config));
}

Service::~Service()
{
    stop();
}

bool Service::start(std::string *error)
{
    ServiceState &s = *m_state;
    s.server = makeServer(s.config.tlsCert, s.config.tlsKey, error);
    if (!s.server)
        return false;
    s.tls = !s.config.tlsCert.empty();

    addControlRoutes(s);
    addAccountRoutes(s);
    addCatalogueRoutes(s);
    addLoanRoutes(s);
    addFileRoutes(s);
    auto notFound = [](const Incoming &, const httplib::Request &, httplib::Response &res) {
        res.status = 404;
        res.set_content(kNotFoundPage, "text/html; charset=UTF-8");
    };
    for (const char *method : {"GET", "POST", "PUT", "PATCH", "DELETE", "OPTIONS"})
        on(s, method, ".*", notFound);

    if (s.config.port == 0) {
        m_port = s.server->bind_to_any_port("127.0.0.1");
    } else {
        m_port = s.server->bind_to_port("127.0.0.1", s.config.port) ? s.config.port : -1;
    }
    s.port = m_port;
    if (m_port <= 0) {
        if (error)
            *error = "cannot listen on 127.0.0.1:" + std::to_string(s.config.port);
        return false;
    }
    m_thread = std::thread([&s] { s.server->listen_after_bind(); });
    if (s.config.writeBooksAtStart)
        s.books.startBackground();
    return true;
}

void Service::stop()
{
    if (!m_state)
        return;
    if (m_thread.joinable()) {
        // stop() is lost on a server whose listening loop has not begun yet.
        for (int i = 0; i < 2000 && !m_state->server->is_running(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        m_state->stopping = true;
        m_state->server->stop();
        m_thread.join();
    }
    m_state->books.stop();
}

int Service::port() const
{
    return m_port;
}

std::string Service::baseUrl() const
{
    return std::string(m_state->tls ? "https://" : "http://") + "127.0.0.1:" + std::to_string(m_port);
}

const Catalogue &Service::catalogue() const
{
    return m_state->catalogue;
}

BookFiles &Service::books()
{
    return m_state->books;
}

Store &Service::store()
{
    return m_state->store;
}

Control &Service::control()
{
    return m_state->control;
}

} // namespace demo
