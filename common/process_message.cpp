// Typed access to the arguments of a page message.
#include "common/process_message.h"

#include <QStringList>

namespace elumira {

bool ProcessMessage::isString(qsizetype index) const
{
    return index >= 0 && index < m_arguments.size() && std::holds_alternative<QString>(m_arguments[index]);
}

bool ProcessMessage::isInt(qsizetype index) const
{
    return index >= 0 && index < m_arguments.size() && std::holds_alternative<std::int32_t>(m_arguments[index]);
}

QString ProcessMessage::getString(qsizetype index) const
{
    return isString(index) ? std::get<QString>(m_arguments[index]) : QString();
}

std::int32_t ProcessMessage::getInt(qsizetype index) const
{
    return isInt(index) ? std::get<std::int32_t>(m_arguments[index]) : 0;
}

QString ProcessMessage::toDebugString() const
{
    QStringList parts;
    for (const Argument &argument : m_arguments) {
        if (const auto *text = std::get_if<QString>(&argument))
            parts << QLatin1Char('"') + *text + QLatin1Char('"');
        else
            parts << QString::number(std::get<std::int32_t>(argument));
    }
    return m_name + QLatin1Char('(') + parts.join(QLatin1String(", ")) + QLatin1Char(')');
}

} // namespace elumira
