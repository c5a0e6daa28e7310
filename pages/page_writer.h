// Writing a page into the data folder and showing it: the page text, the file, its URL and the load.
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

#include <stdexcept>

namespace elumira {
class BrowserView;
}

namespace elumira::pages {

// The files the generators write into the data folder.
inline constexpr char kLoginPageFile[] = "login.html";
inline constexpr char kHomePageFile[] = "index.html";
inline constexpr char kHomeDetailPageFile[] = "index_detail.html";
inline constexpr char kCategoryPageFile[] = "category.html";
inline constexpr char kDeptFile[] = "dept.html";
inline constexpr char kCategoryDetailPageFile[] = "category_detail.html";
inline constexpr char kSubCategoryDetailPageFile[] = "subCategoryDetail.html";
// The three charts share one file.
inline constexpr char kChartPageFile[] = "topChart.html";
inline constexpr char kDetailPageFile[] = "detail.html";
inline constexpr char kSearchResultPageFile[] = "search_result.html";
inline constexpr char kSearchKalimatResultPageFile[] = "search_kalimat_result.html";

// The line break written after every piece of a page.
inline constexpr char kLineBreak[] = "\r\n";

// A page's text, built piece by piece; every piece is followed by CR LF.
class PageText
{
public:
    PageText &operator<<(const QString &piece)
    {
        m_text += piece;
        m_text += QLatin1String(kLineBreak);
        return *this;
    }
    PageText &operator<<(const char *piece) { return *this << QString::fromUtf8(piece); }
    // Several pieces in order, each followed by CR LF.
    PageText &operator<<(const QStringList &pieces)
    {
        for (const QString &piece : pieces)
            *this << piece;
        return *this;
    }

    const QString &text() const { return m_text; }

private:
    QString m_text;
};

// Thrown when a page file cannot be created or written.
class PageWriteError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// The path of a page file: the data folder (no trailing slash), a slash and the file name.
QString pagePath(const QString &dataPath, const QString &fileName);

// The URL the views load a page file from. Spaces and other characters of the path stay as they are in the
// URL's text form.
QUrl pageUrl(const QString &dataPath, const QString &fileName);

// Creates the file anew (an existing one is truncated) and writes the text as UTF-8 without a byte-order
// mark. Throws PageWriteError; the file may then be left partly written.
void writePageFile(const QString &path, const QString &text);

// Writes the page into the data folder, then loads its URL into the view. Throws PageWriteError, in which
// case nothing is loaded.
// Reads a page file written earlier (UTF-8). Throws PageWriteError when it cannot be read.
QString readPageFile(const QString &path);

// A text's lines, split at CR LF, LF or CR; a final line break ends the last line rather than starting another.
QStringList splitPageLines(const QString &text);

// The lines joined again, each ended by CR LF.
QString joinPageLines(const QStringList &lines);

void writeAndLoadPage(const QString &dataPath, const QString &fileName, const QString &text, BrowserView &view);

} // namespace elumira::pages
