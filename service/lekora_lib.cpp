// Construction and destruction of the service client, and its log-in state.
#include "service/lekora_lib.h"

#include <QDir>

namespace elumira {

TLekoraLib::TLekoraLib(Dialogs &dialogs, QString viewerArchive)
    : m_dialogs(dialogs), m_viewerArchive(std::move(viewerArchive))
{
    DevUUID = GetHardDiskSerial();
    checkDataFolder();
}

TLekoraLib::~TLekoraLib()
{
    if (!FPath.isEmpty() && QDir(FPath).exists())
        DeleteDirectory(FPath);
    FClientJson.reset();
    FUserJson.reset();
    FBannerJson.reset();
    FCategoryJson.reset();
    FHomeContentJson.reset();
    FHomeDetailJson.reset();
    FCategoryContentJson.reset();
    FSubCategoryContentJson.reset();
    FChartContentJson.reset();
    FDetailContentJson.reset();
    FSearchContentJson.reset();
    FReadPermissionJson.reset();
}

void TLekoraLib::setUserJson(Json answer)
{
    store(FUserJson, std::move(answer));
    if (!hasCode(*FUserJson, "200"))
        return;
    // A data member of another kind reads as an empty object: the fields become empty.
    static const Json noData = Json::object();
    const Json *data = &noData;
    if (const auto it = FUserJson->find("data"); it != FUserJson->end() && it->is_object())
        data = &*it;
    const std::lock_guard lock(m_memberLock);
    FName = jsonText(*data, "nama");
    FUsername = jsonText(*data, "username");
    FUserLevel = jsonText(*data, "level");
    FLastDate = jsonText(*data, "tgl_berakhir");
    FToken = jsonText(*data, "token");
    FProfilePict = jsonText(*data, "photo");
    FUserId = jsonText(*data, "id_user");
}

#define ELUMIRA_MEMBER_FIELD(accessor, field)                                                                         \
    QString TLekoraLib::accessor() const                                                                               \
    {                                                                                                                  \
        const std::lock_guard lock(m_memberLock);                                                                      \
        return field;                                                                                                  \
    }
ELUMIRA_MEMBER_FIELD(UserId, FUserId)
ELUMIRA_MEMBER_FIELD(Username, FUsername)
ELUMIRA_MEMBER_FIELD(Token, FToken)
ELUMIRA_MEMBER_FIELD(Name, FName)
ELUMIRA_MEMBER_FIELD(LastDate, FLastDate)
ELUMIRA_MEMBER_FIELD(ProfilePict, FProfilePict)
ELUMIRA_MEMBER_FIELD(UserLevel, FUserLevel)
#undef ELUMIRA_MEMBER_FIELD

} // namespace elumira
