// Sets up the browser profile of the library views.
#include "shell/browser_profile.h"

#include "bridge/bridge_script.h"

#include <QStandardPaths>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>

namespace elumira {

QByteArray browserEngineFlags(const QByteArray &flags)
{
    // Every view shows pages of one site (files of the data folder), so one renderer process can serve them all:
    // each further view then costs a document, not a whole process.
    constexpr char kOneProcessPerSite[] = "--process-per-site";
    if (flags.split(' ').contains(kOneProcessPerSite))
        return flags;
    return flags.isEmpty() ? QByteArray(kOneProcessPerSite) : flags + ' ' + kOneProcessPerSite;
}

QWebEngineProfile *createBrowserProfile(QObject *parent)
{
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", browserEngineFlags(qgetenv("QTWEBENGINE_CHROMIUM_FLAGS")));
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
