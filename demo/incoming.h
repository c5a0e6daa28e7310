// A request as the client sent it: headers and form fields in their order, the raw body, a JSON body, multipart parts.
#pragma once

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace demo {

using Json = nlohmann::ordered_json;
using NameValues = std::vector<std::pair<std::string, std::string>>;

struct Part
{
    std::string name;
    std::optional<std::string> filename;
    std::string contentType;
    std::string content;
};

struct Incoming
{
    std::string method;
    std::string path;                       // without the query
    std::string target;                     // as sent, query included
    NameValues headers;                     // in received order, names as sent
    std::string body;                       // raw bytes
    std::optional<NameValues> form;         // decoded fields of a form-encoded body, in order
    std::optional<Json> json;               // a body that parses as JSON
    std::optional<std::vector<Part>> parts; // the parts of a multipart body, in order

    // First value of a header, compared without regard to case; empty when absent.
    std::string header(std::string_view name) const;
    bool hasHeader(std::string_view name) const;
    // First value of a form field; empty when absent.
    std::string field(std::string_view name) const;
    bool hasField(std::string_view name) const;
    const Part *part(std::string_view name) const;
};

// Reads a request handled by httplib; raw holds every byte read for it (request line, headers, body) when known.
Incoming readIncoming(const httplib::Request &req, const std::string *raw);

// Decodes an application/x-www-form-urlencoded text: '+' is a space, %XX a byte.
NameValues decodeForm(std::string_view text);

// Splits a multipart/form-data body at the boundary; nullopt when it is not well formed.
std::optional<std::vector<Part>> splitMultipart(std::string_view body, std::string_view boundary);

// JSON text as a PHP service writes it: non-ASCII as \u escapes and every slash escaped.
std::string serviceJson(const Json &value);

bool equalsNoCase(std::string_view a, std::string_view b);

} // namespace demo
