// Entry point of e-Lumira Telmarin: starts the browser engine, builds the data folder and shows the loading page.
#include "service/lekora_lib.h"
#include "shell/browser_profile.h"
#include "shell/message_box_dialogs.h"
#include "shell/tchromium.h"

#include <QApplication>
#include <QMainWindow>
#include <QUrl>
#include <QWebEngineProfile>

#include <memory>

int main(int argc, char *argv[])
{
    // The browser engine shares its GL contexts with the widgets; this must be set before the application exists.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("elumira"));
    QApplication::setApplicationDisplayName(QStringLiteral("e-Lumira Telmarin"));
    QApplication::setApplicationVersion(QStringLiteral(ELUMIRA_VERSION));

    std::unique_ptr<QWebEngineProfile> profile(elumira::createBrowserProfile());
    elumira::MessageBoxDialogs dialogs;
    auto service = std::make_unique<elumira::TLekoraLib>(dialogs);

    int result = 0;
    {
        QMainWindow window;
        window.setWindowTitle(QStringLiteral("e-Lumira Telmarin"));
        auto *view = new elumira::TChromium(profile.get(), &window);
        window.setCentralWidget(view);
        view->loadUrl(QUrl::fromLocalFile(service->DataPath() + QStringLiteral("/loading.html")));
        window.showMaximized();
        result = app.exec();
    }

    // Removing the service client removes the data folder; the profile outlives every page.
    service.reset();
    return result;
}
