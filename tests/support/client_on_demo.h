// The program's service client against the demo library service, for the windows that talk to it directly.
#pragma once

#include "common/dialogs.h"
#include "common/json_read.h"
#include "demo/control.h"
#include "demo/service.h"
#include "service/lekora_lib.h"
#include "tests/support/service_faults.h"
#include "tests/support/short_request_limits.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace elumira::test {

class ClientOnDemo : public ::testing::Test
{
protected:
    // Starts the demo service, points the program at it and creates the service client with the partner
    // configuration fetched, as the start-up does.
    void SetUp() override;
    void TearDown() override;

    // Starts the service and the client without fetching the partner configuration.
    void startServiceAndClient();

    // The demo service's log of requests to one path (all paths when empty), oldest first.
    Json requests(const std::string &path) const;
    // Makes the next request to path wait delayMs before its normal answer.
    void delay(const std::string &path, int delayMs);
    // Makes the next request to path close the connection without an answer.
    void drop(const std::string &path);
    // Makes the next request to path answer with this body.
    void answerWith(const std::string &path, const std::string &body);

    // Makes the next request to path meet fault; an unreachable service stays so, and a stalled one runs with
    // short request limits, until heal().
    void inject(ServiceFault fault, const std::string &path);
    // The service is reachable again, gives no more faults, and the request limits are the usual ones.
    void heal();

    // Whether a box with exactly this text has been shown.
    bool shown(const QString &text) const;
    // Waits until a box with exactly this text has been shown.
    bool waitForBox(const QString &text, int timeoutMs = 15000) const;

    QTemporaryDir books;
    std::unique_ptr<demo::Service> service;
    RecordingDialogs dialogs;
    std::shared_ptr<TLekoraLib> lekora;
    std::unique_ptr<ShortRequestLimits> limits;
};

} // namespace elumira::test
