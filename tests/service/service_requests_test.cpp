// Every service request on the wire (method, path, body, program headers in order) and the error envelopes
// that replace failed answers.
#include "common/dialogs.h"
#include "service/lekora_lib.h"
#include "tests/support/capture_server.h"
#include "tests/support/short_request_limits.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <atomic>
#include <functional>
#include <stdexcept>
#include <thread>

using elumira::Json;
using elumira::RecordingDialogs;
using elumira::TLekoraLib;
using elumira::test::CannedResponse;
using elumira::test::CapturedRequest;
using elumira::test::CaptureServer;

namespace {

using HeaderNames = QList<QByteArray>;

// The program's own headers of a request, in the order sent.
QList<QPair<QByteArray, QByteArray>> programHeaders(const CapturedRequest &request)
{
    static const HeaderNames own = {"CLIENTID", "OS", "UUID", "KEY", "USERID", "USERLEVEL"};
    QList<QPair<QByteArray, QByteArray>> found;
    for (const auto &header : request.headers)
        if (own.contains(header.first))
            found.append(header);
    return found;
}

class ServiceRequestsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qputenv("ELUMIRA_SERVICE_URL", server.url());
        service = std::make_unique<TLekoraLib>(dialogs);
    }
    void TearDown() override
    {
        service.reset();
        qunsetenv("ELUMIRA_SERVICE_URL");
    }

    void logIn()
    {
        service->setUserJson(Json::parse(R"json({"code":"200","data":{"nama":"Sri Wahyuni","username":"sriw",
            "level":"2","tgl_berakhir":"2027-06-30","token":"tok-81f2","photo":"sri.jpg","id_user":"1207"}})json"));
    }

    // Runs one request and returns what the server received.
    CapturedRequest capture(const std::function<Json(const TLekoraLib &)> &call)
    {
        server.clear();
        const Json answer = call(*service);
        EXPECT_EQ(answer.value("code", ""), "200") << answer.dump();
        const auto requests = server.requests();
        EXPECT_EQ(requests.size(), 1);
        return requests.value(0);
    }

    CaptureServer server;
    RecordingDialogs dialogs;
    std::unique_ptr<TLekoraLib> service;
};

struct WireCase
{
    const char *name;
    std::function<Json(const TLekoraLib &)> call;
    QByteArray method;
    QByteArray path;
    QByteArray body;
    QByteArray contentType;
    TLekoraLib::HeaderSet headers;
};

TEST_F(ServiceRequestsTest, everyRequest_loggedIn_sendsItsMethodPathBodyAndHeaders)
{
    logIn();
    using Set = TLekoraLib::HeaderSet;
    const QByteArray form = "application/x-www-form-urlencoded";
    const QByteArray json = "application/json; charset=utf-8";
    const QByteArray uuid = service->UUID().toLatin1();
    const WireCase cases[] = {
        {"version check", [](auto &s) { return s.checkAppVersionRequest(); }, "POST", "/api/wl/checkAppVersion",
         "kode=QWT5062rxm&os=WIN&versi=4", form, Set::None},
        {"log-in", [](auto &s) { return s.LoginRequest("ani@contoh.id", "k4ta sandi&"); }, "POST",
         "/api/wl/executeLogin", "user=ani%40contoh.id&pass=k4ta+sandi%26&uuid=" + uuid, form, Set::Login},
        {"banners", [](auto &s) { return s.BannerRequest(); }, "GET", "/api/wl/listBanner", "", "", Set::Member},
        {"menu", [](auto &s) { return s.CategoryRequest(); }, "GET", "/api/wl/menu", "", "", Set::Member},
        {"home page 3", [](auto &s) { return s.HomeRequest(3); }, "POST", "/api/wl/listHomepage", "page=3&limit=10",
         form, Set::Member},
        {"home section", [](auto &s) { return s.HomeDetailRequest("17"); }, "POST", "/api/wl/listHomepageDetail",
         "id_homepage=17&page=1", form, Set::Member},
        {"category", [](auto &s) { return s.CategoryContentRequest("5", "12"); }, "POST",
         "/api/wl/listContentCategory", "id_dept=5&id_kategori=12", form, Set::Member},
        {"sub-category", [](auto &s) { return s.SubCategoryContentRequest("5", "31"); }, "POST",
         "/api/wl/listContentSubCategory", "id_dept=5&id_sub_kategori=31", form, Set::Member},
        {"top read", [](auto &s) { return s.ChartContentRequest("topRead", 2); }, "POST", "/api/wl/listTopRead",
         "page=2", form, Set::Member},
        {"last read", [](auto &s) { return s.ChartContentRequest("lastRead", 1); }, "POST", "/api/wl/listLastRead",
         "page=1", form, Set::Member},
        {"last view", [](auto &s) { return s.ChartContentRequest("lastView", 4); }, "POST", "/api/wl/listLastView",
         "page=4", form, Set::Member},
        {"detail", [](auto &s) { return s.DetailContentRequest("1234"); }, "POST", "/api/wl/detailKonten",
         "id_konten=1234", form, Set::Member},
        {"search by field", [](auto &s) { return s.SearchContentRequest("penerbit", "sejarah kota", 2); }, "POST",
         "/api/wl/searching", "page=2&keyword=sejarah+kota&field=penerbit", form, Set::Member},
        {"search by sentence", [](auto &s) { return s.SearchKalimatRequest("“Kota tua” di tepi sungai", 1); },
         "POST", "/api/wl/searchingKalimat", "page=1&keyword=%E2%80%9CKota+tua%E2%80%9D+di+tepi+sungai", form,
         Set::Member},
        {"loan", [](auto &s) { return s.ReadPermissionRequest("1234"); }, "POST", "/api/wl/requestBaca",
         "id_konten=1234", form, Set::Member},
        {"return", [](auto &s) { return s.BookReturnRequest("55", "1234", "17"); }, "POST", "/api/wl/bookReturn",
         "id_konten=1234&id_baca=55&page_index=17", form, Set::Member},
        {"annotations", [](auto &s) { return s.SaveAnnotationRequest(R"({"judul":"Catatan – é"})"); }, "POST",
         "/api/wl/saveAnotasi", "{\"judul\":\"Catatan \xE2\x80\x93 \xC3\xA9\"}", json, Set::Member},
        {"copied text", [](auto &s) { return s.SaveCopyText(R"({"data":[]})"); }, "POST", "/api/wl/copyText",
         R"({"data":[]})", json, Set::Member},
        {"forgot password", [](auto &s) { return s.ForgotPasswordRequest("ani@contoh.id"); }, "POST",
         "/api/wl/forgotPassword", "username=ani%40contoh.id", form, Set::Device},
        {"read status", [](auto &s) { return s.UpdateReadStatusRequest("55", "1"); }, "POST",
         "/api/wl/updateReadStatus", "id_baca=55&status=1", form, Set::Member},
        {"log-out", [](auto &s) { return s.Logoutrequest(); }, "POST", "/api/wl/executeLogout", "id_user=1207", form,
         Set::Member},
    };

    for (const WireCase &c : cases) {
        SCOPED_TRACE(c.name);
        const CapturedRequest request = capture(c.call);
        EXPECT_EQ(request.method, c.method);
        EXPECT_EQ(request.path, c.path);
        EXPECT_EQ(request.body, c.body);
        EXPECT_EQ(request.header("Content-Type"), c.contentType);
        EXPECT_FALSE(request.hasHeader("Expect"));
        EXPECT_EQ(programHeaders(request), service->headers(c.headers));
    }
}

TEST_F(ServiceRequestsTest, headerSets_haveTheirNamesAndOrder)
{
    logIn();
    using Set = TLekoraLib::HeaderSet;
    const QByteArray uuid = service->UUID().toLatin1();
    const struct
    {
        Set set;
        QList<QPair<QByteArray, QByteArray>> expected;
    } cases[] = {
        {Set::None, {}},
        {Set::Device, {{"CLIENTID", "395"}, {"OS", "WIN"}, {"UUID", uuid}}},
        {Set::Login, {{"OS", "WIN"}, {"CLIENTID", "395"}, {"UUID", uuid}}},
        {Set::Registration, {{"CLIENTID", "395"}, {"OS", "WIN"}}},
        {Set::Member,
         {{"CLIENTID", "395"}, {"OS", "WIN"}, {"UUID", uuid}, {"KEY", "tok-81f2"}, {"USERID", "1207"}, {"USERLEVEL", "2"}}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(service->headers(c.set), c.expected) << static_cast<int>(c.set);
}

TEST_F(ServiceRequestsTest, memberRequests_beforeLogIn_sendNoEmptyHeaders)
{
    const CapturedRequest banner = capture([](auto &s) { return s.BannerRequest(); });
    const QList<QPair<QByteArray, QByteArray>> deviceOnly = {
        {"CLIENTID", "395"}, {"OS", "WIN"}, {"UUID", service->UUID().toLatin1()}};
    EXPECT_EQ(programHeaders(banner), deviceOnly);

    const CapturedRequest logout = capture([](auto &s) { return s.Logoutrequest(); });
    EXPECT_EQ(logout.body, "id_user=");
    EXPECT_EQ(programHeaders(logout), deviceOnly);
}

TEST_F(ServiceRequestsTest, setUserJson_copiesTheMemberFieldsOnlyOnSuccess)
{
    logIn();
    EXPECT_EQ(service->Name(), QStringLiteral("Sri Wahyuni"));
    EXPECT_EQ(service->Username(), QStringLiteral("sriw"));
    EXPECT_EQ(service->UserLevel(), QStringLiteral("2"));
    EXPECT_EQ(service->LastDate(), QStringLiteral("2027-06-30"));
    EXPECT_EQ(service->Token(), QStringLiteral("tok-81f2"));
    EXPECT_EQ(service->ProfilePict(), QStringLiteral("sri.jpg"));
    EXPECT_EQ(service->UserId(), QStringLiteral("1207"));

    // A refused log-in is stored but leaves the member as it was.
    service->setUserJson(Json::parse(R"({"code":"400","msg":"Password salah"})"));
    EXPECT_EQ(service->UserJson()->value("msg", ""), "Password salah");
    EXPECT_EQ(service->Token(), QStringLiteral("tok-81f2"));

    // Another member's log-in replaces every field; numbers read as their text.
    service->setUserJson(Json::parse(R"({"code":"200","data":{"nama":"Budi","username":"budi","level":1,
        "tgl_berakhir":null,"token":"tok-2","photo":"","id_user":88}})"));
    EXPECT_EQ(service->Name(), QStringLiteral("Budi"));
    EXPECT_EQ(service->UserLevel(), QStringLiteral("1"));
    EXPECT_EQ(service->LastDate(), QString());
    EXPECT_EQ(service->ProfilePict(), QString());
    EXPECT_EQ(service->UserId(), QStringLiteral("88"));
    EXPECT_EQ(service->Token(), QStringLiteral("tok-2"));
}

struct FailureCase
{
    const char *name;
    std::function<Json(const TLekoraLib &)> call;
    const char *marker;
};

const FailureCase kMarkedCalls[] = {
    {"version check", [](auto &s) { return s.checkAppVersionRequest(); }, "#301 "},
    {"log-in", [](auto &s) { return s.LoginRequest("a", "b"); }, " #387 "},
    {"banners", [](auto &s) { return s.BannerRequest(); }, "#410 "},
    {"menu", [](auto &s) { return s.CategoryRequest(); }, "#431 "},
    {"home", [](auto &s) { return s.HomeRequest(1); }, "#457 "},
    {"home section", [](auto &s) { return s.HomeDetailRequest("1"); }, "#484 "},
    {"category", [](auto &s) { return s.CategoryContentRequest("1", "2"); }, "#512 "},
    {"sub-category", [](auto &s) { return s.SubCategoryContentRequest("1", "2"); }, "#540 "},
    {"chart", [](auto &s) { return s.ChartContentRequest("topRead", 1); }, "#527 "},
    {"detail", [](auto &s) { return s.DetailContentRequest("1"); }, ""},
    {"search", [](auto &s) { return s.SearchContentRequest("Semua", "x", 1); }, ""},
    {"sentence search", [](auto &s) { return s.SearchKalimatRequest("x", 1); }, ""},
    {"loan", [](auto &s) { return s.ReadPermissionRequest("1"); }, ""},
    {"return", [](auto &s) { return s.BookReturnRequest("1", "2", "3"); }, ""},
    {"annotations", [](auto &s) { return s.SaveAnnotationRequest("{}"); }, ""},
    {"copied text", [](auto &s) { return s.SaveCopyText("{}"); }, ""},
    {"forgot password", [](auto &s) { return s.ForgotPasswordRequest("a"); }, ""},
    {"read status", [](auto &s) { return s.UpdateReadStatusRequest("1", "1"); }, ""},
    {"log-out", [](auto &s) { return s.Logoutrequest(); }, ""},
};

void expectEnvelope(const Json &answer, const QString &expectedMsgStart)
{
    ASSERT_TRUE(answer.is_object());
    EXPECT_EQ(answer.size(), 2u);
    EXPECT_EQ(answer.value("code", ""), "500");
    const QString msg = QString::fromStdString(answer.value("msg", ""));
    EXPECT_TRUE(msg.startsWith(expectedMsgStart)) << msg.toStdString();
    EXPECT_GT(msg.size(), expectedMsgStart.size()) << msg.toStdString();
    // Round trip through text: the envelope is valid JSON whatever the message holds.
    EXPECT_EQ(Json::parse(answer.dump()), answer);
}

TEST_F(ServiceRequestsTest, everyRequest_serviceUnreachable_returnsEnvelopeWithItsMarker)
{
    qputenv("ELUMIRA_SERVICE_URL", "http://127.0.0.1:" + QByteArray::number(elumira::test::closedPort()));
    for (const FailureCase &c : kMarkedCalls) {
        SCOPED_TRACE(c.name);
        const Json answer = c.call(*service);
        expectEnvelope(answer, QString::fromUtf8(c.marker));
        // Without a marker the message is the failure's own, which never starts with a blank or "#".
        if (QByteArray(c.marker).isEmpty()) {
            EXPECT_NE(answer["msg"].get<std::string>().front(), '#');
        }
    }
}

TEST_F(ServiceRequestsTest, answers_thatAreNotSuccess_becomeEnvelopes)
{
    const struct
    {
        const char *name;
        CannedResponse response;
        const char *msgAfterMarker;
    } cases[] = {
        {"404", {404, "Not Found", "text/html", "<html>missing</html>"}, "HTTP/1.1 404 Not Found"},
        {"500", {500, "Internal Server Error", "application/json", R"({"code":"200"})"},
         "HTTP/1.1 500 Internal Server Error"},
        {"not JSON", {200, "OK", "text/html", "<html>gateway</html>"}, "The service's answer is not a JSON object"},
        {"a JSON list", {200, "OK", "application/json", "[1,2]"}, "The service's answer is not a JSON object"},
        {"empty", {200, "OK", "application/json", ""}, "The service's answer is not a JSON object"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        server.queue(c.response);
        expectEnvelope(service->BannerRequest(), QStringLiteral("#410 "));
        server.queue(c.response);
        const Json answer = service->BannerRequest();
        EXPECT_EQ(QString::fromStdString(answer.value("msg", "")), QStringLiteral("#410 ") + QLatin1String(c.msgAfterMarker));
    }
}

TEST_F(ServiceRequestsTest, answers_refusalsAndAuthFailures_returnedUnchanged)
{
    server.queue({200, "OK", "application/json", R"({"code":"500","msg":"Auth Failed"})"});
    EXPECT_EQ(service->DetailContentRequest("9"), Json::parse(R"({"code":"500","msg":"Auth Failed"})"));
    server.queue({200, "OK", "application/json", R"({"code":"400","msg":"Stok buku habis","extra":[1]})"});
    EXPECT_EQ(service->ReadPermissionRequest("9"), Json::parse(R"({"code":"400","msg":"Stok buku habis","extra":[1]})"));
}

TEST_F(ServiceRequestsTest, answers_decodedWithTheirCharset)
{
    const struct
    {
        const char *name;
        QByteArray contentType;
        QByteArray body;
    } cases[] = {
        {"latin-1", "application/json; charset=ISO-8859-1", "{\"code\":\"200\",\"nama\":\"Caf\xE9 \xAB\"}"},
        {"quoted charset", "application/json; charset=\"iso-8859-1\"", "{\"code\":\"200\",\"nama\":\"Caf\xE9 \xAB\"}"},
        {"utf-8 named", "application/json; charset=utf-8", "{\"code\":\"200\",\"nama\":\"Caf\xC3\xA9 \xC2\xAB\"}"},
        {"none named", "application/json", "{\"code\":\"200\",\"nama\":\"Caf\xC3\xA9 \xC2\xAB\"}"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        server.queue({200, "OK", c.contentType, c.body});
        EXPECT_EQ(service->BannerRequest().value("nama", ""), "Caf\xC3\xA9 \xC2\xAB");
    }
}

TEST(ErrorEnvelope, messageWithQuotesAndBackslashes_staysValidJson)
{
    const QString message = QStringLiteral("can't open \"C:\\data\\x.json\"\n\ttab </script>");
    const Json envelope = elumira::errorEnvelope(QStringLiteral("#410 "), message);
    const Json parsed = Json::parse(envelope.dump());
    EXPECT_EQ(parsed, Json::parse(R"({"code":"500","msg":"#410 can't open \"C:\\data\\x.json\"\n\ttab </script>"})"));
    EXPECT_EQ(QString::fromStdString(parsed["msg"].get<std::string>()), QStringLiteral("#410 ") + message);
}

TEST(FormEncode, bytes_encodedByTheFormRule)
{
    const struct
    {
        QString value;
        QByteArray expected;
    } cases[] = {
        {QStringLiteral("AZaz09*-._"), "AZaz09*-._"},
        {QStringLiteral("sejarah kota"), "sejarah+kota"},
        {QStringLiteral("~!'()"), "%7E%21%27%28%29"},
        {QStringLiteral("a&b=c+d/e?f%"), "a%26b%3Dc%2Bd%2Fe%3Ff%25"},
        {QStringLiteral("é“"), "%C3%A9%E2%80%9C"},
        {QStringLiteral("\n"), "%0A"},
        {QString(), ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(elumira::formEncode({{QStringLiteral("k"), c.value}}), "k=" + c.expected) << c.value.toStdString();
    EXPECT_EQ(elumira::formEncode({{QStringLiteral("a b"), QStringLiteral("1")}, {QStringLiteral("c"), QString()}}),
              "a+b=1&c=");
}

} // namespace

namespace {

TEST_F(ServiceRequestsTest, cancelRequests_givesUpARequestWaitingOnTheService)
{
    // The service would answer "200" after a long wait; the request gives up as soon as it is cancelled.
    server.queue({200, "OK", "application/json", R"({"code":"200"})", 60000});
    Json answer;
    std::thread request([&] { answer = service->DetailContentRequest("1012"); });
    ASSERT_TRUE(elumira::test::waitUntil([this] { return server.requests().size() == 1; }));
    service->cancelRequests();
    request.join();
    EXPECT_EQ(answer.value("code", ""), "500");

    // Later requests give up too.
    server.clear();
    EXPECT_EQ(service->BannerRequest().value("code", ""), "500");
    EXPECT_TRUE(service->BannerRequest().value("msg", "").rfind("#410 ", 0) == 0);
}

TEST_F(ServiceRequestsTest, memberHeaders_whileAnotherLogInIsStored_comeWholeFromOneMember)
{
    // Background requests read the member's fields while the UI thread stores log-in after log-in; every request
    // carries the key, id and level of one member, never a mix.
    const auto member = [](const char *id, const char *token, const char *level) {
        return Json{{"code", "200"}, {"data", {{"id_user", id}, {"token", token}, {"level", level}}}};
    };
    service->setUserJson(member("1207", "tok-a", "2"));
    std::atomic<bool> stop{false};
    std::thread requests([&] {
        while (!stop)
            service->DetailContentRequest("1012");
    });
    for (int i = 0; i < 200; ++i)
        service->setUserJson(i % 2 ? member("1207", "tok-a", "2") : member("88", "tok-bbbbbbbbbbbbbbbb", "1"));
    ASSERT_TRUE(elumira::test::waitUntil([this] { return server.requests().size() >= 5; }));
    stop = true;
    requests.join();
    for (const CapturedRequest &request : server.requests()) {
        const QByteArray whole = request.header("USERID") + ' ' + request.header("KEY") + ' ' + request.header("USERLEVEL");
        EXPECT_TRUE(whole == "1207 tok-a 2" || whole == "88 tok-bbbbbbbbbbbbbbbb 1") << whole.constData();
    }
}

} // namespace

namespace {

TEST_F(ServiceRequestsTest, RegistrationRequest_sendsThreePartsWithoutATransferEncoding)
{
    QTemporaryDir files;
    const QString identity = files.filePath(QStringLiteral("kartu pelajar.JPEG"));
    const QString profile = files.filePath(QStringLiteral("foto.png"));
    for (const QString &path : {identity, profile}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("bytes of " + path.toUtf8());
    }
    const QString record = QStringLiteral(R"({"id_mitra":"395","alamat":"Jl. Teratai\nNo. 5","pendidikan":"Strata 1 "})");
    const CapturedRequest request =
        capture([&](const TLekoraLib &s) { return s.RegistrationRequest(record, identity, profile); });
    EXPECT_EQ(request.method, "POST");
    EXPECT_EQ(request.path, "/api/wl/executeRegistration");
    EXPECT_EQ(programHeaders(request), (QList<QPair<QByteArray, QByteArray>>{{"CLIENTID", "395"}, {"OS", "WIN"}}));
    const QByteArray type = request.header("Content-Type");
    ASSERT_TRUE(type.startsWith("multipart/form-data; boundary=")) << type.toStdString();
    const QByteArray body = request.body;
    EXPECT_FALSE(body.toLower().contains("content-transfer-encoding"));
    const qsizetype data = body.indexOf("Content-Disposition: form-data; name=\"data\"\r\n"
                                        "Content-Type: application/json; charset=utf-8\r\n\r\n"
                                        + record.toUtf8() + "\r\n");
    const qsizetype identityPart = body.indexOf("Content-Disposition: form-data; name=\"foto_identitas\"; "
                                                "filename=\"kartu pelajar.JPEG\"\r\nContent-Type: image/jpeg\r\n\r\n"
                                                "bytes of " + identity.toUtf8());
    const qsizetype photoPart = body.indexOf("Content-Disposition: form-data; name=\"photo\"; filename=\"foto.png\"\r\n"
                                             "Content-Type: image/png\r\n\r\nbytes of " + profile.toUtf8());
    EXPECT_GE(data, 0) << body.toStdString();
    EXPECT_GT(identityPart, data);
    EXPECT_GT(photoPart, identityPart);
}

TEST_F(ServiceRequestsTest, RegistrationRequest_withAnUnreadablePhoto_sendsNothingAndGivesTheReason)
{
    const Json answer = service->RegistrationRequest(QStringLiteral("{}"), QStringLiteral("/nonexistent/ktp.jpg"),
                                                     QStringLiteral("/nonexistent/foto.png"));
    EXPECT_EQ(answer.value("code", ""), "500");
    EXPECT_EQ(answer.value("msg", "").rfind("Cannot open file \"/nonexistent/ktp.jpg\"", 0), 0u) << answer.dump();
    EXPECT_TRUE(server.requests().isEmpty());
}

TEST_F(ServiceRequestsTest, RegionRequest_sendsNoHeaderOfItsOwn_andThrowsWithTheFailure)
{
    server.queue({200, "OK", "application/json", R"({"data":[{"id":"71","nama":"Telmarin Raya"}]})", 0});
    const Json answer = service->RegionRequest(QStringLiteral("/api/generic/kota/71"));
    EXPECT_EQ(answer["data"][0]["nama"], "Telmarin Raya");
    ASSERT_EQ(server.requests().size(), 1);
    EXPECT_EQ(server.requests()[0].method, "GET");
    EXPECT_EQ(server.requests()[0].path, "/api/generic/kota/71");
    EXPECT_TRUE(programHeaders(server.requests()[0]).isEmpty());

    server.queue({404, "Not Found", "text/html", "<h1>404</h1>", 0});
    EXPECT_THROW(service->RegionRequest(QStringLiteral("/api/generic/provinsi")), std::runtime_error);
    server.queue({200, "OK", "text/html", "<h1>maintenance</h1>", 0});
    EXPECT_THROW(service->RegionRequest(QStringLiteral("/api/generic/provinsi")), std::runtime_error);

    // An answer that says it failed is no empty list: its message is the failure's.
    const struct
    {
        const char *body;
        const char *failure;
    } refusals[] = {
        {R"({"code":"500","msg":"Auth Failed"})", "Auth Failed"},
        {R"({"code":404,"data":[{"id":"71","nama":"Telmarin Raya"}]})", "The region directory answered with code 404"},
    };
    for (const auto &refusal : refusals) {
        server.queue({200, "OK", "application/json", refusal.body, 0});
        try {
            service->RegionRequest(QStringLiteral("/api/generic/provinsi"));
            ADD_FAILURE() << refusal.body << " was taken as a list";
        } catch (const std::runtime_error &error) {
            EXPECT_STREQ(error.what(), refusal.failure);
        }
    }
}

TEST_F(ServiceRequestsTest, everyRequest_serviceStalls_givesUpWithItsMarker)
{
    // The service takes far longer than the (shortened) limits to say anything; every request fails with its
    // own marker instead of waiting. They run side by side, as background tasks would.
    elumira::test::ShortRequestLimits limits;
    logIn();
    server.setDefault({200, "OK", "application/json", R"({"code":"200"})", 12000});
    std::vector<Json> answers(std::size(kMarkedCalls));
    std::vector<std::thread> requests;
    for (size_t i = 1; i < std::size(kMarkedCalls); ++i) // the version check keeps its own rule, below
        requests.emplace_back([this, i, &answers] { answers[i] = kMarkedCalls[i].call(*service); });
    // The region directory and a saved annotation document give up the same way.
    bool regionFailed = false;
    requests.emplace_back([this, &regionFailed] {
        try {
            service->RegionRequest(QStringLiteral("/api/generic/provinsi"));
        } catch (const std::runtime_error &) {
            regionFailed = true;
        }
    });
    elumira::HttpResult annotations;
    requests.emplace_back([this, &annotations] {
        annotations = service->AnnotationFileRequest(QString::fromLatin1(server.url()) + QStringLiteral("/anotasi/5.json"));
    });
    for (std::thread &request : requests)
        request.join();
    EXPECT_TRUE(regionFailed);
    EXPECT_FALSE(annotations.transferred);
    for (size_t i = 1; i < std::size(kMarkedCalls); ++i) {
        SCOPED_TRACE(kMarkedCalls[i].name);
        expectEnvelope(answers[i], QString::fromUtf8(kMarkedCalls[i].marker));
    }
}

TEST_F(ServiceRequestsTest, versionCheck_keepsItsOwnThirtySecondWait)
{
    // Slower than the shortened limits of the other requests, well within the version check's own.
    elumira::test::ShortRequestLimits limits;
    server.queue({200, "OK", "application/json", R"({"code":"200","msg":"","url":""})", 6000});
    EXPECT_EQ(service->checkAppVersionRequest().value("code", ""), "200");
}

} // namespace
