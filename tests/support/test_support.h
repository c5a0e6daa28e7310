// Helpers shared by the tests: bounded waits on the event loop and synchronous script results.
#pragma once

#include <QString>
#include <QVariant>

#include <functional>

class QWebEnginePage;

namespace elumira::test {

// Processes events until condition holds or timeoutMs passes; returns whether it held.
bool waitUntil(const std::function<bool()> &condition, int timeoutMs = 15000);

// Runs a script in the page's main world and waits for its result; an invalid QVariant on time-out.
QVariant evaluate(QWebEnginePage *page, const QString &script, int timeoutMs = 15000);

// Waits for the page's next loadFinished; returns its success flag (false on time-out).
bool waitForLoad(QWebEnginePage *page, int timeoutMs = 30000);

} // namespace elumira::test

#include <ostream>

// Lets GoogleTest print Qt strings and variants readably in failure messages.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QVariant &value, std::ostream *out)
{
    *out << value.typeName() << ' ' << value.toString().toStdString();
}
