// Routes of the client's start-up and of the accounts: version check, partner configuration, log-in and log-out,
// password reset, registration and the region directory it draws on.
#include "demo/service_state.h"

#include <QDate>

#include <algorithm>
#include <regex>

namespace demo {

namespace {

const char kAppCode[] = "QWT5062rxm";

std::string photoName(const Member &m)
{
    return m.id + "." + (m.photoExtension.empty() ? std::string("png") : m.photoExtension);
}

bool validEmail(const std::string &email)
{
    static const std::regex pattern(R"(^[A-Za-z0-9!#$%&'*+/=?^_`{|}~-]+(\.[A-Za-z0-9!#$%&'*+/=?^_`{|}~-]+)*@)"
                                    R"(([A-Za-z0-9]([A-Za-z0-9-]*[A-Za-z0-9])?\.)+[A-Za-z]{2,}$)");
    return std::regex_match(email, pattern);
}

bool validPassword(const std::string &password)
{
    const bool allowed = password.size() >= 8 && std::all_of(password.begin(), password.end(),
                                                             [](unsigned char c) { return std::isalnum(c) != 0; });
    return allowed && std::any_of(password.begin(), password.end(), [](unsigned char c) { return std::isalpha(c); }) &&
           std::any_of(password.begin(), password.end(), [](unsigned char c) { return std::isdigit(c); });
}

// The extension and content type of an uploaded photo, when it is a JPEG or PNG file by name and by content.
std::optional<std::pair<std::string, std::string>> photoKind(const Part *part)
{
    if (!part || !part->filename || part->content.size() < 8)
        return std::nullopt;
    std::string name = *part->filename;
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    const auto endsWith = [&name](const char *suffix) {
        const std::string s(suffix);
        return name.size() > s.size() && name.compare(name.size() - s.size(), s.size(), s) == 0;
    };
    const std::string &c = part->content;
    const bool jpeg = static_cast<unsigned char>(c[0]) == 0xFF && static_cast<unsigned char>(c[1]) == 0xD8;
    const bool png = c.compare(0, 8, "\x89PNG\r\n\x1a\n") == 0;
    if ((endsWith(".jpg") || endsWith(".jpeg")) && jpeg)
        return std::make_pair(std::string("jpg"), std::string("image/jpeg"));
    if (endsWith(".png") && png)
        return std::make_pair(std::string("png"), std::string("image/png"));
    return std::nullopt;
}

std::vector<std::string> occupations(const Partner &partner)
{
    std::vector<std::string> list;
    size_t pos = 0;
    for (;;) {
        const size_t semi = partner.daftarPekerjaan.find(';', pos);
        list.push_back(partner.daftarPekerjaan.substr(pos, semi == std::string::npos ? std::string::npos : semi - pos));
        if (semi == std::string::npos)
            return list;
        pos = semi + 1;
    }
}

// The first thing wrong with a registration, or an empty text when it can be accepted.
std::string registrationProblem(const ServiceState &s, const Json &record, const Incoming &in)
{
    static const char *const kRequired[] = {
        "id_mitra",     "username",     "password",  "nama",   "id_provinsi",     "id_kota",
        "id_kecamatan", "id_kelurahan", "tgl_lahir", "gender", "nomor_identitas", "jenis_identitas",
        "pekerjaan",    "pendidikan",   "alamat",    "kota",   "no_telepon"};
    for (const char *name : kRequired)
        if (!record.contains(name) || !record[name].is_string() || record[name].get<std::string>().empty())
            return std::string("Kolom ") + name + " wajib diisi";
    auto text = [&record](const char *name) { return record[name].get<std::string>(); };
    const Catalogue &c = s.catalogue;
    const auto inList = [](const std::vector<std::string> &list, const std::string &value) {
        return std::find(list.begin(), list.end(), value) != list.end();
    };
    if (text("id_mitra") != "395")
        return "Mitra tidak dikenali";
    if (!validEmail(text("username")))
        return "Format e-mail tidak valid";
    if (!validPassword(text("password")))
        return "Kata sandi minimal 8 karakter dengan kombinasi huruf dan angka";
    if (!c.region(text("id_provinsi")) || !c.parentOf(text("id_provinsi")).empty() ||
        c.parentOf(text("id_kota")) != text("id_provinsi") || c.parentOf(text("id_kecamatan")) != text("id_kota") ||
        c.parentOf(text("id_kelurahan")) != text("id_kecamatan"))
        return "Data wilayah tidak valid";
    if (c.region(text("id_kota"))->name != text("kota"))
        return "Nama kota tidak sesuai dengan wilayah yang dipilih";
    const QDate born = QDate::fromString(QString::fromStdString(text("tgl_lahir")), QStringLiteral("yyyy-MM-dd"));
    if (!born.isValid() || born >= QDate::currentDate())
        return "Tanggal lahir tidak valid";
    if (text("gender") != "L" && text("gender") != "P")
        return "Jenis kelamin tidak valid";
    if (!inList(Catalogue::identityTypes(), text("jenis_identitas")))
        return "Jenis identitas tidak valid";
    if (!inList(Catalogue::educationLevels(), text("pendidikan")))
        return "Pendidikan terakhir tidak valid";
    if (!inList(occupations(c.partner()), text("pekerjaan")))
        return "Pekerjaan tidak valid";
    const std::string phone = text("no_telepon");
    if (phone.size() < 6 || phone.size() > 15 || phone.find_first_not_of("0123456789") != std::string::npos)
        return "Nomor telepon tidak valid";
    if (!photoKind(in.part("foto_identitas")))
        return "Foto tanda pengenal wajib diunggah (JPG atau PNG)";
    if (!photoKind(in.part("photo")))
        return "Foto profil wajib diunggah (JPG atau PNG)";
    return {};
}

void regionList(ServiceState &s, const std::string &parentId, httplib::Response &res)
{
    Json data = Json::array();
    for (const Region &r : s.catalogue.regions(parentId))
        data.push_back({{"id", r.id}, {"nama", r.name}});
    answer(res, {{"code", "200"}, {"msg", "OK"}, {"data", std::move(data)}});
}

} // namespace

void addAccountRoutes(ServiceState &s)
{
    on(s, "POST", "/api/wl/checkAppVersion",
       [&s](const Incoming &in, const httplib::Request &, httplib::Response &res) {
           if (in.field("kode") != kAppCode)
               return answer(res, refusal("404", "Aplikasi tidak dikenali"));
           if (toNumber(in.field("versi"), -1) < 0)
               return answer(res, refusal("400", "Versi aplikasi tidak valid"));
           switch (s.config.versionAnswer) {
           case VersionAnswer::Current:
               return answer(res, {{"code", "200"}, {"msg", "Aplikasi sudah versi terbaru"}, {"versi", "4"}});
           case VersionAnswer::Update: {
               const std::string url = s.config.updateUrl.empty()
                                           ? publicBase(s, in) + "/unduh/e-lumira-telmarin-setup.exe"
                                           : s.config.updateUrl;
               return answer(
                   res,
                   {{"code", "300"}, {"msg", "Versi baru tersedia. Silakan perbarui aplikasi anda."}, {"url", url}});
           }
           case VersionAnswer::Refuse:
               return answer(res,
                             refusal("400", "Versi aplikasi ini tidak lagi didukung. Silakan unduh versi terbaru."));
           }
       });

    on(s, "GET", "/api/wl/mitra", [&s](const Incoming &in, const httplib::Request &, httplib::Response &res) {
        if (!checkHeaders(in, HeaderSet::Device, res))
            return;
        const Partner &p = s.catalogue.partner();
        answer(res, {{"code", "200"},
                     {"msg", "OK"},
                     {"data",
                      {{"id_mitra", p.id},
                       {"nama", p.nama},
                       {"alamat", p.alamat},
                       {"warna_header", p.warnaHeader},
                       {"warna_button_login", p.warnaButtonLogin},
                       {"warna_hover_button_login", p.warnaHoverButtonLogin},
                       {"warna_hover_baca", p.warnaHoverBaca},
                       {"logo", p.logo},
                       {"logo_login", p.logoLogin},
                       {"keterangan_intro", p.keteranganIntro},
                       {"foto_intro", publicBase(s, in) + "/prod/img/logo/" + p.introPicture},
                       {"daftar_pekerjaan", p.daftarPekerjaan}}}});
    });

    on(s, "POST", "/api/wl/executeLogin", [&s](const Incoming &in, const httplib::Request &, httplib::Response &res) {
        if (!checkHeaders(in, HeaderSet::Login, res))
            return;
        const std::string user = in.field("user");
        const std::string pass = in.field("pass");
        if (user.empty() || pass.empty())
            return answer(res, refusal("400", "Email dan kata sandi wajib diisi"));
        if (in.field("uuid") != in.header("UUID"))
            return answer(res, refusal("403", "Identitas perangkat tidak valid"));
        const Store::LoginResult result = s.store.login(user, pass, in.field("uuid"));
        if (result.outcome == Store::Login::UnknownEmail)
            return answer(res, refusal("404", "Email tidak terdaftar"));
        if (result.outcome == Store::Login::WrongPassword)
            return answer(res, refusal("401", "Kata sandi yang anda masukkan salah"));
        const Member &m = result.member;
        answer(res, {{"code", "200"},
                     {"msg", "Login berhasil"},
                     {"data",
                      {{"id_user", m.id},
                       {"nama", m.nama},
                       {"username", m.email},
                       {"email", m.email},
                       {"level", m.level},
                       {"tgl_berakhir", m.tglBerakhir},
                       {"token", result.token},
                       {"photo", publicBase(s, in) + "/prod/img/profil/" + photoName(m)},
                       {"id_mitra", "395"}}}});
    });

    on(s, "POST", "/api/wl/executeLogout", [&s](const Incoming &in, const httplib::Request &, httplib::Response &res) {
        const auto member = memberOf(s, in, res);
        if (!member)
            return;
        if (in.field("id_user") != member->id)
            return answer(res, refusal("400", "Data pengguna tidak sesuai"));
        s.store.logout(member->id);
        answer(res, {{"code", "200"}, {"msg", "Logout berhasil"}});
    });

    on(s, "POST", "/api/wl/forgotPassword", [&s](const Incoming &in, const httplib::Request &, httplib::Response &res) {
        if (!checkHeaders(in, HeaderSet::Device, res))
            return;
        const std::string email = in.field("username");
        if (email.empty())
            return answer(res, refusal("400", "Alamat e-mail wajib diisi"));
        if (!s.store.emailKnown(email))
            return answer(res, refusal("404", "Alamat e-mail tidak terdaftar"));
        answer(res, {{"code", "200"}, {"msg", "Tautan untuk mengatur ulang kata sandi telah dikirim ke " + email}});
    });

    on(s, "POST", "/api/wl/executeRegistration",
       [&s](const Incoming &in, const httplib::Request &, httplib::Response &res) {
           if (!checkHeaders(in, HeaderSet::Registration, res))
               return;
           const Part *data = in.part("data");
           if (!data)
               return answer(res, refusal("400", "Data registrasi tidak ditemukan"));
           const Json record = Json::parse(data->content, nullptr, false);
           if (!record.is_object())
               return answer(res, refusal("400", "Format data registrasi tidak valid"));
           const std::string problem = registrationProblem(s, record, in);
           if (!problem.empty())
               return answer(res, refusal("400", problem));
           const std::string email = record["username"].get<std::string>();
           if (s.store.emailKnown(email))
               return answer(res, refusal("409", "E-mail " + email + " sudah terdaftar"));
           const Part *photo = in.part("photo");
           const auto kind = photoKind(photo);
           Member m;
           m.email = email;
           m.password = record["password"].get<std::string>();
           m.nama = record["nama"].get<std::string>();
           m.level = "1";
           m.tglBerakhir = QDate::currentDate().addYears(1).toString(QStringLiteral("yyyy-MM-dd")).toStdString();
           m.photoBytes = photo->content;
           m.photoExtension = kind->first;
           m.photoType = kind->second;
           const Member added = s.store.addMember(std::move(m));
           answer(res, {{"code", "200"},
                        {"msg", "Registrasi berhasil. Silakan cek e-mail anda untuk verifikasi."},
                        {"data", {{"id_user", added.id}, {"username", added.email}}}});
       });

    on(s, "GET", "/api/generic/provinsi",
       [&s](const Incoming &, const httplib::Request &, httplib::Response &res) { regionList(s, "", res); });
    for (const char *level : {"kota", "kecamatan", "kelurahan"}) {
        on(s, "GET", std::string("/api/generic/") + level + "/([^/]+)",
           [&s](const Incoming &, const httplib::Request &req, httplib::Response &res) {
               regionList(s, req.matches[1].str(), res);
           });
    }

    on(s, "GET", "/prod/img/profil/([^/]+)",
       [&s](const Incoming &, const httplib::Request &req, httplib::Response &res) {
           const std::string name = req.matches[1].str();
           const auto member = s.store.member(name.substr(0, name.find('.')));
           if (!member || photoName(*member) != name) {
               res.status = 404;
               return;
           }
           const Picture picture = s.pictures.memberPhoto(*member);
           res.set_content(picture.bytes, picture.contentType.c_str());
       });
}

} // namespace demo
