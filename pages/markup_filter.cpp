// The allow-list for mark-up from the service: a small tokenizer that reads tags the way a browser does and
// writes back only allowed elements, with their attributes written anew.
#include "pages/markup_filter.h"

#include <QList>
#include <QStringList>

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

namespace elumira::pages {

namespace {

// Elements that keep their text and at most a class.
constexpr std::array<const char *, 22> kFormatting = {
    "b",  "strong", "i",  "em", "u",  "mark", "p",          "ul",  "ol",  "li",  "span",
    "div", "h1",    "h2", "h3", "h4", "h5",   "h6",         "blockquote", "sub", "sup", "br",
};

// Elements whose content is code or is never shown, so none of it is kept. A browser reads their content
// as plain text up to their own end tag, and so does the filter.
constexpr std::array<const char *, 8> kDroppedWithContent = {
    "script", "style", "iframe", "noembed", "noframes", "noscript", "title", "xmp",
};

// Elements that a block start closes when they are open, as a browser closes a paragraph.
constexpr std::array<const char *, 12> kClosesParagraph = {
    "p", "div", "ul", "ol", "li", "blockquote", "h1", "h2", "h3", "h4", "h5", "h6",
};

template <std::size_t N> bool isOneOf(const QString &name, const std::array<const char *, N> &names)
{
    return std::any_of(names.begin(), names.end(), [&name](const char *n) { return name == QLatin1String(n); });
}

bool isHeading(const QString &name)
{
    return name.size() == 2 && name[0] == QLatin1Char('h') && name[1] >= QLatin1Char('1') &&
           name[1] <= QLatin1Char('6');
}

bool isAsciiAlpha(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z');
}

// White space between the parts of a tag.
bool isTagSpace(QChar c)
{
    const char16_t u = c.unicode();
    return u == ' ' || u == '\t' || u == '\n' || u == '\r' || u == '\f';
}

QString asciiLower(QStringView text)
{
    QString lower = text.toString();
    for (QChar &c : lower) {
        if (c.unicode() >= 'A' && c.unicode() <= 'Z')
            c = QChar(c.unicode() + ('a' - 'A'));
    }
    return lower;
}

struct Tag
{
    QString name;
    bool end = false;
    QList<std::pair<QString, QString>> attributes; // in order, the first of a repeated name only

    std::optional<QString> attribute(const char *wanted) const
    {
        for (const auto &[name, value] : attributes) {
            if (name == QLatin1String(wanted))
                return value;
        }
        return std::nullopt;
    }
};

// Reads the text the way a browser's tokenizer does: text, tags, comments and bogus comments.
class Reader
{
public:
    explicit Reader(const QString &text) : m_text(text) {}

    bool atEnd() const { return m_pos >= m_text.size(); }

    // The next piece: text up to the next '<', or what that '<' starts. Call only when not at the end.
    enum class Piece { Text, Tag, Skipped, LiteralLessThan, Truncated };

    Piece next(QString &text, Tag &tag)
    {
        if (m_text[m_pos] != QLatin1Char('<')) {
            const qsizetype lt = m_text.indexOf(QLatin1Char('<'), m_pos);
            const qsizetype end = lt < 0 ? m_text.size() : lt;
            text = m_text.mid(m_pos, end - m_pos);
            m_pos = end;
            return Piece::Text;
        }
        const QChar after = charAt(m_pos + 1);
        if (isAsciiAlpha(after)) {
            m_pos += 1;
            return tagOrTruncated(tag, false);
        }
        if (after == QLatin1Char('/')) {
            const QChar first = charAt(m_pos + 2);
            if (isAsciiAlpha(first)) {
                m_pos += 2;
                return tagOrTruncated(tag, true);
            }
            if (first == QLatin1Char('>')) {
                m_pos += 3;
                return Piece::Skipped;
            }
            if (m_pos + 2 >= m_text.size()) {
                m_pos = m_text.size();
                return Piece::Truncated;
            }
            return skipBogusComment(m_pos + 2);
        }
        if (after == QLatin1Char('!')) {
            if (m_text.mid(m_pos + 2, 2) == QLatin1String("--"))
                return skipComment();
            // Declarations and CDATA sections are bogus comments in a page's body: they end at the first '>'.
            return skipBogusComment(m_pos + 2);
        }
        if (after == QLatin1Char('?'))
            return skipBogusComment(m_pos + 1);
        m_pos += 1;
        return Piece::LiteralLessThan;
    }

    // Skips the content of an element that a browser reads as plain text, up to and including its end tag.
    // Without an end tag everything to the end goes.
    void skipRawText(const QString &name)
    {
        const QString closing = QLatin1String("</") + name;
        qsizetype from = m_pos;
        while (true) {
            const qsizetype at = m_text.indexOf(closing, from, Qt::CaseInsensitive);
            if (at < 0) {
                m_pos = m_text.size();
                return;
            }
            const QChar after = charAt(at + closing.size());
            if (isTagSpace(after) || after == QLatin1Char('/') || after == QLatin1Char('>')) {
                m_pos = at + 2;
                Tag ignored;
                readTag(ignored, true);
                return;
            }
            from = at + 1;
        }
    }

private:
    QChar charAt(qsizetype i) const { return i < m_text.size() ? m_text[i] : QChar(); }

    // A tag the text ends inside is dropped with everything after its '<', as a browser drops it.
    Piece tagOrTruncated(Tag &tag, bool end)
    {
        if (readTag(tag, end))
            return Piece::Tag;
        m_pos = m_text.size();
        return Piece::Truncated;
    }


    Piece skipComment()
    {
        // "<!-->" and "<!--->" are empty comments; otherwise the comment ends at "-->" or "--!>".
        const qsizetype body = m_pos + 4;
        if (charAt(body) == QLatin1Char('>')) {
            m_pos = body + 1;
            return Piece::Skipped;
        }
        if (charAt(body) == QLatin1Char('-') && charAt(body + 1) == QLatin1Char('>')) {
            m_pos = body + 2;
            return Piece::Skipped;
        }
        const qsizetype end = m_text.indexOf(QLatin1String("-->"), body);
        const qsizetype bang = m_text.indexOf(QLatin1String("--!>"), body);
        if (end < 0 && bang < 0) {
            m_pos = m_text.size();
            return Piece::Truncated;
        }
        if (bang >= 0 && (end < 0 || bang < end))
            m_pos = bang + 4;
        else
            m_pos = end + 3;
        return Piece::Skipped;
    }

    Piece skipBogusComment(qsizetype from)
    {
        const qsizetype end = m_text.indexOf(QLatin1Char('>'), from);
        if (end < 0) {
            m_pos = m_text.size();
            return Piece::Truncated;
        }
        m_pos = end + 1;
        return Piece::Skipped;
    }

    // Reads a tag from its name to its '>'. Returns false when the text ends inside the tag, which a browser
    // drops.
    bool readTag(Tag &tag, bool end)
    {
        tag = Tag();
        tag.end = end;
        const qsizetype nameStart = m_pos;
        while (!atEnd() && !isTagSpace(m_text[m_pos]) && m_text[m_pos] != QLatin1Char('/') &&
               m_text[m_pos] != QLatin1Char('>'))
            ++m_pos;
        tag.name = asciiLower(QStringView(m_text).mid(nameStart, m_pos - nameStart));

        while (true) {
            while (!atEnd() && (isTagSpace(m_text[m_pos]) || m_text[m_pos] == QLatin1Char('/')))
                ++m_pos;
            if (atEnd())
                return false;
            if (m_text[m_pos] == QLatin1Char('>')) {
                ++m_pos;
                return true;
            }
            // An attribute's name; a '=' in first place belongs to it.
            const qsizetype attrStart = m_pos++;
            while (!atEnd() && !isTagSpace(m_text[m_pos]) && m_text[m_pos] != QLatin1Char('/') &&
                   m_text[m_pos] != QLatin1Char('>') && m_text[m_pos] != QLatin1Char('='))
                ++m_pos;
            const QString name = asciiLower(QStringView(m_text).mid(attrStart, m_pos - attrStart));
            while (!atEnd() && isTagSpace(m_text[m_pos]))
                ++m_pos;
            QString value;
            if (!atEnd() && m_text[m_pos] == QLatin1Char('=')) {
                ++m_pos;
                while (!atEnd() && isTagSpace(m_text[m_pos]))
                    ++m_pos;
                if (atEnd())
                    return false;
                const QChar quote = m_text[m_pos];
                if (quote == QLatin1Char('"') || quote == QLatin1Char('\'')) {
                    const qsizetype close = m_text.indexOf(quote, m_pos + 1);
                    if (close < 0)
                        return false;
                    value = m_text.mid(m_pos + 1, close - m_pos - 1);
                    m_pos = close + 1;
                } else {
                    const qsizetype valueStart = m_pos;
                    while (!atEnd() && !isTagSpace(m_text[m_pos]) && m_text[m_pos] != QLatin1Char('>'))
                        ++m_pos;
                    value = m_text.mid(valueStart, m_pos - valueStart);
                }
            }
            const bool repeated = std::any_of(tag.attributes.cbegin(), tag.attributes.cend(),
                                              [&name](const auto &attribute) { return attribute.first == name; });
            if (!repeated)
                tag.attributes.append({name, value});
        }
    }

    const QString &m_text;
    qsizetype m_pos = 0;
};

// An attribute value as it goes into the double quotes it is written in. Character references are left as
// they came: inside a value they only ever stand for characters.
QString attributeValue(const QString &value)
{
    QString written = value;
    written.replace(QLatin1Char('"'), QLatin1String("&quot;"));
    return written;
}

// A picture's size: digits, optionally a fraction and a per cent sign.
bool isPictureSize(const QString &value)
{
    qsizetype i = 0;
    const auto digits = [&] {
        const qsizetype start = i;
        while (i < value.size() && value[i].unicode() >= '0' && value[i].unicode() <= '9')
            ++i;
        return i > start;
    };
    if (!digits())
        return false;
    if (i < value.size() && value[i] == QLatin1Char('.')) {
        ++i;
        if (!digits())
            return false;
    }
    if (i < value.size() && value[i] == QLatin1Char('%'))
        ++i;
    return i == value.size();
}

// The few character references a picture address may carry, read as a browser reads them, so that the
// address checked is the address the page will ask for. Any other '&' is taken literally and written as
// &amp;, so the browser takes it literally too.
QString decodeAddress(const QString &value)
{
    QString decoded;
    decoded.reserve(value.size());
    qsizetype i = 0;
    while (i < value.size()) {
        const QChar c = value[i];
        if (c != QLatin1Char('&')) {
            decoded += c;
            ++i;
            continue;
        }
        if (i + 1 < value.size() && value[i + 1] == QLatin1Char('#')) {
            qsizetype j = i + 2;
            const bool hex = j < value.size() && (value[j] == QLatin1Char('x') || value[j] == QLatin1Char('X'));
            if (hex)
                ++j;
            const qsizetype digitsStart = j;
            const auto isDigit = [hex](QChar d) {
                const char16_t u = d.unicode();
                return (u >= '0' && u <= '9') || (hex && ((u >= 'a' && u <= 'f') || (u >= 'A' && u <= 'F')));
            };
            while (j < value.size() && isDigit(value[j]))
                ++j;
            if (j > digitsStart) {
                bool ok = false;
                const uint number = value.mid(digitsStart, j - digitsStart).toUInt(&ok, hex ? 16 : 10);
                char32_t code = char32_t(number);
                if (!ok || number == 0 || number > 0x10FFFF || (number >= 0xD800 && number <= 0xDFFF))
                    code = 0xFFFD;
                decoded += QString::fromUcs4(&code, 1);
                if (j < value.size() && value[j] == QLatin1Char(';'))
                    ++j;
                i = j;
                continue;
            }
        }
        static const std::array<std::pair<const char *, char>, 5> named = {{
            {"&amp;", '&'},
            {"&lt;", '<'},
            {"&gt;", '>'},
            {"&quot;", '"'},
            {"&apos;", '\''},
        }};
        bool found = false;
        for (const auto &[reference, character] : named) {
            const QLatin1String text(reference);
            if (QStringView(value).mid(i).startsWith(text)) {
                decoded += QLatin1Char(character);
                i += text.size();
                found = true;
                break;
            }
        }
        if (!found) {
            decoded += c;
            ++i;
        }
    }
    return decoded;
}

QString escapedAddress(const QString &address)
{
    QString written;
    written.reserve(address.size());
    for (const QChar c : address) {
        switch (c.unicode()) {
        case '&':
            written += QLatin1String("&amp;");
            break;
        case '"':
            written += QLatin1String("&quot;");
            break;
        case '<':
            written += QLatin1String("&lt;");
            break;
        case '>':
            written += QLatin1String("&gt;");
            break;
        default:
            written += c;
        }
    }
    return written;
}

// A picture with its allowed attributes, or nothing when it has no http(s) address.
QString pictureTag(const Tag &tag)
{
    const QString source = webPictureAddress(decodeAddress(tag.attribute("src").value_or(QString())));
    if (source.isEmpty())
        return {};
    QString picture = QStringLiteral("<img src=\"%1\"").arg(escapedAddress(source));
    if (const auto alt = tag.attribute("alt"))
        picture += QStringLiteral(" alt=\"%1\"").arg(attributeValue(*alt));
    for (const char *size : {"width", "height"}) {
        const auto value = tag.attribute(size);
        if (value && isPictureSize(*value))
            picture += QStringLiteral(" %1=\"%2\"").arg(QLatin1String(size), *value);
    }
    return picture + QLatin1Char('>');
}

// Writes the allowed elements and keeps their nesting sound.
class Writer
{
public:
    void text(const QString &text) { m_out += text; }
    void literal(const char *text) { m_out += QLatin1String(text); }

    void start(const Tag &tag)
    {
        if (tag.name == QLatin1String("img")) {
            m_out += pictureTag(tag);
            return;
        }
        if (!isOneOf(tag.name, kFormatting))
            return;
        // A browser closes an open paragraph before a block, a heading before another heading and a list item
        // before the next item; closing them here keeps the written text read the same way.
        if (isOneOf(tag.name, kClosesParagraph))
            closeParagraph();
        if (isHeading(tag.name) && !m_open.isEmpty() && isHeading(m_open.last()))
            closeTo(m_open.size() - 1);
        if (tag.name == QLatin1String("li")) {
            const qsizetype list = nearestList();
            // An item outside a list of its own would close an item of the page around it.
            if (list < 0)
                return;
            for (qsizetype i = m_open.size() - 1; i > list; --i) {
                if (m_open[i] == QLatin1String("li")) {
                    closeTo(i);
                    break;
                }
            }
        }
        if (tag.name == QLatin1String("br")) {
            m_out += QLatin1String("<br>");
            return;
        }
        m_out += QLatin1Char('<') + tag.name;
        if (const auto classes = tag.attribute("class"))
            m_out += QStringLiteral(" class=\"%1\"").arg(attributeValue(*classes));
        m_out += QLatin1Char('>');
        m_open.append(tag.name);
    }

    void end(const Tag &tag)
    {
        const qsizetype at = m_open.lastIndexOf(tag.name);
        if (at >= 0)
            closeTo(at);
    }

    QString finish()
    {
        closeTo(0);
        return std::move(m_out);
    }

private:
    // Closes the element at the index and every element opened after it.
    void closeTo(qsizetype index)
    {
        while (m_open.size() > index) {
            m_out += QLatin1String("</") + m_open.last() + QLatin1Char('>');
            m_open.removeLast();
        }
    }

    // Closes an open paragraph with what was opened inside it.
    void closeParagraph()
    {
        const qsizetype at = m_open.lastIndexOf(QStringLiteral("p"));
        if (at >= 0)
            closeTo(at);
    }

    qsizetype nearestList() const
    {
        for (qsizetype i = m_open.size() - 1; i >= 0; --i) {
            if (m_open[i] == QLatin1String("ul") || m_open[i] == QLatin1String("ol"))
                return i;
        }
        return -1;
    }

    QString m_out;
    QStringList m_open;
};

} // namespace

QString filterMarkup(const QString &markup)
{
    QString input = markup;
    input.remove(QChar(0));

    Reader reader(input);
    Writer writer;
    QString text;
    Tag tag;
    while (!reader.atEnd()) {
        switch (reader.next(text, tag)) {
        case Reader::Piece::Text:
            writer.text(text);
            break;
        case Reader::Piece::LiteralLessThan:
            writer.literal("&lt;");
            break;
        case Reader::Piece::Tag:
            if (tag.end) {
                writer.end(tag);
            } else if (isOneOf(tag.name, kDroppedWithContent)) {
                reader.skipRawText(tag.name);
            } else {
                writer.start(tag);
            }
            break;
        case Reader::Piece::Skipped:
        case Reader::Piece::Truncated:
            break;
        }
    }
    return writer.finish();
}

QString webPictureAddress(const QString &address)
{
    // A browser trims control characters and spaces at both ends of an address and ignores tabs and line
    // breaks inside it; the scheme is judged on what is left.
    qsizetype first = 0;
    qsizetype last = address.size();
    while (first < last && address[first].unicode() <= 0x20)
        ++first;
    while (last > first && address[last - 1].unicode() <= 0x20)
        --last;
    QString cleaned = address.mid(first, last - first);
    cleaned.remove(QLatin1Char('\t'));
    cleaned.remove(QLatin1Char('\n'));
    cleaned.remove(QLatin1Char('\r'));
    if (cleaned.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) ||
        cleaned.startsWith(QLatin1String("https://"), Qt::CaseInsensitive))
        return cleaned;
    return {};
}

} // namespace elumira::pages
