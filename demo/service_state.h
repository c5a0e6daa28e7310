// What the demo service's routes share: its parts, the way requests are wrapped, and the answers they give.
#pragma once

#include "demo/book_files.h"
#include "demo/catalogue.h"
#include "demo/control.h"
#include "demo/incoming.h"
#include "demo/pictures.h"
#include "demo/service.h"
#include "demo/store.h"

#include <httplib.h>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace demo {

struct ServiceState
{
    explicit ServiceState(Config c);

    Config config;
    Catalogue catalogue;
    Store store;
    BookFiles books;
    Pictures pictures;
    Control control;
    std::unique_ptr<httplib::Server> server;
    bool tls = false;
    int port = -1;
    std::atomic<bool> stopping{false};
};

using Route = std::function<void(const Incoming &in, const httplib::Request &req, httplib::Response &res)>;

// Registers a route; every request is logged and meets its fault, if one is set, before the route sees it.
void on(ServiceState &state, const std::string &method, const std::string &pattern, Route route);

void addAccountRoutes(ServiceState &state);
void addCatalogueRoutes(ServiceState &state);
void addLoanRoutes(ServiceState &state);
void addFileRoutes(ServiceState &state);
void addControlRoutes(ServiceState &state);

// The service's JSON answer (HTTP 200 whatever the code inside).
void answer(httplib::Response &res, const Json &body);
Json refusal(const std::string &code, const std::string &msg);

// The address the client reached this service under, for the complete URLs in answers.
std::string publicBase(const ServiceState &state, const Incoming &in);

enum class HeaderSet { Device, Login, Registration };
// Checks the fixed headers of a set; answers the refusal itself and returns false when they are wrong.
bool checkHeaders(const Incoming &in, HeaderSet set, httplib::Response &res);
// The member whose log-in the member header set carries; answers the refusal itself when there is none.
std::optional<Member> memberOf(ServiceState &state, const Incoming &in, httplib::Response &res);

// A non-negative decimal number in text, or fallback.
int toNumber(const std::string &text, int fallback);

} // namespace demo
