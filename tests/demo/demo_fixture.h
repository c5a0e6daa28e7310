// A demo service started in the test process on a free port, with a client that talks to it the way the program
// does: form bodies encoded by the program's rules and the header sets it sends.
#pragma once

#include "demo/incoming.h"
#include "demo/service.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <httplib.h>

#include <memory>
#include <string>

namespace demo::testing {

struct Session
{
    std::string token, userId, level, uuid;
};

// Encodes form fields as the program does: letters, digits and *-._ stay, a space is '+', the rest %XX.
std::string formBody(const NameValues &fields);

// Sends text as it stands on a fresh connection and returns everything the service wrote back.
std::string rawExchange(int port, const std::string &request);

class DemoService : public ::testing::Test
{
protected:
    void SetUp() override { startService({}); }
    void TearDown() override;

    void startService(Config config);

    httplib::Client client() const;
    // POST of form fields; the answer's body parsed, or a JSON null when the request failed or was not JSON.
    Json post(const std::string &path, const NameValues &fields, const httplib::Headers &headers = {});
    Json get(const std::string &path, const httplib::Headers &headers = {});
    Json postJson(const std::string &path, const std::string &body, const httplib::Headers &headers);

    static httplib::Headers deviceHeaders(const std::string &uuid = "0000001F");
    static httplib::Headers memberHeaders(const Session &s);
    Json loginAnswer(const std::string &email, const std::string &password, const std::string &uuid = "0000001F");
    Session login(const std::string &email, const std::string &password, const std::string &uuid = "0000001F");
    Session loginBima(const std::string &uuid = "0000001F");

    static constexpr const char *kSekar = "sekar.ayuningtyas@telmarin.example";
    static constexpr const char *kBima = "bima.pratama@telmarin.example";

    std::unique_ptr<QTemporaryDir> m_dataDir;
    std::unique_ptr<Service> m_service;
};

} // namespace demo::testing
