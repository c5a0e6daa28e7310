// The HTTP and HTTPS servers of the demo service: httplib servers that keep the raw bytes of each request and can
// withhold an answer by closing the connection.
#pragma once

#include <httplib.h>

#include <memory>
#include <string>

namespace demo {

// The connection the current handler thread is serving.
struct Connection
{
    std::string received; // every byte read for the request in hand: request line, headers, body
    bool drop = false;    // close the connection without writing an answer
    bool tls = false;
};

// The connection of the request being handled on this thread, or nullptr outside a handler.
Connection *currentConnection();

// A plain HTTP server, or an HTTPS one when certFile is not empty. Null with *error set when the certificate or key
// cannot be loaded.
std::unique_ptr<httplib::Server> makeServer(const std::string &certFile, const std::string &keyFile,
                                            std::string *error);

} // namespace demo
