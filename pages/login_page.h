// The login page: the partner's logo and name over the log-in form.
#pragma once

#include "common/json_read.h"

#include <QString>

namespace elumira {
class BrowserView;
class Dialogs;
class TLekoraLib;
} // namespace elumira

namespace elumira::pages {

// The text of login.html from the partner configuration FClientJson; pictures come from serviceUrl.
// Throws JsonShapeError when the configuration's data is not an object.
QString loginPage(const Json &clientJson, const QString &serviceUrl);

// Writes login.html from the client's partner configuration and loads it into the view. A failure shows
// "Error Exception #660 : " and its message, and nothing is loaded.
void renderLoginHtmlFile(TLekoraLib &lib, BrowserView &view, Dialogs &dialogs);

} // namespace elumira::pages
