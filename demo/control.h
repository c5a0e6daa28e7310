// What tests steer the demo service with: the log of requests received and the faults to answer with.
#pragma once

#include "demo/incoming.h"

#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace demo {

// An answer to give instead of the normal one, for requests to one path.
struct Fault
{
    int id = 0;
    std::string path;
    std::string method;              // empty: any method
    std::optional<int> status;       // HTTP status of the replacement answer
    std::optional<std::string> body; // body of the replacement answer, any text
    std::string contentType;
    int delayMs = 0;   // wait this long first; alone, the normal answer follows
    bool drop = false; // close the connection without an answer
    bool once = true;  // false: until the faults are cleared

    bool replacesAnswer() const { return status.has_value() || body.has_value(); }
    Json toJson() const;
    // Reads a fault as posted to the control path; nullopt with *error set when it makes no sense.
    static std::optional<Fault> fromJson(const Json &value, std::string *error);
};

class Control
{
public:
    void record(const Incoming &in, const Fault *applied);
    Json requests(const std::string &pathFilter) const;
    void clearRequests();

    int addFault(Fault fault);
    // The first fault for this request, used up when it applies once.
    std::optional<Fault> takeFault(const std::string &method, const std::string &path);
    Json faults() const;
    void clearFaults();

private:
    static constexpr size_t kLogLimit = 20000;
    mutable std::mutex m_mutex;
    std::deque<Json> m_log;
    uint64_t m_seq = 0;
    std::vector<Fault> m_faults;
    int m_nextFault = 1;
};

} // namespace demo
