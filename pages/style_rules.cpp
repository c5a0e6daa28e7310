// Style rules of the catalogue pages.
#include "pages/style_rules.h"

#include "pages/page_writer.h"

#include <QRegularExpression>
#include <QStringList>

namespace elumira::pages {

namespace {

QString colour(const Json &partner, const char *field)
{
    return partnerColour(partner, field);
}

// The colour keywords of CSS, in lower case.
constexpr const char *kColourKeywords[] = {
    "aliceblue",     "antiquewhite",   "aqua",          "aquamarine",      "azure",          "beige",
    "bisque",        "black",          "blanchedalmond", "blue",           "blueviolet",     "brown",
    "burlywood",     "cadetblue",      "chartreuse",    "chocolate",       "coral",          "cornflowerblue",
    "cornsilk",      "crimson",        "cyan",          "darkblue",        "darkcyan",       "darkgoldenrod",
    "darkgray",      "darkgreen",      "darkgrey",      "darkkhaki",       "darkmagenta",    "darkolivegreen",
    "darkorange",    "darkorchid",     "darkred",       "darksalmon",      "darkseagreen",   "darkslateblue",
    "darkslategray", "darkslategrey",  "darkturquoise", "darkviolet",      "deeppink",       "deepskyblue",
    "dimgray",       "dimgrey",        "dodgerblue",    "firebrick",       "floralwhite",    "forestgreen",
    "fuchsia",       "gainsboro",      "ghostwhite",    "gold",            "goldenrod",      "gray",
    "green",         "greenyellow",    "grey",          "honeydew",        "hotpink",        "indianred",
    "indigo",        "ivory",          "khaki",         "lavender",        "lavenderblush",  "lawngreen",
    "lemonchiffon",  "lightblue",      "lightcoral",    "lightcyan",       "lightgoldenrodyellow", "lightgray",
    "lightgreen",    "lightgrey",      "lightpink",     "lightsalmon",     "lightseagreen",  "lightskyblue",
    "lightslategray", "lightslategrey", "lightsteelblue", "lightyellow",    "lime",           "limegreen",
    "linen",         "magenta",        "maroon",        "mediumaquamarine", "mediumblue",    "mediumorchid",
    "mediumpurple",  "mediumseagreen", "mediumslateblue", "mediumspringgreen", "mediumturquoise", "mediumvioletred",
    "midnightblue",  "mintcream",      "mistyrose",     "moccasin",        "navajowhite",    "navy",
    "oldlace",       "olive",          "olivedrab",     "orange",          "orangered",      "orchid",
    "palegoldenrod", "palegreen",      "paleturquoise", "palevioletred",   "papayawhip",     "peachpuff",
    "peru",          "pink",           "plum",          "powderblue",      "purple",         "rebeccapurple",
    "red",           "rosybrown",      "royalblue",     "saddlebrown",     "salmon",         "sandybrown",
    "seagreen",      "seashell",       "sienna",        "silver",          "skyblue",        "slateblue",
    "slategray",     "slategrey",      "snow",          "springgreen",     "steelblue",      "tan",
    "teal",          "thistle",        "tomato",        "turquoise",       "violet",         "wheat",
    "white",         "whitesmoke",     "yellow",        "yellowgreen",     "transparent",    "currentcolor",
};

QString lines(const QStringList &rules)
{
    return rules.join(QLatin1String(kLineBreak));
}

} // namespace

QString cssColour(const QString &value)
{
    // The whole value must match: nothing may follow the colour that could end the rule or the style block.
    static const QRegularExpression hex(QStringLiteral("^#(?:[0-9a-fA-F]{3}|[0-9a-fA-F]{6})\\z"));
    static const QRegularExpression function(
        QStringLiteral("^rgba?\\(\\s*"
        "(?:(?:\\d{1,3}(?:\\.\\d+)?%?\\s*,\\s*){2}\\d{1,3}(?:\\.\\d+)?%?(?:\\s*,\\s*(?:\\d*\\.)?\\d+%?)?"
        "|(?:\\d{1,3}(?:\\.\\d+)?%?\\s+){2}\\d{1,3}(?:\\.\\d+)?%?(?:\\s*/\\s*(?:\\d*\\.)?\\d+%?)?)"
        "\\s*\\)\\z"),
        QRegularExpression::CaseInsensitiveOption);
    if (hex.match(value).hasMatch() || function.match(value).hasMatch())
        return value;
    const QString keyword = value.toLower();
    for (const char *name : kColourKeywords) {
        if (keyword == QLatin1String(name))
            return value;
    }
    return {};
}

QString partnerColour(const Json &partner, const char *field)
{
    return cssColour(jsonText(partner, field));
}

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
