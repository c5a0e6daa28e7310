// Printing the demo books: A5 pages with a running head, the composed lines and the page label at the foot.
#include "demo/book_files.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <cstdio>

namespace demo {

namespace {

constexpr double kMarginX = 42;
constexpr double kTop = 70; // baseline of the first line of running text
constexpr double kLineStep = 14.5;
constexpr double kHeadingLines = 4; // lines a chapter or front-matter heading takes

QFont font(const char *family, double points, bool bold = false, bool italic = false)
{
    QFont f(QString::fromLatin1(family));
    f.setPointSizeF(points);
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

// Draws a line at its baseline, squeezed sideways when the font makes it wider than the text column.
void drawLine(QPainter &p, const QString &text, double x, double y, double width, Qt::Alignment align = Qt::AlignLeft)
{
    const QFontMetricsF metrics(p.font(), p.device());
    const double advance = metrics.horizontalAdvance(text);
    if (advance > width) {
        p.save();
        p.translate(x, y);
        p.scale(width / advance, 1.0);
        p.drawText(QPointF(0, 0), text);
        p.restore();
        return;
    }
    const double left = align == Qt::AlignHCenter ? x + (width - advance) / 2 : x;
    p.drawText(QPointF(left, y), text);
}

void drawPage(QPainter &p, const Book &book, const Page &page, const QString &label, double w, double h)
{
    const double column = w - 2 * kMarginX;
    p.setPen(Qt::black);

    if (page.kind == Page::Kind::Title) {
        double y = 150;
        p.setFont(font("DejaVu Serif", 20, true));
        for (int i = 0; i < page.largeLines; ++i, y += 28)
            drawLine(p, QString::fromStdString(page.lines[size_t(i)]), kMarginX, y, column, Qt::AlignHCenter);
        p.setFont(font("DejaVu Serif", 11));
        y += 20;
        for (size_t i = size_t(page.largeLines); i < page.lines.size(); ++i, y += 16)
            drawLine(p, QString::fromStdString(page.lines[i]), kMarginX, y, column, Qt::AlignHCenter);
    } else {
        double y = kTop;
        if (page.kind == Page::Kind::Body) {
            p.setFont(font("DejaVu Serif", 8, false, true));
            p.setPen(Qt::darkGray);
            drawLine(p, QString::fromStdString(book.judul), kMarginX, 40, column);
            p.setPen(Qt::black);
        }
        if (!page.heading.empty()) {
            p.setFont(font("DejaVu Serif", 14, true));
            drawLine(p, QString::fromStdString(page.heading), kMarginX, kTop + kLineStep, column,
                     page.kind == Page::Kind::ChapterStart ? Qt::AlignLeft : Qt::AlignHCenter);
            y += kHeadingLines * kLineStep;
        } else if (page.kind == Page::Kind::Copyright) {
            y += 12 * kLineStep; // the imprint sits in the lower half of its page
        }
        p.setFont(font("DejaVu Serif", 10));
        for (const std::string &line : page.lines) {
            if (!line.empty())
                drawLine(p, QString::fromStdString(line), kMarginX, y, column);
            y += kLineStep;
        }
    }

    p.setFont(font("DejaVu Serif", 9));
    drawLine(p, label, kMarginX, h - 35, column, Qt::AlignHCenter);
}

} // namespace

BookFiles::BookFiles(const Catalogue &catalogue, const QString &dataDir)
    : m_catalogue(catalogue), m_dir(dataDir + QStringLiteral("/books-v1"))
{
    QDir().mkpath(m_dir);
    for (size_t i = 0; i < catalogue.books().size(); ++i)
        m_slots.push_back(std::make_unique<Slot>());
}

BookFiles::~BookFiles()
{
    stop();
}

BookFiles::Slot &BookFiles::slot(const Book &book)
{
    return *m_slots[size_t(&book - m_catalogue.books().data())];
}

const BookText &BookFiles::text(const Book &book)
{
    Slot &s = slot(book);
    std::call_once(s.composed, [&] { s.text = std::make_unique<BookText>(composeBook(book)); });
    return *s.text;
}

QString BookFiles::cachePath(const Book &book) const
{
    return m_dir + QLatin1Char('/') + QString::fromStdString(book.namaPcFile);
}

QString BookFiles::file(const Book &book)
{
    Slot &s = slot(book);
    std::lock_guard lock(s.writing);
    const QString path = cachePath(book);
    if (QFileInfo(path).size() > 0)
        return path;
    static const std::atomic<bool> kNever{false};
    QElapsedTimer timer;
    timer.start();
    if (!writePdf(book, text(book), path, kNever))
        return {};
    std::fprintf(stderr, "book %s: %d pages written in %.1f s\n", book.namaPcFile.c_str(), book.pages,
                 double(timer.elapsed()) / 1000.0);
    return path;
}

void BookFiles::startBackground()
{
    if (m_background.joinable())
        return;
    m_background = std::thread([this] {
        std::vector<const Book *> order;
        for (const Book &b : m_catalogue.books())
            order.push_back(&b);
        std::stable_sort(order.begin(), order.end(), [](const Book *a, const Book *b) { return a->pages < b->pages; });
        QElapsedTimer timer;
        timer.start();
        int written = 0;
        for (const Book *book : order) {
            if (m_stop)
                return;
            Slot &s = slot(*book);
            std::lock_guard lock(s.writing);
            const QString path = cachePath(*book);
            if (QFileInfo(path).size() > 0)
                continue;
            if (writePdf(*book, text(*book), path, m_stop))
                ++written;
        }
        if (written > 0) {
            qint64 bytes = 0;
            for (const Book &b : m_catalogue.books())
                bytes += QFileInfo(cachePath(b)).size();
            std::fprintf(stderr, "books: %d files written in %.1f s; the cache holds %.1f MB\n", written,
                         double(timer.elapsed()) / 1000.0, double(bytes) / (1024.0 * 1024.0));
        }
    });
}

void BookFiles::stop()
{
    m_stop = true;
    if (m_background.joinable())
        m_background.join();
}

bool BookFiles::writePdf(const Book &book, const BookText &text, const QString &path, const std::atomic<bool> &cancel)
{
    const QString partial = path + QStringLiteral(".part");
    bool complete = true;
    {
        QPdfWriter writer(partial);
        writer.setPageSize(QPageSize(QPageSize::A5));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setResolution(72);
        writer.setTitle(QString::fromStdString(book.judul));
        writer.setCreator(QStringLiteral("e-Lumira Telmarin demo library"));
        QPainter painter;
        if (!painter.begin(&writer))
            return false;
        painter.setRenderHint(QPainter::TextAntialiasing);
        const double w = writer.width();
        const double h = writer.height();
        for (size_t i = 0; i < text.pages.size(); ++i) {
            if (cancel) {
                complete = false;
                break;
            }
            if (i > 0)
                writer.newPage();
            drawPage(painter, book, text.pages[i], QString::fromStdString(text.labels[i]), w, h);
        }
        painter.end();
    }
    if (!complete) {
        QFile::remove(partial);
        return false;
    }
    QFile::remove(path);
    return QFile::rename(partial, path);
}

} // namespace demo
