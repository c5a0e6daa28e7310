// The chart pages (most read, last read, last viewed): one layout in topChart.html, written whole for the
// first chart page and grown at its marker line for every further one.
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

// The three charts that share the page.
enum class ChartKind {
    TopRead,  // "Banyak Dibaca": rating stars, coloured read and more buttons
    LastRead, // "Terakhir Dibaca"
    LastView, // "Terakhir Dilihat"
};

// How a chart row or more link is written: in the whole page, or in a block added to it later.
enum class ChartWrite { Full, Append };

// The line of topChart.html before which each further page of rows is placed.
inline constexpr char kChartMarker[] = "<!--LAST-->";

// The scripts run in the chart's view to hide and to show the more button.
inline constexpr char kHideMoreScript[] = "$(\"#btnMore\").hide();";
inline constexpr char kShowMoreScript[] = "$(\"#btnMore\").show();";

// The name shown as the chart's breadcrumb, for example "Banyak Dibaca".
QString chartName(ChartKind kind);

// The app function the chart's more link calls, for example "loadMoreChart".
QString chartMoreFunction(ChartKind kind);

// The pieces of one chart row from a book of the chart answer. In an appended row the publisher and the
// ISBN are escaped and the read button of the most-read chart loses its colour class.
QStringList chartRowPieces(const Json &book, ChartKind kind, ChartWrite write, const QString &serviceUrl);

// The more link asking for chart page nextPage, on one line.
QString chartMoreLink(ChartKind kind, int nextPage, ChartWrite write);

// The whole of topChart.html for chart page `page`, from the partner configuration and the chart answer.
// Throws JsonShapeError when the configuration's data, the answer's data or one of its books has the wrong
// kind.
QString chartPage(const Json &clientJson, const Json &chartJson, ChartKind kind, int page, const QString &serviceUrl);

// The rows of a further chart page as one line (each row's pieces without line breaks between them), then a
// line break and the marker, ready to stand in the marker's place.
QString chartAppendText(const Json &chartJson, ChartKind kind, const QString &serviceUrl);

// The lines of topChart.html after adding a further chart page: the marker line becomes appendText (the new
// rows before a new marker) and the chart's more link asks for page + 1. A text without the marker takes no
// rows; its more link is renewed all the same.
QStringList appendChartRows(const QStringList &lines, const QString &appendText, ChartKind kind, int page);

// With Page 1 writes topChart.html whole and loads it into the view. With any other Page: when the chart
// answer's total is 0 the view's more button is hidden and the file is left alone; otherwise the rows are
// added to topChart.html, the view (which shows that file) reloads and its more button is shown. A failure
// shows the chart's message prefix and the failure's message.
void renderTopChart(TLekoraLib &lib, BrowserView &view, Dialogs &dialogs, int Page);
void renderLastRead(TLekoraLib &lib, BrowserView &view, Dialogs &dialogs, int Page);
void renderLastView(TLekoraLib &lib, BrowserView &view, Dialogs &dialogs, int Page);

} // namespace elumira::pages
