// Assembles the injected bridge script from Qt's web channel client and our app script.
#include "bridge/bridge_script.h"

#include <QFile>

namespace elumira {

namespace {

QString readResource(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("The resource %s is missing from the program", qPrintable(path));
    return QString::fromUtf8(file.readAll());
}

} // namespace

QString bridgeScriptSource()
{
    static const QString source = readResource(QStringLiteral(":/qtwebchannel/qwebchannel.js"))
        + QStringLiteral("\n") + readResource(QStringLiteral(":/bridge/app.js"));
    return source;
}

} // namespace elumira
