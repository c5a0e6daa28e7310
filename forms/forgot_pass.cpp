// The password reset window: checks the address with the registration window's e-mail rule and asks the service
// for a reset link on a background task.
#include "forms/forgot_pass.h"

#include "common/background_task.h"
#include "common/dialogs.h"
#include "forms/user_register.h"
#include "service/lekora_lib.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace elumira {

TFormForgotPass::TFormForgotPass(const std::shared_ptr<TLekoraLib> &lekora, Dialogs &dialogs, QWidget *parent)
    : QWidget(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      m_lekora(lekora), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("FormForgotPass"));
    setWindowTitle(QStringLiteral("Lupa Kata Sandi"));
    setFont(QFont(QStringLiteral("Segoe UI"), 9));
    setStyleSheet(QStringLiteral(
        "#FormForgotPass { background: #ffffff; }"
        "#lblHeading { color: #333333; }"
        "#lblText { color: #555555; }"
        "#Edit1 { border: 1px solid #c8c8c8; border-radius: 3px; padding: 4px 8px; }"
        "#Edit1:focus { border-color: #2f6fb2; }"
        "#Button1 { background: #2f6fb2; color: #ffffff; border: none; border-radius: 3px; padding: 8px 18px; }"
        "#Button1:hover { background: #255a93; }"
        "#Button1:disabled { background: #9db7d3; }"));
    setAttribute(Qt::WA_StyledBackground);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(32, 20, 32, 20);
    layout->setSpacing(10);
    layout->addStretch();

    lblHeading = new QLabel(QStringLiteral("Lupa Kata Sandi?"), this);
    lblHeading->setObjectName(QStringLiteral("lblHeading"));
    QFont heading = font();
    heading.setPixelSize(20);
    heading.setBold(true);
    lblHeading->setFont(heading);
    lblHeading->setAlignment(Qt::AlignHCenter);
    layout->addWidget(lblHeading);

    lblText = new QLabel(QStringLiteral("Masukkan email login Anda di bawah ini.\nKami akan mengirimkan pesan email "
                                        "beserta tautan untuk reset kata sandi Anda."),
                         this);
    lblText->setObjectName(QStringLiteral("lblText"));
    lblText->setAlignment(Qt::AlignHCenter);
    lblText->setWordWrap(true);
    layout->addWidget(lblText);
    layout->addSpacing(6);

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    QFont editFont = font();
    editFont.setPixelSize(14);
    Edit1->setFont(editFont);
    layout->addWidget(Edit1);

    Button1 = new QPushButton(QStringLiteral("Reset Kata Sandi"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setCursor(Qt::PointingHandCursor);
    layout->addWidget(Button1);
    layout->addStretch();

    connect(Button1, &QPushButton::clicked, this, &TFormForgotPass::Button1Click);
    connect(Edit1, &QLineEdit::returnPressed, this, &TFormForgotPass::Edit1KeyPress);

    setFixedSize(436, 266);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

TFormForgotPass::~TFormForgotPass() = default;

void TFormForgotPass::Edit1KeyPress()
{
    if (Button1->isEnabled())
        Button1Click();
}

void TFormForgotPass::Button1Click()
{
    if (Edit1->text().isEmpty()) {
        m_dialogs.warning(QStringLiteral("Alamat E-mail wajib diisi"));
        Edit1->setFocus();
        return;
    }
    if (!TFormRegistrasi::IsValidEmailRegEx(Edit1->text())) {
        m_dialogs.warning(QStringLiteral("Format E-mail salah"));
        Edit1->setFocus();
        return;
    }
    // The request holds the service client for as long as it runs.
    std::shared_ptr<TLekoraLib> lekora = m_lekora.lock();
    if (!lekora)
        return;
    Button1->setEnabled(false);
    const QString username = Edit1->text();
    // The window keeps no handle: closing it leaves the request running, and its completion still reports.
    runTask<Json>(
        QStringLiteral("RequestReset"), this,
        [lekora = std::move(lekora), username] { return RequestReset(*lekora, username); },
        [this](Json answer) { RequestResetTerminated(std::move(answer)); });
}

Json TFormForgotPass::RequestReset(const TLekoraLib &lekora, const QString &username)
{
    return lekora.ForgotPasswordRequest(username);
}

void TFormForgotPass::RequestResetTerminated(Json answer)
{
    Button1->setEnabled(true);
    if (!hasCode(answer, "200")) {
        m_dialogs.error(QStringLiteral("Error : ") + jsonText(answer, "msg"));
        Edit1->clear();
        Edit1->setFocus();
        return;
    }
    m_dialogs.information(QStringLiteral("Silahkan cek e-mail anda untuk langkah selanjutnya"));
    close();
}

} // namespace elumira
