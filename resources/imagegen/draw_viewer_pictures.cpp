// Draws the pictures of the viewer assets (placeholders, icons, shadow) into a folder, the same every time.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <cstdio>
#include <numbers>

namespace {

// A ring of eight dots, darker at the head, as in a paused spinner.
void drawRing(QPainter &painter, QPointF centre, double ringRadius, double dotRadius)
{
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 8; ++i) {
        const double angle = -std::numbers::pi / 2 + i * std::numbers::pi / 4;
        const int grey = 0x70 + i * 0x12;
        painter.setBrush(QColor(grey, grey, grey));
        const QPointF dot(centre.x() + ringRadius * std::cos(angle), centre.y() + ringRadius * std::sin(angle));
        painter.drawEllipse(dot, dotRadius, dotRadius);
    }
}

QImage placeholder(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    drawRing(painter, QPointF(size.width() / 2.0, size.height() / 2.0), 36, 8);
    return image;
}

// The account icon: a white head and shoulders in a white circle line, on transparency.
QImage userIcon()
{
    QImage image(40, 40, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(255, 255, 255), 2));
    painter.setBrush(QColor(255, 255, 255, 60));
    painter.drawEllipse(QRectF(1.5, 1.5, 37, 37));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawEllipse(QPointF(20, 15), 6.5, 6.5);
    QPainterPath shoulders;
    shoulders.moveTo(8.5, 32);
    shoulders.cubicTo(10, 24, 15, 22.5, 20, 22.5);
    shoulders.cubicTo(25, 22.5, 30, 24, 31.5, 32);
    shoulders.closeSubpath();
    painter.drawPath(shoulders);
    return image;
}

// A soft elliptic shadow the cover stands on.
QImage bookShadow()
{
    QImage image(168, 24, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QRadialGradient gradient(QPointF(84, 6), 84, QPointF(84, 6));
    gradient.setColorAt(0.0, QColor(0, 0, 0, 110));
    gradient.setColorAt(0.6, QColor(0, 0, 0, 45));
    gradient.setColorAt(1.0, QColor(0, 0, 0, 0));
    painter.scale(1.0, 24.0 / 84.0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(gradient);
    painter.drawEllipse(QRectF(0, -60, 168, 168));
    return image;
}

// The background of the select box's search field: a grey magnifier at the right on white.
QImage selectBackground()
{
    QImage image(60, 40, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x99, 0x99, 0x99), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPointF(40, 18), 6, 6);
    painter.drawLine(QPointF(44.5, 22.5), QPointF(50, 28));
    return image;
}

bool save(const QImage &image, const QString &path, int quality = 92)
{
    if (image.save(path, nullptr, quality))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(out.path()))
        return 1;

    bool ok = save(placeholder(QSize(400, 600)), out.filePath(QStringLiteral("loading.jpg")));
    ok = save(placeholder(QSize(1170, 230)), out.filePath(QStringLiteral("loading-banner.jpg"))) && ok;
    ok = save(userIcon(), out.filePath(QStringLiteral("user.png"))) && ok;
    ok = save(bookShadow(), out.filePath(QStringLiteral("book_shadow.png"))) && ok;
    ok = save(selectBackground(), out.filePath(QStringLiteral("select.png"))) && ok;
    return ok ? 0 : 1;
}
