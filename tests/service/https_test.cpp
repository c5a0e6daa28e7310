// Requests over HTTPS: a certificate the client does not know is refused; trusted through ELUMIRA_CA_BUNDLE it
// is accepted, with peer and host checked.
#include "common/dialogs.h"
#include "demo/service.h"
#include "service/lekora_lib.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

#include <memory>

using elumira::Json;
using elumira::RecordingDialogs;
using elumira::TLekoraLib;

namespace {

// A throwaway certificate authority and a server certificate it signs, for the given host names.
bool makeCertificates(const QTemporaryDir &dir, const QString &subjectAltName)
{
    auto run = [&dir](const QStringList &arguments) {
        QProcess openssl;
        openssl.setWorkingDirectory(dir.path());
        openssl.start(QStringLiteral("openssl"), arguments);
        return openssl.waitForFinished(60000) && openssl.exitStatus() == QProcess::NormalExit && openssl.exitCode() == 0;
    };
    QFile extensions(dir.filePath(QStringLiteral("server.ext")));
    if (!extensions.open(QIODevice::WriteOnly))
        return false;
    extensions.write(("subjectAltName=" + subjectAltName + "\n").toUtf8());
    extensions.close();
    return run({"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", "ca.key", "-out", "ca.pem", "-days", "2",
                "-subj", "/CN=Telmarin Test CA"})
        && run({"req", "-newkey", "rsa:2048", "-nodes", "-keyout", "server.key", "-out", "server.csr", "-subj",
                "/CN=demo"})
        && run({"x509", "-req", "-in", "server.csr", "-CA", "ca.pem", "-CAkey", "ca.key", "-CAcreateserial", "-out",
                "server.pem", "-days", "2", "-extfile", "server.ext"});
}

class HttpsTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        qunsetenv("ELUMIRA_SERVICE_URL");
        qunsetenv("ELUMIRA_CA_BUNDLE");
        if (service)
            service->stop();
    }

    void startService(const QString &subjectAltName)
    {
        ASSERT_TRUE(certificates.isValid());
        ASSERT_TRUE(makeCertificates(certificates, subjectAltName));
        demo::Config config;
        config.port = 0;
        config.dataDir = books.path();
        config.writeBooksAtStart = false;
        config.tlsCert = certificates.filePath(QStringLiteral("server.pem")).toStdString();
        config.tlsKey = certificates.filePath(QStringLiteral("server.key")).toStdString();
        service = std::make_unique<demo::Service>(config);
        std::string error;
        ASSERT_TRUE(service->start(&error)) << error;
        ASSERT_EQ(service->baseUrl().rfind("https://", 0), 0u);
        lekora = std::make_unique<TLekoraLib>(dialogs);
    }

    QTemporaryDir certificates;
    QTemporaryDir books;
    std::unique_ptr<demo::Service> service;
    RecordingDialogs dialogs;
    std::unique_ptr<TLekoraLib> lekora;
};

TEST_F(HttpsTest, versionCheck_trustedOnlyThroughTheCaBundle)
{
    startService(QStringLiteral("IP:127.0.0.1"));
    qputenv("ELUMIRA_SERVICE_URL", QByteArray::fromStdString(service->baseUrl()));

    const Json untrusted = lekora->checkAppVersionRequest();
    EXPECT_EQ(untrusted.value("code", ""), "500");
    EXPECT_TRUE(QString::fromStdString(untrusted.value("msg", "")).startsWith(QStringLiteral("#301 ")))
        << untrusted.dump();

    qputenv("ELUMIRA_CA_BUNDLE", certificates.filePath(QStringLiteral("ca.pem")).toLocal8Bit());
    const Json trusted = lekora->checkAppVersionRequest();
    EXPECT_EQ(trusted.value("code", ""), "200") << trusted.dump();
}

TEST_F(HttpsTest, certificateForAnotherHost_isRefusedEvenWhenTrusted)
{
    startService(QStringLiteral("DNS:pustaka.telmarin.example"));
    qputenv("ELUMIRA_SERVICE_URL", QByteArray::fromStdString(service->baseUrl()));
    qputenv("ELUMIRA_CA_BUNDLE", certificates.filePath(QStringLiteral("ca.pem")).toLocal8Bit());

    const Json answer = lekora->BannerRequest();
    EXPECT_EQ(answer.value("code", ""), "500");
    EXPECT_TRUE(QString::fromStdString(answer.value("msg", "")).startsWith(QStringLiteral("#410 "))) << answer.dump();
}

} // namespace
