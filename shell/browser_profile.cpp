// Sets up the browser profile of the library views.
#include "shell/browser_profile.h"

#include "bridge/bridge_script.h"

#include <QStandardPaths>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>

namespace elumira {

QWebEngineProfile *createBrowserProfile(QObject *parent)
{
    auto *profile = new QWebEngineProfile(QStringLiteral("elumira"), parent);
    profile->setCachePath(QStandardPaths::writableLocation(QStandardPaths::CacheLocation));
    profile->setHttpCacheType(QWebEngineProfile::DiskHttpCache);

    QWebEngineScript bridge;
    bridge.setName(QStringLiteral("elumira-app"));
    bridge.setSourceCode(bridgeScriptSource());
    bridge.setInjectionPoint(QWebEngineScript::DocumentCreation);
    bridge.setWorldId(QWebEngineScript::MainWorld);
    bridge.setRunsOnSubFrames(false);
    profile->scripts()->insert(bridge);
    return profile;
}

} // namespace elumira
