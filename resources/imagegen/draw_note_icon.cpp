// Draws the note icon of the reader's sticky notes: a speech-bubble outline holding three text lines, in
// #F1C40F on transparency, 48 by 48 pixels; the same every time. With a scale (2), the same drawing with that many
// pixels per pixel, for high-density screens.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv)
{
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: %s <output.png> [scale]\n", argv[0]);
        return 2;
    }
    const int scale = argc == 3 ? std::atoi(argv[2]) : 1;
    if (scale < 1 || scale > 4) {
        std::fprintf(stderr, "%s: not a scale\n", argv[2]);
        return 2;
    }
    QGuiApplication app(argc, argv);
    const QColor yellow(0xF1, 0xC4, 0x0F);
    QImage image(48 * scale, 48 * scale, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(scale, scale);
        // The bubble: a rounded box with a tail at its lower left.
        QPainterPath bubble;
        bubble.addRoundedRect(QRectF(3, 4, 42, 31), 6, 6);
        QPainterPath tail;
        tail.moveTo(10, 33);
        tail.lineTo(9, 44);
        tail.lineTo(21, 33);
        tail.closeSubpath();
        const QPainterPath outline = bubble.united(tail);
        painter.setBrush(QColor(0xF1, 0xC4, 0x0F, 40));
        painter.setPen(QPen(yellow, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPath(outline);
        // Three lines of text, the last one shorter.
        painter.setPen(QPen(yellow, 3, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(11, 13), QPointF(37, 13));
        painter.drawLine(QPointF(11, 20), QPointF(37, 20));
        painter.drawLine(QPointF(11, 27), QPointF(28, 27));
    }
    return image.save(QString::fromLocal8Bit(argv[1]), "PNG") ? 0 : 1;
}
