// The message boxes the member sees.
#pragma once

#include "common/dialogs.h"

class QWidget;

namespace elumira {

// Shows each box as a modal QMessageBox over the active window.
class MessageBoxDialogs : public Dialogs
{
public:
    Answer show(Kind kind, const QString &text, Buttons buttons) override;
    Answer showCaptioned(Kind kind, const QString &caption, const QString &text, Buttons buttons) override;
};

} // namespace elumira
