// TFormForgotPass: asks the service to send a password-reset link to the member's e-mail address.
#pragma once

#include "common/json_read.h"

#include <QWidget>

#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;

namespace elumira {

class Dialogs;
class TLekoraLib;

class TFormForgotPass : public QWidget
{
    Q_OBJECT
public:
    TFormForgotPass(const std::shared_ptr<TLekoraLib> &lekora, Dialogs &dialogs, QWidget *parent = nullptr);
    ~TFormForgotPass() override;

    void Button1Click();
    // Enter in the edit acts as a click on Button1 while the button is enabled.
    void Edit1KeyPress();
    // The background task's work: the reset request for username.
    static Json RequestReset(const TLekoraLib &lekora, const QString &username);
    // The task's completion, on the UI thread.
    void RequestResetTerminated(Json answer);

    QLabel *lblHeading = nullptr;
    QLabel *lblText = nullptr;
    QLineEdit *Edit1 = nullptr;
    QPushButton *Button1 = nullptr;

private:
    std::weak_ptr<TLekoraLib> m_lekora;
    Dialogs &m_dialogs;
};

} // namespace elumira
