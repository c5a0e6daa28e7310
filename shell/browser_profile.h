// The one browser profile that all library views share.
#pragma once

class QObject;
class QWebEngineProfile;

namespace elumira {

// Creates the profile of the library views: its cache in the user's cache folder and the app bridge script
// injected into the main world of every page before the page's own scripts run.
QWebEngineProfile *createBrowserProfile(QObject *parent = nullptr);

} // namespace elumira
