// The reading rules for service answers: text, integers, lists and objects.
#include "common/json_read.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <climits>

using elumira::Json;

TEST(JsonRead, jsonText_eachKind_readsAsText)
{
    const Json item = Json::parse(R"({"s":"Pustaka &amp; <b>","n":12,"f":4.5,"neg":-3,"t":true,"z":null,
        "empty":"","list":[1,"a"],"obj":{"k":1}})");
    const struct
    {
        const char *key;
        QString expected;
    } cases[] = {
        {"s", QStringLiteral("Pustaka &amp; <b>")}, {"n", QStringLiteral("12")}, {"f", QStringLiteral("4.5")},
        {"neg", QStringLiteral("-3")},  {"t", QStringLiteral("true")},   {"z", QString()},
        {"missing", QString()},         {"empty", QString()},            {"list", QStringLiteral("[1,\"a\"]")},
        {"obj", QStringLiteral("{\"k\":1}")},
    };
    for (const auto &c : cases)
        EXPECT_EQ(elumira::jsonText(item, c.key), c.expected) << c.key;
    EXPECT_EQ(elumira::jsonText(Json::array(), "s"), QString());
}

TEST(JsonRead, jsonInt_numbersAndDigitTexts_readAsIntegers)
{
    const Json answer = Json::parse(R"({"n":25,"s":"25","pad":" 7 ","f":3.9,"word":"abc","mixed":"12abc",
        "z":null,"b":true,"neg":"-4","huge":1e300,"tiny":-1e300,"big":18446744073709551615})");
    const struct
    {
        const char *key;
        long long expected;
    } cases[] = {{"n", 25},    {"s", 25},   {"pad", 7},       {"f", 3},
                 {"word", 0},  {"mixed", 0}, {"z", 0},        {"b", 0},
                 {"neg", -4},  {"missing", 0}, {"huge", LLONG_MAX}, {"tiny", LLONG_MIN},
                 {"big", LLONG_MAX}};
    for (const auto &c : cases)
        EXPECT_EQ(elumira::jsonInt(answer, c.key), c.expected) << c.key;
}

TEST(JsonRead, jsonListAndObject_missingReadEmpty_otherKindsThrow)
{
    const Json answer = Json::parse(R"({"list":[1],"obj":{"a":1},"nul":null,"text":"x"})");
    EXPECT_EQ(elumira::jsonList(answer, "list").size(), 1u);
    EXPECT_TRUE(elumira::jsonList(answer, "missing").empty());
    EXPECT_EQ(elumira::jsonObject(answer, "obj").size(), 1u);
    EXPECT_TRUE(elumira::jsonObject(answer, "missing").empty());
    for (const char *key : {"nul", "text", "obj"})
        EXPECT_THROW(elumira::jsonList(answer, key), elumira::JsonShapeError) << key;
    for (const char *key : {"nul", "text", "list"})
        EXPECT_THROW(elumira::jsonObject(answer, key), elumira::JsonShapeError) << key;
}
