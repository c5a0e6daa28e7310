// The program's service client against the demo library service, for the windows that talk to it directly.
#pragma once

#include "common/dialogs.h"
#include "common/json_read.h"
#include "demo/control.h"
#include "demo/service.h"
#include "service/lekora_lib.h"

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

    // Whether a box with exactly this text has been shown.
    bool shown(const QString &text) const;
    // Waits until a box with exactly this text has been shown.
    bool waitForBox(const QString &text, int timeoutMs = 15000) const;

    QTemporaryDir books;
    std::unique_ptr<demo::Service> service;
    RecordingDialogs dialogs;
    std::shared_ptr<TLekoraLib> lekora;
};

} // namespace elumira::test
