// Pieces shared by the catalogue pages: service pictures, lazy images, rating stars, book tiles, the page head.
#pragma once

#include "common/json_read.h"

#include <QString>

#include <initializer_list>

namespace elumira::pages {

// The service folders pictures are fetched from.
enum class PictureFolder { Logo, Banner, Cover };

// The path before a picture's file name, for example "/prod/img/logo/".
QString picturePath(PictureFolder folder);

// The URL of a picture on the service: the service URL's scheme, host and port, the folder's path and the
// file name as received. A missing file name gives the URL of the folder.
QString pictureUrl(const QString &serviceUrl, PictureFolder folder, const QString &fileName);

// Placeholders standing in for lazy pictures until they are loaded.
inline constexpr char kCoverPlaceholder[] = "img/loading.jpg";
inline constexpr char kBannerPlaceholder[] = "img/loading-banner.jpg";

// A lazy image on one line: the placeholder in src, the real URL in data-src, and the classes, which should
// hold "lazyload". onClick, when not empty, is attribute-ready script text (see scriptCallAttribute).
QString lazyImage(const QString &placeholder, const QString &url, const QString &alt, const QString &classes,
                  const QString &onClick = QString());

// The number input that the pages' scripts turn into read-only rating stars, with an optional id.
QString ratingStars(const QString &rating, const QString &id = QString());

// The pages that show book tiles; each calls its own detail function, and some escape the title and author.
enum class TileKind {
    Home,        // app.detail, title and author escaped
    HomeSection, // app.detailFromSection, as received
    Category,    // app.detailFromCategory, as received (category and sub-category books)
    Search,      // app.detailFromSearch, escaped
};

// The detail function a tile of the kind calls, for example "detailFromSearch".
QString tileDetailFunction(TileKind kind);

// One book tile on one line, from an item with id_konten, img, judul, penulis, stok, qty and nilai_rate.
QString bookTile(const Json &item, TileKind kind, const QString &serviceUrl);

// The empty div the account menu dims the page with.
QString overlayDiv();

// Which style sheets a page head links.
enum class HeadLinks {
    Catalogue,       // Bootstrap, the slick carousel's two sheets, the star rating and the program's sheet
    BootstrapAndOwn, // Bootstrap and the program's sheet only
};

// The start of a catalogue page, from the document type to the last style-sheet link; the head stays open.
QString catalogueHeadStart(const QString &title, HeadLinks links = HeadLinks::Catalogue);

// A style element holding the rules, each on its own line.
QString styleBlock(const QString &rules);

// The head of a catalogue page: its start, the page's style block and the end of the head.
QString catalogueHead(const QString &title, const QString &styleRules);

// The script elements of the files, one per line, in order.
QString scriptLinks(std::initializer_list<const char *> files);

} // namespace elumira::pages
