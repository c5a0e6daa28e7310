// Reading requests in the form the request log and the routes need them.
#include "demo/incoming.h"

#include <algorithm>
#include <cctype>

namespace demo {

namespace {

std::string_view trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string percentDecode(std::string_view s)
{
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '+') {
            out += ' ';
        } else if (s[i] == '%' && i + 2 < s.size() && hexValue(s[i + 1]) >= 0 && hexValue(s[i + 2]) >= 0) {
            out += static_cast<char>(hexValue(s[i + 1]) * 16 + hexValue(s[i + 2]));
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

// The value of a parameter such as boundary="x" or name="data" inside a header value.
std::optional<std::string> headerParameter(std::string_view value, std::string_view name)
{
    size_t pos = 0;
    while (pos < value.size()) {
        size_t semi = value.find(';', pos);
        if (semi == std::string_view::npos)
            semi = value.size();
        std::string_view item = trim(value.substr(pos, semi - pos));
        const size_t eq = item.find('=');
        if (eq != std::string_view::npos && equalsNoCase(trim(item.substr(0, eq)), name)) {
            std::string_view v = trim(item.substr(eq + 1));
            if (v.size() >= 2 && v.front() == '"' && v.back() == '"')
                v = v.substr(1, v.size() - 2);
            return std::string(v);
        }
        pos = semi + 1;
    }
    return std::nullopt;
}

bool startsWithNoCase(std::string_view s, std::string_view prefix)
{
    return s.size() >= prefix.size() && equalsNoCase(s.substr(0, prefix.size()), prefix);
}

NameValues headersFromRaw(std::string_view head)
{
    NameValues headers;
    size_t pos = head.find("\r\n"); // skip the request line
    while (pos != std::string_view::npos && pos + 2 < head.size()) {
        const size_t start = pos + 2;
        const size_t end = head.find("\r\n", start);
        const std::string_view line =
            head.substr(start, end == std::string_view::npos ? head.size() - start : end - start);
        if (line.empty())
            break;
        const size_t colon = line.find(':');
        if (colon != std::string_view::npos)
            headers.emplace_back(std::string(trim(line.substr(0, colon))), std::string(trim(line.substr(colon + 1))));
        pos = end;
    }
    return headers;
}

} // namespace

bool equalsNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

std::string Incoming::header(std::string_view name) const
{
    for (const auto &[n, v] : headers)
        if (equalsNoCase(n, name))
            return v;
    return {};
}

bool Incoming::hasHeader(std::string_view name) const
{
    return std::any_of(headers.begin(), headers.end(), [&](const auto &h) { return equalsNoCase(h.first, name); });
}

std::string Incoming::field(std::string_view name) const
{
    if (form)
        for (const auto &[n, v] : *form)
            if (n == name)
                return v;
    return {};
}

bool Incoming::hasField(std::string_view name) const
{
    return form && std::any_of(form->begin(), form->end(), [&](const auto &f) { return f.first == name; });
}

const Part *Incoming::part(std::string_view name) const
{
    if (parts)
        for (const Part &p : *parts)
            if (p.name == name)
                return &p;
    return nullptr;
}

NameValues decodeForm(std::string_view text)
{
    NameValues fields;
    size_t pos = 0;
    while (pos <= text.size() && !text.empty()) {
        size_t amp = text.find('&', pos);
        if (amp == std::string_view::npos)
            amp = text.size();
        const std::string_view pair = text.substr(pos, amp - pos);
        if (!pair.empty()) {
            const size_t eq = pair.find('=');
            if (eq == std::string_view::npos)
                fields.emplace_back(percentDecode(pair), std::string());
            else
                fields.emplace_back(percentDecode(pair.substr(0, eq)), percentDecode(pair.substr(eq + 1)));
        }
        pos = amp + 1;
    }
    return fields;
}

std::optional<std::vector<Part>> splitMultipart(std::string_view body, std::string_view boundary)
{
    const std::string delimiter = "--" + std::string(boundary);
    size_t pos = body.find(delimiter);
    if (boundary.empty() || pos == std::string_view::npos)
        return std::nullopt;
    std::vector<Part> parts;
    for (;;) {
        pos += delimiter.size();
        if (body.substr(pos, 2) == "--")
            return parts;
        if (body.substr(pos, 2) != "\r\n")
            return std::nullopt;
        pos += 2;
        const size_t headEnd = body.find("\r\n\r\n", pos);
        if (headEnd == std::string_view::npos)
            return std::nullopt;
        Part part;
        const NameValues headers = headersFromRaw("\r\n" + std::string(body.substr(pos, headEnd - pos)) + "\r\n");
        for (const auto &[name, value] : headers) {
            if (equalsNoCase(name, "Content-Disposition")) {
                part.name = headerParameter(value, "name").value_or("");
                part.filename = headerParameter(value, "filename");
            } else if (equalsNoCase(name, "Content-Type")) {
                part.contentType = value;
            }
        }
        const size_t contentStart = headEnd + 4;
        const size_t next = body.find("\r\n" + delimiter, contentStart);
        if (next == std::string_view::npos)
            return std::nullopt;
        part.content = std::string(body.substr(contentStart, next - contentStart));
        parts.push_back(std::move(part));
        pos = next + 2;
    }
}

Incoming readIncoming(const httplib::Request &req, const std::string *raw)
{
    Incoming in;
    in.method = req.method;
    in.path = req.path;
    in.target = req.target;

    std::string_view rawBody;
    if (raw && !raw->empty()) {
        const size_t headEnd = raw->find("\r\n\r\n");
        const std::string_view all(*raw);
        in.headers = headersFromRaw(all.substr(0, headEnd == std::string::npos ? all.size() : headEnd + 2));
        if (headEnd != std::string::npos)
            rawBody = all.substr(headEnd + 4);
    } else {
        for (const auto &[n, v] : req.headers)
            if (n != "REMOTE_ADDR" && n != "REMOTE_PORT" && n != "LOCAL_ADDR" && n != "LOCAL_PORT")
                in.headers.emplace_back(n, v);
    }

    const std::string contentType = in.header("Content-Type");
    const bool chunked = equalsNoCase(in.header("Transfer-Encoding"), "chunked");
    if (startsWithNoCase(contentType, "multipart/form-data")) {
        // httplib keeps no body for multipart requests; the raw bytes hold it unless it came in chunks.
        in.body = chunked ? std::string() : std::string(rawBody);
        const auto boundary = headerParameter(contentType, "boundary");
        if (boundary && !in.body.empty())
            in.parts = splitMultipart(in.body, *boundary);
        if (!in.parts) {
            std::vector<Part> parts;
            for (const auto &[name, file] : req.files)
                parts.push_back(Part{file.name,
                                     file.filename.empty() ? std::nullopt : std::optional<std::string>(file.filename),
                                     file.content_type, file.content});
            in.parts = std::move(parts);
        }
        return in;
    }

    in.body = req.body;
    if (startsWithNoCase(contentType, "application/x-www-form-urlencoded"))
        in.form = decodeForm(in.body);
    if (!in.body.empty()) {
        Json parsed = Json::parse(in.body, nullptr, false);
        if (!parsed.is_discarded())
            in.json = std::move(parsed);
    }
    return in;
}

std::string serviceJson(const Json &value)
{
    const std::string text = value.dump(-1, ' ', true, Json::error_handler_t::replace);
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (char c : text) {
        if (c == '/')
            out += '\\';
        out += c;
    }
    return out;
}

} // namespace demo
