// Turns web-channel calls into process messages.
#include "bridge/bridge_receiver.h"

#include <cmath>
#include <limits>

namespace elumira {

bool BridgeReceiver::toArguments(const QJsonArray &arguments, QList<ProcessMessage::Argument> &out)
{
    out.clear();
    out.reserve(arguments.size());
    for (const QJsonValue &value : arguments) {
        if (value.isString()) {
            out.append(value.toString());
        } else if (value.isDouble()) {
            const double number = value.toDouble();
            if (std::floor(number) != number || number < std::numeric_limits<std::int32_t>::min()
                || number > std::numeric_limits<std::int32_t>::max())
                return false;
            out.append(static_cast<std::int32_t>(number));
        } else {
            return false;
        }
    }
    return true;
}

void BridgeReceiver::post(const QString &name, const QJsonArray &arguments)
{
    QList<ProcessMessage::Argument> converted;
    if (name.isEmpty() || !toArguments(arguments, converted))
        return;
    emit messageReceived(ProcessMessage(name, std::move(converted)));
}

} // namespace elumira
