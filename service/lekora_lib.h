// TLekoraLib: the one client of the library service, holding the device identity, the data folder,
// the member's log-in state and the last answer of each catalogue request.
#pragma once

#include <QString>

#include <memory>

namespace elumira {

class Dialogs;

class TLekoraLib
{
public:
    // The archive the data folder is built from; tests point it elsewhere to try damaged archives.
    static constexpr const char *kViewerArchive = ":/viewerzip";
    // Name of the data folder inside the application-data folder; it is also the application code.
    static constexpr const char *kAppCode = "QWT5062rxm";

    // Derives the device identity, then rebuilds the data folder. Failures are shown through dialogs
    // and never stop the program.
    explicit TLekoraLib(Dialogs &dialogs, QString viewerArchive = QString::fromLatin1(kViewerArchive));
    // Removes the data folder.
    ~TLekoraLib();

    TLekoraLib(const TLekoraLib &) = delete;
    TLekoraLib &operator=(const TLekoraLib &) = delete;

    const QString &DataPath() const { return FPath; }
    const QString &UUID() const { return DevUUID; }

    const QString &UserId() const { return FUserId; }
    const QString &Username() const { return FUsername; }
    const QString &Token() const { return FToken; }
    const QString &Name() const { return FName; }
    const QString &LastDate() const { return FLastDate; }
    const QString &ProfilePict() const { return FProfilePict; }
    const QString &UserLevel() const { return FUserLevel; }

    // Data folder and device identity.
    static QString getAppPath();
    static QString WindowsDirectory();
    static QString GetHardDiskSerial();
    void checkDataFolder();
    // Unpacks the archive FileName into BaseDir, then deletes FileName. Throws std::runtime_error on failure.
    static void unzipViewerFile(const QString &BaseDir, const QString &FileName);
    static void DeleteDirectory(const QString &DirName);

private:
    Dialogs &m_dialogs;
    QString m_viewerArchive;

    QString FPath;
    QString DevUUID;
    QString FUserId;
    QString FUsername;
    QString FToken;
    QString FName;
    QString FLastDate;
    QString FProfilePict;
    QString FUserLevel;
};

} // namespace elumira
