// Starting the demo library service for a test and pointing the program at it.
#pragma once

#include "demo/service.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <string>

namespace elumira::test {

// Starts the demo service on a free port of 127.0.0.1 with its books in booksDir, written only when asked
// for, and points the program's service address at it. The other settings come from config. Gives nullptr
// and the reason in error when the service cannot start.
inline std::unique_ptr<demo::Service> startDemoService(const QString &booksDir, std::string *error,
                                                       demo::Config config = {})
{
    config.port = 0;
    config.dataDir = booksDir;
    config.writeBooksAtStart = false;
    auto service = std::make_unique<demo::Service>(config);
    if (!service->start(error))
        return nullptr;
    qputenv("ELUMIRA_SERVICE_URL", QByteArray::fromStdString(service->baseUrl()));
    return service;
}

} // namespace elumira::test
