// The book information window: the book's data, styles without an entry, and saving an entry as a file.
#include "common/dialogs.h"
#include "forms/info_buku.h"
#include "reader/open_books.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using elumira::Dialogs;
using elumira::TDetailBook;
using elumira::TFormInfoBuku;

namespace {

class InfoBukuTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        addBook(QStringLiteral("1"), &sheetA, QStringLiteral("N/A"));
        addBook(QStringLiteral("2"), &sheetB, QStringLiteral("Lestari, Ayu. (2021). <i>Tenun</i>."));
        window = std::make_unique<TFormInfoBuku>(books, dialogs);
        window->setSaveDialog([this] { return chosen; });
        window->setFileOpener([this](const QUrl &url) { opened.append(url); });
    }
    void addBook(const QString &id, QWidget *sheet, const QString &apa)
    {
        auto book = std::make_unique<TDetailBook>();
        book->id = id;
        book->TabSheet = sheet;
        book->judul = QStringLiteral("Tenun & Songket ") + id;
        book->penulis = QStringLiteral("Ayu Lestari");
        book->isbn = QStringLiteral("978-602-1");
        book->mla_style = QStringLiteral("Lestari, Ayu. <i>Tenun &amp; Songket</i>. Telmarin, 2021. ") + id;
        book->chicago_style = book->turabian_style = book->harvard_style = book->ieee_style = QStringLiteral("x");
        book->apa_style = apa;
        books.addDetail(std::move(book));
    }
    QString read(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QStringLiteral("<missing>");
    }

    elumira::OpenBooks books;
    QWidget sheetA, sheetB;
    elumira::RecordingDialogs dialogs;
    std::unique_ptr<TFormInfoBuku> window;
    QTemporaryDir folder;
    QString chosen;
    QList<QUrl> opened;
};

TEST_F(InfoBukuTest, showing_fillsThePanelsAndDisablesOnlyStylesWithoutAnEntry)
{
    window->showFor(&sheetA);
    EXPECT_EQ(window->panelJudul->text(), QStringLiteral("  Tenun & Songket 1"));
    EXPECT_EQ(window->panelISBN->text(), QStringLiteral("  978-602-1"));
    EXPECT_FALSE(window->btnAPA->isEnabled());
    for (QPushButton *other : {window->btnMLA, window->btnCHG, window->btnTRB, window->btnHRV, window->btnIEE})
        EXPECT_TRUE(other->isEnabled()) << other->objectName().toStdString();
    EXPECT_EQ(window->size(), QSize(679, 347));

    // Pressed again while open: the window comes to the front as it is.
    window->showFor(&sheetB);
    EXPECT_EQ(window->panelJudul->text(), QStringLiteral("  Tenun & Songket 1"));
    window->close();
    window->showFor(&sheetB);
    EXPECT_EQ(window->panelJudul->text(), QStringLiteral("  Tenun & Songket 2"));
    EXPECT_TRUE(window->btnAPA->isEnabled());
}

TEST_F(InfoBukuTest, saving_writesTheEntryAndOneLineBreakAndOpensTheFile)
{
    window->showFor(&sheetB);
    chosen = folder.filePath(QStringLiteral("daftar-pustaka"));
    QTest::mouseClick(window->btnMLA, Qt::LeftButton);
    const QString saved = chosen + QStringLiteral(".html");
    EXPECT_EQ(read(saved), QStringLiteral("Lestari, Ayu. <i>Tenun &amp; Songket</i>. Telmarin, 2021. 2\r\n"));
    ASSERT_EQ(dialogs.boxes().size(), 1);
    EXPECT_EQ(dialogs.boxes().first().kind, Dialogs::Kind::Information);
    EXPECT_EQ(dialogs.boxes().first().caption, QStringLiteral("Informasi"));
    EXPECT_EQ(dialogs.boxes().first().text, QStringLiteral("Berhasil Disimpan Di : ") + saved);
    EXPECT_EQ(opened, QList<QUrl>{QUrl::fromLocalFile(saved)});

    chosen = folder.filePath(QStringLiteral("apa.html"));
    QTest::mouseClick(window->btnAPA, Qt::LeftButton);
    EXPECT_EQ(read(chosen), QStringLiteral("Lestari, Ayu. (2021). <i>Tenun</i>.\r\n"));
}

TEST_F(InfoBukuTest, cancelledOrUnwritable_savesNothingAndClaimsNothing)
{
    window->showFor(&sheetB);
    chosen.clear();
    QTest::mouseClick(window->btnMLA, Qt::LeftButton);
    EXPECT_TRUE(dialogs.boxes().isEmpty());
    EXPECT_TRUE(QDir(folder.path()).isEmpty());

    QDir(folder.path()).mkdir(QStringLiteral("taken.html"));
    for (const QString &target : {folder.filePath(QStringLiteral("no-such-folder/entry.html")),
                                  folder.filePath(QStringLiteral("taken.html"))}) {
        dialogs.clear();
        chosen = target;
        QTest::mouseClick(window->btnMLA, Qt::LeftButton);
        ASSERT_EQ(dialogs.boxes().size(), 1) << target.toStdString();
        EXPECT_EQ(dialogs.boxes().first().kind, Dialogs::Kind::Error);
        EXPECT_TRUE(dialogs.boxes().first().text.startsWith(QStringLiteral("Error When Saving : ")));
        EXPECT_GT(dialogs.boxes().first().text.size(), QStringLiteral("Error When Saving : ").size());
    }
    EXPECT_TRUE(opened.isEmpty());
}

} // namespace
