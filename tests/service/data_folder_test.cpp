// The data folder: rebuilt from the viewer archive at start, used as found when it cannot be removed,
// and a damaged archive reported once without stopping.
#include "common/dialogs.h"
#include "service/lekora_lib.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>

#include <zip.h>

#include <unistd.h>

using elumira::Dialogs;
using elumira::RecordingDialogs;
using elumira::TLekoraLib;

namespace {

QString dataFolder()
{
    return TLekoraLib::getAppPath() + QLatin1String(TLekoraLib::kAppCode);
}

// The file paths (not folders) inside a folder, relative to it.
QSet<QString> filesUnder(const QString &folder)
{
    QSet<QString> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.insert(QDir(folder).relativeFilePath(it.next()));
    return files;
}

// The file entries of the embedded viewer archive.
QSet<QString> archiveFiles()
{
    QFile resource(QString::fromLatin1(TLekoraLib::kViewerArchive));
    EXPECT_TRUE(resource.open(QIODevice::ReadOnly));
    const QByteArray bytes = resource.readAll();
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t *source = zip_source_buffer_create(bytes.constData(), bytes.size(), 0, &error);
    zip_t *archive = zip_open_from_source(source, ZIP_RDONLY, &error);
    QSet<QString> files;
    if (!archive) {
        zip_source_free(source);
        ADD_FAILURE() << "the embedded archive does not open";
        return files;
    }
    for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); ++i) {
        const QString name = QString::fromUtf8(zip_get_name(archive, i, 0));
        if (!name.endsWith(QLatin1Char('/')))
            files.insert(name);
    }
    zip_discard(archive);
    return files;
}

class DataFolderTest : public ::testing::Test
{
protected:
    void SetUp() override { QDir(dataFolder()).removeRecursively(); }
    void TearDown() override { QDir(dataFolder()).removeRecursively(); }

    RecordingDialogs dialogs;
};

TEST_F(DataFolderTest, create_leftoverFolderWithExtraFiles_holdsExactlyTheArchive)
{
    ASSERT_TRUE(QDir().mkpath(dataFolder() + QStringLiteral("/old/deeper")));
    for (const char *name : {"/old/deeper/stale.html", "/view.zip", "/index.html"}) {
        QFile stale(dataFolder() + QLatin1String(name));
        ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
        stale.write("left by an earlier run");
    }

    const TLekoraLib service(dialogs);

    EXPECT_TRUE(dialogs.boxes().isEmpty());
    EXPECT_EQ(service.DataPath(), dataFolder());
    const QSet<QString> expected = archiveFiles();
    ASSERT_FALSE(expected.isEmpty());
    EXPECT_EQ(filesUnder(dataFolder()), expected);
    EXPECT_FALSE(QDir(dataFolder() + QStringLiteral("/old")).exists());
}

TEST_F(DataFolderTest, destroy_removesTheFolder)
{
    {
        const TLekoraLib service(dialogs);
        ASSERT_TRUE(QFile::exists(service.DataPath() + QStringLiteral("/loading.html")));
    }
    EXPECT_FALSE(QDir(dataFolder()).exists());
}

TEST_F(DataFolderTest, create_badArchive_showsOneErrorAndGoesOn)
{
    QTemporaryDir scratch;
    ASSERT_TRUE(scratch.isValid());

    QFile real(QString::fromLatin1(TLekoraLib::kViewerArchive));
    ASSERT_TRUE(real.open(QIODevice::ReadOnly));
    const QByteArray realBytes = real.readAll();

    const struct
    {
        const char *name;
        QByteArray bytes;
        bool create;
    } cases[] = {
        {"not-a-zip", QByteArray("this is not an archive"), true},
        {"truncated", realBytes.left(realBytes.size() / 2), true},
        {"empty", QByteArray(), true},
        {"missing", QByteArray(), false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = scratch.filePath(QLatin1String(c.name));
        if (c.create) {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(c.bytes);
        }
        dialogs.clear();
        QDir(dataFolder()).removeRecursively();

        const TLekoraLib service(dialogs, path);

        ASSERT_EQ(dialogs.boxes().size(), 1);
        EXPECT_EQ(dialogs.boxes().first().kind, Dialogs::Kind::Error);
        EXPECT_EQ(dialogs.boxes().first().buttons, Dialogs::Buttons::Ok);
        EXPECT_TRUE(dialogs.boxes().first().text.startsWith(QStringLiteral("Error Exception #2857: ")))
            << dialogs.boxes().first().text.toStdString();
        EXPECT_GT(dialogs.boxes().first().text.size(), QStringLiteral("Error Exception #2857: ").size());
        EXPECT_FALSE(QFile::exists(dataFolder() + QStringLiteral("/view.zip")));
        EXPECT_EQ(service.UUID().size(), 8);
    }
}

TEST_F(DataFolderTest, create_entryLeavingTheFolder_isRefusedAndNothingLandsOutside)
{
    QTemporaryDir scratch;
    ASSERT_TRUE(scratch.isValid());
    const QString zipPath = scratch.filePath(QStringLiteral("escape.zip"));
    int error = 0;
    zip_t *archive = zip_open(QFile::encodeName(zipPath).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(archive, nullptr);
    static const char body[] = "outside";
    zip_source_t *source = zip_source_buffer(archive, body, sizeof body - 1, 0);
    ASSERT_GE(zip_file_add(archive, "../escaped.txt", source, ZIP_FL_ENC_UTF_8), 0);
    ASSERT_EQ(zip_close(archive), 0);

    const TLekoraLib service(dialogs, zipPath);

    ASSERT_EQ(dialogs.boxes().size(), 1);
    EXPECT_TRUE(dialogs.boxes().first().text.startsWith(QStringLiteral("Error Exception #2857: ")));
    EXPECT_FALSE(QFile::exists(TLekoraLib::getAppPath() + QStringLiteral("escaped.txt")));
}

// Root removes anything, except a file marked immutable; other users are stopped by a read-only folder.
class Unremovable
{
public:
    explicit Unremovable(QString file) : m_file(std::move(file))
    {
        if (::geteuid() == 0)
            m_locked = QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), m_file}) == 0;
        else
            m_locked = QFile::setPermissions(QFileInfo(m_file).absolutePath(), QFile::ReadOwner | QFile::ExeOwner);
    }
    ~Unremovable()
    {
        if (::geteuid() == 0)
            QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), m_file});
        else
            QFile::setPermissions(QFileInfo(m_file).absolutePath(),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    bool locked() const { return m_locked; }

private:
    QString m_file;
    bool m_locked = false;
};

TEST_F(DataFolderTest, create_folderThatCannotBeRemoved_isUsedAsFound)
{
    ASSERT_TRUE(QDir().mkpath(dataFolder()));
    const QString held = dataFolder() + QStringLiteral("/held.txt");
    {
        QFile file(held);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("in use");
    }
    Unremovable lock(held);
    if (!lock.locked())
        GTEST_SKIP() << "this file system cannot keep a file from being removed";

    {
        const TLekoraLib service(dialogs);
        EXPECT_TRUE(dialogs.boxes().isEmpty());
        EXPECT_EQ(filesUnder(dataFolder()), QSet<QString>{QStringLiteral("held.txt")});
    }
}

} // namespace
