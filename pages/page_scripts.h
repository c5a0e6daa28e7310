// The pages' own inline scripts, kept as script files among the library's resources.
#pragma once

#include <QString>

namespace elumira::pages {

// The text of the page script `name` (for example "login_form"), with CR LF line breaks and without a
// final line break, ready to stand as one piece of a page. Throws std::runtime_error when it is missing.
QString pageScript(const QString &name);

// The page script `name` of a page of book tiles, preceded by the set-up of the read-only rating stars that it
// and js/main.js share, so that each star is drawn once and only when it comes near the view.
QString tilePageScript(const QString &name);

} // namespace elumira::pages
