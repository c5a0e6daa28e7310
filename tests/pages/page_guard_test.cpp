// The generators' guard: a failure becomes one error box with the generator's prefix and stops the work.
#include "common/dialogs.h"
#include "pages/page_guard.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace elumira::pages;
using elumira::Json;
using elumira::JsonShapeError;
using elumira::RecordingDialogs;

namespace {

TEST(PageGuardTest, runGuarded_showsOneErrorBoxWithPrefixAndMessageAndStops)
{
    const struct
    {
        const char *name;
        std::function<void()> failure;
        QString expectedText;
    } cases[] = {
        {"runtime error", [] { throw std::runtime_error("Cannot create /x/index.html: No such file"); },
         QStringLiteral("Error Exception #798: Cannot create /x/index.html: No such file")},
        {"wrong shape", [] { elumira::jsonList(Json::parse(R"({"data":null})"), "data"); },
         QStringLiteral("Error Exception #798: The member \"data\" is not a list")},
        {"message in UTF-8", [] { throw std::runtime_error("Tidak bisa menulis «index.html»"); },
         QStringLiteral("Error Exception #798: Tidak bisa menulis «index.html»")},
        {"not a standard exception", [] { throw 42; }, QStringLiteral("Error Exception #798: Unknown failure")},
    };
    for (const auto &c : cases) {
        RecordingDialogs dialogs;
        bool stepAfterFailure = false;
        const bool completed = runGuarded(dialogs, kHomeFailure, [&] {
            c.failure();
            stepAfterFailure = true;
        });
        EXPECT_FALSE(completed) << c.name;
        EXPECT_FALSE(stepAfterFailure) << c.name;
        ASSERT_EQ(dialogs.boxes().size(), 1) << c.name;
        EXPECT_EQ(dialogs.boxes()[0].kind, RecordingDialogs::Kind::Error) << c.name;
        EXPECT_EQ(dialogs.boxes()[0].buttons, RecordingDialogs::Buttons::Ok) << c.name;
        EXPECT_EQ(dialogs.boxes()[0].text, c.expectedText) << c.name;
    }
}

TEST(PageGuardTest, runGuarded_workThatSucceeds_showsNothing)
{
    RecordingDialogs dialogs;
    int runs = 0;
    EXPECT_TRUE(runGuarded(dialogs, kLoginFailure, [&] { ++runs; }));
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(dialogs.boxes().isEmpty());
}

TEST(PageGuardTest, requireAnswer_missingAnswerIsAFailure)
{
    const Json answer = Json::object();
    EXPECT_EQ(&requireAnswer(&answer, "FHomeContentJson"), &answer);
    try {
        requireAnswer(nullptr, "FHomeContentJson");
        FAIL() << "a missing answer was accepted";
    } catch (const std::runtime_error &failure) {
        EXPECT_STREQ(failure.what(), "The answer FHomeContentJson has not been received");
    }
}

} // namespace
