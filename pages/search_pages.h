// The search result pages: books found by field as tiles, and places in books found by sentence as rows;
// both paged by numbered links, ten hits to a page.
#pragma once

#include "common/json_read.h"

#include <QString>
#include <QStringList>

namespace elumira {
class BrowserView;
class Dialogs;
class TLekoraLib;
} // namespace elumira

namespace elumira::pages {

// The field the sentence page's links send to app.searchResult.
inline constexpr char kSentenceField[] = "Kalimat";

// The number of pages of hits: total_rows divided by 10, rounded up; none for 0 or less.
int searchPageCount(long long totalRows);
// The most page links a result page offers (100,000 hits).
inline constexpr int kMaxSearchPages = 10000;

// The page links of a search, one li per line for pages 1 to the page count of the answer's total_rows: the
// page shown is the active item without a call, every other page calls app.searchResult with the keyword,
// the field and its number.
QStringList searchPageLinks(const Json &searchJson, const QString &keyword, const QString &field, int page);

// One hit of a sentence search on one line: cover, title calling app.detailFromSearch, page label, the text
// found (as mark-up) and the read button calling app.bacaKalimat with the book and the page's index.
QString sentenceHitRow(const Json &hit, const QString &serviceUrl);

// The whole of search_result.html for page `Page` of a search for Keyword in Field. Throws JsonShapeError
// when the configuration's data, the answer's data or one of its hits has the wrong kind.
QString searchResultPage(const Json &clientJson, const Json &searchJson, int Page, const QString &Keyword,
                         const QString &Field, const QString &serviceUrl);

// The whole of search_kalimat_result.html for page `page` of a sentence search for keyword.
QString searchKalimatResultPage(const Json &clientJson, const Json &searchJson, int page, const QString &keyword,
                                const QString &serviceUrl);

// Write search_result.html or search_kalimat_result.html from the current search answer and load it into the
// view. A failure shows "Error Exception #3216 : " or "Error Exception #3391 : " and its message.
void renderSearchResult(TLekoraLib &lib, BrowserView &view, Dialogs &dialogs, int Page, const QString &Keyword,
                        const QString &Field);
void renderSearchKalimatResult(TLekoraLib &lib, BrowserView &view, Dialogs &dialogs, int page, const QString &keyword);

} // namespace elumira::pages
