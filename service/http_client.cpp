// libcurl transport of the service client.
#include "service/http_client.h"

#include <QStringDecoder>
#include <QUrl>

#include <curl/curl.h>
#include <openssl/ssl.h>

#include <memory>
#include <mutex>

#ifndef ELUMIRA_DEFAULT_SERVICE_URL
#define ELUMIRA_DEFAULT_SERVICE_URL "https://api.telmarin.example"
#endif

namespace elumira {

namespace {

void initCurlOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

bool keptAsIs(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '*' || c == '-'
        || c == '.' || c == '_';
}

void appendEncoded(QByteArray &out, const QString &text)
{
    static const char hex[] = "0123456789ABCDEF";
    for (const char byte : text.toUtf8()) {
        const auto c = static_cast<unsigned char>(byte);
        if (keptAsIs(c)) {
            out.append(byte);
        } else if (c == ' ') {
            out.append('+');
        } else {
            out.append('%');
            out.append(hex[c >> 4]);
            out.append(hex[c & 0x0F]);
        }
    }
}

std::atomic<int> g_connectTimeoutMs{RequestLimits().connectTimeoutMs};
std::atomic<int> g_stallTimeoutMs{RequestLimits().stallTimeoutMs};
std::atomic<int> g_downloadTimeoutMs{RequestLimits().downloadTimeoutMs};

struct Exchange
{
    HttpResult *result;
};

size_t onBody(char *data, size_t size, size_t count, void *user)
{
    static_cast<Exchange *>(user)->result->body.append(data, static_cast<qsizetype>(size * count));
    return size * count;
}

size_t onHeader(char *data, size_t size, size_t count, void *user)
{
    const QByteArray line = QByteArray(data, static_cast<qsizetype>(size * count)).trimmed();
    // Every answer (an interim 100 Continue included) begins with a status line; the last one counts.
    if (line.startsWith("HTTP/"))
        static_cast<Exchange *>(user)->result->statusLine = line;
    return size * count;
}

int onProgress(void *user, curl_off_t total, curl_off_t received, curl_off_t, curl_off_t)
{
    const auto *request = static_cast<const HttpRequest *>(user);
    if (request->cancelled && request->cancelled->load())
        return 1;
    if (request->progress)
        request->progress(static_cast<qint64>(received), static_cast<qint64>(total));
    return 0;
}

CURLcode addExtraCa(CURL *, void *sslContext, void *caFile)
{
    auto *context = static_cast<SSL_CTX *>(sslContext);
    if (SSL_CTX_load_verify_locations(context, static_cast<const char *>(caFile), nullptr) != 1)
        return CURLE_SSL_CACERT_BADFILE;
    return CURLE_OK;
}

struct CurlDeleter
{
    void operator()(CURL *handle) const { curl_easy_cleanup(handle); }
};

struct SlistDeleter
{
    void operator()(curl_slist *list) const { curl_slist_free_all(list); }
};

struct MimeDeleter
{
    void operator()(curl_mime *mime) const { curl_mime_free(mime); }
};

} // namespace

RequestLimits requestLimits()
{
    return {g_connectTimeoutMs.load(), g_stallTimeoutMs.load(), g_downloadTimeoutMs.load()};
}

void setRequestLimits(const RequestLimits &limits)
{
    g_connectTimeoutMs = limits.connectTimeoutMs;
    g_stallTimeoutMs = limits.stallTimeoutMs;
    g_downloadTimeoutMs = limits.downloadTimeoutMs;
}

QByteArray formEncode(const FormFields &fields)
{
    QByteArray out;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out.append('&');
        appendEncoded(out, fields[i].first);
        out.append('=');
        appendEncoded(out, fields[i].second);
    }
    return out;
}

QString decodeBody(const QByteArray &body, const QByteArray &contentType)
{
    QByteArray charset;
    for (const QByteArray &part : contentType.split(';')) {
        const QByteArray trimmed = part.trimmed();
        if (trimmed.toLower().startsWith("charset=")) {
            charset = trimmed.mid(8).trimmed();
            if (charset.size() >= 2 && charset.startsWith('"') && charset.endsWith('"'))
                charset = charset.mid(1, charset.size() - 2);
        }
    }
    if (!charset.isEmpty()) {
        QStringDecoder decoder(charset.constData());
        if (decoder.isValid())
            return decoder.decode(body);
    }
    return QString::fromUtf8(body);
}

QByteArray contentTypeForFile(const QString &fileName)
{
    const QString suffix = fileName.section(QLatin1Char('.'), -1).toLower();
    if (!fileName.contains(QLatin1Char('.')))
        return "application/octet-stream";
    if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg") || suffix == QLatin1String("jpe"))
        return "image/jpeg";
    if (suffix == QLatin1String("png"))
        return "image/png";
    if (suffix == QLatin1String("gif"))
        return "image/gif";
    if (suffix == QLatin1String("bmp"))
        return "image/bmp";
    return "application/octet-stream";
}

QString HttpResult::failureMessage() const
{
    if (!transferred)
        return error;
    if (ok())
        return {};
    if (!statusLine.isEmpty())
        return QString::fromLatin1(statusLine);
    return QStringLiteral("HTTP status %1").arg(status);
}

QString serviceUrl()
{
    QString url = qEnvironmentVariable("ELUMIRA_SERVICE_URL");
    if (url.trimmed().isEmpty())
        url = QStringLiteral(ELUMIRA_DEFAULT_SERVICE_URL);
    url = url.trimmed();
    while (url.endsWith(QLatin1Char('/')))
        url.chop(1);
    return url;
}

HttpResult performRequest(const HttpRequest &request)
{
    initCurlOnce();
    HttpResult result;
    Exchange exchange{&result};

    std::unique_ptr<CURL, CurlDeleter> curl(curl_easy_init());
    if (!curl) {
        result.error = QStringLiteral("Cannot start an HTTP client");
        return result;
    }
    CURL *handle = curl.get();

    const QByteArray url =
        request.url.isEmpty() ? (serviceUrl() + request.path).toUtf8() : QUrl(request.url, QUrl::TolerantMode).toEncoded();
    curl_easy_setopt(handle, CURLOPT_URL, url.constData());
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle, CURLOPT_FORBID_REUSE, 1L);
    curl_easy_setopt(handle, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(handle, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, onBody);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, &exchange);
    curl_easy_setopt(handle, CURLOPT_HEADERFUNCTION, onHeader);
    curl_easy_setopt(handle, CURLOPT_HEADERDATA, &exchange);
    char errorBuffer[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(handle, CURLOPT_ERRORBUFFER, errorBuffer);

    const QByteArray caFile = qgetenv("ELUMIRA_CA_BUNDLE");
    if (!caFile.isEmpty()) {
        curl_easy_setopt(handle, CURLOPT_SSL_CTX_FUNCTION, addExtraCa);
        curl_easy_setopt(handle, CURLOPT_SSL_CTX_DATA, caFile.constData());
    }

    if (request.cancelled || request.progress) {
        curl_easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);
        curl_easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, onProgress);
        curl_easy_setopt(handle, CURLOPT_XFERINFODATA, const_cast<HttpRequest *>(&request));
    }
    if (request.connectTimeoutMs > 0)
        curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(request.connectTimeoutMs));
    if (request.followRedirects) {
        curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
        curl_easy_setopt(handle, CURLOPT_MAXREDIRS, 10L);
        curl_easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    }

    if (request.readTimeoutMs > 0) {
        // Less than a byte a second for the whole time-out (nothing arriving) ends the wait.
        curl_easy_setopt(handle, CURLOPT_LOW_SPEED_LIMIT, 1L);
        curl_easy_setopt(handle, CURLOPT_LOW_SPEED_TIME, static_cast<long>((request.readTimeoutMs + 999) / 1000));
    }

    curl_slist *headers = nullptr;
    auto appendHeader = [&headers](const QByteArray &line) {
        if (curl_slist *grown = curl_slist_append(headers, line.constData()))
            headers = grown;
    };
    for (const auto &[name, value] : request.headers)
        appendHeader(name + ": " + value);
    std::unique_ptr<curl_mime, MimeDeleter> mime;
    if (request.method == "POST" && !request.parts.isEmpty()) {
        // libcurl writes the multipart content type with its boundary itself; no part gets a transfer encoding.
        mime.reset(curl_mime_init(handle));
        for (const MimePart &from : request.parts) {
            curl_mimepart *part = curl_mime_addpart(mime.get());
            curl_mime_name(part, from.name.constData());
            curl_mime_data(part, from.data.constData(), static_cast<size_t>(from.data.size()));
            if (!from.fileName.isEmpty())
                curl_mime_filename(part, from.fileName.constData());
            if (!from.contentType.isEmpty())
                curl_mime_type(part, from.contentType.constData());
        }
        appendHeader("Expect:");
        curl_easy_setopt(handle, CURLOPT_MIMEPOST, mime.get());
    } else if (request.method == "POST") {
        appendHeader("Content-Type: " + request.contentType);
        // Bodies go at once, without waiting for a "100 Continue".
        appendHeader("Expect:");
        curl_easy_setopt(handle, CURLOPT_POST, 1L);
        curl_easy_setopt(handle, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(request.body.size()));
        curl_easy_setopt(handle, CURLOPT_POSTFIELDS, request.body.constData());
    } else {
        curl_easy_setopt(handle, CURLOPT_HTTPGET, 1L);
    }
    std::unique_ptr<curl_slist, SlistDeleter> headerList(headers);
    curl_easy_setopt(handle, CURLOPT_HTTPHEADER, headers);

    const CURLcode code = curl_easy_perform(handle);
    if (code != CURLE_OK) {
        result.error = QString::fromUtf8(errorBuffer[0] ? errorBuffer : curl_easy_strerror(code));
        return result;
    }
    result.transferred = true;
    curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &result.status);
    char *type = nullptr;
    if (curl_easy_getinfo(handle, CURLINFO_CONTENT_TYPE, &type) == CURLE_OK && type)
        result.contentType = type;
    return result;
}

} // namespace elumira
