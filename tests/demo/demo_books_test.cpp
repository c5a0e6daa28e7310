// Tests of the demo library's seed and of what it generates: page labels, composed books, the PDF files as a PDF
// reader sees them, and the pictures.
#include "demo/book_files.h"
#include "demo/book_text.h"
#include "demo/catalogue.h"
#include "demo/pictures.h"

#include <QImage>
#include <QPdfDocument>
#include <QPdfSelection>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <set>

using namespace demo;

namespace {

// Runs of white space become one space, so that text laid out in lines compares with the composed text.
QString simplified(const QString &s)
{
    return s.simplified();
}

} // namespace

TEST(DemoBookText, pageLabel_romanForFrontMatter_thenCountingFromOne)
{
    struct Case
    {
        int index, romawi;
        const char *label;
    };
    const Case cases[] = {{0, 4, "I"}, {1, 4, "II"},  {3, 4, "IV"}, {4, 4, "1"},     {5, 4, "2"},
                          {0, 0, "1"}, {11, 0, "12"}, {8, 9, "IX"}, {13, 14, "XIV"}, {14, 14, "1"}};
    for (const Case &c : cases)
        EXPECT_EQ(pageLabel(c.index, c.romawi), c.label) << c.index << " of " << c.romawi;
    EXPECT_EQ(romanNumeral(1994), "MCMXCIV");
    EXPECT_EQ(romanNumeral(0), "");
}

TEST(DemoBookText, foldCase_lowersAccentedLettersInPlace)
{
    const std::string text = "CAF\u00C9 \u00C0 LA CR\u00C8ME \u201CKITA\u201D \u00D7";
    const std::string folded = foldCase(text);
    EXPECT_EQ(folded, "caf\u00E9 \u00E0 la cr\u00E8me \u201Ckita\u201D \u00D7");
    EXPECT_EQ(folded.size(), text.size());
}

TEST(DemoBookText, wrapWords_keepsEveryWordAndTheWidth)
{
    const std::string text = "Para nelayan menyebutnya \u2018perahu kayu\u2019 sejak zaman dahulu, dan caf\u00E9 kecil "
                             "itu tetap buka setiap pagi di tepi sungai.";
    const std::vector<std::string> lines = wrapWords(text, 20);
    std::string joined;
    for (const std::string &line : lines) {
        EXPECT_LE(QString::fromStdString(line).size(), 20) << line;
        joined += (joined.empty() ? "" : " ") + line;
    }
    EXPECT_EQ(joined, text);
}

TEST(DemoCatalogue, seed_holdsWhatTheClientsScreensNeed)
{
    const Catalogue catalogue;
    const auto &books = catalogue.books();
    EXPECT_GE(books.size(), 35u);
    std::set<std::string> ids, files, covers;
    int longBooks = 0, withFrontMatter = 0, withoutFrontMatter = 0, noStock = 0, withNotAvailable = 0;
    for (const Book &b : books) {
        EXPECT_TRUE(ids.insert(b.id).second) << b.id;
        EXPECT_TRUE(files.insert(b.namaPcFile).second) << b.namaPcFile;
        EXPECT_TRUE(covers.insert(b.img).second) << b.img;
        EXPECT_FALSE(b.categoryName.empty()) << b.id << " has no category";
        if (b.pages > 400)
            ++longBooks;
        else
            EXPECT_GE(b.pages, 20) << b.id;
        (b.romawi > 0 ? withFrontMatter : withoutFrontMatter)++;
        noStock += b.qty == b.heldElsewhere;
        for (const std::string *style : {&b.mla, &b.chicago, &b.turabian, &b.apa, &b.harvard, &b.ieee}) {
            EXPECT_FALSE(style->empty()) << b.id;
            withNotAvailable += *style == "N/A";
        }
    }
    EXPECT_EQ(longBooks, 1);
    EXPECT_GT(withFrontMatter, 0);
    EXPECT_GT(withoutFrontMatter, 0);
    EXPECT_GT(noStock, 0);
    EXPECT_GT(withNotAvailable, 0);

    std::set<Banner::Link> links;
    std::set<std::string> linkTexts;
    for (const Banner &b : catalogue.banners()) {
        links.insert(b.link);
        if (b.link == Banner::Link::Text)
            linkTexts.insert(b.url.empty() || b.url == "#" ? b.url : "address");
    }
    EXPECT_EQ(links.size(), 3u);
    EXPECT_EQ(linkTexts, (std::set<std::string>{"", "#", "address"}));
    for (const HomeSection &s : catalogue.sections())
        for (const std::string &id : s.bookIds)
            EXPECT_NE(catalogue.book(id), nullptr) << s.title;
}

TEST(DemoBookText, composeBook_givesEveryPageItsLabelAndText)
{
    const Catalogue catalogue;
    for (const Book &b : catalogue.books()) {
        const BookText text = composeBook(b);
        ASSERT_EQ(int(text.pages.size()), b.pages) << b.id;
        ASSERT_EQ(text.labels.size(), text.pages.size());
        EXPECT_EQ(text.pages[0].kind, Page::Kind::Title) << b.id;
        const size_t firstBody = size_t(std::max(1, b.romawi));
        EXPECT_EQ(text.pages[firstBody].kind, Page::Kind::ChapterStart) << b.id;
        EXPECT_EQ(text.labels[firstBody], b.romawi > 0 ? "1" : "2") << b.id;
        for (size_t i = 0; i < text.pages.size(); ++i) {
            const Page &p = text.pages[i];
            EXPECT_FALSE(p.text.empty()) << b.id << " page " << i;
            EXPECT_LE(int(p.lines.size()), kLinesPerPage) << b.id << " page " << i;
        }
    }
    // The same book is composed the same way every time.
    const Book &b = catalogue.books().front();
    EXPECT_EQ(composeBook(b).pages[7].text, composeBook(b).pages[7].text);
}

TEST(DemoBookFiles, writePdf_printsEveryPageWithItsLabel_asExtractableText)
{
    const Catalogue catalogue;
    const Book &book = *catalogue.book("1009"); // 72 pages, four of them front matter
    const BookText text = composeBook(book);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("book.pdf"));
    const std::atomic<bool> keepGoing{false};
    ASSERT_TRUE(BookFiles::writePdf(book, text, path, keepGoing));

    QPdfDocument pdf;
    ASSERT_EQ(pdf.load(path), QPdfDocument::Error::None);
    ASSERT_EQ(pdf.pageCount(), book.pages);
    EXPECT_EQ(pdf.metaData(QPdfDocument::MetaDataField::Title).toString().toStdString(), book.judul);
    bool sawTypography = false;
    for (int i = 0; i < pdf.pageCount(); ++i) {
        const QString extracted = simplified(pdf.getAllText(i).text());
        const QString composed = simplified(QString::fromStdString(text.pages[size_t(i)].text));
        EXPECT_TRUE(extracted.contains(composed))
            << "page " << i << "\nextracted: " << extracted.toStdString() << "\ncomposed: " << composed.toStdString();
        EXPECT_TRUE(extracted.endsWith(QString::fromStdString(text.labels[size_t(i)])))
            << "page " << i << " ends with " << extracted.right(12).toStdString();
        sawTypography = sawTypography || extracted.contains(QChar(0x201C)) || extracted.contains(QChar(0x2018)) ||
                        extracted.contains(QChar(0x00E9));
    }
    EXPECT_TRUE(sawTypography) << "typographic quotation marks or accented letters survive extraction";
}

TEST(DemoBookFiles, writePdf_cancelled_leavesNoFile)
{
    const Catalogue catalogue;
    const Book &book = *catalogue.book("1030");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("book.pdf"));
    const std::atomic<bool> cancelled{true};
    EXPECT_FALSE(BookFiles::writePdf(book, composeBook(book), path, cancelled));
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

TEST(DemoBookFiles, file_isWrittenOnce_thenTakenFromTheCache)
{
    const Catalogue catalogue;
    QTemporaryDir dir;
    const Book &book = *catalogue.book("1029");
    BookFiles first(catalogue, dir.path());
    const QString path = first.file(book);
    ASSERT_FALSE(path.isEmpty());
    const QDateTime written = QFileInfo(path).lastModified();
    BookFiles second(catalogue, dir.path());
    EXPECT_EQ(second.file(book), path);
    EXPECT_EQ(QFileInfo(path).lastModified(), written);
}

TEST(DemoPictures, everyPictureTheCatalogueNames_decodes)
{
    const Catalogue catalogue;
    Pictures pictures(catalogue);
    struct Case
    {
        std::optional<Picture> picture;
        QSize size;
    };
    const Partner &partner = catalogue.partner();
    std::vector<Case> cases = {
        {pictures.cover(catalogue.books().front().img), QSize(300, 440)},
        {pictures.banner(catalogue.banners().front().img), QSize(1140, 300)},
        {pictures.logo(partner.logo), QSize(240, 56)},
        {pictures.logo(partner.logoLogin), QSize(320, 200)},
        {pictures.logo(partner.introPicture), QSize(360, 360)},
    };
    for (const Case &c : cases) {
        ASSERT_TRUE(c.picture.has_value());
        const QImage image = QImage::fromData(QByteArray::fromStdString(c.picture->bytes));
        EXPECT_EQ(image.size(), c.size) << c.picture->contentType;
    }
    EXPECT_EQ(cases[0].picture->contentType, "image/jpeg");
    EXPECT_EQ(cases[2].picture->contentType, "image/png");
    EXPECT_FALSE(pictures.cover("cover_0000.jpg").has_value());
    EXPECT_FALSE(pictures.logo("").has_value());
}
