// TLekoraLib: the one client of the library service, holding the device identity, the data folder,
// the member's log-in state and the last answer of each catalogue request.
#pragma once

#include "common/json_read.h"
#include "service/http_client.h"

#include <QString>

#include <atomic>
#include <memory>
#include <mutex>

namespace elumira {

class Dialogs;

class TLekoraLib
{
public:
    // The archive the data folder is built from; tests point it elsewhere to try damaged archives.
    static constexpr const char *kViewerArchive = ":/viewerzip";
    // Name of the data folder inside the application-data folder; it is also the application code.
    static constexpr const char *kAppCode = "QWT5062rxm";
    // The partner library this client serves, and the client's own version number.
    static constexpr const char *kClientId = "395";
    static constexpr const char *kOs = "WIN";
    static constexpr const char *kVersion = "4";

    // Which of the program's own headers a request carries.
    enum class HeaderSet { None, Device, Login, Registration, Member };

    // Derives the device identity, then rebuilds the data folder. Failures are shown through dialogs
    // and never stop the program.
    explicit TLekoraLib(Dialogs &dialogs, QString viewerArchive = QString::fromLatin1(kViewerArchive));
    // Removes the data folder, then frees the answers.
    ~TLekoraLib();

    TLekoraLib(const TLekoraLib &) = delete;
    TLekoraLib &operator=(const TLekoraLib &) = delete;

    // Answers held by the client; null until first stored. Only the UI thread stores and reads them.
    const Json *UserJson() const { return FUserJson.get(); }
    const Json *ClientJson() const { return FClientJson.get(); }
    const Json *BannerJson() const { return FBannerJson.get(); }
    const Json *CategoryJson() const { return FCategoryJson.get(); }
    const Json *CategoryContentJson() const { return FCategoryContentJson.get(); }
    const Json *SubCategoryContentJson() const { return FSubCategoryContentJson.get(); }
    const Json *ChartContentJson() const { return FChartContentJson.get(); }
    const Json *HomeContentJson() const { return FHomeContentJson.get(); }
    const Json *HomeDetailJson() const { return FHomeDetailJson.get(); }
    const Json *DetailContentJson() const { return FDetailContentJson.get(); }
    const Json *SearchContentJson() const { return FSearchContentJson.get(); }
    const Json *ReadPermissionJson() const { return FReadPermissionJson.get(); }

    // Replace an answer, freeing the one held before. Called by completion handlers on the UI thread.
    void setBannerJson(Json answer) { store(FBannerJson, std::move(answer)); }
    void setCategoryJson(Json answer) { store(FCategoryJson, std::move(answer)); }
    void setCategoryContentJson(Json answer) { store(FCategoryContentJson, std::move(answer)); }
    void setSubCategoryContentJson(Json answer) { store(FSubCategoryContentJson, std::move(answer)); }
    void setChartContentJson(Json answer) { store(FChartContentJson, std::move(answer)); }
    void setHomeContentJson(Json answer) { store(FHomeContentJson, std::move(answer)); }
    void setHomeDetailJson(Json answer) { store(FHomeDetailJson, std::move(answer)); }
    void setDetailContentJson(Json answer) { store(FDetailContentJson, std::move(answer)); }
    void setSearchContentJson(Json answer) { store(FSearchContentJson, std::move(answer)); }
    void setReadPermissionJson(Json answer) { store(FReadPermissionJson, std::move(answer)); }

    // Stores a log-in answer and, when its code is "200", copies the member's fields from its data.
    void setUserJson(Json answer);

    const QString &DataPath() const { return FPath; }
    const QString &UUID() const { return DevUUID; }

    // The member's fields; empty before the first successful log-in.
    QString UserId() const;
    QString Username() const;
    QString Token() const;
    QString Name() const;
    QString LastDate() const;
    QString ProfilePict() const;
    QString UserLevel() const;

    // Data folder and device identity.
    static QString getAppPath();
    static QString WindowsDirectory();
    static QString GetHardDiskSerial();
    void checkDataFolder();
    // Unpacks the archive FileName into BaseDir, then deletes FileName. Throws std::runtime_error on failure.
    static void unzipViewerFile(const QString &BaseDir, const QString &FileName);
    static void DeleteDirectory(const QString &DirName);

    // The program's headers of a set, in order, without those whose value is empty.
    HeaderList headers(HeaderSet set) const;
    // Adds the member header set to a request about to be sent.
    void setCustomParams(HttpRequest &HTTP) const;

    // Start-up requests.
    Json checkAppVersionRequest() const;
    // Fetches the partner configuration into ClientJson and fills the style sheet's colour placeholders.
    // UI thread only.
    const Json &getClientJson();

    // Service requests. They only read the client's fields, so background tasks may call them at once.
    Json LoginRequest(const QString &Username, const QString &Password) const;
    Json BannerRequest() const;
    Json CategoryRequest() const;
    Json HomeRequest(int Page) const;
    Json HomeDetailRequest(const QString &id_homepage) const;
    Json CategoryContentRequest(const QString &id_dept, const QString &id_kategori) const;
    Json SubCategoryContentRequest(const QString &id_dept, const QString &id_sub_kategori) const;
    // chartType is "topRead", "lastRead" or "lastView".
    Json ChartContentRequest(const QString &chartType, int page) const;
    Json DetailContentRequest(const QString &id_konten) const;
    Json SearchContentRequest(const QString &field, const QString &keyword, int page) const;
    Json SearchKalimatRequest(const QString &keyword, int page) const;
    Json ReadPermissionRequest(const QString &id_konten) const;
    Json BookReturnRequest(const QString &id_baca, const QString &id_konten, const QString &page_index) const;
    Json SaveAnnotationRequest(const QString &JSONString) const;
    Json SaveCopyText(const QString &JSonString) const;
    Json ForgotPasswordRequest(const QString &Username) const;
    Json UpdateReadStatusRequest(const QString &id_baca, const QString &status) const;
    Json Logoutrequest() const;
    // Fetches a loan's saved annotation document from the address the loan answer gives, as it gives it, with
    // the member header set.
    HttpResult AnnotationFileRequest(const QString &address) const;

    // The registration window's requests.
    // One list of the region directory: path is "/api/generic/provinsi", or "/api/generic/kota/",
    // "/api/generic/kecamatan/" or "/api/generic/kelurahan/" followed by the id of the region above. Sent
    // without the program's headers. Throws std::runtime_error with the failure's message when no JSON
    // object arrives.
    Json RegionRequest(const QString &path) const;
    // The membership application: the record's JSON text and the two photo files as one multipart request.
    // A failure to send, an unreadable photo included, gives the error envelope with the failure's message.
    Json RegistrationRequest(const QString &data, const QString &identitas, const QString &foto) const;

    // Sends a request and turns its answer into a JSON object, or the error envelope with marker.
    static Json exchange(const HttpRequest &request, const QString &marker);
    // An arrived (or failed) answer as exchange gives it: its JSON object, or the error envelope with marker.
    static Json readAnswer(const HttpResult &result, const QString &marker);
    // A region directory answer as RegionRequest gives it: its JSON object. Throws std::runtime_error otherwise,
    // and when the answer's code is other than "200" (with the answer's msg).
    static Json readRegionAnswer(const HttpResult &result);

    // Gives up every request under way and every later one (each returns its error envelope). The program
    // calls this when it closes, so that no request left waiting on the service keeps it from ending.
    void cancelRequests() { m_cancelled = true; }
    // The flag cancelRequests sets, for transfers the program makes outside the service requests (book files).
    const std::atomic<bool> *cancellation() const { return &m_cancelled; }

private:
    static void store(std::unique_ptr<Json> &slot, Json answer) { slot = std::make_unique<Json>(std::move(answer)); }
    Json postForm(const char *path, const FormFields &fields, HeaderSet set, const char *marker) const;
    Json postJson(const char *path, const QString &json, const char *marker) const;
    Json get(const char *path, HeaderSet set, const char *marker) const;
    void fillStyleSheetColours(const Json &configuration) const;

    Dialogs &m_dialogs;
    QString m_viewerArchive;
    std::atomic<bool> m_cancelled{false};

    QString FPath;
    std::unique_ptr<Json> FUserJson;
    std::unique_ptr<Json> FClientJson;
    std::unique_ptr<Json> FBannerJson;
    std::unique_ptr<Json> FCategoryJson;
    std::unique_ptr<Json> FCategoryContentJson;
    std::unique_ptr<Json> FSubCategoryContentJson;
    std::unique_ptr<Json> FChartContentJson;
    std::unique_ptr<Json> FHomeContentJson;
    std::unique_ptr<Json> FHomeDetailJson;
    std::unique_ptr<Json> FDetailContentJson;
    std::unique_ptr<Json> FSearchContentJson;
    std::unique_ptr<Json> FReadPermissionJson;
    QString DevUUID;

    // The member's fields are written on the UI thread while background requests read them for their
    // headers; the lock keeps each reading whole.
    mutable std::mutex m_memberLock;
    QString FUserId;
    QString FUsername;
    QString FToken;
    QString FName;
    QString FLastDate;
    QString FProfilePict;
    QString FUserLevel;
};

} // namespace elumira
