// Tests of the demo service's control path: the request log keeps what the client sent as it sent it, and faults
// replace, delay or drop answers once or until cleared.
#include "tests/demo/demo_fixture.h"

#include "demo/store.h"

#include <QBuffer>
#include <QImage>

using namespace demo;
using namespace demo::testing;

namespace {

Json pair(const char *name, const char *value)
{
    return Json::array({name, value});
}

} // namespace

TEST_F(DemoService, requestLog_keepsHeadersAndFormFieldsInTheOrderSent)
{
    const std::string body = "user=sekar.ayuningtyas%40telmarin.example&pass=Baca+2024%21&uuid=0000001F";
    const std::string request = "POST /api/wl/executeLogin HTTP/1.1\r\n"
                                "Host: 127.0.0.1\r\n"
                                "OS: WIN\r\n"
                                "CLIENTID: 395\r\n"
                                "UUID: 0000001F\r\n"
                                "Content-Type: application/x-www-form-urlencoded\r\n"
                                "Content-Length: " +
                                std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
    const std::string reply = rawExchange(m_service->port(), request);
    ASSERT_NE(reply.find("200 OK"), std::string::npos) << reply;

    const Json entries = get("/__demo/requests")["requests"];
    ASSERT_EQ(entries.size(), 1u) << "control requests are not logged";
    const Json &e = entries[0];
    EXPECT_EQ(e["method"], "POST");
    EXPECT_EQ(e["path"], "/api/wl/executeLogin");
    EXPECT_EQ(e["headers"],
              Json::array({pair("Host", "127.0.0.1"), pair("OS", "WIN"), pair("CLIENTID", "395"),
                           pair("UUID", "0000001F"), pair("Content-Type", "application/x-www-form-urlencoded"),
                           Json::array({"Content-Length", std::to_string(body.size())}), pair("Connection", "close")}));
    EXPECT_EQ(e["body"], body);
    EXPECT_EQ(e["form"], Json::array({pair("user", "sekar.ayuningtyas@telmarin.example"), pair("pass", "Baca 2024!"),
                                      pair("uuid", "0000001F")}));
    EXPECT_TRUE(e["json"].is_null());
    EXPECT_TRUE(e["parts"].is_null());
}

TEST_F(DemoService, requestLog_keepsJsonBodiesAndMultipartParts_andCanBeCleared)
{
    const Session s = loginBima();
    const std::string document = R"({"id_konten":"1001","data":[]})";
    postJson("/api/wl/saveAnotasi", document, memberHeaders(s));

    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImage(8, 8, QImage::Format_RGB32).save(&buffer, "PNG");
    client().Post("/api/wl/executeRegistration", {{"CLIENTID", "395"}, {"OS", "WIN"}},
                  httplib::MultipartFormDataItems{
                      {"data", R"({"id_mitra":"395"})", "", "application/json; charset=utf-8"},
                      {"photo", png.toStdString(), "saya.png", "image/png"},
                      {"foto_identitas", png.toStdString(), "ktp.png", "image/png"},
                  });

    const Json annotation = get("/__demo/requests?path=/api/wl/saveAnotasi")["requests"];
    ASSERT_EQ(annotation.size(), 1u);
    EXPECT_EQ(annotation[0]["body"], document);
    EXPECT_EQ(annotation[0]["json"], Json::parse(document));

    const Json registration = get("/__demo/requests?path=/api/wl/executeRegistration")["requests"];
    ASSERT_EQ(registration.size(), 1u);
    const Json &parts = registration[0]["parts"];
    ASSERT_EQ(parts.size(), 3u);
    // Parts in the order sent, which is not the order of their names.
    const char *names[] = {"data", "photo", "foto_identitas"};
    const Json filenames[] = {nullptr, "saya.png", "ktp.png"};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(parts[i]["name"], names[i]);
        EXPECT_EQ(parts[i]["filename"], filenames[i]);
    }
    EXPECT_EQ(parts[0]["text"], R"({"id_mitra":"395"})");
    EXPECT_EQ(parts[0]["content_type"], "application/json; charset=utf-8");
    EXPECT_EQ(parts[1]["size"], png.size());

    client().Delete("/__demo/requests");
    EXPECT_TRUE(get("/__demo/requests")["requests"].empty());
}

TEST_F(DemoService, faults_replaceTheAnswer_onceOrUntilCleared)
{
    struct Case
    {
        const char *what;
        Json fault;
        int firstStatus;
        std::string firstBody;
    };
    const Case cases[] = {
        {"status and page once",
         {{"path", "/api/wl/mitra"}, {"status", 503}, {"body", "<html>Service Unavailable</html>"}},
         503,
         "<html>Service Unavailable</html>"},
        {"a non-JSON body until cleared",
         {{"path", "/api/wl/mitra"}, {"body", "Maaf, sedang perbaikan"}, {"once", false}},
         200,
         "Maaf, sedang perbaikan"},
        {"a JSON refusal once",
         {{"path", "/api/wl/mitra"}, {"body", R"({"code":"500","msg":"Database error"})"}},
         200,
         R"({"code":"500","msg":"Database error"})"},
    };
    for (const Case &c : cases) {
        ASSERT_TRUE(client().Post("/__demo/faults", c.fault.dump(), "application/json"));
        const auto first = client().Get("/api/wl/mitra", deviceHeaders());
        ASSERT_TRUE(first) << c.what;
        EXPECT_EQ(first->status, c.firstStatus) << c.what;
        EXPECT_EQ(first->body, c.firstBody) << c.what;
        const auto second = client().Get("/api/wl/mitra", deviceHeaders());
        ASSERT_TRUE(second) << c.what;
        if (c.fault.value("once", true)) {
            EXPECT_EQ(Json::parse(second->body)["code"], "200") << c.what;
        } else {
            EXPECT_EQ(second->body, c.firstBody) << c.what << ": lasts until cleared";
            client().Delete("/__demo/faults");
            EXPECT_EQ(Json::parse(client().Get("/api/wl/mitra", deviceHeaders())->body)["code"], "200") << c.what;
        }
    }
    const Json logged = get("/__demo/requests?path=/api/wl/mitra")["requests"];
    ASSERT_FALSE(logged.empty());
    EXPECT_FALSE(logged[0]["fault"].is_null()) << "the log names the fault a request met";
}

TEST_F(DemoService, faults_dropTheConnection_orDelayTheAnswer)
{
    client().Post("/__demo/faults", R"({"path":"/api/wl/listBanner","drop":true})", "application/json");
    const Session s = loginBima();
    const auto dropped = client().Get("/api/wl/listBanner", memberHeaders(s));
    EXPECT_FALSE(dropped) << "no answer at all";
    EXPECT_EQ(get("/api/wl/listBanner", memberHeaders(s)).value("code", ""), "200");

    client().Post("/__demo/faults", R"({"path":"/api/wl/listBanner","delay_ms":3000})", "application/json");
    httplib::Client impatient("127.0.0.1", m_service->port());
    impatient.set_read_timeout(0, 500000);
    EXPECT_FALSE(impatient.Get("/api/wl/listBanner", memberHeaders(s))) << "the answer comes after the time-out";

    // A fault for one method leaves the others alone.
    client().Post("/__demo/faults", R"({"path":"/api/wl/listBanner","method":"POST","status":500})",
                  "application/json");
    EXPECT_EQ(get("/api/wl/listBanner", memberHeaders(s)).value("code", ""), "200");
}

TEST_F(DemoService, faults_thatMakeNoSense_areRefused)
{
    for (const char *fault :
         {R"({"status":500})", R"({"path":"/api/wl/mitra"})", R"({"path":"/api/wl/mitra","drop":true,"status":500})",
          R"({"path":"/api/wl/mitra","status":42})", "not json"}) {
        const auto answer = client().Post("/__demo/faults", fault, "application/json");
        ASSERT_TRUE(answer);
        EXPECT_EQ(answer->status, 400) << fault;
    }
    EXPECT_TRUE(get("/__demo/faults")["faults"].empty());
}

TEST_F(DemoService, reset_returnsToTheSeededState)
{
    const Session s = loginBima();
    post("/api/wl/requestBaca", {{"id_konten", "1001"}}, memberHeaders(s));
    ASSERT_EQ(m_service->store().openLoans(s.userId), 1);
    client().Post("/__demo/reset", "", "application/json");
    EXPECT_EQ(m_service->store().openLoans(s.userId), 0);
    EXPECT_EQ(get("/api/wl/menu", memberHeaders(s)), Json({{"code", "500"}, {"msg", "Auth Failed"}}));
    EXPECT_EQ(get("/__demo/requests")["requests"].size(), 1u) << "only the request after the reset";
}
