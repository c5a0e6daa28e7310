// TFormNotes: the note viewer, showing a sticky note that the member double-clicked, and deleting it.
#pragma once

#include "common/json_read.h"

#include <QPointer>
#include <QWidget>

class QLabel;
class QTextEdit;
class QToolButton;

namespace elumira {

class AnnotBooks;
class Dialogs;
class TPdfControl;

class TFormNotes : public QWidget
{
    Q_OBJECT
public:
    TFormNotes(AnnotBooks &books, Dialogs &dialogs, QWidget *parent = nullptr);
    ~TFormNotes() override;

    // Fills the viewer from a NOTES entry at position in the document of the book in tab, remembers the entry
    // itself, and shows the viewer without waiting for it.
    void showNote(const QString &tab, TPdfControl *view, int position, const Json &entry);

    void Button1Click();
    void Button2Click();

    QWidget *Panel1 = nullptr;
    QLabel *Label1 = nullptr;
    QToolButton *Button2 = nullptr;
    QToolButton *Button1 = nullptr;
    QTextEdit *RichEdit1 = nullptr;

private:
    // The position of the remembered entry in data now, -1 when it is gone.
    int findEntry(const Json &data) const;

    AnnotBooks &m_books;
    Dialogs &m_dialogs;
    QString m_tab;
    QPointer<TPdfControl> m_view;
    int m_position = -1;
    Json m_entry;
};

} // namespace elumira
