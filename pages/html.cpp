// Escaping of values for page mark-up and for the script calls pages make.
#include "pages/html.h"

namespace elumira::pages {

QString htmlEscape(const QString &value)
{
    QString escaped;
    escaped.reserve(value.size() + value.size() / 8);
    for (const QChar c : value) {
        switch (c.unicode()) {
        case 0:
            return escaped;
        case '"':
            escaped += QLatin1String("&quot;");
            break;
        case '&':
            escaped += QLatin1String("&amp;");
            break;
        case '<':
            escaped += QLatin1String("&lt;");
            break;
        case '>':
            escaped += QLatin1String("&gt;");
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

QString jsStringContent(const QString &value)
{
    QString escaped;
    escaped.reserve(value.size() + value.size() / 8);
    for (const QChar c : value) {
        switch (c.unicode()) {
        case 0:
            escaped += QLatin1String("\\x00");
            break;
        case '\\':
            escaped += QLatin1String("\\\\");
            break;
        case '\'':
            escaped += QLatin1String("\\'");
            break;
        case '"':
            escaped += QLatin1String("\\\"");
            break;
        case '\n':
            escaped += QLatin1String("\\n");
            break;
        case '\r':
            escaped += QLatin1String("\\r");
            break;
        case 0x2028:
            escaped += QLatin1String("\\u2028");
            break;
        case 0x2029:
            escaped += QLatin1String("\\u2029");
            break;
        case '<':
            escaped += QLatin1String("\\x3C");
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

QString scriptArgument(const QString &value)
{
    return htmlEscape(jsStringContent(value));
}

QString scriptCall(const QString &function, std::initializer_list<ScriptArg> arguments)
{
    QString call = QLatin1String("app.") + function + QLatin1Char('(');
    bool first = true;
    for (const ScriptArg &argument : arguments) {
        if (!first)
            call += QLatin1Char(',');
        first = false;
        if (argument.isInt())
            call += QString::number(argument.number());
        else
            call += QLatin1Char('\'') + jsStringContent(argument.text()) + QLatin1Char('\'');
    }
    call += QLatin1Char(')');
    return call;
}

QString scriptCallAttribute(const QString &function, std::initializer_list<ScriptArg> arguments)
{
    // The call's own characters need no escaping; only the arguments' '&' and '"' (now \") do.
    return htmlEscape(scriptCall(function, arguments));
}

} // namespace elumira::pages
