// QMessageBox implementation of the message-box seam.
#include "shell/message_box_dialogs.h"

#include <QApplication>
#include <QMessageBox>

namespace elumira {

Dialogs::Answer MessageBoxDialogs::show(Kind kind, const QString &text, Buttons buttons)
{
    return showCaptioned(kind, QString(), text, buttons);
}

Dialogs::Answer MessageBoxDialogs::showCaptioned(Kind kind, const QString &caption, const QString &text, Buttons buttons)
{
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString title;
    switch (kind) {
    case Kind::Warning:
        icon = QMessageBox::Warning;
        title = QStringLiteral("Warning");
        break;
    case Kind::Error:
        icon = QMessageBox::Critical;
        title = QStringLiteral("Error");
        break;
    case Kind::Information:
        icon = QMessageBox::Information;
        title = QStringLiteral("Information");
        break;
    case Kind::Confirmation:
        icon = QMessageBox::Question;
        title = QStringLiteral("Confirm");
        break;
    }

    QMessageBox::StandardButtons standard = QMessageBox::Ok;
    if (buttons == Buttons::OkCancel)
        standard = QMessageBox::Ok | QMessageBox::Cancel;
    else if (buttons == Buttons::YesNo)
        standard = QMessageBox::Yes | QMessageBox::No;
    else if (buttons == Buttons::Yes)
        standard = QMessageBox::Yes;

    QMessageBox box(icon, caption.isEmpty() ? title : caption, text, standard, QApplication::activeWindow());
    switch (box.exec()) {
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        // A box closed without a button counts as the refusing answer.
        if (buttons == Buttons::OkCancel)
            return Answer::Cancel;
        if (buttons == Buttons::Yes)
            return Answer::Yes;
        return buttons == Buttons::YesNo ? Answer::No : Answer::Ok;
    }
}

} // namespace elumira
