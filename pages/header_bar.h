// The page header bar of the home, chart and search pages, and the script that sends its searches.
#pragma once

#include "common/json_read.h"

#include <QString>

namespace elumira::pages {

// The forms of the header bar.
enum class HeaderForm {
    Home,                 // input named "keyword", label "Semua", the home page's menu order
    ChartsAndFieldSearch, // input named "x", the hidden search_param, label "Semua", "Semua" first in the menu
    SentenceSearch,       // as ChartsAndFieldSearch, but the label shows "Kalimat"
};

// The header element, from the partner configuration's data (for the logo). keyword fills the search input
// of the chart and search forms, HTML-escaped; the home form's input has no value.
QString headerBar(const Json &partner, const QString &serviceUrl, HeaderForm form, const QString &keyword = QString());

// The script text that sends a submitted header search to app.searching with the keyword and the label of
// the chosen field; part of the inline script at the end of every page with the header bar.
QString headerSearchScript();

} // namespace elumira::pages
