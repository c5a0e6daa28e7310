// The sticky-note window: writing a note and saving it into the book it was placed in.
#include "annotations/sticky_notes.h"

#include "annotations/annot_books.h"
#include "annotations/annot_painter.h"
#include "annotations/annot_widgets.h"
#include "common/dialogs.h"
#include "reader/open_books.h"
#include "reader/pdf_control.h"

#include <QDate>
#include <QFontDialog>
#include <QLocale>
#include <QTextEdit>
#include <QToolButton>

#include <stdexcept>

namespace elumira {

namespace {

constexpr int kNoteBackground = 12382963;

} // namespace

TFormSticky::TFormSticky(AnnotBooks &books, Dialogs &dialogs, QWidget *parent)
    : QWidget(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_books(books),
      m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("FormSticky"));
    setWindowTitle(QStringLiteral("My Notes"));
    setFixedSize(346, 228);

    RichEdit1 = new QTextEdit(this);
    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    RichEdit1->setAcceptRichText(false);
    RichEdit1->setGeometry(8, 8, 330, 177);
    annot::setBackground(RichEdit1, annot::colourOf(kNoteBackground));
    RichEdit1->setFont(QFont(QStringLiteral("Tahoma"), 8));
    showFontColour();

    btnSettings = annot::glyphButton(this, "btnSettings", 0xF085, "Font Settings", nullptr);
    btnSettings->setGeometry(270, 192, 30, 30);
    btnSaveNotes = annot::glyphButton(this, "btnSaveNotes", 0xF0C7, "Simpan Catatan", nullptr);
    btnSaveNotes->setGeometry(308, 192, 30, 30);
    connect(btnSaveNotes, &QToolButton::clicked, this, &TFormSticky::btnSaveNotesClick);
    connect(btnSettings, &QToolButton::clicked, this, &TFormSticky::btnSettingsClick);

    FontDialog1 = new QFontDialog(this);
    FontDialog1->setObjectName(QStringLiteral("FontDialog1"));
    FontDialog1->setOption(QFontDialog::DontUseNativeDialog);
    FontDialog1->setCurrentFont(RichEdit1->font());
}

TFormSticky::~TFormSticky() = default;

void TFormSticky::showFontColour()
{
    QPalette palette = RichEdit1->palette();
    palette.setColor(QPalette::Text, m_fontColour == annot::kWindowTextColour ? this->palette().color(QPalette::WindowText)
                                                                             : annot::colourOf(m_fontColour));
    RichEdit1->setPalette(palette);
}

void TFormSticky::openNote(const NoteTarget &target)
{
    m_target = target;
    RichEdit1->clear();
    annot::showCentred(this);
    RichEdit1->setFocus();
}

void TFormSticky::btnSaveNotesClick()
{
    try {
        TReaderSettings *settings = m_books.settings(m_target.tab);
        TPdfControl *view = m_target.view;
        if (!settings || !view || m_books.view(m_target.tab) != view)
            throw std::runtime_error("the book of this note is no longer open");
        annot::NoteText note;
        note.font = RichEdit1->font().family();
        note.size = RichEdit1->font().pointSize();
        note.fontColour = m_fontColour;
        note.date = QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
        note.text = RichEdit1->toPlainText();
        m_books.append(view, settings->AnnotationObject, annot::makeNote(m_target.page, note, m_target.box));
        view->viewport()->update();
        close();
    } catch (const std::exception &error) {
        m_dialogs.error(QStringLiteral("Adding Sticky Notes Error : ") + QString::fromUtf8(error.what()));
    }
}

void TFormSticky::btnSettingsClick()
{
    FontDialog1->setCurrentFont(RichEdit1->font());
    if (FontDialog1->exec() != QDialog::Accepted)
        return;
    RichEdit1->setFont(FontDialog1->selectedFont());
    // The dialog has no colour of its own to offer; once a font is chosen, the note keeps the colour it is
    // shown in as a plain colour.
    m_fontColour = annot::bgrOf(RichEdit1->palette().color(QPalette::Text));
    showFontColour();
}

} // namespace elumira
