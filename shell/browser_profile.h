// The one browser profile that all library views share.
#pragma once

#include <QByteArray>
#include <QStringList>

class QObject;
class QWebEngineProfile;

namespace elumira {

// Creates the profile of the library views: its cache in the user's cache folder and the app bridge script
// injected into the main world of every page before the page's own scripts run. Chooses software composition
// for the views when composesViewsInSoftware says so.
// The browser engine runs all library views in one renderer process (they all show files of the data folder,
// one site). Takes effect when called before the engine starts, that is before the first profile or view.
QWebEngineProfile *createBrowserProfile(QObject *parent = nullptr);

// Whether the views are composed in software. An engine told to run without a GPU ("--disable-gpu" among its
// flags or the program's arguments) hands its frames over as pictures; composing those with the graphics stack
// would only run it on the processor as well, at the cost of every repaint of a full-screen window. A graphics
// backend chosen by the environment (QT_QUICK_BACKEND, QSG_RHI_BACKEND) is left as it is.
bool composesViewsInSoftware(const QByteArray &engineFlags, const QStringList &arguments, bool backendChosen);

// The engine's command-line flags with the process-model flag added (kept when already present).
QByteArray browserEngineFlags(const QByteArray &flags);

} // namespace elumira
