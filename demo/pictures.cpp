// Painting the demo library's pictures with QPainter.
#include "demo/pictures.h"

#include <QBuffer>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace demo {

namespace {

QFont sans(int pixels, bool bold = false)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

Picture encode(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const bool jpeg = qstrcmp(format, "JPG") == 0;
    image.save(&buffer, format, jpeg ? 85 : -1);
    return {bytes.toStdString(), jpeg ? "image/jpeg" : "image/png"};
}

QString text(const std::string &s)
{
    return QString::fromStdString(s);
}

QImage paintCover(const Book &book)
{
    Rng rng(seedOf("cover|" + book.id));
    QImage image(300, 440, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor base = QColor::fromHsv(rng.below(360), 120 + rng.below(100), 90 + rng.below(80));
    QLinearGradient gradient(0, 0, 0, 440);
    gradient.setColorAt(0, base.lighter(130));
    gradient.setColorAt(1, base.darker(140));
    p.fillRect(image.rect(), gradient);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 6; ++i) {
        QColor c = base.lighter(150 + rng.below(60));
        c.setAlpha(60 + rng.below(60));
        p.setBrush(c);
        const int r = 30 + rng.below(90);
        p.drawEllipse(QPoint(rng.below(300), 220 + rng.below(220)), r, r);
    }
    p.setBrush(QColor(255, 255, 255, 40));
    p.drawRect(0, 36, 300, 4);
    p.setPen(Qt::white);
    p.setFont(sans(24, true));
    p.drawText(QRect(22, 56, 256, 200), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text(book.judul));
    p.setFont(sans(15));
    p.drawText(QRect(22, 300, 256, 60), Qt::AlignLeft | Qt::TextWordWrap, text(book.penulis));
    p.setFont(sans(12, true));
    p.drawText(QRect(22, 400, 256, 24), Qt::AlignLeft | Qt::AlignVCenter, text(book.penerbit));
    return image;
}

QImage paintBanner(const Banner &banner, const Partner &partner, int index)
{
    QImage image(1140, 300, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient gradient(0, 0, 1140, 300);
    gradient.setColorAt(0, QColor(text(partner.warnaHeader)));
    gradient.setColorAt(1, QColor(text(index % 2 ? partner.warnaHoverBaca : partner.warnaButtonLogin)));
    p.fillRect(image.rect(), gradient);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 35));
    for (int i = 0; i < 5; ++i)
        p.drawRoundedRect(760 + i * 70, 40 + (i % 2) * 30, 50, 220 - (i % 3) * 30, 6, 6);
    p.setPen(Qt::white);
    p.setFont(sans(44, true));
    p.drawText(QRect(60, 60, 700, 140), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, text(banner.caption));
    p.setFont(sans(22));
    p.drawText(QRect(60, 210, 700, 40), Qt::AlignLeft | Qt::AlignVCenter, text(partner.nama));
    return image;
}

void paintBookMark(QPainter &p, const QRectF &box, const QColor &colour)
{
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    QPainterPath left;
    left.moveTo(box.center().x(), box.top() + box.height() * 0.15);
    left.quadTo(box.left() + box.width() * 0.25, box.top(), box.left(), box.top() + box.height() * 0.1);
    left.lineTo(box.left(), box.bottom());
    left.quadTo(box.left() + box.width() * 0.25, box.bottom() - box.height() * 0.1, box.center().x(),
                box.bottom() - box.height() * 0.02);
    left.closeSubpath();
    p.drawPath(left);
    QTransform mirror;
    mirror.translate(box.center().x() * 2, 0);
    mirror.scale(-1, 1);
    p.drawPath(mirror.map(left));
}

QImage paintLogo(const Partner &partner, bool large)
{
    const QSize size = large ? QSize(320, 200) : QSize(240, 56);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor accent(text(partner.warnaButtonLogin));
    if (large) {
        paintBookMark(p, QRectF(120, 10, 80, 70), accent);
        p.setPen(accent.darker(130));
        p.setFont(sans(36, true));
        p.drawText(QRect(0, 90, 320, 50), Qt::AlignCenter, QStringLiteral("e-Lumira"));
        p.setFont(sans(20));
        p.drawText(QRect(0, 140, 320, 40), Qt::AlignCenter, QStringLiteral("Telmarin"));
    } else {
        paintBookMark(p, QRectF(4, 8, 44, 40), Qt::white);
        p.setPen(Qt::white);
        p.setFont(sans(24, true));
        p.drawText(QRect(56, 0, 184, 56), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("e-Lumira"));
    }
    return image;
}

QImage paintIntro(const Partner &partner)
{
    QImage image(360, 360, QImage::Format_RGB32);
    image.fill(QColor(text(partner.warnaHeader)));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor colours[] = {QColor(text(partner.warnaButtonLogin)), QColor(text(partner.warnaHoverBaca)),
                              QColor(240, 235, 220), QColor(200, 170, 90)};
    for (int i = 0; i < 7; ++i) {
        p.setPen(Qt::NoPen);
        p.setBrush(colours[i % 4]);
        p.drawRoundedRect(70 + i * 32, 80 + (i % 3) * 12, 26, 200 - (i % 3) * 12, 4, 4);
    }
    p.setBrush(QColor(90, 60, 30));
    p.drawRect(50, 280, 260, 14);
    return image;
}

QImage paintInitials(const Member &member)
{
    QImage image(200, 200, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    Rng rng(seedOf("photo|" + member.id));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor::fromHsv(rng.below(360), 110, 170));
    p.drawEllipse(0, 0, 200, 200);
    QString initials;
    for (const QString &word : text(member.nama).split(QLatin1Char(' '), Qt::SkipEmptyParts))
        if (initials.size() < 2)
            initials += word.at(0).toUpper();
    p.setPen(Qt::white);
    p.setFont(sans(80, true));
    p.drawText(QRect(0, 0, 200, 200), Qt::AlignCenter, initials);
    return image;
}

} // namespace

template <typename Paint> Picture Pictures::cached(const std::string &key, Paint paint)
{
    {
        std::lock_guard lock(m_mutex);
        const auto it = m_cache.find(key);
        if (it != m_cache.end())
            return it->second;
    }
    Picture picture = paint();
    std::lock_guard lock(m_mutex);
    return m_cache.emplace(key, std::move(picture)).first->second;
}

std::optional<Picture> Pictures::cover(const std::string &name)
{
    const Book *book = m_catalogue.bookByCover(name);
    if (!book)
        return std::nullopt;
    return cached("cover/" + name, [book] { return encode(paintCover(*book), "JPG"); });
}

std::optional<Picture> Pictures::banner(const std::string &name)
{
    const auto &banners = m_catalogue.banners();
    for (size_t i = 0; i < banners.size(); ++i) {
        if (banners[i].img == name)
            return cached("banner/" + name,
                          [&, i] { return encode(paintBanner(banners[i], m_catalogue.partner(), int(i)), "JPG"); });
    }
    return std::nullopt;
}

std::optional<Picture> Pictures::logo(const std::string &name)
{
    const Partner &partner = m_catalogue.partner();
    if (name == partner.logo)
        return cached("logo/" + name, [&] { return encode(paintLogo(partner, false), "PNG"); });
    if (name == partner.logoLogin)
        return cached("logo/" + name, [&] { return encode(paintLogo(partner, true), "PNG"); });
    if (name == partner.introPicture)
        return cached("logo/" + name, [&] { return encode(paintIntro(partner), "JPG"); });
    return std::nullopt;
}

Picture Pictures::memberPhoto(const Member &member)
{
    if (!member.photoBytes.empty())
        return {member.photoBytes, member.photoType};
    return cached("photo/" + member.id, [&] { return encode(paintInitials(member), "PNG"); });
}

} // namespace demo
