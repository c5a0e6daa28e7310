// The whole program against the demo library service: a visitor registers from the log-in page's link and logs in
// with the new account; a member asks for a password reset from the log-in page.
#include "app/startup.h"
#include "common/dialogs.h"
#include "demo/catalogue.h"
#include "demo/control.h"
#include "demo/service.h"
#include "forms/forgot_pass.h"
#include "forms/user_register.h"
#include "shell/tchromium.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

namespace elumira::test {
namespace {

bool pageShowing(TChromium *view, const char *file)
{
    return view->url().toLocalFile().endsWith(QLatin1Char('/') + QLatin1String(file)) &&
           evaluate(view->page(), QStringLiteral("document.readyState"), 2000) == QStringLiteral("complete");
}

bool clickIn(TChromium *view, const char *selector)
{
    return evaluate(view->page(), QStringLiteral("(function () { var e = document.querySelector('%1'); if (!e) "
                                                 "return false; e.click(); return true; })()")
                                      .arg(QLatin1String(selector)))
        .toBool();
}

class AccountFormsWalk : public ::testing::Test
{
protected:
    void SetUp() override
    {
        demo::Config config;
        config.port = 0;
        config.dataDir = books.path();
        config.writeBooksAtStart = false;
        service = std::make_unique<demo::Service>(config);
        std::string error;
        ASSERT_TRUE(service->start(&error)) << error;
        qputenv("ELUMIRA_SERVICE_URL", QByteArray::fromStdString(service->baseUrl()));
    }

    void TearDown() override
    {
        qunsetenv("ELUMIRA_SERVICE_URL");
        if (service)
            service->stop();
    }

    bool shown(const char *text) const
    {
        for (const RecordingDialogs::Box &box : dialogs.boxes())
            if (box.text == QString::fromUtf8(text))
                return true;
        return false;
    }

    // Runs the program and, once the log-in page shows, the walk; then closes the main window.
    void runWalk(const std::function<void(ElumiraProgram &)> &walk)
    {
        ElumiraProgram program(dialogs);
        QTimer driver;
        QObject::connect(&driver, &QTimer::timeout, [&] {
            TFormMain *main = program.mainWindow();
            if (!main || !main->isVisible() || !pageShowing(main->Chromium1, "login.html"))
                return;
            driver.stop();
            walk(program);
            main->close();
        });
        driver.start(100);
        // Ends with this walk, so that it cannot stop a later one.
        QTimer deadline;
        deadline.setSingleShot(true);
        QObject::connect(&deadline, &QTimer::timeout, [] {
            ADD_FAILURE() << "the walk did not end";
            QCoreApplication::exit(99);
        });
        deadline.start(120000);
        EXPECT_EQ(program.run(), 0);
    }

    QTemporaryDir books;
    std::unique_ptr<demo::Service> service;
    RecordingDialogs dialogs;
};

TEST_F(AccountFormsWalk, aVisitorRegistersFromTheLogInPage_thenLogsInWithTheNewAccount)
{
    QTemporaryDir photos;
    const QString identity = photos.filePath(QStringLiteral("ktp.jpg"));
    const QString profile = photos.filePath(QStringLiteral("wajah.png"));
    QImage picture(80, 60, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    ASSERT_TRUE(picture.save(identity, "JPEG") && picture.save(profile, "PNG"));

    runWalk([&](ElumiraProgram &program) {
        TFormRegistrasi *form = program.registrationWindow();
        ASSERT_NE(form, nullptr);
        ASSERT_FALSE(form->isVisible());
        ASSERT_TRUE(clickIn(program.mainWindow()->Chromium1, "a[onclick*=\"registerPage\"]"));
        ASSERT_TRUE(waitUntil([form] { return form->isVisible(); }));
        ASSERT_TRUE(waitUntil([form] { return form->RequestTask.isNull() && form->cmbKelurahan->count() > 0; }));

        form->setPhotoPicker([&](QWidget *, const QString &filter) {
            EXPECT_EQ(filter, QStringLiteral("JPG File (*.jpg);;PNG File (*.png)"));
            return form->edFoto->text().isEmpty() ? identity : profile;
        });
        form->activateWindow();
        QTest::keyClicks(form->edName, QStringLiteral("Komang Ayu Lestari"));
        QTest::keyClicks(form->edNoIdent, QStringLiteral("5171014506950002"));
        QTest::keyClicks(form->edKotaLahir, QStringLiteral("Tabanan"));
        QTest::keyClicks(form->edAlamat, QStringLiteral("Jl. Melati No. 3"));
        QTest::keyClicks(form->edEmail, QStringLiteral("komang.ayu@telmarin.example"));
        QTest::keyClicks(form->edTelepon, QStringLiteral("085712345678"));
        QTest::keyClicks(form->edPass1, QStringLiteral("Membaca2025"));
        QTest::keyClicks(form->edPass2, QStringLiteral("Membaca2025"));
        QTest::keyClicks(form->edInstansi, QStringLiteral("Universitas Telmarin"));
        form->cmbPendidikan->setCurrentIndex(8);
        form->cmbPekerjaan->setCurrentIndex(1);
        QTest::mouseClick(form->btnFoto, Qt::LeftButton);
        QTest::mouseClick(form->btnFotoProfil, Qt::LeftButton);
        EXPECT_EQ(form->edFoto->text(), identity);
        EXPECT_EQ(form->edFotoProfil->text(), profile);
        QTest::mouseClick(form->btnKirim, Qt::LeftButton);
        ASSERT_TRUE(waitUntil([this] {
            return shown("Pendaftaran Berhasil. Silahkan Cek e-mail yang anda masukan untuk diverifikasi");
        })) << (dialogs.boxes().isEmpty() ? std::string() : dialogs.boxes().last().text.toStdString());
        EXPECT_FALSE(form->isVisible());

        TChromium *login = program.mainWindow()->Chromium1;
        evaluate(login->page(), QStringLiteral("document.getElementById('email').value = 'komang.ayu@telmarin.example';"
                                               "document.getElementById('kata_sandi').value = 'Membaca2025';"
                                               "document.getElementById('btnLogin').click(); 0"));
        EXPECT_TRUE(waitUntil([login] { return pageShowing(login, "index.html"); }, 30000));
        EXPECT_EQ(service->control().requests("/api/wl/executeLogin")["requests"].size(), 1u);
    });
    EXPECT_EQ(dialogs.boxes().size(), 1);
}

TEST_F(AccountFormsWalk, aMemberAsksForAPasswordResetFromTheLogInPage)
{
    runWalk([&](ElumiraProgram &program) {
        TFormForgotPass *form = program.forgotPasswordWindow();
        ASSERT_NE(form, nullptr);
        ASSERT_TRUE(clickIn(program.mainWindow()->Chromium1, "a.forgot-password"));
        ASSERT_TRUE(waitUntil([form] { return form->isVisible(); }));
        form->activateWindow();
        form->Edit1->setFocus();
        QTest::keyClicks(form->Edit1, QStringLiteral("bima.pratama@telmarin.example"));
        QTest::keyClick(form->Edit1, Qt::Key_Return);
        ASSERT_TRUE(waitUntil([this] { return shown("Silahkan cek e-mail anda untuk langkah selanjutnya"); }));
        EXPECT_FALSE(form->isVisible());
        EXPECT_EQ(service->control().requests("/api/wl/forgotPassword")["requests"].size(), 1u);
    });
}

} // namespace
} // namespace elumira::test
