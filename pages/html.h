// Putting values into page mark-up: HTML escaping, script-string escaping and the calls pages make to app.
#pragma once

#include <QString>

#include <initializer_list>

namespace elumira::pages {

// HTML escaping: '"', '&', '<' and '>' become entities, every other character (the apostrophe included)
// stays, and the value ends at its first NUL character.
QString htmlEscape(const QString &value);

// A value as the content of a JavaScript string literal, in either quote: backslash, apostrophe, double quote,
// the line breaks (CR, LF, U+2028, U+2029) and NUL become escape sequences, and '<' becomes \x3C so that no
// value can close the script element it stands in.
QString jsStringContent(const QString &value);

// A value for an apostrophe-quoted argument of a script call inside an attribute: the script-string content,
// HTML-escaped for the attribute.
QString scriptArgument(const QString &value);

// One argument of a call to app: a text, written in apostrophes, or an integer, written bare.
class ScriptArg
{
public:
    ScriptArg(const QString &text) : m_text(text) {}
    ScriptArg(const char *text) : m_text(QString::fromUtf8(text)) {}
    ScriptArg(int number) : m_isInt(true), m_number(number) {}

    bool isInt() const { return m_isInt; }
    const QString &text() const { return m_text; }
    int number() const { return m_number; }

private:
    QString m_text;
    bool m_isInt = false;
    int m_number = 0;
};

// A call of an app function as script text, for example app.homeDetail('12','Novel & Puisi',3): the
// arguments separated by a comma without a space, texts escaped as script-string content. For use inside a
// script element or a script run in the page.
QString scriptCall(const QString &function, std::initializer_list<ScriptArg> arguments = {});

// The same call ready to stand in a double-quoted attribute such as onClick.
QString scriptCallAttribute(const QString &function, std::initializer_list<ScriptArg> arguments = {});

} // namespace elumira::pages
