// The one way the program shows message boxes, so that tests can record them and script the answers.
#pragma once

#include <QList>
#include <QString>

namespace elumira {

// Shows a message box and returns the member's answer. The product shows real boxes; tests record them.
class Dialogs
{
public:
    enum class Kind { Warning, Error, Information, Confirmation };
    enum class Buttons { Ok, OkCancel, YesNo, Yes };
    enum class Answer { Ok, Cancel, Yes, No };

    virtual ~Dialogs() = default;

    virtual Answer show(Kind kind, const QString &text, Buttons buttons) = 0;
    // A box with a caption of its own instead of the kind's usual one.
    virtual Answer showCaptioned(Kind kind, const QString &caption, const QString &text, Buttons buttons)
    {
        (void)caption;
        return show(kind, text, buttons);
    }

    // Shorthands for the common boxes.
    void error(const QString &text) { show(Kind::Error, text, Buttons::Ok); }
    void warning(const QString &text) { show(Kind::Warning, text, Buttons::Ok); }
    void information(const QString &text) { show(Kind::Information, text, Buttons::Ok); }
    bool confirmOkCancel(const QString &text) { return show(Kind::Confirmation, text, Buttons::OkCancel) == Answer::Ok; }
    bool confirmYesNo(const QString &text) { return show(Kind::Confirmation, text, Buttons::YesNo) == Answer::Yes; }
};

// Records every box and answers from a script of answers; the default answer accepts (OK or Yes).
class RecordingDialogs : public Dialogs
{
public:
    struct Box
    {
        Kind kind;
        QString text;
        Buttons buttons;
        QString caption; // empty: the kind's usual caption
    };

    Answer show(Kind kind, const QString &text, Buttons buttons) override;
    Answer showCaptioned(Kind kind, const QString &caption, const QString &text, Buttons buttons) override;

    // Answers to give, in order, to the boxes that ask a question; when they run out, boxes are accepted.
    void scriptAnswers(QList<Answer> answers) { m_answers = std::move(answers); }
    const QList<Box> &boxes() const { return m_boxes; }
    void clear() { m_boxes.clear(); }

private:
    QList<Box> m_boxes;
    QList<Answer> m_answers;
};

} // namespace elumira
