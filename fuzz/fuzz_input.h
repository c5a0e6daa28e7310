// What every fuzz target shares: reading its input as a JSON document and taking typed members from it.
#pragma once

#include "common/json_read.h"

#include <QString>

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace elumira::fuzz {

// The input as a JSON document, or nothing when it is not one.
inline std::optional<Json> parseInput(const uint8_t *data, size_t size)
{
    const char *text = reinterpret_cast<const char *>(data);
    Json document = Json::parse(text, text + size, nullptr, false);
    if (document.is_discarded())
        return std::nullopt;
    return document;
}

// A member of the input (an answer, a piece of text), null when missing.
inline const Json &member(const Json &input, const char *key)
{
    static const Json none;
    if (!input.is_object())
        return none;
    const auto found = input.find(key);
    return found == input.end() ? none : *found;
}

// A number member clamped into the int range, so the target feeds only values the program can hold.
inline int intMember(const Json &input, const char *key, int fallback = 1)
{
    const long long value = jsonInt(input.is_object() ? input : Json::object(), key);
    if (!input.is_object() || !input.contains(key))
        return fallback;
    return int(std::clamp<long long>(value, INT32_MIN, INT32_MAX));
}

inline QString textMember(const Json &input, const char *key)
{
    return input.is_object() ? jsonText(input, key) : QString();
}

} // namespace elumira::fuzz

namespace elumira::fuzz {

// The service address the pages put before picture paths; the input may name another.
inline QString serviceAddress(const Json &input)
{
    const QString address = textMember(input, "service");
    return address.isEmpty() ? QStringLiteral("http://127.0.0.1:8765") : address;
}

// Runs one page generator as the program does: a failure it throws is shown in a box and is no fault here.
template <typename Work> void guarded(Work &&work)
{
    try {
        work();
    } catch (const std::exception &) {
    }
}

} // namespace elumira::fuzz
