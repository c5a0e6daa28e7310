// elumira-demo-service as a library: the demo library service, started on 127.0.0.1 and stopped again, so that the
// executable and the tests run the very same thing.
#pragma once

#include <QString>

#include <memory>
#include <string>
#include <thread>

namespace demo {

class BookFiles;
class Catalogue;
class Control;
class Store;
struct ServiceState;

enum class VersionAnswer { Current, Update, Refuse };

struct Config
{
    int port = 8765;             // 0 picks a free port
    QString dataDir;             // the book cache; empty means the user's cache folder
    std::string tlsCert, tlsKey; // both set: HTTPS
    VersionAnswer versionAnswer = VersionAnswer::Current;
    std::string updateUrl;         // the download address sent with "300"; empty: an address on this service
    bool writeBooksAtStart = true; // write missing book files in the background right away
};

QString defaultDataDir();

class Service
{
public:
    explicit Service(Config config);
    ~Service();
    Service(const Service &) = delete;
    Service &operator=(const Service &) = delete;

    // Binds 127.0.0.1 and starts answering on a thread of its own.
    bool start(std::string *error);
    void stop();
    int port() const;
    std::string baseUrl() const; // http://127.0.0.1:PORT or https://...

    const Catalogue &catalogue() const;
    BookFiles &books();
    Store &store();
    Control &control();

private:
    std::unique_ptr<ServiceState> m_state;
    std::thread m_thread;
    int m_port = -1;
};

} // namespace demo
