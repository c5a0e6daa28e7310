// One HTTP(S) exchange with the library service over libcurl, and the wire encodings it needs.
#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

#include <atomic>
#include <functional>

namespace elumira {

using HeaderList = QList<QPair<QByteArray, QByteArray>>;
using FormFields = QList<QPair<QString, QString>>;

// Encodes form fields: UTF-8; letters, digits and "*-._" kept; space as "+"; every other byte as %XX
// with uppercase hexadecimal digits; pairs joined by "&".
QByteArray formEncode(const FormFields &fields);

// Decodes an answer body with the character set its content type names; UTF-8 when none is named or
// the named one is unknown.
QString decodeBody(const QByteArray &body, const QByteArray &contentType);

// One part of a multipart/form-data body. A part with a file name is sent as a file.
struct MimePart
{
    QByteArray name;
    QByteArray fileName;
    QByteArray contentType;
    QByteArray data;
};

// The content type of a file sent in a multipart body, from its name's extension.
QByteArray contentTypeForFile(const QString &fileName);

// How long a service request waits: for its connection, and for the next bytes of the answer. A request that
// waits longer gives up and fails like any broken transfer.
struct RequestLimits
{
    int connectTimeoutMs = 15000;
    int stallTimeoutMs = 60000;
    // A book file's download: the longest wait for its connection and for its next bytes.
    int downloadTimeoutMs = 60000;
};

// The limits every request starts with.
RequestLimits requestLimits();
// Replaces the limits for the requests built from then on; tests shorten them so that a stalled service is
// given up quickly.
void setRequestLimits(const RequestLimits &limits);

struct HttpRequest
{
    QByteArray method = "GET";
    // Path on the service, beginning with "/".
    QString path;
    // The program's own headers, sent in this order.
    HeaderList headers;
    QByteArray body;
    QByteArray contentType;
    // When not empty, a POST sends these parts as multipart/form-data, in order, in place of body.
    QList<MimePart> parts;
    // Longest wait for the connection; 0 leaves it to libcurl.
    int connectTimeoutMs = requestLimits().connectTimeoutMs;
    // Longest wait without receiving any byte; 0 waits without a limit.
    int readTimeoutMs = requestLimits().stallTimeoutMs;
    // When set and it becomes true, the transfer is given up (within about a second).
    const std::atomic<bool> *cancelled = nullptr;
    // A whole address, used as given instead of the service's address followed by path.
    QString url;
    bool followRedirects = false;
    // Told, on the transfer's own thread, how many bytes of the answer have arrived and how many were
    // announced (0 when the size is not known).
    std::function<void(qint64 received, qint64 total)> progress;
};

struct HttpResult
{
    // False when no answer arrived (connection, name resolution, TLS, time-out, broken transfer).
    bool transferred = false;
    QString error;
    long status = 0;
    // The answer's status line without its line break, for example "HTTP/1.1 404 Not Found".
    QByteArray statusLine;
    QByteArray contentType;
    QByteArray body;

    bool ok() const { return transferred && status >= 200 && status < 300; }
    // What went wrong, in words fit for a message box; empty when ok().
    QString failureMessage() const;
};

// The service the program talks to: the built-in address unless ELUMIRA_SERVICE_URL names another,
// without a trailing slash.
QString serviceUrl();

// Sends one request on a fresh connection and waits for the whole answer. TLS peers and host names are
// always verified; ELUMIRA_CA_BUNDLE names an extra CA file to trust besides the system's.
HttpResult performRequest(const HttpRequest &request);

} // namespace elumira
