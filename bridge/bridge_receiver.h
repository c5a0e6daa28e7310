// Receives the app object's calls over the web channel and hands them on as process messages.
#pragma once

#include "common/process_message.h"

#include <QJsonArray>
#include <QObject>

namespace elumira {

// Published on a view's web channel under the name "elumiraBridge". Calls arrive on the UI thread in the
// order the page made them.
class BridgeReceiver : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // Called by the page script with a message name and its arguments (strings and integral numbers).
    // A message with an argument of any other kind is dropped whole.
    Q_INVOKABLE void post(const QString &name, const QJsonArray &arguments);

    // Converts channel arguments; false when one of them is not a string or a 32-bit integer.
    static bool toArguments(const QJsonArray &arguments, QList<ProcessMessage::Argument> &out);

signals:
    void messageReceived(const elumira::ProcessMessage &message);
};

} // namespace elumira
