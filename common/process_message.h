// A message sent by a page script: a name and an ordered list of string and 32-bit integer arguments.
#pragma once

#include <QList>
#include <QMetaType>
#include <QString>

#include <cstdint>
#include <variant>

namespace elumira {

class ProcessMessage
{
public:
    using Argument = std::variant<QString, std::int32_t>;

    ProcessMessage() = default;
    ProcessMessage(QString name, QList<Argument> arguments = {}) : m_name(std::move(name)), m_arguments(std::move(arguments)) {}

    const QString &name() const { return m_name; }
    qsizetype size() const { return m_arguments.size(); }
    const QList<Argument> &arguments() const { return m_arguments; }

    bool isString(qsizetype index) const;
    bool isInt(qsizetype index) const;
    // Reads an argument; a missing argument or one of the other type reads as empty text or 0.
    QString getString(qsizetype index) const;
    std::int32_t getInt(qsizetype index) const;

    // A readable form for logs and test failures, for example: searching("K", "C", 1).
    QString toDebugString() const;

    friend bool operator==(const ProcessMessage &, const ProcessMessage &) = default;

private:
    QString m_name;
    QList<Argument> m_arguments;
};

} // namespace elumira

Q_DECLARE_METATYPE(elumira::ProcessMessage)
