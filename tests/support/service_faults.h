// The faults a request can meet, as the demo library service gives them, for the tables that put every request
// of the program against every fault.
#pragma once

#include "demo/control.h"

#include <QRegularExpression>
#include <QString>

#include <string>

namespace elumira::test {

enum class ServiceFault { Unreachable, Html500, NotJson, JsonArray, Dropped, Stalled, AuthFailed };

inline constexpr ServiceFault kEveryServiceFault[] = {
    ServiceFault::Unreachable, ServiceFault::Html500, ServiceFault::NotJson,   ServiceFault::JsonArray,
    ServiceFault::Dropped,     ServiceFault::Stalled, ServiceFault::AuthFailed};

// The limits the requests run with while the service stalls (elumira::test::ShortRequestLimits), and how long the
// stalled service waits before its answer: well after them. A request that sent a body is given up only once its
// sending has also dropped out of the transfer's speed reckoning, some seconds later than one that sent none.
inline constexpr int kFaultLimitMs = 1000;
inline constexpr int kFaultStallMs = 9000;

inline const char *faultName(ServiceFault fault)
{
    switch (fault) {
    case ServiceFault::Unreachable:
        return "unreachable";
    case ServiceFault::Html500:
        return "HTTP 500 with an HTML body";
    case ServiceFault::NotJson:
        return "not JSON";
    case ServiceFault::JsonArray:
        return "a JSON array";
    case ServiceFault::Dropped:
        return "dropped connection";
    case ServiceFault::Stalled:
        return "stalled past the time-out";
    case ServiceFault::AuthFailed:
        return "Auth Failed";
    }
    return "";
}

// The demo service's answer to the next request to path. An unreachable service has no answer: point the program
// at a closed port instead.
inline demo::Fault demoFault(ServiceFault fault, const std::string &path)
{
    demo::Fault f;
    f.path = path;
    switch (fault) {
    case ServiceFault::Html500:
        f.status = 500;
        f.body = "<html><head><title>500</title></head><body><h1>Internal Server Error</h1></body></html>";
        f.contentType = "text/html; charset=utf-8";
        break;
    case ServiceFault::NotJson:
        f.status = 200;
        f.body = "Layanan sedang dalam pemeliharaan <b>sementara</b>";
        f.contentType = "text/html; charset=utf-8";
        break;
    case ServiceFault::JsonArray:
        f.status = 200;
        f.body = R"([{"code":"200","msg":"OK"}])";
        f.contentType = "application/json";
        break;
    case ServiceFault::Dropped:
        f.drop = true;
        break;
    case ServiceFault::Stalled:
        f.delayMs = kFaultStallMs;
        break;
    case ServiceFault::AuthFailed:
        f.status = 200;
        f.body = R"({"code":"500","msg":"Auth Failed"})";
        f.contentType = "application/json";
        break;
    case ServiceFault::Unreachable:
        break;
    }
    return f;
}

// A box a member can act on: some words, no mark-up of an error page, not just an error number.
inline bool clearText(const QString &text)
{
    static const QRegularExpression bareMarker(QStringLiteral("(#\\s*\\d+\\s*:?|:)\\s*$"));
    return text.trimmed().size() >= 8 && !text.contains(QLatin1Char('<')) && !bareMarker.match(text).hasMatch();
}

} // namespace elumira::test
