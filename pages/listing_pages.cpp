// The book list pages, the category browser and the department change.
#include "pages/listing_pages.h"

#include "common/browser_view.h"
#include "pages/html.h"
#include "pages/markup_filter.h"
#include "pages/page_guard.h"
#include "pages/page_parts.h"
#include "pages/page_scripts.h"
#include "pages/page_writer.h"
#include "service/http_client.h"
#include "service/lekora_lib.h"

#include <QStringList>

namespace elumira::pages {

namespace {

// An item of a list that must hold objects.
const Json &objectItem(const Json &item, const char *list)
{
    if (!item.is_object())
        throw JsonShapeError(std::string("An item of \"") + list + "\" is not an object");
    return item;
}

QString breadcrumbItem(const QString &content)
{
    return QStringLiteral("<li class=\"breadcrumb-item\">%1</li>").arg(content);
}

QString breadcrumbLink(const QString &call, const QString &text)
{
    return QStringLiteral("<a href=\"#\" onClick=\"%1\">%2</a>").arg(call, text);
}

// The category and sub-category links of one category box, with the call written for the box's form.
QString categoryLink(const QString &function, const QString &id, const QString &id_departemen, const QString &name,
                     const QString &shownName, CategoryBoxes form)
{
    QString call = scriptCallAttribute(function, {id, "1", id_departemen, name});
    if (form == CategoryBoxes::Page)
        call += QLatin1Char(';');
    return QStringLiteral("<a href=\"javascript:void(0);\" onClick=\"%1\">%2</a>").arg(call, shownName);
}

} // namespace

QString bookListPage(BookList list, const Json &answer, const QString &Judul, const QString &serviceUrl)
{
    // The title is shown as it came, through the mark-up filter: the member picked it from a page that
    // received it so.
    const QString title = filterMarkup(Judul);
    const TileKind kind = list == BookList::HomeSection ? TileKind::HomeSection : TileKind::Category;

    PageText page;
    page << catalogueHead(QStringLiteral("Index"), QStringLiteral(".section-wrapper { margin-top: 20px; }\r\n"
                                                                  "#btnMore { margin-bottom: 30px; }"));
    page << QStringList{
        QStringLiteral("<body>"),
        overlayDiv(),
        QStringLiteral("<div class=\"section-wrapper\">"),
        QStringLiteral("<div class=\"container\">"),
        QStringLiteral("<div id=\"myBooks\">"),
        QStringLiteral("<div class=\"row\">"),
        QStringLiteral("<ol class=\"breadcrumb\">"),
        breadcrumbItem(breadcrumbLink(scriptCallAttribute(QStringLiteral("back")), QStringLiteral("Home"))),
    };
    if (list != BookList::HomeSection) {
        const QString text = list == BookList::Category ? QStringLiteral("Kategori") : QStringLiteral("Sub Kategori");
        page << breadcrumbItem(breadcrumbLink(scriptCallAttribute(QStringLiteral("backKategori")), text));
    }
    page << QStringList{
        QStringLiteral("<li class=\"breadcrumb-item active\">%1</li>").arg(title),
        QStringLiteral("</ol>"),
        QStringLiteral("</div>"),
        QStringLiteral("<div class=\"row\">"),
        QStringLiteral("<div class=\"title-section-wrap\">"),
        QStringLiteral("<h2 class=\"title-section\">%1</h2>").arg(title),
        QStringLiteral("</div>"),
        QStringLiteral("</div>"),
        QStringLiteral("<div class=\"row small-gutters multiple-items\">"),
    };
    for (const Json &item : jsonList(answer, "data"))
        page << bookTile(objectItem(item, "data"), kind, serviceUrl);
    page << QStringList{
        QStringLiteral("</div>"),
        QStringLiteral("</div>"),
        QStringLiteral("</div>"),
        QStringLiteral("</div>"),
        scriptLinks({"js/jquery.js", "js/bootstrap.min.js", "js/lazyload.min.js",
                     "plugins/slick-slider/slick/slick.min.js", "plugins/bootstrap-star-rating/js/star-rating.js"}),
        QStringLiteral("<script>"),
        tilePageScript(QStringLiteral("grid_ready")),
        QStringLiteral("</script>"),
        QStringLiteral("</body>"),
        QStringLiteral("</html>"),
    };
    return page.text();
}

bool departmentListed(const Json &department)
{
    const QString name = jsonText(department, "nama_departemen");
    return jsonInt(department, "total_kategori") >= 1 && name != QLatin1String("BUKU NON KOLEKSI") &&
           name != QLatin1String("RENCANA PENGADAAN");
}

QString categoryBoxes(const Json &department, CategoryBoxes form)
{
    const QString id_departemen = jsonText(department, "id_departemen");
    // On the page the category name is the service's mark-up (through the mark-up filter); placed by a
    // department change it is shown as typed.
    const auto categoryShown = [form](const QString &name) {
        return form == CategoryBoxes::Page ? filterMarkup(name) : htmlEscape(name);
    };

    QStringList pieces;
    for (const Json &item : jsonList(department, "data_kategori")) {
        const Json &category = objectItem(item, "data_kategori");
        const QString name = jsonText(category, "nama_kategori");
        pieces << QStringLiteral("<div class=\"col-sm-3\">") << QStringLiteral("<div class=\"category-box\">")
               << QLatin1String("<h3>") +
                      categoryLink(QStringLiteral("kategoriKonten"), jsonText(category, "id_kategori"), id_departemen,
                                   name, categoryShown(name), form) +
                      QLatin1String("</h3>")
               << QStringLiteral("<ul>");
        for (const Json &subItem : jsonList(category, "data_sub_kategori")) {
            const Json &sub = objectItem(subItem, "data_sub_kategori");
            const QString subName = jsonText(sub, "nama_sub_kategori");
            pieces << QLatin1String("<li>") +
                          categoryLink(QStringLiteral("subKategoriKonten"), jsonText(sub, "id_sub_kategori"),
                                       id_departemen, subName, htmlEscape(subName), form) +
                          QLatin1String("</li>");
        }
        pieces << QStringLiteral("</ul>") << QStringLiteral("</div>") << QStringLiteral("</div>");
    }
    return pieces.join(form == CategoryBoxes::Page ? QLatin1String(kLineBreak) : QLatin1String(""));
}

QString categoryPage(const Json &categoryJson)
{
    const Json &departments = jsonList(categoryJson, "data_departemen");

    PageText page;
    page << QStringList{
        QStringLiteral("<!DOCTYPE html>"),
        QStringLiteral("<html lang=\"en\">"),
        QStringLiteral("<head>"),
        QStringLiteral("<meta charset=\"utf-8\">"),
        QStringLiteral("<meta http-equiv=\"X-UA-Compatible\" content=\"IE=edge\">"),
        QStringLiteral("<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"),
        QStringLiteral("<title>Kategori Buku</title>"),
        QStringLiteral("<link href=\"css/bootstrap.min.css\" rel=\"stylesheet\">"),
        QStringLiteral("<link href=\"css/select2.min.css\" rel=\"stylesheet\">"),
        QStringLiteral("<link href=\"css/style.css\" rel=\"stylesheet\">"),
        styleBlock(QStringLiteral(".category-box { padding: 20px; background-color: #fff; height: 340px; "
                                  "margin-bottom: 15px; overflow-y: scroll; }")),
        QStringLiteral("</head>"),
        QStringLiteral("<body>"),
        overlayDiv(),
        QStringLiteral("<div class=\"kategori-wrapper\">"),
        QStringLiteral("<div class=\"container\">"),
        QStringLiteral("<div class=\"row\">"),
        QStringLiteral("<ol class=\"breadcrumb\">"),
        breadcrumbItem(
            breadcrumbLink(scriptCallAttribute(QStringLiteral("back")) + QLatin1Char(';'), QStringLiteral("Home"))),
        QStringLiteral("<li class=\"breadcrumb-item active\">Kategori</li>"),
        QStringLiteral("</ol>"),
        QStringLiteral("</div>"),
        QStringLiteral("<div class=\"row top-area\">"),
        QStringLiteral("<div class=\"col-sm-12\">"),
        QStringLiteral("<ul class=\"list-unstyled\">"),
        QStringLiteral("<li><p>Jenis Konten</p></li>"),
        QStringLiteral("<li class=\"col-sm-3\">"),
        QStringLiteral("<div class=\"form-group\">"),
        QStringLiteral("<select class=\"select-category\" name=\"state\">"),
    };
    for (const Json &item : departments) {
        const Json &department = objectItem(item, "data_departemen");
        if (departmentListed(department))
            // The id stands in an attribute, so it is escaped to stay one value; the name is mark-up.
            page << QStringLiteral("<option value=\"%1\">%2</option>")
                        .arg(htmlEscape(jsonText(department, "id_departemen")),
                             filterMarkup(jsonText(department, "nama_departemen")));
    }
    page << QStringList{
        QStringLiteral("</select>"),
        QStringLiteral("</div>"),
        QStringLiteral("</li>"),
        QStringLiteral("</ul>"),
        QStringLiteral("</div>"),
        QStringLiteral("</div>"),
        QStringLiteral("<div class=\"row\" id=\"categoryContainer\">"),
    };
    // The first department fills the boxes whether or not the chooser offers it.
    if (!departments.empty()) {
        const QString boxes = categoryBoxes(objectItem(departments.front(), "data_departemen"), CategoryBoxes::Page);
        if (!boxes.isEmpty())
            page << boxes;
    }
    page << QStringList{
        QStringLiteral("</div>"),
        QStringLiteral("</div>"),
        QStringLiteral("</div>"),
        scriptLinks({"js/jquery.js", "js/bootstrap.min.js", "js/lazyload.min.js",
                     "plugins/slick-slider/slick/slick.min.js", "plugins/bootstrap-star-rating/js/star-rating.js",
                     "js/select2.min.js", "js/main.js"}),
        QStringLiteral("<script>"),
        pageScript(QStringLiteral("category_chooser")),
        QStringLiteral("</script>"),
        QStringLiteral("</body>"),
        QStringLiteral("</html>"),
    };
    return page.text();
}

DeptChange deptChange(const Json &categoryJson, const QString &id_dept)
{
    DeptChange change;
    QString boxes;
    for (const Json &item : jsonList(categoryJson, "data_departemen")) {
        const Json &department = objectItem(item, "data_departemen");
        if (jsonText(department, "id_departemen") == id_dept) {
            change.found = true;
            boxes = categoryBoxes(department, CategoryBoxes::DeptChange);
            break;
        }
    }
    boxes.remove(QLatin1String(kLineBreak));
    // Every value is escaped for the script's string, so an apostrophe, a backslash or a closing script
    // tag in a name stays part of the name.
    change.fragment = jsStringContent(boxes.trimmed());
    change.script = QStringLiteral("$('#categoryContainer').html('%1');").arg(change.fragment);
    return change;
}

void renderHomeDetailHtmlFile(TLekoraLib &lib, BrowserView &view, Dialogs &dialogs, const QString &Judul)
{
    runGuarded(dialogs, kHomeDetailFailure, [&] {
        const Json &answer = requireAnswer(lib.HomeDetailJson(), "FHomeDetailJson");
        writeAndLoadPage(lib.DataPath(), QLatin1String(kHomeDetailPageFile),
                         bookListPage(BookList::HomeSection, answer, Judul, serviceUrl()), view);
    });
}

void renderCategoryHtmlFile(TLekoraLib &lib, BrowserView &view, Dialogs &dialogs)
{
    runGuarded(dialogs, kCategoryFailure, [&] {
        const Json &answer = requireAnswer(lib.CategoryJson(), "FCategoryJson");
        writeAndLoadPage(lib.DataPath(), QLatin1String(kCategoryPageFile), categoryPage(answer), view);
    });
}

void renderCategoryContent(TLekoraLib &lib, BrowserView &view, Dialogs &dialogs, const QString &Nama)
{
    runGuarded(dialogs, kCategoryContentFailure, [&] {
        const Json &answer = requireAnswer(lib.CategoryContentJson(), "FCategoryContentJson");
        writeAndLoadPage(lib.DataPath(), QLatin1String(kCategoryDetailPageFile),
                         bookListPage(BookList::Category, answer, Nama, serviceUrl()), view);
    });
}

void renderSubCategoryContent(TLekoraLib &lib, BrowserView &view, Dialogs &dialogs, const QString &Nama)
{
    runGuarded(dialogs, kSubCategoryContentFailure, [&] {
        const Json &answer = requireAnswer(lib.SubCategoryContentJson(), "FSubCategoryContentJson");
        writeAndLoadPage(lib.DataPath(), QLatin1String(kSubCategoryDetailPageFile),
                         bookListPage(BookList::SubCategory, answer, Nama, serviceUrl()), view);
    });
}

void renderDept(TLekoraLib &lib, BrowserView &view, Dialogs &dialogs, const QString &id_dept)
{
    runGuarded(dialogs, kDeptFailure, [&] {
        const DeptChange change = deptChange(requireAnswer(lib.CategoryJson(), "FCategoryJson"), id_dept);
        // dept.html keeps the fragment as it went into the script; nothing reads it back.
        if (change.found)
            writePageFile(pagePath(lib.DataPath(), QLatin1String(kDeptFile)),
                          change.fragment + QLatin1String(kLineBreak));
        view.runScript(change.script);
    });
}

} // namespace elumira::pages
