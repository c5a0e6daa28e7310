// A real view over the suite's data folder, with the demo library service's answers for a logged-in member.
#pragma once

#include "demo/service.h"
#include "service/lekora_lib.h"
#include "tests/support/demo_service_fixture.h"
#include "tests/support/page_view.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace elumira::test {

// The demo service runs for the whole suite; its member is logged in once, so that the tests fetch the
// answers they render with the member's headers, as the program does after the log-in.
class MemberPageViewTest : public PageViewTest
{
protected:
    static constexpr const char *kEmail = "sekar.ayuningtyas@telmarin.example";
    static constexpr const char *kPassword = "Baca2024";

    static void SetUpTestSuite()
    {
        PageViewTest::SetUpTestSuite();
        s_books = new QTemporaryDir;
        std::string error;
        s_demo = startDemoService(s_books->path(), &error).release();
        ASSERT_TRUE(s_demo) << error;
        s_service->getClientJson();
        s_service->setUserJson(s_service->LoginRequest(QLatin1String(kEmail), QLatin1String(kPassword)));
        ASSERT_FALSE(s_service->Token().isEmpty());
        ASSERT_TRUE(s_dialogs->boxes().isEmpty());
    }
    static void TearDownTestSuite()
    {
        qunsetenv("ELUMIRA_SERVICE_URL");
        if (s_demo)
            s_demo->stop();
        delete s_demo;
        delete s_books;
        s_demo = nullptr;
        s_books = nullptr;
        PageViewTest::TearDownTestSuite();
    }

    static inline QTemporaryDir *s_books = nullptr;
    static inline demo::Service *s_demo = nullptr;
};

} // namespace elumira::test
