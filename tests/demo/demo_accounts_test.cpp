// Tests of the demo service's accounts: log-in and the one-device rule, the member header set, log-out, the version
// check, registration, password reset, and HTTPS.
#include "tests/demo/demo_fixture.h"

#include <QBuffer>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>

#include <algorithm>
#include <functional>
#include <set>

using namespace demo;
using namespace demo::testing;

namespace {

void setHeader(httplib::Headers &headers, const std::string &name, const std::string &value)
{
    headers.erase(name);
    if (!value.empty())
        headers.emplace(name, value);
}

std::string imageBytes(const char *format)
{
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes.toStdString();
}

} // namespace

TEST_F(DemoService, login_fromAnotherDevice_supersedesTheEarlierToken)
{
    const Session first = loginBima("0000001F");
    EXPECT_EQ(get("/api/wl/listBanner", memberHeaders(first)).value("code", ""), "200");

    const Session sameDevice = loginBima("0000001F");
    EXPECT_EQ(sameDevice.token, first.token);

    const Session second = loginBima("ABCDEF12");
    EXPECT_NE(second.token, first.token);
    EXPECT_EQ(post("/api/wl/detailKonten", {{"id_konten", "1001"}}, memberHeaders(first)),
              Json({{"code", "500"}, {"msg", "Auth Failed"}}));
    EXPECT_EQ(get("/api/wl/listBanner", memberHeaders(second)).value("code", ""), "200");

    // The other member's log-in is not touched.
    const Session sekar = login(kSekar, "Baca2024", "0000001F");
    EXPECT_EQ(get("/api/wl/listBanner", memberHeaders(sekar)).value("code", ""), "200");
    EXPECT_EQ(get("/api/wl/listBanner", memberHeaders(second)).value("code", ""), "200");
}

TEST_F(DemoService, login_answer_carriesTheMemberFields)
{
    const Json answer = loginAnswer(kSekar, "Baca2024");
    ASSERT_EQ(answer.value("code", ""), "200");
    const Json &d = answer["data"];
    EXPECT_EQ(d["nama"], "Sekar Ayuningtyas");
    EXPECT_EQ(d["username"], kSekar);
    EXPECT_EQ(d["level"], "1");
    EXPECT_EQ(d["tgl_berakhir"], "2026-12-31");
    EXPECT_EQ(d["id_user"], "1001");
    EXPECT_FALSE(d["token"].get<std::string>().empty());
    const std::string photo = d["photo"];
    const std::string base = m_service->baseUrl();
    ASSERT_EQ(photo.rfind(base, 0), 0u) << photo;
    const auto picture = client().Get(photo.substr(base.size()));
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->status, 200);
    EXPECT_FALSE(QImage::fromData(QByteArray::fromStdString(picture->body)).isNull());
}

TEST_F(DemoService, login_refusals_carryAMessageAndNoData)
{
    struct Case
    {
        const char *what, *user, *pass, *uuidField, *code;
    };
    const Case cases[] = {
        {"wrong password", kBima, "Salah1234", "0000001F", "401"},
        {"unknown e-mail", "siapa@telmarin.example", "Pustaka88", "0000001F", "404"},
        {"empty password", kBima, "", "0000001F", "400"},
        {"device field differs from its header", kBima, "Pustaka88", "00000020", "403"},
    };
    for (const Case &c : cases) {
        const Json answer = post("/api/wl/executeLogin", {{"user", c.user}, {"pass", c.pass}, {"uuid", c.uuidField}},
                                 deviceHeaders("0000001F"));
        EXPECT_EQ(answer.value("code", ""), c.code) << c.what;
        EXPECT_FALSE(answer.value("msg", "").empty()) << c.what;
        EXPECT_FALSE(answer.contains("data")) << c.what;
    }
}

TEST_F(DemoService, memberRequests_checkTheMemberHeaderSet)
{
    struct Case
    {
        const char *what;
        std::function<void(httplib::Headers &)> change;
        Json expected;
    };
    const Json authFailed = {{"code", "500"}, {"msg", "Auth Failed"}};
    const Case cases[] = {
        {"no token", [](httplib::Headers &h) { setHeader(h, "KEY", ""); }, Json()},
        {"no member id", [](httplib::Headers &h) { setHeader(h, "USERID", ""); }, Json()},
        {"another partner", [](httplib::Headers &h) { setHeader(h, "CLIENTID", "396"); }, Json()},
        {"another system", [](httplib::Headers &h) { setHeader(h, "OS", "LINUX"); }, Json()},
        {"another device", [](httplib::Headers &h) { setHeader(h, "UUID", "0000ABCD"); }, authFailed},
        {"another member's id", [](httplib::Headers &h) { setHeader(h, "USERID", "1001"); }, authFailed},
        {"another level", [](httplib::Headers &h) { setHeader(h, "USERLEVEL", "2"); }, authFailed},
        {"a token never given", [](httplib::Headers &h) { setHeader(h, "KEY", "0123456789abcdef"); }, authFailed},
    };
    const Session s = loginBima();
    for (const Case &c : cases) {
        httplib::Headers headers = memberHeaders(s);
        c.change(headers);
        const Json answer = post("/api/wl/listHomepage", {{"page", "1"}, {"limit", "10"}}, headers);
        if (c.expected.is_null()) {
            const std::string code = answer.value("code", "");
            EXPECT_TRUE(code != "200" && code != "500") << c.what << ": " << answer.dump();
            EXPECT_FALSE(answer.value("msg", "").empty()) << c.what;
        } else {
            EXPECT_EQ(answer, c.expected) << c.what;
        }
    }
    EXPECT_EQ(post("/api/wl/listHomepage", {{"page", "1"}, {"limit", "10"}}, memberHeaders(s)).value("code", ""),
              "200");
}

TEST_F(DemoService, logout_endsTheLogIn)
{
    const Session s = loginBima();
    EXPECT_EQ(post("/api/wl/executeLogout", {{"id_user", s.userId}}, memberHeaders(s)).value("code", ""), "200");
    EXPECT_EQ(get("/api/wl/menu", memberHeaders(s)), Json({{"code", "500"}, {"msg", "Auth Failed"}}));
    const Session again = loginBima();
    EXPECT_EQ(get("/api/wl/menu", memberHeaders(again)).value("code", ""), "200");
}

TEST_F(DemoService, checkAppVersion_answersAsStarted)
{
    struct Case
    {
        VersionAnswer answer;
        const char *code;
    };
    for (const Case &c : {Case{VersionAnswer::Current, "200"}, Case{VersionAnswer::Update, "300"},
                          Case{VersionAnswer::Refuse, "400"}}) {
        Config config;
        config.versionAnswer = c.answer;
        config.updateUrl = "https://unduh.telmarin.example/e-lumira.exe";
        startService(config);
        const Json answer = post("/api/wl/checkAppVersion", {{"kode", "QWT5062rxm"}, {"os", "WIN"}, {"versi", "4"}});
        EXPECT_EQ(answer.value("code", ""), c.code) << answer.dump();
        if (c.answer == VersionAnswer::Update) {
            EXPECT_EQ(answer.value("url", ""), config.updateUrl);
        }
        if (c.answer == VersionAnswer::Refuse) {
            EXPECT_FALSE(answer.value("msg", "").empty());
        }
    }
    EXPECT_NE(post("/api/wl/checkAppVersion", {{"kode", "LAIN"}, {"os", "WIN"}, {"versi", "4"}}).value("code", ""),
              "200");
}

TEST_F(DemoService, mitra_needsTheDeviceHeaders)
{
    const Json answer = get("/api/wl/mitra", deviceHeaders());
    ASSERT_EQ(answer.value("code", ""), "200");
    for (const char *field : {"warna_button_login", "warna_hover_button_login", "warna_header", "warna_hover_baca",
                              "logo", "logo_login", "nama", "keterangan_intro", "foto_intro", "daftar_pekerjaan"})
        EXPECT_FALSE(answer["data"].value(field, "").empty()) << field;
    httplib::Headers otherPartner = deviceHeaders();
    setHeader(otherPartner, "CLIENTID", "1");
    EXPECT_NE(get("/api/wl/mitra", otherPartner).value("code", ""), "200");
}

TEST_F(DemoService, forgotPassword_knowsRegisteredAddresses)
{
    EXPECT_EQ(post("/api/wl/forgotPassword", {{"username", kSekar}}, deviceHeaders()).value("code", ""), "200");
    const Json unknown = post("/api/wl/forgotPassword", {{"username", "tidak.ada@telmarin.example"}}, deviceHeaders());
    EXPECT_NE(unknown.value("code", ""), "200");
    EXPECT_FALSE(unknown.value("msg", "").empty());
}

class DemoRegistration : public DemoService
{
protected:
    // A record with the first region of each level, as the registration window would send it.
    Json validRecord(const std::string &email)
    {
        std::string ids[4];
        std::string parent;
        const char *paths[] = {"/api/generic/provinsi", "/api/generic/kota/", "/api/generic/kecamatan/",
                               "/api/generic/kelurahan/"};
        std::string cityName;
        for (int level = 0; level < 4; ++level) {
            const Json list = get(std::string(paths[level]) + (level ? parent : ""));
            EXPECT_FALSE(list["data"].empty()) << paths[level];
            if (list["data"].empty())
                return {};
            ids[level] = list["data"][0]["id"];
            if (level == 1)
                cityName = list["data"][0]["nama"];
            parent = ids[level];
        }
        return {{"id_mitra", "395"},
                {"username", email},
                {"password", "Rahasia99"},
                {"nama", "Putu Ayu Lestari"},
                {"id_provinsi", ids[0]},
                {"id_kota", ids[1]},
                {"id_kecamatan", ids[2]},
                {"id_kelurahan", ids[3]},
                {"tgl_lahir", "1995-08-17"},
                {"gender", "P"},
                {"nomor_identitas", "3271054508950001"},
                {"jenis_identitas", "KTP"},
                {"pekerjaan", "Mahasiswa"},
                {"pendidikan", "Strata 1 "},
                {"alamat", "Jl. Kenanga No. 5\r\nRT 02 RW 03"},
                {"kota", cityName},
                {"no_telepon", "081234567890"}};
    }

    Json send(const Json &record, bool withPhoto = true)
    {
        httplib::MultipartFormDataItems items = {
            {"data", record.dump(), "", "application/json; charset=utf-8"},
            {"foto_identitas", imageBytes("JPG"), "ktp.jpg", "image/jpeg"},
        };
        if (withPhoto)
            items.push_back({"photo", imageBytes("PNG"), "profil.png", "image/png"});
        const auto result = client().Post("/api/wl/executeRegistration", {{"CLIENTID", "395"}, {"OS", "WIN"}}, items);
        if (!result)
            return nullptr;
        return Json::parse(result->body, nullptr, false);
    }
};

TEST_F(DemoRegistration, accepted_thenTheNewMemberLogsIn_andTheAddressIsTaken)
{
    const Json record = validRecord("putu.lestari@telmarin.example");
    ASSERT_FALSE(record.empty());
    const Json answer = send(record);
    ASSERT_EQ(answer.value("code", ""), "200") << answer.dump();

    const Json loggedIn = loginAnswer("putu.lestari@telmarin.example", "Rahasia99");
    ASSERT_EQ(loggedIn.value("code", ""), "200");
    EXPECT_EQ(loggedIn["data"]["nama"], "Putu Ayu Lestari");
    const std::string photo = loggedIn["data"]["photo"];
    const auto served = client().Get(photo.substr(m_service->baseUrl().size()));
    ASSERT_TRUE(served);
    EXPECT_EQ(served->body, imageBytes("PNG"));

    const Json twice = send(record);
    EXPECT_NE(twice.value("code", ""), "200");
    EXPECT_FALSE(twice.value("msg", "").empty());
}

TEST_F(DemoRegistration, refused_whenTheRecordOrAFileIsWrong)
{
    const Json good = validRecord("wayan@telmarin.example");
    ASSERT_FALSE(good.empty());
    struct Case
    {
        const char *what;
        std::function<void(Json &)> change;
        bool withPhoto = true;
    };
    const Case cases[] = {
        {"no profile photo", [](Json &) {}, false},
        {"password without a digit", [](Json &r) { r["password"] = "RahasiaSaja"; }},
        {"address of the wrong form", [](Json &r) { r["username"] = "wayan@telmarin"; }},
        {"city name not the chosen city's", [](Json &r) { r["kota"] = "Kota Lain"; }},
        {"district outside the city", [](Json &r) { r["id_kecamatan"] = "740101"; }},
        {"another partner", [](Json &r) { r["id_mitra"] = "396"; }},
        {"education not offered", [](Json &r) { r["pendidikan"] = "Strata 1"; }},
        {"member missing", [](Json &r) { r.erase("no_telepon"); }},
        {"birth date not a date", [](Json &r) { r["tgl_lahir"] = "17-08-1995"; }},
    };
    for (const Case &c : cases) {
        Json record = good;
        c.change(record);
        const Json answer = send(record, c.withPhoto);
        EXPECT_EQ(answer.value("code", ""), "400") << c.what << ": " << answer.dump();
        EXPECT_FALSE(answer.value("msg", "").empty()) << c.what;
    }
    EXPECT_NE(loginAnswer("wayan@telmarin.example", "Rahasia99").value("code", ""), "200");
}

TEST_F(DemoService, regionDirectory_namesAreDistinctWithinEachList)
{
    const Json provinces = get("/api/generic/provinsi");
    ASSERT_GE(provinces["data"].size(), 2u);
    std::vector<std::string> paths;
    for (const Json &p : provinces["data"])
        paths.push_back("/api/generic/kota/" + p["id"].get<std::string>());
    const Json firstCity = get(paths.front())["data"][0];
    paths.push_back("/api/generic/kecamatan/" + firstCity["id"].get<std::string>());
    paths.push_back("/api/generic/provinsi");
    for (const std::string &path : paths) {
        const Json list = get(path)["data"];
        ASSERT_FALSE(list.empty()) << path;
        std::set<std::string> names;
        for (const Json &r : list)
            EXPECT_TRUE(names.insert(r["nama"].get<std::string>()).second) << path << " repeats " << r["nama"];
    }
    EXPECT_TRUE(get("/api/generic/kota/999")["data"].empty());
}

TEST_F(DemoService, tls_servesTheSameApiOverHttps)
{
    const QString openssl = QStandardPaths::findExecutable(QStringLiteral("openssl"));
    if (openssl.isEmpty())
        GTEST_SKIP() << "the openssl program is needed to make a certificate";
    const QString cert = m_dataDir->filePath(QStringLiteral("cert.pem"));
    const QString key = m_dataDir->filePath(QStringLiteral("key.pem"));
    QProcess make;
    make.start(openssl,
               {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"), QStringLiteral("rsa:2048"),
                QStringLiteral("-nodes"), QStringLiteral("-days"), QStringLiteral("1"), QStringLiteral("-subj"),
                QStringLiteral("/CN=127.0.0.1"), QStringLiteral("-keyout"), key, QStringLiteral("-out"), cert});
    ASSERT_TRUE(make.waitForFinished(60000));
    ASSERT_EQ(make.exitCode(), 0) << make.readAllStandardError().toStdString();

    Config config;
    config.tlsCert = cert.toStdString();
    config.tlsKey = key.toStdString();
    auto keepDir = std::move(m_dataDir); // the certificate lives there; startService makes a new folder
    startService(config);
    EXPECT_EQ(m_service->baseUrl().rfind("https://", 0), 0u);

    httplib::SSLClient tls("127.0.0.1", m_service->port());
    tls.enable_server_certificate_verification(false);
    const auto answer = tls.Get("/api/wl/mitra", {{"UUID", "0000001F"}, {"OS", "WIN"}, {"CLIENTID", "395"}});
    ASSERT_TRUE(answer);
    const Json mitra = Json::parse(answer->body);
    EXPECT_EQ(mitra["code"], "200");
    EXPECT_EQ(mitra["data"]["foto_intro"].get<std::string>().rfind("https://", 0), 0u);

    const auto log = tls.Get("/__demo/requests?path=/api/wl/mitra");
    ASSERT_TRUE(log);
    const Json entries = Json::parse(log->body)["requests"];
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_NE(std::find(entries[0]["headers"].begin(), entries[0]["headers"].end(), Json::array({"CLIENTID", "395"})),
              entries[0]["headers"].end());

    EXPECT_FALSE(client().Get("/api/wl/mitra", deviceHeaders())) << "plain HTTP is not answered";
}
