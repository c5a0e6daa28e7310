// Style rules of the catalogue pages.
#include "pages/style_rules.h"

#include "pages/page_writer.h"

#include <QStringList>

namespace elumira::pages {

namespace {

QString colour(const Json &partner, const char *field)
{
    return jsonText(partner, field);
}

QString lines(const QStringList &rules)
{
    return rules.join(QLatin1String(kLineBreak));
}

} // namespace

const Json &partnerData(const Json &clientJson)
{
    return jsonObject(clientJson, "data");
}

QString partnerColourRules(const Json &partner)
{
    const QString header = colour(partner, "warna_header");
    const QString accent = colour(partner, "warna_button_login");
    const QString hover = colour(partner, "warna_hover_button_login");
    return lines({
        QStringLiteral(".navbar-default { background-color: %1; }").arg(header),
        QStringLiteral(".search-area .btn-filter:hover, .search-area .btn-filter:focus { color: %1; }").arg(accent),
        QStringLiteral("#header .login-inner ul li .list-item:hover { border-left: 4px solid %1; color: %1; }")
            .arg(accent),
        QStringLiteral(".main-banners .menu-item-inner:hover { color: %1; border: 1px solid %1; }").arg(accent),
        QStringLiteral(".tabs-category .nav-tabs>li.active { background-color: %1; }").arg(accent),
        QStringLiteral(".tabs-category .nav-tabs>li:hover { background-color: %1; }").arg(hover),
        QStringLiteral(".list-item-category:hover { color: %1; border: 1px solid %1; }").arg(accent),
    });
}

QString moreButtonRules(const Json &partner)
{
    const QString accent = colour(partner, "warna_button_login");
    return lines({
        QStringLiteral(".btn-more { margin-bottom: 30px; background-color: %1; border-color: %1; }").arg(accent),
        QStringLiteral(".btn-more:hover { background-color: %1; opacity: 0.5; border-color: %1; }").arg(accent),
    });
}

QString readButtonRules(const Json &partner)
{
    const QString read = colour(partner, "warna_hover_baca");
    return lines({
        QStringLiteral(".btn-baca { background-color: %1; }").arg(read),
        QStringLiteral(".btn-baca:hover { opacity: 0.5; background-color: %1; }").arg(read),
    });
}

QString chartListRules()
{
    return lines({
        QStringLiteral(".title-books { margin-top: 0; margin-bottom: 5px; font-size: 16px; font-weight: 700; "
                       "color: #333333; white-space: nowrap; overflow: hidden; text-overflow: ellipsis; }"),
        QStringLiteral(".author { margin-top: 0; margin-bottom: 5px; font-size: 14px; font-weight: 700; "
                       "color: #959595; }"),
        QStringLiteral(".txt16 { font-size: 16px; }"),
        QStringLiteral(".list-chart { padding: 0 15px; border: 1px solid #ccc; background-color: #fff; }"),
        QStringLiteral(".list-chart-row { padding: 15px 0; border-bottom: 1px solid #ccc; }"),
        QStringLiteral(".list-chart-row:last-child { border-bottom: none; }"),
        QStringLiteral(".middle-section { border-right: 1px solid #ccc; }"),
        QStringLiteral("#btnMore { margin-bottom: 20px; }"),
    });
}

} // namespace elumira::pages
