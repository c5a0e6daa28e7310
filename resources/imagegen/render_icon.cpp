// Renders the program's SVG icon into the square PNG sizes of the desktop's icon theme:
// <output folder>/<size>x<size>/apps/<name>.png for every size given.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv)
{
    if (argc < 5) {
        std::fprintf(stderr, "usage: %s <icon.svg> <output folder> <name> <size>...\n", argv[0]);
        return 2;
    }
    QGuiApplication app(argc, argv);
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "%s: not a valid SVG picture\n", argv[1]);
        return 1;
    }
    const QString outputDir = QString::fromLocal8Bit(argv[2]);
    const QString name = QString::fromLocal8Bit(argv[3]);
    for (int i = 4; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        if (size <= 0 || size > 4096) {
            std::fprintf(stderr, "%s: not a size\n", argv[i]);
            return 2;
        }
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            renderer.render(&painter, QRectF(0, 0, size, size));
        }
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(outputDir).arg(size);
        if (!QDir().mkpath(folder) || !image.save(QStringLiteral("%1/%2.png").arg(folder, name), "PNG")) {
            std::fprintf(stderr, "could not write the %dx%d icon into %s\n", size, size, qPrintable(folder));
            return 1;
        }
    }
    return 0;
}
