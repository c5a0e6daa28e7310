// The reading rules for service answers.
#include "common/json_read.h"

#include <limits>

namespace elumira {

namespace {

const Json &emptyList()
{
    static const Json list = Json::array();
    return list;
}

const Json &emptyObject()
{
    static const Json object = Json::object();
    return object;
}

const Json *member(const Json &object, const char *key)
{
    if (!object.is_object())
        return nullptr;
    const auto it = object.find(key);
    return it == object.end() ? nullptr : &*it;
}

} // namespace

QString jsonText(const Json &value)
{
    if (value.is_string())
        return QString::fromStdString(value.get_ref<const std::string &>());
    if (value.is_null() || value.is_discarded())
        return {};
    if (value.is_number() || value.is_boolean())
        return QString::fromStdString(value.dump());
    // Lists and objects are not text; their JSON text is the most useful reading.
    return QString::fromStdString(value.dump(-1, ' ', false, Json::error_handler_t::replace));
}

QString jsonText(const Json &object, const char *key)
{
    const Json *value = member(object, key);
    return value ? jsonText(*value) : QString();
}

long long jsonInt(const Json &object, const char *key)
{
    const Json *value = member(object, key);
    if (!value)
        return 0;
    if (value->is_number_float()) {
        // Out-of-range and non-finite numbers are clamped rather than cast, which would be undefined.
        const double number = value->get<double>();
        if (!(number == number))
            return 0;
        if (number >= 9.2e18)
            return std::numeric_limits<long long>::max();
        if (number <= -9.2e18)
            return std::numeric_limits<long long>::min();
        return static_cast<long long>(number);
    }
    if (value->is_number_unsigned()) {
        const auto number = value->get<unsigned long long>();
        return number > static_cast<unsigned long long>(std::numeric_limits<long long>::max())
            ? std::numeric_limits<long long>::max()
            : static_cast<long long>(number);
    }
    if (value->is_number_integer())
        return value->get<long long>();
    if (value->is_string()) {
        bool ok = false;
        const long long number = QString::fromStdString(value->get_ref<const std::string &>()).trimmed().toLongLong(&ok);
        return ok ? number : 0;
    }
    return 0;
}

const Json &jsonList(const Json &object, const char *key)
{
    const Json *value = member(object, key);
    if (!value)
        return emptyList();
    if (!value->is_array())
        throw JsonShapeError(std::string("The member \"") + key + "\" is not a list");
    return *value;
}

const Json &jsonObject(const Json &object, const char *key)
{
    const Json *value = member(object, key);
    if (!value)
        return emptyObject();
    if (!value->is_object())
        throw JsonShapeError(std::string("The member \"") + key + "\" is not an object");
    return *value;
}

Json errorEnvelope(const QString &marker, const QString &message)
{
    Json envelope = Json::object();
    envelope["code"] = "500";
    envelope["msg"] = (marker + message).toStdString();
    return envelope;
}

bool hasCode(const Json &answer, const char *code)
{
    return jsonText(answer, "code") == QLatin1String(code);
}

} // namespace elumira
