// The guard every page generator runs its work under, and the message prefix of each generator.
#pragma once

#include "common/json_read.h"

#include <functional>

namespace elumira {
class Dialogs;
}

namespace elumira::pages {

// What a failed generator shows before the failure's own message, one per generator.
inline constexpr char kLoginFailure[] = "Error Exception #660 : ";                // renderLoginHtmlFile
inline constexpr char kHomeFailure[] = "Error Exception #798: ";                  // renderHomeHtmlFile
inline constexpr char kHomeDetailFailure[] = "Error Exception #1006 ";            // renderHomeDetailHtmlFile
inline constexpr char kCategoryFailure[] = "Error Exception #1270 : ";            // renderCategoryHtmlFile
inline constexpr char kDeptFailure[] = "Error Exception #1187 : ";                // renderDept
inline constexpr char kCategoryContentFailure[] = "Error Exception #1465 ";       // renderCategoryContent
inline constexpr char kSubCategoryContentFailure[] = "Error Exception #1606 : ";  // renderSubCategoryContent
inline constexpr char kTopChartFailure[] = "Error Exception #1951 : ";            // renderTopChart
inline constexpr char kLastReadFailure[] = "Error Exception #2289 : ";            // renderLastRead
inline constexpr char kLastViewFailure[] = "Error Exception #2280: ";             // renderLastView
inline constexpr char kDetailContentFailure[] = "Error Exception #2764 : ";       // renderDetailContent
inline constexpr char kSearchResultFailure[] = "Error Exception #3216 : ";        // renderSearchResult
inline constexpr char kSearchKalimatResultFailure[] = "Error Exception #3391 : "; // renderSearchKalimatResult

// Runs a generator's work. Any failure ends it: an error box with an OK button shows the prefix followed
// by the failure's message, and the work's remaining steps (the load among them) do not happen.
// Returns whether the work completed.
bool runGuarded(Dialogs &dialogs, const char *prefix, const std::function<void()> &work);

// An answer the generator reads; a missing answer (never received) is a failure of the generator.
const Json &requireAnswer(const Json *answer, const char *name);

} // namespace elumira::pages
