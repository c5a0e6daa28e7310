// The listing pages: all books of a home section, of a category or of a sub-category, and the category
// browser with its department chooser, whose category boxes a department change replaces in place.
#pragma once

#include "common/json_read.h"

#include <QString>

namespace elumira {
class BrowserView;
class Dialogs;
class TLekoraLib;
} // namespace elumira

namespace elumira::pages {

// The three pages that list every book of one answer under a breadcrumb.
enum class BookList {
    HomeSection, // index_detail.html, tiles call app.detailFromSection
    Category,    // category_detail.html, breadcrumb "Kategori", tiles call app.detailFromCategory
    SubCategory, // subCategoryDetail.html, breadcrumb "Sub Kategori", tiles call app.detailFromCategory
};

// A book list page from its answer (list data of book-tile items). Judul is the section's or category's
// name as received, shown as mark-up through the mark-up filter. Throws JsonShapeError when data or an item
// has the wrong kind.
QString bookListPage(BookList list, const Json &answer, const QString &Judul, const QString &serviceUrl);

// Whether the department chooser offers a department: not when it has no categories, and not the two
// departments that hold no loanable books.
bool departmentListed(const Json &department);

// How a department's category boxes are written.
enum class CategoryBoxes {
    Page,       // in category.html: one piece per line, the category name as received, calls ending in ';'
    DeptChange, // for a department change: no line breaks, the category name escaped, calls without ';'
};

// The category boxes of one department, one per category of its data_kategori, each with the links of its
// sub-categories.
QString categoryBoxes(const Json &department, CategoryBoxes form);

// The whole of category.html from the category answer: the chooser with the listed departments and the
// category boxes of the first department, whichever it is.
QString categoryPage(const Json &categoryJson);

// What a department change does.
struct DeptChange
{
    bool found = false;
    // The new content of #categoryContainer as it stands in the script's string, on one line; empty when
    // no department has the id.
    QString fragment;
    // The one-line script that replaces the content of #categoryContainer.
    QString script;
};

// The department change for id_dept, matched exactly against id_departemen.
DeptChange deptChange(const Json &categoryJson, const QString &id_dept);

// Write a page from the answer held by the client and load it into the view; a failure shows the page's
// prefix and its message, and nothing is loaded.
void renderHomeDetailHtmlFile(TLekoraLib &lib, BrowserView &view, Dialogs &dialogs, const QString &Judul);
void renderCategoryHtmlFile(TLekoraLib &lib, BrowserView &view, Dialogs &dialogs);
void renderCategoryContent(TLekoraLib &lib, BrowserView &view, Dialogs &dialogs, const QString &Nama);
void renderSubCategoryContent(TLekoraLib &lib, BrowserView &view, Dialogs &dialogs, const QString &Nama);

// Replaces the category boxes of the category browser the view shows with those of the department id_dept,
// and writes them to dept.html. An unknown id empties the boxes and writes no file.
void renderDept(TLekoraLib &lib, BrowserView &view, Dialogs &dialogs, const QString &id_dept);

} // namespace elumira::pages
