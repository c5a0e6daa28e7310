// A whole process that shows the first page of a book, to set beside other programs that render one page:
// reads the file into memory, opens it in the reader's page view and paints the view's first frame.
// With --write-books DIR it writes the demo library's long and short books there and prints their paths.
#include "bench/demo_books.h"
#include "reader/pdf_control.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>

#include <cstdio>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc == 3 && QByteArray(argv[1]) == "--write-books") {
        // The books are written with the demo service's PDF writer, which needs the fonts of a GUI application.
        QApplication app(argc, argv);
        const auto books = elumira::bench::writeDemoBooks(QString::fromLocal8Bit(argv[2]));
        std::printf("%s\n%s\n", qPrintable(books.longBook), qPrintable(books.shortBook));
        return 0;
    }
    if (argc != 2) {
        std::fprintf(stderr, "usage: reader_first_page FILE.pdf | --write-books DIR\n");
        return 2;
    }
    QApplication app(argc, argv);
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::ReadOnly))
        return 1;
    const QByteArray bytes = file.readAll();

    QElapsedTimer clock;
    clock.start();
    elumira::TPdfControl view;
    view.resize(1000, 760);
    view.LoadFromStream(bytes);
    QImage image(view.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    view.viewport()->render(&image);
    if (qEnvironmentVariableIsSet("ELUMIRA_BENCH_VERBOSE"))
        std::fprintf(stderr, "first frame %.1f ms\n", clock.nsecsElapsed() / 1e6);
    return image.isNull() ? 1 : 0;
}
