// The request log and the fault list behind the control path.
#include "demo/control.h"

#include <chrono>

namespace demo {

namespace {

Json pairs(const NameValues &values)
{
    Json out = Json::array();
    for (const auto &[name, value] : values)
        out.push_back(Json::array({name, value}));
    return out;
}

bool validUtf8(const std::string &s)
{
    size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        const int extra = c < 0x80 ? 0 : (c >> 5) == 0x6 ? 1 : (c >> 4) == 0xE ? 2 : (c >> 3) == 0x1E ? 3 : -1;
        if (extra < 0 || i + size_t(extra) >= s.size())
            return false;
        for (int k = 1; k <= extra; ++k)
            if ((static_cast<unsigned char>(s[i + size_t(k)]) & 0xC0) != 0x80)
                return false;
        i += size_t(extra) + 1;
    }
    return true;
}

} // namespace

Json Fault::toJson() const
{
    Json j = {{"id", id}, {"path", path}, {"method", method.empty() ? Json() : Json(method)}};
    j["status"] = status ? Json(*status) : Json();
    j["body"] = body ? Json(*body) : Json();
    j["content_type"] = contentType;
    j["delay_ms"] = delayMs;
    j["drop"] = drop;
    j["once"] = once;
    return j;
}

std::optional<Fault> Fault::fromJson(const Json &value, std::string *error)
{
    auto fail = [error](const std::string &why) {
        *error = why;
        return std::nullopt;
    };
    if (!value.is_object())
        return fail("a fault is a JSON object");
    Fault f;
    if (!value.contains("path") || !value["path"].is_string() || value["path"].get<std::string>().empty())
        return fail("\"path\" names the path the fault is for");
    f.path = value["path"].get<std::string>();
    if (value.contains("method") && !value["method"].is_null()) {
        if (!value["method"].is_string())
            return fail("\"method\" is a text such as \"POST\"");
        f.method = value["method"].get<std::string>();
    }
    if (value.contains("status") && !value["status"].is_null()) {
        if (!value["status"].is_number_integer() || value["status"].get<int>() < 100 ||
            value["status"].get<int>() > 599)
            return fail("\"status\" is an HTTP status from 100 to 599");
        f.status = value["status"].get<int>();
    }
    if (value.contains("body") && !value["body"].is_null()) {
        if (!value["body"].is_string())
            return fail("\"body\" is the answer's text");
        f.body = value["body"].get<std::string>();
    }
    f.contentType = value.value("content_type", std::string());
    if (f.contentType.empty() && f.body) {
        const Json parsed = Json::parse(*f.body, nullptr, false);
        f.contentType = parsed.is_discarded() ? "text/plain; charset=utf-8" : "application/json; charset=utf-8";
    }
    if (value.contains("delay_ms")) {
        if (!value["delay_ms"].is_number_integer() || value["delay_ms"].get<int>() < 0)
            return fail("\"delay_ms\" is a whole number of milliseconds");
        f.delayMs = value["delay_ms"].get<int>();
    }
    f.drop = value.value("drop", false);
    f.once = value.value("once", true);
    if (!f.drop && !f.replacesAnswer() && f.delayMs == 0)
        return fail("a fault needs \"status\", \"body\", \"delay_ms\" or \"drop\"");
    if (f.drop && f.replacesAnswer())
        return fail("a dropped connection has no answer: leave out \"status\" and \"body\"");
    return f;
}

void Control::record(const Incoming &in, const Fault *applied)
{
    Json entry;
    entry["method"] = in.method;
    entry["path"] = in.path;
    entry["target"] = in.target;
    entry["headers"] = pairs(in.headers);
    entry["body"] = !in.parts && validUtf8(in.body) ? Json(in.body) : Json();
    entry["form"] = in.form ? pairs(*in.form) : Json();
    entry["json"] = in.json ? *in.json : Json();
    if (in.parts) {
        Json parts = Json::array();
        for (const Part &p : *in.parts) {
            Json part = {{"name", p.name},
                         {"filename", p.filename ? Json(*p.filename) : Json()},
                         {"content_type", p.contentType},
                         {"size", p.content.size()}};
            if (!p.filename)
                part["text"] = validUtf8(p.content) ? Json(p.content) : Json();
            parts.push_back(std::move(part));
        }
        entry["parts"] = std::move(parts);
    } else {
        entry["parts"] = Json();
    }
    entry["fault"] = applied ? Json(applied->id) : Json();
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    entry["time_ms"] = std::chrono::duration_cast<std::chrono::milliseconds>(now).count();

    std::lock_guard lock(m_mutex);
    entry["seq"] = ++m_seq;
    m_log.push_back(std::move(entry));
    if (m_log.size() > kLogLimit)
        m_log.pop_front();
}

Json Control::requests(const std::string &pathFilter) const
{
    std::lock_guard lock(m_mutex);
    Json list = Json::array();
    for (const Json &entry : m_log)
        if (pathFilter.empty() || entry["path"] == pathFilter)
            list.push_back(entry);
    return {{"requests", std::move(list)}};
}

void Control::clearRequests()
{
    std::lock_guard lock(m_mutex);
    m_log.clear();
}

int Control::addFault(Fault fault)
{
    std::lock_guard lock(m_mutex);
    fault.id = m_nextFault++;
    m_faults.push_back(fault);
    return fault.id;
}

std::optional<Fault> Control::takeFault(const std::string &method, const std::string &path)
{
    std::lock_guard lock(m_mutex);
    for (auto it = m_faults.begin(); it != m_faults.end(); ++it) {
        if (it->path != path || (!it->method.empty() && !equalsNoCase(it->method, method)))
            continue;
        Fault fault = *it;
        if (fault.once)
            m_faults.erase(it);
        return fault;
    }
    return std::nullopt;
}

Json Control::faults() const
{
    std::lock_guard lock(m_mutex);
    Json list = Json::array();
    for (const Fault &f : m_faults)
        list.push_back(f.toJson());
    return {{"faults", std::move(list)}};
}

void Control::clearFaults()
{
    std::lock_guard lock(m_mutex);
    m_faults.clear();
}

} // namespace demo
