// Style rules of the catalogue pages in the partner library's colours, and the fixed rule groups.
#pragma once

#include "common/json_read.h"

#include <QString>

namespace elumira::pages {

// The partner configuration's look: the object data of FClientJson. A missing data reads as an empty object
// (every field empty); a data of another kind throws JsonShapeError.
const Json &partnerData(const Json &clientJson);

// A colour value fit for a style rule: "#rgb", "#rrggbb", rgb()/rgba() with numbers or percentages, or a CSS
// colour keyword; returned as received. Anything else gives an empty text, so the declaration it fills is
// ignored and the page keeps its default colour, as when the partner sends no colour.
QString cssColour(const QString &value);

// The partner configuration's colour field, checked with cssColour.
QString partnerColour(const Json &partner, const char *field);

// The seven partner colour rules of the pages with the header bar, one per line, in their fixed order.
// A missing colour or a value that is not a colour leaves its declarations empty, so the assets' colours apply.
QString partnerColourRules(const Json &partner);

// The more button in the partner's accent colour.
QString moreButtonRules(const Json &partner);

// The read button in the partner's read-button colour.
QString readButtonRules(const Json &partner);

// The fixed rules of the chart and sentence-search lists.
QString chartListRules();

} // namespace elumira::pages
