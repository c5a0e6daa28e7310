// Lenient readers for the service's JSON answers: the one place where the reading rules live.
#pragma once

#include <QString>

#include <nlohmann/json.hpp>

#include <stdexcept>

namespace elumira {

using Json = nlohmann::ordered_json;

// Thrown when a value of the wrong kind stands where a list or an object is expected.
class JsonShapeError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// A member read as text: a string unchanged, a number or boolean as its JSON text, null or missing as empty.
QString jsonText(const Json &object, const char *key);
QString jsonText(const Json &value);

// A member read as an integer: a number as its value, a text of digits as that number, anything else 0.
long long jsonInt(const Json &object, const char *key);

// A member that must be a list: missing reads as an empty list; another kind (null included) throws.
const Json &jsonList(const Json &object, const char *key);

// A member that must be an object: missing reads as an empty object; another kind (null included) throws.
const Json &jsonObject(const Json &object, const char *key);

// The envelope every failed request returns: code "500" and msg = marker + message.
Json errorEnvelope(const QString &marker, const QString &message);

// Whether an answer's code is the given text ("200", "300", "500", ...).
bool hasCode(const Json &answer, const char *code);

} // namespace elumira
