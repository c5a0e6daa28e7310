// The request conventions of the service client: header sets, bodies, answers and error envelopes,
// and the two start-up requests.
#include "service/lekora_lib.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <stdexcept>

namespace elumira {

HeaderList TLekoraLib::headers(HeaderSet set) const
{
    HeaderList list;
    auto add = [&list](const char *name, const QString &value) {
        if (!value.isEmpty())
            list.append({QByteArray(name), value.toUtf8()});
    };
    const QString clientId = QString::fromLatin1(kClientId);
    const QString os = QString::fromLatin1(kOs);
    switch (set) {
    case HeaderSet::None:
        break;
    case HeaderSet::Device:
        add("CLIENTID", clientId);
        add("OS", os);
        add("UUID", DevUUID);
        break;
    case HeaderSet::Login:
        add("OS", os);
        add("CLIENTID", clientId);
        add("UUID", DevUUID);
        break;
    case HeaderSet::Registration:
        add("CLIENTID", clientId);
        add("OS", os);
        break;
    case HeaderSet::Member: {
        add("CLIENTID", clientId);
        add("OS", os);
        add("UUID", DevUUID);
        const std::lock_guard lock(m_memberLock);
        add("KEY", FToken);
        add("USERID", FUserId);
        add("USERLEVEL", FUserLevel);
        break;
    }
    }
    return list;
}

void TLekoraLib::setCustomParams(HttpRequest &HTTP) const
{
    HTTP.headers.append(headers(HeaderSet::Member));
}

Json TLekoraLib::exchange(const HttpRequest &request, const QString &marker)
{
    return readAnswer(performRequest(request), marker);
}

Json TLekoraLib::readAnswer(const HttpResult &result, const QString &marker)
{
    if (!result.ok())
        return errorEnvelope(marker, result.failureMessage());

    const QByteArray text = decodeBody(result.body, result.contentType).toUtf8();
    Json answer = Json::parse(text.constData(), text.constData() + text.size(), nullptr, false);
    if (answer.is_discarded() || !answer.is_object())
        return errorEnvelope(marker, QStringLiteral("The service's answer is not a JSON object"));
    return answer;
}

Json TLekoraLib::postForm(const char *path, const FormFields &fields, HeaderSet set, const char *marker) const
{
    HttpRequest request;
    request.method = "POST";
    request.path = QString::fromLatin1(path);
    request.headers = headers(set);
    request.body = formEncode(fields);
    request.contentType = "application/x-www-form-urlencoded";
    request.cancelled = &m_cancelled;
    return exchange(request, QString::fromLatin1(marker));
}

Json TLekoraLib::postJson(const char *path, const QString &json, const char *marker) const
{
    HttpRequest request;
    request.method = "POST";
    request.path = QString::fromLatin1(path);
    setCustomParams(request);
    request.body = json.toUtf8();
    request.contentType = "application/json; charset=utf-8";
    request.cancelled = &m_cancelled;
    return exchange(request, QString::fromLatin1(marker));
}

Json TLekoraLib::get(const char *path, HeaderSet set, const char *marker) const
{
    HttpRequest request;
    request.path = QString::fromLatin1(path);
    request.headers = headers(set);
    request.cancelled = &m_cancelled;
    return exchange(request, QString::fromLatin1(marker));
}

Json TLekoraLib::checkAppVersionRequest() const
{
    HttpRequest request;
    request.method = "POST";
    request.path = QStringLiteral("/api/wl/checkAppVersion");
    request.body = formEncode({{QStringLiteral("kode"), QString::fromLatin1(kAppCode)},
                               {QStringLiteral("os"), QString::fromLatin1(kOs)},
                               {QStringLiteral("versi"), QString::fromLatin1(kVersion)}});
    request.contentType = "application/x-www-form-urlencoded";
    // The version check has its own rule: only the wait for the answer is limited, to 30 s.
    request.connectTimeoutMs = 0;
    request.readTimeoutMs = 30000;
    request.cancelled = &m_cancelled;
    return exchange(request, QStringLiteral("#301 "));
}

namespace {

// A text file read as lines, remembering its encoding and line ends so it can be written back as it was.
struct TextLines
{
    QByteArray bom;
    QStringConverter::Encoding encoding = QStringConverter::Utf8;
    QStringList lines;
    QStringList endings;
};

TextLines readLines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error(QStringLiteral("Cannot open %1: %2").arg(path, file.errorString()).toStdString());
    const QByteArray bytes = file.readAll();

    TextLines text;
    QByteArray body = bytes;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        text.bom = bytes.left(3);
    } else if (bytes.startsWith("\xFF\xFE")) {
        text.bom = bytes.left(2);
        text.encoding = QStringConverter::Utf16LE;
    } else if (bytes.startsWith("\xFE\xFF")) {
        text.bom = bytes.left(2);
        text.encoding = QStringConverter::Utf16BE;
    }
    body = bytes.mid(text.bom.size());
    QStringDecoder decoder(text.encoding, QStringConverter::Flag::Stateless);
    QString content = decoder.decode(body);
    if (decoder.hasError() && text.encoding == QStringConverter::Utf8) {
        // Not UTF-8: an 8-bit sheet is kept in Latin-1, which maps every byte back to itself.
        text.encoding = QStringConverter::Latin1;
        content = QString::fromLatin1(body);
    }

    qsizetype start = 0;
    while (start < content.size()) {
        qsizetype end = content.indexOf(QLatin1Char('\n'), start);
        if (end < 0) {
            text.lines.append(content.mid(start));
            text.endings.append(QString());
            break;
        }
        qsizetype lineEnd = end;
        if (lineEnd > start && content.at(lineEnd - 1) == QLatin1Char('\r'))
            --lineEnd;
        text.lines.append(content.mid(start, lineEnd - start));
        text.endings.append(content.mid(lineEnd, end + 1 - lineEnd));
        start = end + 1;
    }
    return text;
}

void writeLines(const QString &path, const TextLines &text)
{
    QString content;
    for (qsizetype i = 0; i < text.lines.size(); ++i)
        content += text.lines[i] + text.endings[i];
    QStringEncoder encoder(text.encoding, QStringConverter::Flag::Stateless);
    const QByteArray bytes = text.bom + QByteArray(encoder.encode(content));

    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error(QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()).toStdString());
    if (file.write(bytes) != bytes.size() || !file.flush())
        throw std::runtime_error(QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()).toStdString());
}

} // namespace

void TLekoraLib::fillStyleSheetColours(const Json &configuration) const
{
    static const QString buttonMark = QStringLiteral("[WARNA_BUTTON_LOGIN]");
    static const QString hoverMark = QStringLiteral("[WARNA_HOVER_BUTTON_LOGIN]");

    const QString path = FPath + QStringLiteral("/css/style.css");
    TextLines sheet = readLines(path);
    const Json &data = jsonObject(configuration, "data");
    const QString button = jsonText(data, "warna_button_login");
    const QString hover = jsonText(data, "warna_hover_button_login");
    for (QString &line : sheet.lines) {
        if (line.contains(buttonMark, Qt::CaseInsensitive))
            line.replace(buttonMark, button, Qt::CaseSensitive);
        if (line.contains(hoverMark, Qt::CaseInsensitive))
            line.replace(hoverMark, hover, Qt::CaseSensitive);
    }
    writeLines(path, sheet);
}

const Json &TLekoraLib::getClientJson()
{
    Json configuration = get("/api/wl/mitra", HeaderSet::Device, "#355 ");
    try {
        if (jsonText(configuration, "code") != QLatin1String("500"))
            fillStyleSheetColours(configuration);
    } catch (const std::exception &error) {
        configuration = errorEnvelope(QStringLiteral("#355 "), QString::fromUtf8(error.what()));
    }
    store(FClientJson, std::move(configuration));
    return *FClientJson;
}

} // namespace elumira
