// The in-process demo service of the tests and the client helpers around it.
#include "tests/demo/demo_fixture.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace demo::testing {

std::string formBody(const NameValues &fields)
{
    static const char kHex[] = "0123456789ABCDEF";
    auto encode = [](const std::string &s) {
        std::string out;
        for (unsigned char c : s) {
            if (std::isalnum(c) || c == '*' || c == '-' || c == '.' || c == '_') {
                out += char(c);
            } else if (c == ' ') {
                out += '+';
            } else {
                out += '%';
                out += kHex[c >> 4];
                out += kHex[c & 15];
            }
        }
        return out;
    };
    std::string body;
    for (const auto &[name, value] : fields) {
        if (!body.empty())
            body += '&';
        body += encode(name) + '=' + encode(value);
    }
    return body;
}

std::string rawExchange(int port, const std::string &request)
{
    const int sock = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(uint16_t(port));
    ::inet_pton(AF_INET, "127.0.0.1", &addr.sin_addr);
    std::string reply;
    if (::connect(sock, reinterpret_cast<sockaddr *>(&addr), sizeof(addr)) == 0) {
        ::send(sock, request.data(), request.size(), MSG_NOSIGNAL);
        char buf[4096];
        ssize_t n;
        while ((n = ::recv(sock, buf, sizeof(buf), 0)) > 0)
            reply.append(buf, size_t(n));
    }
    ::close(sock);
    return reply;
}

void DemoService::startService(Config config)
{
    if (m_service)
        m_service->stop();
    m_dataDir = std::make_unique<QTemporaryDir>();
    ASSERT_TRUE(m_dataDir->isValid());
    config.port = 0;
    config.dataDir = m_dataDir->path();
    config.writeBooksAtStart = false;
    m_service = std::make_unique<Service>(config);
    std::string error;
    ASSERT_TRUE(m_service->start(&error)) << error;
}

void DemoService::TearDown()
{
    if (m_service)
        m_service->stop();
}

httplib::Client DemoService::client() const
{
    httplib::Client c("127.0.0.1", m_service->port());
    c.set_read_timeout(30, 0);
    return c;
}

namespace {

Json parsed(const httplib::Result &result)
{
    if (!result)
        return nullptr;
    Json j = Json::parse(result->body, nullptr, false);
    return j.is_discarded() ? Json(nullptr) : j;
}

} // namespace

Json DemoService::post(const std::string &path, const NameValues &fields, const httplib::Headers &headers)
{
    return parsed(client().Post(path, headers, formBody(fields), "application/x-www-form-urlencoded"));
}

Json DemoService::get(const std::string &path, const httplib::Headers &headers)
{
    return parsed(client().Get(path, headers));
}

Json DemoService::postJson(const std::string &path, const std::string &body, const httplib::Headers &headers)
{
    return parsed(client().Post(path, headers, body, "application/json; charset=utf-8"));
}

httplib::Headers DemoService::deviceHeaders(const std::string &uuid)
{
    return {{"CLIENTID", "395"}, {"OS", "WIN"}, {"UUID", uuid}};
}

httplib::Headers DemoService::memberHeaders(const Session &s)
{
    return {{"CLIENTID", "395"}, {"OS", "WIN"},        {"UUID", s.uuid},
            {"KEY", s.token},    {"USERID", s.userId}, {"USERLEVEL", s.level}};
}

Json DemoService::loginAnswer(const std::string &email, const std::string &password, const std::string &uuid)
{
    return post("/api/wl/executeLogin", {{"user", email}, {"pass", password}, {"uuid", uuid}}, deviceHeaders(uuid));
}

Session DemoService::login(const std::string &email, const std::string &password, const std::string &uuid)
{
    const Json answer = loginAnswer(email, password, uuid);
    EXPECT_EQ(answer.value("code", ""), "200") << answer.dump();
    if (!answer.contains("data"))
        return {};
    const Json &d = answer["data"];
    return {d.value("token", ""), d.value("id_user", ""), d.value("level", ""), uuid};
}

Session DemoService::loginBima(const std::string &uuid)
{
    return login(kBima, "Pustaka88", uuid);
}

} // namespace demo::testing
