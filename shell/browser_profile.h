// The one browser profile that all library views share.
#pragma once

#include <QByteArray>

class QObject;
class QWebEngineProfile;

namespace elumira {

// Creates the profile of the library views: its cache in the user's cache folder and the app bridge script
// injected into the main world of every page before the page's own scripts run.
// The browser engine runs all library views in one renderer process (they all show files of the data folder,
// one site). Takes effect when called before the engine starts, that is before the first profile or view.
QWebEngineProfile *createBrowserProfile(QObject *parent = nullptr);

// The engine's command-line flags with the process-model flag added (kept when already present).
QByteArray browserEngineFlags(const QByteArray &flags);

} // namespace elumira
