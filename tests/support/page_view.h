// A real browser view over a real data folder, for tests that load generated pages and click in them.
#pragma once

#include "common/dialogs.h"
#include "pages/page_writer.h"
#include "service/lekora_lib.h"
#include "shell/browser_profile.h"
#include "shell/tchromium.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <QTest>
#include <QWebEngineProfile>

#include <memory>

namespace elumira::test {

// The data folder (with the viewer assets) and the browser profile live for the whole test suite; each
// test gets a fresh view and records the messages its pages send.
class PageViewTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_dialogs = new RecordingDialogs;
        s_service = new TLekoraLib(*s_dialogs);
        s_profile = createBrowserProfile();
    }
    static void TearDownTestSuite()
    {
        delete s_service;
        delete s_profile;
        delete s_dialogs;
        s_service = nullptr;
        s_profile = nullptr;
        s_dialogs = nullptr;
    }

    void SetUp() override
    {
        ASSERT_TRUE(s_dialogs->boxes().isEmpty()) << "the data folder could not be built";
        view = std::make_unique<TChromium>(s_profile);
        view->resize(1280, 800);
        view->show();
        QObject::connect(view.get(), &TChromium::processMessageReceived,
                         [this](const ProcessMessage &message) { messages.append(message); });
        QObject::connect(view->page(), &QWebEnginePage::loadFinished, [this](bool ok) {
            ++loadsFinished;
            lastLoadOk = ok;
        });
    }
    void TearDown() override { view.reset(); }

    // Writes the page into the data folder, loads it into the view and waits until it has loaded.
    void showPage(const QString &fileName, const QString &text)
    {
        const int before = beforeLoad();
        pages::writeAndLoadPage(s_service->DataPath(), fileName, text, *view);
        waitForLoadAfter(before);
    }

    // Takes note of the document shown now, before a load is asked for: returns the number of loads reported so
    // far for waitForLoadAfter, and leaves a flag in the document. Asking the page for it also lets the page
    // finish what it was doing: a link just clicked still has its own address (a script) to run, and a load
    // asked for while it runs may end without the engine reporting it.
    int beforeLoad()
    {
        js(QStringLiteral("window.pageViewEarlier = true; 0"));
        return loadsFinished;
    }

    // Waits until the load asked for after beforeLoad() has ended. The engine reports the end of a load, except
    // that a document asked for while the page was still busy with the one before (a link's script it had just
    // started) can arrive without a report: it counts as loaded once the view shows it, loads nothing more and
    // the document is complete.
    void waitForLoadAfter(int before)
    {
        bool arrivedSilently = false;
        ASSERT_TRUE(waitUntil(
            [&] {
                if (loadsFinished > before)
                    return true;
                arrivedSilently = view->page()->url() == view->loadTarget() && !view->page()->isLoading()
                    && js(QStringLiteral("document.readyState === 'complete' && window.pageViewEarlier === undefined"))
                           .toBool();
                return arrivedSilently;
            },
            30000));
        ASSERT_TRUE(arrivedSilently || lastLoadOk);
    }

    // Runs a generator that loads or reloads the view, and waits until the view has loaded the page.
    template <typename Render> void renderAndWait(Render render)
    {
        const int before = beforeLoad();
        render();
        ASSERT_TRUE(s_dialogs->boxes().isEmpty()) << s_dialogs->boxes()[0].text.toStdString();
        waitForLoadAfter(before);
    }

    QVariant js(const QString &script) { return evaluate(view->page(), script); }

    // Clicks the element the selector finds first (jQuery selector), without waiting for what follows.
    void click(const QString &selector)
    {
        ASSERT_EQ(js(QStringLiteral("$(\"%1\").length").arg(selector)).toInt(), 1) << selector.toStdString();
        js(QStringLiteral("$(\"%1\")[0].click(); 0").arg(selector));
    }

    // Waits for the next message; fails the test when none arrives.
    ProcessMessage nextMessage()
    {
        const qsizetype index = taken;
        EXPECT_TRUE(waitUntil([this, index] { return messages.size() > index; }));
        if (messages.size() <= index)
            return {};
        ++taken;
        return messages[index];
    }

    // Gives a stray message time to arrive, then says whether any arrived that was not taken.
    bool noFurtherMessage(int waitMs = 300)
    {
        QTest::qWait(waitMs);
        return messages.size() == taken;
    }

    static RecordingDialogs *s_dialogs;
    static TLekoraLib *s_service;
    static QWebEngineProfile *s_profile;

    std::unique_ptr<TChromium> view;
    QList<ProcessMessage> messages;
    qsizetype taken = 0;
    int loadsFinished = 0;
    bool lastLoadOk = false;
};

inline RecordingDialogs *PageViewTest::s_dialogs = nullptr;
inline TLekoraLib *PageViewTest::s_service = nullptr;
inline QWebEngineProfile *PageViewTest::s_profile = nullptr;

} // namespace elumira::test

namespace elumira {
// Shows a message readably in failures, for example login("a", "b").
inline void PrintTo(const ProcessMessage &message, std::ostream *out)
{
    *out << message.toDebugString().toStdString();
}
} // namespace elumira
