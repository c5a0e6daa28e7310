// The script that every library page gets before its own scripts run: the web channel client and app.
#pragma once

#include <QString>

namespace elumira {

// Name under which the receiver is published on each view's web channel; the script looks for it.
inline constexpr const char *kBridgeObjectName = "elumiraBridge";

// The web channel client library followed by the app object script.
QString bridgeScriptSource();

} // namespace elumira
