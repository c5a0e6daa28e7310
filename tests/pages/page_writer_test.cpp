// Writing page files: the text with CR LF after every piece, UTF-8 without a byte-order mark, a file created
// anew, its URL, and a real view loading a page from a folder whose path has spaces and other letters.
#include "pages/page_writer.h"
#include "tests/support/page_view.h"
#include "tests/support/recording_view.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace elumira::pages;
using elumira::test::RecordingView;

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

TEST(PageWriterTest, pageText_endsEveryPieceWithCrLfAndKeepsThePiecesOwnBreaks)
{
    PageText page;
    page << "<html>" << QStringLiteral("<p>a\r\nb</p>") << QString() << "</html>";
    EXPECT_EQ(page.text(), QStringLiteral("<html>\r\n<p>a\r\nb</p>\r\n\r\n</html>\r\n"));
}

TEST(PageWriterTest, pageUrl_isTheLocalFileUrlWithTheTextOfThePathUnescaped)
{
    const struct
    {
        QString folder;
        QString expected;
    } cases[] = {
        {QStringLiteral("/home/anggota/.local/share/QWT5062rxm"),
         QStringLiteral("file:///home/anggota/.local/share/QWT5062rxm/login.html")},
        {QStringLiteral("/home/anggota/Program Files/Lib"),
         QStringLiteral("file:///home/anggota/Program Files/Lib/login.html")},
        {QStringLiteral("/home/anggota/Perpustakaan Ñusantara/漢字"),
         QStringLiteral("file:///home/anggota/Perpustakaan Ñusantara/漢字/login.html")},
    };
    for (const auto &c : cases) {
        const QUrl url = pageUrl(c.folder, QLatin1String(kLoginPageFile));
        EXPECT_EQ(url.toString(), c.expected);
        EXPECT_EQ(url.toLocalFile(), c.folder + QStringLiteral("/login.html"));
    }
}

TEST(PageWriterTest, writePageFile_writesUtf8WithoutByteOrderMarkAndReplacesAnOlderFile)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = pagePath(folder.path(), QStringLiteral("index.html"));
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(4096, 'x'));
    }

    const QString text = QStringLiteral("<h2>Perpustakaan Ñusantara — 漢字</h2>\r\n");
    writePageFile(path, text);

    const QByteArray bytes = readAll(path);
    EXPECT_EQ(bytes, text.toUtf8());
    EXPECT_FALSE(bytes.startsWith("\xEF\xBB\xBF"));
}

TEST(PageWriterTest, writeAndLoadPage_loadsTheFileUrlOnlyAfterAWrite)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    RecordingView view;

    writeAndLoadPage(folder.path(), QStringLiteral("detail.html"), QStringLiteral("<p>ok</p>\r\n"), view);
    ASSERT_EQ(view.loads.size(), 1);
    EXPECT_EQ(view.loads[0], QUrl::fromLocalFile(folder.path() + QStringLiteral("/detail.html")));
    EXPECT_EQ(readAll(folder.path() + QStringLiteral("/detail.html")), QByteArray("<p>ok</p>\r\n"));

    const QString missing = folder.path() + QStringLiteral("/gone");
    try {
        writeAndLoadPage(missing, QStringLiteral("detail.html"), QStringLiteral("<p>ok</p>"), view);
        FAIL() << "writing into a missing folder succeeded";
    } catch (const PageWriteError &failure) {
        EXPECT_TRUE(QString::fromUtf8(failure.what()).contains(missing + QStringLiteral("/detail.html")))
            << failure.what();
    }
    EXPECT_EQ(view.loads.size(), 1);
}

class PageWriterViewTest : public elumira::test::PageViewTest
{
};

TEST_F(PageWriterViewTest, pageUrl_ofAFolderWithSpacesAndOtherLetters_loadsInTheView)
{
    const QString folder = s_service->DataPath() + QStringLiteral("/Program Files/Ñusantara 漢字");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString text = QStringLiteral("<!DOCTYPE html>\r\n<html><head><meta charset=\"utf-8\"><title>Ñ 漢字</title>"
                                        "</head><body></body></html>\r\n");
    const int before = beforeLoad();
    writeAndLoadPage(folder, QStringLiteral("page.html"), text, *view);
    waitForLoadAfter(before);
    EXPECT_EQ(view->title(), QStringLiteral("Ñ 漢字"));
    EXPECT_EQ(view->url(), QUrl::fromLocalFile(folder + QStringLiteral("/page.html")));
}

} // namespace
