// Entry point of e-Lumira Telmarin.
#include "app/startup.h"
#include "shell/message_box_dialogs.h"

#include <QApplication>
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int s_signalSocket[2] = {-1, -1};

void onTerminate(int)
{
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(s_signalSocket[0], &byte, 1);
}

// Ends the event loop on SIGTERM and SIGINT, so that an ordinary stop still removes the data folder.
void quitOnTerminate(QCoreApplication &app)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, s_signalSocket) != 0)
        return;
    auto *notifier = new QSocketNotifier(s_signalSocket[1], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [] {
        char byte = 0;
        [[maybe_unused]] const auto read = ::read(s_signalSocket[1], &byte, 1);
        QCoreApplication::quit();
    });
    struct sigaction action = {};
    action.sa_handler = onTerminate;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
}

} // namespace

int main(int argc, char *argv[])
{
    // The browser engine shares its GL contexts with the widgets; this must be set before the application exists.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("elumira"));
    QApplication::setApplicationDisplayName(QStringLiteral("e-Lumira Telmarin"));
    QApplication::setApplicationVersion(QStringLiteral(ELUMIRA_VERSION));
    // Lets the desktop match the windows with the menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(ELUMIRA_APP_ID));
    quitOnTerminate(app);

    elumira::MessageBoxDialogs dialogs;
    elumira::ElumiraProgram program(dialogs);
    return program.run();
}
