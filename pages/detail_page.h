// The book detail page: the way back to where the book was chosen, the book's data, synopsis, cover and
// the read button.
#pragma once

#include "common/json_read.h"

#include <QString>

namespace elumira {
class BrowserView;
class Dialogs;
class TLekoraLib;
} // namespace elumira

namespace elumira::pages {

// The breadcrumb of the detail page for From, as list items on one line: the links back ("Home" and the
// list the book was chosen from), then the book's title. Any From but "home", "homeSection", "category",
// "chart" and "search" (letter case included) gives no items at all.
QString detailBreadcrumbItems(const QString &From, const QString &judul);

// The whole of detail.html from the partner configuration and the detail answer FDetailContentJson. Throws
// JsonShapeError when the configuration's or the answer's data is not an object.
QString detailPage(const Json &clientJson, const Json &detailJson, const QString &From);

// Writes detail.html and loads it into the view. A failure shows "Error Exception #2764 : " and its message.
void renderDetailContent(TLekoraLib &lib, BrowserView &view, Dialogs &dialogs, const QString &From);

} // namespace elumira::pages
