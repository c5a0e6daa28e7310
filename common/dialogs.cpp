// Recording implementation of the message-box seam.
#include "common/dialogs.h"

namespace elumira {

Dialogs::Answer RecordingDialogs::show(Kind kind, const QString &text, Buttons buttons)
{
    m_boxes.append({kind, text, buttons, QString()});
    if (buttons == Buttons::Ok)
        return Answer::Ok;
    if (buttons == Buttons::Yes)
        return Answer::Yes;
    if (!m_answers.isEmpty())
        return m_answers.takeFirst();
    return buttons == Buttons::YesNo ? Answer::Yes : Answer::Ok;
}

Dialogs::Answer RecordingDialogs::showCaptioned(Kind kind, const QString &caption, const QString &text, Buttons buttons)
{
    const Answer answer = show(kind, text, buttons);
    m_boxes.last().caption = caption;
    return answer;
}

} // namespace elumira
