// Sets up the browser profile of the library views.
#include "shell/browser_profile.h"

#include "bridge/bridge_script.h"

#include <QCoreApplication>
#include <QQuickWindow>
#include <QSGRendererInterface>
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

bool composesViewsInSoftware(const QByteArray &engineFlags, const QStringList &arguments, bool backendChosen)
{
    if (backendChosen)
        return false;
    constexpr char kNoGpu[] = "--disable-gpu";
    return engineFlags.split(' ').contains(kNoGpu) || arguments.contains(QLatin1String(kNoGpu));
}

QWebEngineProfile *createBrowserProfile(QObject *parent)
{
    const QByteArray flags = browserEngineFlags(qgetenv("QTWEBENGINE_CHROMIUM_FLAGS"));
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags);
    const bool backendChosen =
        !qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND") || !qEnvironmentVariableIsEmpty("QSG_RHI_BACKEND");
    if (composesViewsInSoftware(flags, QCoreApplication::arguments(), backendChosen))
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
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
