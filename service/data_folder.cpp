// The data folder: rebuilt from the viewer assets archive at every start, removed at the end of the run.
#include "service/lekora_lib.h"

#include "common/dialogs.h"
#include "service/device_identity.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <zip.h>

#include <memory>
#include <stdexcept>

namespace elumira {

namespace {

[[noreturn]] void fail(const QString &message)
{
    throw std::runtime_error(message.toStdString());
}

QString zipErrorText(zip_error_t *error)
{
    return QString::fromLocal8Bit(zip_error_strerror(error));
}

struct ZipCloser
{
    void operator()(zip_t *archive) const { zip_discard(archive); }
};

struct ZipFileCloser
{
    void operator()(zip_file_t *file) const { zip_fclose(file); }
};

// The path an entry unpacks to, or empty when the entry would land outside the base folder.
QString entryTarget(const QDir &base, const QString &entryName)
{
    if (entryName.isEmpty() || QDir::isAbsolutePath(entryName) || entryName.startsWith(QLatin1Char('\\')))
        return {};
    const QString target = QDir::cleanPath(base.absoluteFilePath(entryName));
    const QString root = QDir::cleanPath(base.absolutePath());
    if (!target.startsWith(root + QLatin1Char('/')))
        return {};
    return target;
}

void extractAll(const QString &baseDir, const QString &fileName)
{
    int errorCode = 0;
    std::unique_ptr<zip_t, ZipCloser> archive(zip_open(QFile::encodeName(fileName).constData(), ZIP_RDONLY, &errorCode));
    if (!archive) {
        zip_error_t error;
        zip_error_init_with_code(&error, errorCode);
        const QString text = zipErrorText(&error);
        zip_error_fini(&error);
        fail(QStringLiteral("Cannot open archive %1: %2").arg(fileName, text));
    }

    const QDir base(baseDir);
    const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
    for (zip_int64_t index = 0; index < count; ++index) {
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat_index(archive.get(), index, 0, &stat) != 0)
            fail(QStringLiteral("Cannot read archive entry %1: %2").arg(index).arg(zipErrorText(zip_get_error(archive.get()))));

        const QString name = QString::fromUtf8(stat.name);
        const QString target = entryTarget(base, name);
        if (target.isEmpty())
            fail(QStringLiteral("Archive entry %1 lies outside the data folder").arg(name));

        if (name.endsWith(QLatin1Char('/'))) {
            if (!QDir().mkpath(target))
                fail(QStringLiteral("Cannot create folder %1").arg(target));
            continue;
        }
        if (!QDir().mkpath(QFileInfo(target).absolutePath()))
            fail(QStringLiteral("Cannot create folder %1").arg(QFileInfo(target).absolutePath()));

        std::unique_ptr<zip_file_t, ZipFileCloser> entry(zip_fopen_index(archive.get(), index, 0));
        if (!entry)
            fail(QStringLiteral("Cannot open archive entry %1: %2").arg(name, zipErrorText(zip_get_error(archive.get()))));

        QFile out(target);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
            fail(QStringLiteral("Cannot create %1: %2").arg(target, out.errorString()));
        char buffer[64 * 1024];
        zip_int64_t total = 0;
        for (;;) {
            const zip_int64_t read = zip_fread(entry.get(), buffer, sizeof buffer);
            if (read < 0)
                fail(QStringLiteral("Cannot read archive entry %1: %2").arg(name, zipErrorText(zip_file_get_error(entry.get()))));
            if (read == 0)
                break;
            if (out.write(buffer, read) != read)
                fail(QStringLiteral("Cannot write %1: %2").arg(target, out.errorString()));
            total += read;
        }
        if ((stat.valid & ZIP_STAT_SIZE) && static_cast<zip_uint64_t>(total) != stat.size)
            fail(QStringLiteral("Archive entry %1 is truncated").arg(name));
    }
}

} // namespace

QString TLekoraLib::getAppPath()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (folder.isEmpty())
        return {};
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

QString TLekoraLib::WindowsDirectory()
{
    // The system's own folder on Linux is the root of the file-system tree.
    return QStringLiteral("/");
}

QString TLekoraLib::GetHardDiskSerial()
{
    // An unreadable volume gives the identity of serial 0.
    return formatDeviceIdentity(volumeSerial(WindowsDirectory()));
}

void TLekoraLib::checkDataFolder()
{
    try {
        FPath = getAppPath() + QLatin1String(kAppCode);

        if (QDir(FPath).exists())
            DeleteDirectory(FPath);

        // A folder that cannot be removed is used as it is found.
        if (QDir(FPath).exists())
            return;

        // The application-data folder may not exist yet on a fresh account, so its parents are made too.
        if (!QDir().mkpath(FPath))
            fail(QStringLiteral("Cannot create the folder %1").arg(FPath));

        const QString zipPath = FPath + QLatin1String("/view.zip");
        QString copyError;
        {
            QFile resource(m_viewerArchive);
            QFile copy(zipPath);
            if (!resource.open(QIODevice::ReadOnly))
                copyError = QStringLiteral("Cannot read the viewer archive %1: %2").arg(m_viewerArchive, resource.errorString());
            if (!copy.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
                if (copyError.isEmpty())
                    copyError = QStringLiteral("Cannot create %1: %2").arg(zipPath, copy.errorString());
            } else if (copyError.isEmpty()) {
                const QByteArray bytes = resource.readAll();
                if (copy.write(bytes) != bytes.size())
                    copyError = QStringLiteral("Cannot write %1: %2").arg(zipPath, copy.errorString());
            }
        }

        // Unpacking runs whether or not the copy worked, so that view.zip never stays behind;
        // the first failure is the one reported.
        try {
            unzipViewerFile(FPath, zipPath);
        } catch (const std::runtime_error &) {
            if (copyError.isEmpty())
                throw;
        }
        if (!copyError.isEmpty())
            fail(copyError);
    } catch (const std::exception &error) {
        m_dialogs.error(QStringLiteral("Error Exception #2857: ") + QString::fromUtf8(error.what()));
    }
}

void TLekoraLib::unzipViewerFile(const QString &BaseDir, const QString &FileName)
{
    QString extractError;
    try {
        extractAll(BaseDir, FileName);
    } catch (const std::runtime_error &error) {
        extractError = QString::fromUtf8(error.what());
    }

    QFile archive(FileName);
    if (archive.exists() && !archive.remove())
        fail(QStringLiteral("Cannot delete %1: %2").arg(FileName, archive.errorString()));
    if (!extractError.isEmpty())
        fail(extractError);
}

void TLekoraLib::DeleteDirectory(const QString &DirName)
{
    // Whatever cannot be removed stays; the next start tries again.
    QDir(DirName).removeRecursively();
}

} // namespace elumira
