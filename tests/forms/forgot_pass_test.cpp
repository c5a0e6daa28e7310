// The password reset window on real widgets against the demo library service.
#include "forms/forgot_pass.h"
#include "tests/support/client_on_demo.h"
#include "tests/support/test_support.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace elumira::test {
namespace {

class ForgotPassTest : public ClientOnDemo
{
protected:
    void SetUp() override
    {
        ClientOnDemo::SetUp();
        if (HasFatalFailure())
            return;
        form = std::make_unique<TFormForgotPass>(lekora, dialogs);
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        form->Edit1->setFocus();
    }

    void TearDown() override
    {
        if (form)
            waitUntil([this] { return form->Button1->isEnabled(); });
        form.reset();
        ClientOnDemo::TearDown();
    }

    void typeAndPressEnter(const QString &text)
    {
        form->Edit1->clear();
        QTest::keyClicks(form->Edit1, text);
        QTest::keyClick(form->Edit1, Qt::Key_Return);
    }

    std::unique_ptr<TFormForgotPass> form;
};

TEST_F(ForgotPassTest, window_hasItsCaptionHeadingTextAndButton)
{
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Lupa Kata Sandi"));
    EXPECT_EQ(form->size(), QSize(436, 266));
    EXPECT_EQ(form->lblHeading->text(), QStringLiteral("Lupa Kata Sandi?"));
    EXPECT_EQ(form->lblHeading->font().pixelSize(), 20);
    EXPECT_EQ(form->lblText->text(),
              QStringLiteral("Masukkan email login Anda di bawah ini.\nKami akan mengirimkan pesan "
                             "email beserta tautan untuk reset kata sandi Anda."));
    EXPECT_TRUE(form->lblText->wordWrap());
    EXPECT_EQ(form->Edit1->font().pixelSize(), 14);
    EXPECT_EQ(form->Button1->text(), QStringLiteral("Reset Kata Sandi"));
}

TEST_F(ForgotPassTest, anEmptyOrMalformedAddress_isRefusedBeforeAnythingIsSent)
{
    struct Case
    {
        const char *typed;
        const char *warning;
    };
    const Case cases[] = {
        {"", "Alamat E-mail wajib diisi"},
        {"bima.pratama", "Format E-mail salah"},
        {"bima.pratama@telmarin", "Format E-mail salah"},
    };
    for (const Case &c : cases) {
        dialogs.clear();
        typeAndPressEnter(QString::fromUtf8(c.typed));
        ASSERT_EQ(dialogs.boxes().size(), 1) << c.typed;
        EXPECT_EQ(dialogs.boxes()[0].kind, Dialogs::Kind::Warning) << c.typed;
        EXPECT_EQ(dialogs.boxes()[0].text, QString::fromUtf8(c.warning)) << c.typed;
        EXPECT_EQ(QApplication::focusWidget(), form->Edit1) << c.typed;
        EXPECT_TRUE(form->Button1->isEnabled()) << c.typed;
    }
    EXPECT_TRUE(requests("/api/wl/forgotPassword").empty());
}

TEST_F(ForgotPassTest, enterPressedTwice_sendsOneRequest_andSuccessClosesTheWindowKeepingTheAddress)
{
    delay("/api/wl/forgotPassword", 500);
    typeAndPressEnter(QStringLiteral("bima.pratama@telmarin.example"));
    EXPECT_FALSE(form->Button1->isEnabled());
    QTest::keyClick(form->Edit1, Qt::Key_Return);
    ASSERT_TRUE(waitForBox(QStringLiteral("Silahkan cek e-mail anda untuk langkah selanjutnya")));
    EXPECT_EQ(dialogs.boxes().size(), 1);
    EXPECT_EQ(dialogs.boxes()[0].kind, Dialogs::Kind::Information);
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(form->Button1->isEnabled());

    const Json sent = requests("/api/wl/forgotPassword");
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0]["form"], Json::parse(R"([["username","bima.pratama@telmarin.example"]])"));

    form->show();
    EXPECT_EQ(form->Edit1->text(), QStringLiteral("bima.pratama@telmarin.example"));
}

TEST_F(ForgotPassTest, refusalOrFailure_showsTheErrorAndEmptiesTheEdit)
{
    typeAndPressEnter(QStringLiteral("tidak.ada@telmarin.example"));
    ASSERT_TRUE(waitForBox(QStringLiteral("Error : Alamat e-mail tidak terdaftar")));
    EXPECT_EQ(dialogs.boxes()[0].kind, Dialogs::Kind::Error);
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(form->Button1->isEnabled());
    EXPECT_TRUE(form->Edit1->text().isEmpty());
    EXPECT_EQ(QApplication::focusWidget(), form->Edit1);

    // No answer at all: the failure's message after the same marker.
    dialogs.clear();
    drop("/api/wl/forgotPassword");
    typeAndPressEnter(QStringLiteral("bima.pratama@telmarin.example"));
    ASSERT_TRUE(waitUntil([this] { return !dialogs.boxes().isEmpty(); }));
    EXPECT_TRUE(dialogs.boxes()[0].text.startsWith(QStringLiteral("Error : ")));
    EXPECT_GT(dialogs.boxes()[0].text.size(), 8);
    EXPECT_TRUE(form->Edit1->text().isEmpty());
}

// Whatever goes wrong with the request, the member is told why in one error box and can ask again at once.
TEST_F(ForgotPassTest, everyServiceFault_oneClearErrorAndTheWindowAsksAgain)
{
    for (const ServiceFault fault : kEveryServiceFault) {
        SCOPED_TRACE(faultName(fault));
        dialogs.clear();
        inject(fault, "/api/wl/forgotPassword");
        typeAndPressEnter(QStringLiteral("bima.pratama@telmarin.example"));
        ASSERT_TRUE(waitUntil([this] { return !dialogs.boxes().isEmpty() && form->Button1->isEnabled(); }, 30000));
        heal();
        QTest::qWait(100);
        ASSERT_EQ(dialogs.boxes().size(), 1);
        const QString text = dialogs.boxes()[0].text;
        EXPECT_EQ(dialogs.boxes()[0].kind, Dialogs::Kind::Error);
        EXPECT_TRUE(text.startsWith(QStringLiteral("Error : ")) && clearText(text.mid(8))) << text.toStdString();
        if (fault == ServiceFault::AuthFailed) {
            EXPECT_EQ(text, QStringLiteral("Error : Auth Failed"));
        }
        EXPECT_TRUE(form->isVisible());
        EXPECT_TRUE(form->Edit1->text().isEmpty());
    }
    dialogs.clear();
    typeAndPressEnter(QStringLiteral("bima.pratama@telmarin.example"));
    EXPECT_TRUE(waitForBox(QStringLiteral("Silahkan cek e-mail anda untuk langkah selanjutnya")));
}

TEST_F(ForgotPassTest, closedWhileTheRequestRuns_stillReportsItsAnswer)
{
    delay("/api/wl/forgotPassword", 500);
    typeAndPressEnter(QStringLiteral("bima.pratama@telmarin.example"));
    EXPECT_TRUE(form->close());
    ASSERT_TRUE(waitForBox(QStringLiteral("Silahkan cek e-mail anda untuk langkah selanjutnya")));
    EXPECT_TRUE(form->Button1->isEnabled());
}

} // namespace
} // namespace elumira::test
