// Fuzzes the mark-up filter with arbitrary service mark-up: whatever comes in, what goes into a page holds only
// the allowed elements, and a picture address is an http(s) address or nothing.
#include "fuzz/fuzz_input.h"
#include "pages/markup_filter.h"

#include <QSet>

#include <cstdlib>

using namespace elumira;

namespace {

const QSet<QString> &allowedElements()
{
    static const QSet<QString> names = {
        QStringLiteral("b"),  QStringLiteral("strong"), QStringLiteral("i"),  QStringLiteral("em"),
        QStringLiteral("u"),  QStringLiteral("mark"),   QStringLiteral("p"),  QStringLiteral("br"),
        QStringLiteral("ul"), QStringLiteral("ol"),     QStringLiteral("li"), QStringLiteral("span"),
        QStringLiteral("div"), QStringLiteral("h1"),    QStringLiteral("h2"), QStringLiteral("h3"),
        QStringLiteral("h4"), QStringLiteral("h5"),     QStringLiteral("h6"), QStringLiteral("blockquote"),
        QStringLiteral("sub"), QStringLiteral("sup"),   QStringLiteral("img"),
    };
    return names;
}

// Every tag of the filtered text that a browser would read names an allowed element; comments, declarations and
// processing instructions are gone. Quoted attribute values are skipped: a '<' inside them starts no tag.
void checkTags(const QString &page)
{
    qsizetype at = 0;
    while ((at = page.indexOf(QLatin1Char('<'), at)) >= 0) {
        qsizetype start = at + 1;
        if (start < page.size() && page[start] == QLatin1Char('/'))
            ++start;
        if (start >= page.size())
            break;
        const QChar first = page[start];
        if (first == QLatin1Char('!') || first == QLatin1Char('?'))
            std::abort();
        if (first.unicode() > 127 || !first.isLetter()) {
            at = start;
            continue;
        }
        qsizetype end = start;
        while (end < page.size() && !page[end].isSpace() && page[end] != QLatin1Char('>') &&
               page[end] != QLatin1Char('/'))
            ++end;
        if (!allowedElements().contains(page.mid(start, end - start).toLower()))
            std::abort();
        // The rest of the tag, quoted values skipped whole.
        QChar quote;
        for (; end < page.size(); ++end) {
            const QChar c = page[end];
            if (!quote.isNull()) {
                if (c == quote)
                    quote = QChar();
            } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
                quote = c;
            } else if (c == QLatin1Char('>')) {
                break;
            }
        }
        at = end;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString markup = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    checkTags(pages::filterMarkup(markup));

    const QString address = pages::webPictureAddress(markup);
    if (!address.isEmpty() && !address.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) &&
        !address.startsWith(QLatin1String("https://"), Qt::CaseInsensitive))
        std::abort();
    return 0;
}
