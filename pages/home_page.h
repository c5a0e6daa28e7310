// The home page: header bar, banners, the chart and category tabs, the home sections and the more button;
// written whole for the first page of home content and grown at its marker line for every further page.
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

// The line of index.html before which each further page of home sections is placed.
inline constexpr char kHomeMarker[] = "<!--KONTEN-->";

// The intro counter: one value for the whole run, 1 until the first home page has been written, then 2.
// The page opens the partner's intro window only when it was written while the counter stood at 1.
int introCounter();
// Puts the counter back to 1, as at the start of the run.
void resetIntroCounterForTests();

// The line of the page's script that runs readyFunctionScript with the counter's value.
QString homeReadyCall(int counter);

// One banner of the banner area on one line; it calls app.openBanner only when its url_link is a real
// address (present, not null, not empty and not "#").
QString homeBanner(const Json &banner, const QString &serviceUrl);

// The pieces of all home sections of an answer of home content, in order: for each section its title bar
// with the "Lihat Semua" link, then its grid of book tiles on one line. Throws JsonShapeError when data,
// a section or its rows have the wrong kind.
QStringList homeSectionPieces(const Json &homeContentJson, const QString &serviceUrl);

// The whole of index.html, from the partner configuration, the banners and the first page of home content.
// counter is the intro counter's value at the time of writing.
QString homePage(const Json &clientJson, const Json &bannerJson, const Json &homeContentJson, const QString &serviceUrl,
                 int counter);

// The sections of a further page of home content as one line: the pieces without line breaks between
// them, trimmed, with every CR LF pair removed.
QString homeAppendMarkup(const Json &homeContentJson, const QString &serviceUrl);

// The script that places the same further sections into the home page shown, before its marker, and sets them
// up like the first ones (the page's appendHomeSections).
QString homeAppendScript(const QString &markup);

// index.html's text with the further sections placed before the marker line (the marker stays, last), and
// the ready call for 1 turned into the ready call for 2 so that the reloaded page does not open the intro
// window again. Lines end in CR LF. A text without the marker line takes no sections.
QString appendHomeSections(const QString &fileText, const QString &markup);

// With Page 1 writes index.html whole and loads it into the view; with any other Page appends the current
// home content to index.html and places the same sections into the page the view shows (that file) without
// reloading it. A failure shows
// "Error Exception #798: " and its message.
void renderHomeHtmlFile(TLekoraLib &lib, BrowserView &view, Dialogs &dialogs, int Page);

} // namespace elumira::pages
