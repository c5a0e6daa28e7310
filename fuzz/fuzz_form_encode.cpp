// Fuzzes the form encoder with arbitrary field names and values: what the service decodes must be exactly the
// UTF-8 text of each field, and the encoding must hold only the characters a form body may carry.
#include "fuzz/fuzz_input.h"
#include "service/http_client.h"

#include <cstdlib>

using namespace elumira;

namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1; // lower-case digits are not what the encoder writes
}

QByteArray formDecode(const QByteArray &encoded)
{
    QByteArray out;
    for (qsizetype i = 0; i < encoded.size(); ++i) {
        const char c = encoded[i];
        if (c == '+') {
            out.append(' ');
        } else if (c == '%') {
            if (i + 2 >= encoded.size())
                std::abort();
            const int high = hexValue(encoded[i + 1]);
            const int low = hexValue(encoded[i + 2]);
            if (high < 0 || low < 0)
                std::abort();
            out.append(char(high * 16 + low));
            i += 2;
        } else {
            const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                               c == '*' || c == '-' || c == '.' || c == '_';
            if (!plain)
                std::abort();
            out.append(c);
        }
    }
    return out;
}

} // namespace

// The input holds the fields' names and values in turn, separated by NUL bytes.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const QList<QByteArray> texts = input.split('\0');
    FormFields fields;
    for (qsizetype i = 0; i + 1 < texts.size(); i += 2)
        fields.append({QString::fromUtf8(texts[i]), QString::fromUtf8(texts[i + 1])});
    if (texts.size() % 2 == 1)
        fields.append({QString::fromUtf8(texts.last()), QString()});

    const QByteArray body = formEncode(fields);
    const QList<QByteArray> pairs = body.isEmpty() && fields.isEmpty() ? QList<QByteArray>() : body.split('&');
    if (pairs.size() != fields.size())
        std::abort();
    for (qsizetype i = 0; i < pairs.size(); ++i) {
        const qsizetype equals = pairs[i].indexOf('=');
        if (equals < 0)
            std::abort();
        if (formDecode(pairs[i].left(equals)) != fields[i].first.toUtf8() ||
            formDecode(pairs[i].mid(equals + 1)) != fields[i].second.toUtf8())
            std::abort();
    }
    // Answers are decoded by the character set they name; any name and any bytes must be taken.
    (void)decodeBody(input, texts.value(0).left(64));
    return 0;
}
