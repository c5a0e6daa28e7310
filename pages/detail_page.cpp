// The book detail page.
#include "pages/detail_page.h"

#include "pages/html.h"
#include "pages/markup_filter.h"
#include "pages/page_guard.h"
#include "pages/page_parts.h"
#include "pages/page_writer.h"
#include "pages/style_rules.h"
#include "service/lekora_lib.h"

#include <QStringList>

#include <array>

namespace elumira::pages {

namespace {

// Where a member can have come from, and the link back to that list that follows "Home" (none from home).
struct Origin
{
    const char *from;
    const char *text;
    const char *function;
};

constexpr std::array<Origin, 5> kOrigins = {{
    {"home", nullptr, nullptr},
    {"homeSection", "Section", "backToSection"},
    {"category", "Kategori", "backToCategory"},
    {"chart", "History", "backToChart"},
    {"search", "Pencarian", "backToSearch"},
}};

QString breadcrumbLink(const QString &text, const QString &function)
{
    return QStringLiteral("<li class=\"breadcrumb-item\"><a href=\"#\" onClick=\"%1\">%2</a></li>")
        .arg(scriptCallAttribute(function), text);
}

// One row of the book's data table.
QString dataRow(const QString &label, const QString &value)
{
    return QStringLiteral("<tr><td class=\"col-sm-3\">%1</td><td class=\"col-sm-9\"><span>:</span> %2</td></tr>")
        .arg(label, value);
}

} // namespace

QString detailBreadcrumbItems(const QString &From, const QString &judul)
{
    for (const Origin &origin : kOrigins) {
        if (From != QLatin1String(origin.from))
            continue;
        QString items = breadcrumbLink(QStringLiteral("Home"), QStringLiteral("back"));
        if (origin.text)
            items += breadcrumbLink(QLatin1String(origin.text), QLatin1String(origin.function));
        // The title is shown as received, through the mark-up filter.
        return items + QStringLiteral("<li class=\"breadcrumb-item active\">%1</li>").arg(judul);
    }
    return {};
}

QString detailPage(const Json &clientJson, const Json &detailJson, const QString &From)
{
    const Json &partner = partnerData(clientJson);
    const Json &book = jsonObject(detailJson, "data");
    const QString read = partnerColour(partner, "warna_hover_baca");
    // The book's values are shown as received, through the mark-up filter: the service sends mark-up in them
    // on purpose, but nothing that runs or loads may reach the page.
    const auto field = [&book](const char *name) { return filterMarkup(jsonText(book, name)); };

    PageText text;
    text << catalogueHeadStart(QStringLiteral("Detail Buku"), HeadLinks::BootstrapAndOwn) << "</head>"
         << styleBlock(QStringList{
                QStringLiteral(".btn-baca { background-color: %1; border-color: %1; }").arg(read),
                QStringLiteral(".btn-baca:hover { opacity: 0.5; background-color: %1; border-color: %1; }").arg(read),
            }
                           .join(QLatin1String(kLineBreak)));

    text << QStringList{
        QStringLiteral("<body>"),
        overlayDiv(),
        QStringLiteral("<div class=\"detail-book-wrapper\">"),
        QStringLiteral("<div class=\"container\">"),
        QStringLiteral("<div class=\"row\">"),
        QStringLiteral("<ol class=\"breadcrumb\">%1</ol>").arg(detailBreadcrumbItems(From, field("judul"))),
        QStringLiteral("</div>"),
        QStringLiteral("<div class=\"row\">"),
        QStringLiteral("<div class=\"col-sm-7 col-sm-offset-1\">"),
        QStringLiteral("<h2 class=\"mb30\">Detail Buku</h2>"),
        QStringLiteral("<div class=\"row\">"),
        QStringLiteral("<div class=\"col-sm-12\">"),
        QStringLiteral("<table class=\"table table-striped\">"),
        QStringLiteral("<tbody>"),
        dataRow(QStringLiteral("Judul"), field("judul")),
        dataRow(QStringLiteral("Tahun Terbit"), field("tahun_terbit")),
        dataRow(QStringLiteral("Penulis"), field("penulis")),
        dataRow(QStringLiteral("Penerbit"), field("penerbit")),
        dataRow(QStringLiteral("ISBN"), field("isbn")),
        dataRow(QStringLiteral("Kategori"), field("kategori")),
        dataRow(QStringLiteral("Stok"), field("stok") + QLatin1Char('/') + field("qty")),
        QStringLiteral("</tbody>"),
        QStringLiteral("</table>"),
        QStringLiteral("</div>"),
        QStringLiteral("</div>"),
        QStringLiteral("<div class=\"description\">"),
        QStringLiteral("<h3>Sinopsis</h3>"),
        QStringLiteral("<div class=\"desc-detail\">%1</div>").arg(field("sinopsis")),
        QStringLiteral("</div>"),
        QStringLiteral("</div>"),
        QStringLiteral("<div class=\"col-sm-3 border-left\">"),
        QStringLiteral("<div class=\"image-wrapper\">%1</div>")
            .arg(lazyImage(QLatin1String(kCoverPlaceholder), webPictureAddress(jsonText(book, "cover_file")),
                           QStringLiteral("book"),
                           QStringLiteral("img-responsive center-block img-books lazyload"))),
        QStringLiteral("<button type=\"button\" class=\"btn btn-success btn-block btn-baca\" onClick=\"%1\">BACA"
                       "</button>")
            .arg(scriptCallAttribute(QStringLiteral("baca"), {jsonText(book, "id")})),
        QStringLiteral("</div>"),
        QStringLiteral("</div>"),
        QStringLiteral("</div>"),
        QStringLiteral("</div>"),
    };

    text << QStringList{
        scriptLinks({"js/jquery.js", "js/bootstrap.min.js", "js/lazyload.min.js",
                     "plugins/slick-slider/slick/slick.min.js", "plugins/bootstrap-star-rating/js/star-rating.js",
                     "js/main.js"}),
        QStringLiteral("</body>"),
        QStringLiteral("</html>"),
    };
    return text.text();
}

void renderDetailContent(TLekoraLib &lib, BrowserView &view, Dialogs &dialogs, const QString &From)
{
    runGuarded(dialogs, kDetailContentFailure, [&] {
        const Json &clientJson = requireAnswer(lib.ClientJson(), "FClientJson");
        const Json &detailJson = requireAnswer(lib.DetailContentJson(), "FDetailContentJson");
        writeAndLoadPage(lib.DataPath(), QLatin1String(kDetailPageFile), detailPage(clientJson, detailJson, From),
                         view);
    });
}

} // namespace elumira::pages
