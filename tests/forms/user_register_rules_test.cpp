// The e-mail and password rules of the registration window, as tables of addresses and passwords.
#include "forms/user_register.h"

#include <gtest/gtest.h>

using elumira::TFormRegistrasi;

namespace {

struct RuleCase
{
    const char *text;
    bool valid;
    const char *why;
};

TEST(UserRegisterRules, IsValidEmailRegEx_acceptsWellFormedAddressesOnly)
{
    const RuleCase cases[] = {
        {"wayan@telmarin.example", true, "plain local part and a two-label domain"},
        {"ni.made-ayu+pustaka@mail.perpus.lumira.id", true, "dotted local part and a deep domain"},
        {"x@ab.co", true, "a two-letter top-level label"},
        {"o'brien!#$%&*/=?^_`{|}~@example.com", true, "every special character of an atom"},
        {R"("wayan sudarma"@telmarin.example)", true, "a quoted local part with a space"},
        {R"("wayan\"s"@telmarin.example)", true, "a quoted local part with an escaped quote"},
        {"Wayan Sudarma <wayan@telmarin.example>", true, "a display name in angle brackets"},
        {R"("Sudarma, Wayan" <wayan@telmarin.example>)", true, "a quoted display name"},
        {"<wayan@telmarin.example>", true, "angle brackets without a name"},
        {"wayan@[192.168.10.254]", true, "an IPv4 literal"},
        {"wayan@[IPv6:2001:db8::1]", true, "a tagged address literal"},
        {"wayan@telmarin", false, "a domain without any dot"},
        {"wayan..sudarma@telmarin.example", false, "two dots in a row"},
        {".wayan@telmarin.example", false, "a leading dot"},
        {"wayan.@telmarin.example", false, "a trailing dot in the local part"},
        {"wayan@telmarin.e", false, "a one-letter top-level label"},
        {"wayan@telmarin.c0m", false, "a digit in the top-level label"},
        {"wayan@-telmarin.example", false, "a hyphen at a label's start"},
        {"wayan@telmarin-.example", false, "a hyphen at a label's end"},
        {"wayan@tel-marin.example", true, "a hyphen inside a label"},
        {"Wayan Sudarma <wayan@telmarin.example", false, "an angle bracket opened but not closed"},
        {"wayan@telmarin.example>", false, "an angle bracket closed but never opened"},
        {"wayan@[256.1.1.1]", false, "an IPv4 literal with a byte above 255"},
        {"wayan@[10.0.0]", false, "an IPv4 literal of three bytes"},
        {"wayan.telmarin.example", false, "no @"},
        {"wayan@sudarma@telmarin.example", false, "two @"},
        {"wáyan@telmarin.example", false, "a letter outside ASCII"},
        {" wayan@telmarin.example", false, "a leading space"},
        {"wayan@telmarin.example ", false, "a trailing space"},
        {"", false, "nothing"},
    };
    for (const RuleCase &c : cases)
        EXPECT_EQ(TFormRegistrasi::IsValidEmailRegEx(QString::fromUtf8(c.text)), c.valid) << c.text << ": " << c.why;
}

TEST(UserRegisterRules, validatePassword_needsEightLettersAndDigitsWithOneOfEach)
{
    const RuleCase cases[] = {
        {"pustaka8", true, "8 characters, letters and a digit"},
        {"8PUSTAKA", true, "capitals, the digit first"},
        {"Baca2024Lagi", true, "longer, mixed case"},
        {"pusta8k", false, "7 characters"},
        {"pustakaa", false, "without a digit"},
        {"20242024", false, "without a letter"},
        {"pustaka 8", false, "with a space"},
        {"pustaka-8", false, "with a hyphen"},
        {"pustakä88", false, "a letter outside ASCII"},
        {"", false, "nothing"},
    };
    for (const RuleCase &c : cases)
        EXPECT_EQ(TFormRegistrasi::validatePassword(QString::fromUtf8(c.text)), c.valid) << c.text << ": " << c.why;
}

} // namespace
