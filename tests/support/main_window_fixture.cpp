// The main window against the demo library service, for dispatcher and whole-catalogue tests.
#include "tests/support/main_window_fixture.h"

#include "demo/control.h"
#include "demo/service.h"
#include "service/lekora_lib.h"
#include "shell/browser_profile.h"
#include "shell/tchromium.h"
#include "tests/support/demo_service_fixture.h"
#include "tests/support/test_support.h"

#include <QStackedWidget>
#include <QWebEngineProfile>

#include <iostream>

namespace elumira::test {

void MainWindowOnDemo::SetUp()
{
    std::string error;
    service = startDemoService(books.path(), &error);
    ASSERT_TRUE(service) << error;

    lekora = std::make_shared<TLekoraLib>(dialogs);
    profile.reset(createBrowserProfile());
    window = std::make_unique<TFormMain>(lekora, dialogs, profile.get(), update);
    window->setReleaseOnClose([this] { lekora.reset(); });
    window->resize(1280, 860);
    window->show();
    ASSERT_TRUE(waitShowing(window->Chromium1, "login.html"));
}

void MainWindowOnDemo::TearDown()
{
    window.reset();
    profile.reset();
    lekora.reset();
    if (service)
        service->stop();
    qunsetenv("ELUMIRA_SERVICE_URL");
}

bool MainWindowOnDemo::showing(TChromium *view, const char *file, const char *title)
{
    return view->url().toLocalFile().endsWith(QLatin1Char('/') + QLatin1String(file))
        && (!title || view->title() == QLatin1String(title));
}

bool MainWindowOnDemo::waitShowing(TChromium *view, const char *file, int timeoutMs)
{
    return waitUntil(
        [view, file] {
            return showing(view, file)
                && evaluate(view->page(), QStringLiteral("document.readyState"), 2000) == QStringLiteral("complete");
        },
        timeoutMs);
}

bool MainWindowOnDemo::click(TChromium *view, const QString &selector)
{
    if (!waitUntil([view] {
            return evaluate(view->page(), QStringLiteral("document.readyState"), 2000) == QStringLiteral("complete");
        }))
        return false;
    const QString script = QStringLiteral("(function () { var e = document.querySelector(%1); if (!e) return false;"
                                          " e.click(); return true; })()")
                               .arg(QString::fromStdString(Json(selector.toStdString()).dump()));
    return evaluate(view->page(), script).toBool();
}

void MainWindowOnDemo::send(const QString &name, const QList<ProcessMessage::Argument> &arguments, TChromium *sender)
{
    window->ProcessMessageReceived(sender ? sender : window->Chromium1, ProcessMessage(name, arguments));
}

size_t MainWindowOnDemo::requestsTo(const char *path) const
{
    return service->control().requests(path)["requests"].size();
}

void MainWindowOnDemo::addFault(const char *path, std::optional<int> status, const std::string &body)
{
    demo::Fault fault;
    fault.path = path;
    fault.status = status;
    fault.body = body;
    fault.contentType = "application/json";
    service->control().addFault(fault);
}

QWidget *MainWindowOnDemo::front() const
{
    return window->panelBrowser->currentWidget();
}

void MainWindowOnDemo::logIn()
{
    QWebEnginePage *page = window->Chromium1->page();
    // The log-in page can be written and loaded once more just after it first showed (a failed log-in chain ends
    // there again): the form is filled only in a document that has it, and a click lost with a document that
    // went away is made again in the new one.
    const QString fillAndSend = QStringLiteral(
        "(function () { var e = document.getElementById('email'), p = document.getElementById('kata_sandi'),"
        " b = document.getElementById('btnLogin'); if (!e || !p || !b) return false;"
        " e.value = '%1'; p.value = '%2'; b.click(); return true; })()")
                                    .arg(QLatin1String(kEmail), QLatin1String(kPassword));
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (attempt > 0)
            std::cerr << "log-in: the form is filled and sent again\n";
        ASSERT_TRUE(waitShowing(window->Chromium1, "login.html"));
        if (!waitUntil([&] { return evaluate(page, fillAndSend).toBool(); }, 20000))
            continue;
        if (waitShowing(window->Chromium1, "index.html", attempt < 2 ? 15000 : 30000))
            return;
        if (!showing(window->Chromium1, "login.html"))
            break;
    }
    ASSERT_TRUE(waitShowing(window->Chromium1, "index.html"));
}

} // namespace elumira::test
