// Pieces shared by the catalogue pages.
#include "pages/page_parts.h"

#include "pages/html.h"
#include "pages/markup_filter.h"
#include "pages/page_writer.h"

#include <QStringList>
#include <QUrl>

namespace elumira::pages {

QString picturePath(PictureFolder folder)
{
    switch (folder) {
    case PictureFolder::Logo:
        return QStringLiteral("/prod/img/logo/");
    case PictureFolder::Banner:
        return QStringLiteral("/prod/img/banner/");
    case PictureFolder::Cover:
        return QStringLiteral("/prod/img/cover/");
    }
    return {};
}

QString pictureUrl(const QString &serviceUrl, PictureFolder folder, const QString &fileName)
{
    // Only the host part of the service URL counts: the picture folders lie at the root of the host.
    const QUrl service(serviceUrl);
    const QString origin =
        service.adjusted(QUrl::RemoveUserInfo | QUrl::RemovePath | QUrl::RemoveQuery | QUrl::RemoveFragment).toString();
    return origin + picturePath(folder) + fileName;
}

QString lazyImage(const QString &placeholder, const QString &url, const QString &alt, const QString &classes,
                  const QString &onClick)
{
    QString image = QStringLiteral("<img src=\"%1\" data-src=\"%2\" alt=\"%3\" class=\"%4\"")
                        .arg(placeholder, htmlEscape(url), alt, classes);
    if (!onClick.isEmpty())
        image += QStringLiteral(" onClick=\"%1\"").arg(onClick);
    image += QLatin1Char('>');
    return image;
}

QString ratingStars(const QString &rating, const QString &id)
{
    QString input = QStringLiteral("<input");
    if (!id.isEmpty())
        input += QStringLiteral(" id=\"%1\"").arg(id);
    input += QStringLiteral(" class=\"rating-detail\" type=\"number\" min=\"0\" max=\"5\" step=\"1\" data-size=\"sm\""
                            " value=\"%1\">")
                 .arg(htmlEscape(rating));
    return input;
}

QString tileDetailFunction(TileKind kind)
{
    switch (kind) {
    case TileKind::Home:
        return QStringLiteral("detail");
    case TileKind::HomeSection:
        return QStringLiteral("detailFromSection");
    case TileKind::Category:
        return QStringLiteral("detailFromCategory");
    case TileKind::Search:
        return QStringLiteral("detailFromSearch");
    }
    return {};
}

QString bookTile(const Json &item, TileKind kind, const QString &serviceUrl)
{
    const bool escaped = kind == TileKind::Home || kind == TileKind::Search;
    const auto shown = [&](const char *field) {
        const QString value = jsonText(item, field);
        return escaped ? htmlEscape(value) : filterMarkup(value);
    };

    QString tile;
    tile += QLatin1String(R"(<div class="col-md-2 col-sm-2 col-xs-12 list-item-wrap"><div class="list-item">)");
    tile += QStringLiteral("<a href=\"javascript:void(0);\" onClick=\"%1\">")
                .arg(scriptCallAttribute(tileDetailFunction(kind), {jsonText(item, "id_konten")}));
    tile +=
        lazyImage(QLatin1String(kCoverPlaceholder), pictureUrl(serviceUrl, PictureFolder::Cover, jsonText(item, "img")),
                  QStringLiteral("book"), QStringLiteral("img-responsive center-block img-books lazyload"));
    tile += QLatin1String("<div class=\"describe-wrap\">");
    tile += QLatin1String("<h3 class=\"title-books\">") + shown("judul") + QLatin1String("</h3>");
    tile += QLatin1String("<h4 class=\"author\">") + shown("penulis") + QLatin1String("</h4>");
    tile += QLatin1String("<h4 class=\"author\">Stok : ") + filterMarkup(jsonText(item, "stok")) + QLatin1Char('/') +
            filterMarkup(jsonText(item, "qty")) + QLatin1String("</h4>");
    tile += ratingStars(jsonText(item, "nilai_rate"));
    tile += QLatin1String("</div></a></div></div>");
    return tile;
}

QString overlayDiv()
{
    return QStringLiteral("<div id=\"overlay\"></div>");
}

QString catalogueHeadStart(const QString &title, HeadLinks links)
{
    QStringList lines = {
        QStringLiteral("<!DOCTYPE html>"),
        QStringLiteral("<html lang=\"en\">"),
        QStringLiteral("<head>"),
        QStringLiteral("<meta charset=\"utf-8\">"),
        QStringLiteral("<meta http-equiv=\"X-UA-Compatible\" content=\"IE=edge\">"),
        QStringLiteral("<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"),
        QStringLiteral("<title>%1</title>").arg(title),
        QStringLiteral("<link href=\"css/bootstrap.min.css\" rel=\"stylesheet\">"),
    };
    if (links == HeadLinks::Catalogue) {
        lines << QStringLiteral("<link href=\"plugins/slick-slider/slick/slick-theme.css\" rel=\"stylesheet\">")
              << QStringLiteral("<link href=\"plugins/slick-slider/slick/slick.css\" rel=\"stylesheet\">")
              << QStringLiteral("<link href=\"plugins/bootstrap-star-rating/css/star-rating.css\" rel=\"stylesheet\">");
    }
    lines << QStringLiteral("<link href=\"css/style.css\" rel=\"stylesheet\">");
    return lines.join(QLatin1String(kLineBreak));
}

QString styleBlock(const QString &rules)
{
    return QLatin1String("<style>") + QLatin1String(kLineBreak) + rules + QLatin1String(kLineBreak) +
           QLatin1String("</style>");
}

QString catalogueHead(const QString &title, const QString &styleRules)
{
    return catalogueHeadStart(title) + QLatin1String(kLineBreak) + styleBlock(styleRules) + QLatin1String(kLineBreak) +
           QLatin1String("</head>");
}

QString scriptLinks(std::initializer_list<const char *> files)
{
    QStringList lines;
    for (const char *file : files)
        lines << QStringLiteral("<script src=\"%1\"></script>").arg(QLatin1String(file));
    return lines.join(QLatin1String(kLineBreak));
}

} // namespace elumira::pages
