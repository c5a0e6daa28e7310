// elumira-demo-service: the demo library service on 127.0.0.1, until SIGINT or SIGTERM.
#include "demo/service.h"

#include <QCommandLineParser>
#include <QGuiApplication>

#include <csignal>
#include <cstdio>
#include <iostream>

int main(int argc, char **argv)
{
    // Books and pictures are painted with Qt; the service has no window and may run without a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");

    // Signals are taken by sigwait below, so block them before any thread starts.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("elumira-demo-service"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("The e-Lumira Telmarin demo library service."));
    parser.addHelpOption();
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("Port on 127.0.0.1; 0 picks a free one."),
                                  QStringLiteral("port"), QStringLiteral("8765"));
    const QCommandLineOption dataDir(
        QStringLiteral("data-dir"),
        QStringLiteral("Folder of the generated books (default: %1).").arg(demo::defaultDataDir()),
        QStringLiteral("folder"));
    const QCommandLineOption tlsCert(QStringLiteral("tls-cert"), QStringLiteral("Certificate (PEM) for HTTPS."),
                                     QStringLiteral("file"));
    const QCommandLineOption tlsKey(QStringLiteral("tls-key"), QStringLiteral("Private key (PEM) for HTTPS."),
                                    QStringLiteral("file"));
    const QCommandLineOption version(QStringLiteral("version-answer"),
                                     QStringLiteral("Answer to the version check: 200 (current), 300 (an update "
                                                    "exists) or refuse."),
                                     QStringLiteral("answer"), QStringLiteral("200"));
    const QCommandLineOption updateUrl(QStringLiteral("update-url"),
                                       QStringLiteral("Download address sent with the answer 300."),
                                       QStringLiteral("url"));
    const QCommandLineOption lazyBooks(QStringLiteral("lazy-books"),
                                       QStringLiteral("Write each book file only when it is first asked for."));
    parser.addOptions({port, dataDir, tlsCert, tlsKey, version, updateUrl, lazyBooks});
    parser.process(app);

    demo::Config config;
    bool portOk = false;
    config.port = parser.value(port).toInt(&portOk);
    if (!portOk || config.port < 0 || config.port > 65535) {
        std::cerr << "elumira-demo-service: --port takes a number from 0 to 65535\n";
        return 2;
    }
    config.dataDir = parser.value(dataDir);
    config.tlsCert = parser.value(tlsCert).toStdString();
    config.tlsKey = parser.value(tlsKey).toStdString();
    if (config.tlsCert.empty() != config.tlsKey.empty()) {
        std::cerr << "elumira-demo-service: --tls-cert and --tls-key go together\n";
        return 2;
    }
    const QString answer = parser.value(version);
    if (answer == QLatin1String("200") || answer == QLatin1String("current")) {
        config.versionAnswer = demo::VersionAnswer::Current;
    } else if (answer == QLatin1String("300") || answer == QLatin1String("update")) {
        config.versionAnswer = demo::VersionAnswer::Update;
    } else if (answer == QLatin1String("refuse")) {
        config.versionAnswer = demo::VersionAnswer::Refuse;
    } else {
        std::cerr << "elumira-demo-service: --version-answer takes 200, 300 or refuse\n";
        return 2;
    }
    config.updateUrl = parser.value(updateUrl).toStdString();
    config.writeBooksAtStart = !parser.isSet(lazyBooks);

    demo::Service service(config);
    std::string error;
    if (!service.start(&error)) {
        std::cerr << "elumira-demo-service: " << error << '\n';
        return 1;
    }
    std::cout << "listening on 127.0.0.1:" << service.port() << std::endl;
    std::cerr << "elumira-demo-service: " << service.baseUrl() << " (stop with Ctrl+C)" << std::endl;

    int received = 0;
    sigwait(&stopSignals, &received);
    service.stop();
    return 0;
}
