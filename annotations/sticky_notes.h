// TFormSticky ("My Notes"): the window in which the member writes a sticky note after placing it.
#pragma once

#include "annotations/annot_document.h"

#include <QPointer>
#include <QWidget>

class QFontDialog;
class QTextEdit;
class QToolButton;

namespace elumira {

class AnnotBooks;
class Dialogs;
class TPdfControl;

// Where a note goes, fixed when the sticky-note window opens: the book's tab and view, the page and the note's
// box on it.
struct NoteTarget
{
    QString tab;
    QPointer<TPdfControl> view;
    int page = 0;
    annot::PageBox box;
};

class TFormSticky : public QWidget
{
    Q_OBJECT
public:
    TFormSticky(AnnotBooks &books, Dialogs &dialogs, QWidget *parent = nullptr);
    ~TFormSticky() override;

    // Empties the note, keeps the font last chosen, and shows the window without waiting for it.
    void openNote(const NoteTarget &target);
    const NoteTarget &target() const { return m_target; }

    void btnSaveNotesClick();
    void btnSettingsClick();

    // The colour of the note's text as it is stored: the window-text reference until a font is chosen.
    int fontColour() const { return m_fontColour; }

    QTextEdit *RichEdit1 = nullptr;
    QToolButton *btnSaveNotes = nullptr;
    QToolButton *btnSettings = nullptr;
    QFontDialog *FontDialog1 = nullptr;

private:
    void showFontColour();

    AnnotBooks &m_books;
    Dialogs &m_dialogs;
    NoteTarget m_target;
    int m_fontColour = annot::kWindowTextColour;
};

} // namespace elumira
