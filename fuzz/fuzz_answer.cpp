// Fuzzes reading the service's answers: the status line, content type and body of an HTTP answer turned into
// a JSON object or an error envelope, then every member read through the lenient readers.
#include "fuzz/fuzz_input.h"
#include "service/lekora_lib.h"

#include <QByteArray>

#include <cstdlib>
#include <stdexcept>

using namespace elumira;

namespace {

// Reads a value the way the pages and windows do, with every reader on every member, down the whole tree.
void readAll(const Json &value, int depth)
{
    if (depth > 64)
        return;
    (void)jsonText(value);
    if (value.is_array()) {
        for (const Json &item : value)
            readAll(item, depth + 1);
        return;
    }
    if (!value.is_object())
        return;
    (void)hasCode(value, "200");
    (void)hasCode(value, "500");
    for (auto it = value.begin(); it != value.end(); ++it) {
        const std::string &key = it.key();
        (void)jsonText(value, key.c_str());
        (void)jsonInt(value, key.c_str());
        try {
            (void)jsonList(value, key.c_str());
        } catch (const JsonShapeError &) {
        }
        try {
            (void)jsonObject(value, key.c_str());
        } catch (const JsonShapeError &) {
        }
        readAll(it.value(), depth + 1);
    }
}

} // namespace

// The input is the answer's first line, "<status> <content type>", then a line break and the body.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype lineEnd = input.indexOf('\n');
    const QByteArray head = lineEnd < 0 ? input : input.left(lineEnd);
    HttpResult result;
    result.transferred = !head.startsWith('!');
    const qsizetype space = head.indexOf(' ');
    result.status = (space < 0 ? head : head.left(space)).toLong();
    result.statusLine = "HTTP/1.1 " + head.left(space < 0 ? head.size() : space);
    result.contentType = space < 0 ? QByteArray() : head.mid(space + 1);
    result.body = lineEnd < 0 ? QByteArray() : input.mid(lineEnd + 1);
    if (!result.transferred)
        result.error = QString::fromUtf8(result.body);

    const Json answer = TLekoraLib::readAnswer(result, QStringLiteral("#457 "));
    if (!answer.is_object())
        std::abort(); // every request's caller relies on an object, an envelope at worst
    readAll(answer, 0);
    // What a completion handler shows of a failed answer.
    (void)jsonText(answer, "msg").toStdString();
    (void)answer.dump(-1, ' ', false, Json::error_handler_t::replace);

    try {
        readAll(TLekoraLib::readRegionAnswer(result), 0);
    } catch (const std::runtime_error &) {
    }
    return 0;
}
