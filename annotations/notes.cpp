// The note viewer: a note's text in its own font and colour under a strip with its date, and its deletion.
#include "annotations/notes.h"

#include "annotations/annot_books.h"
#include "annotations/annot_document.h"
#include "annotations/annot_painter.h"
#include "annotations/annot_widgets.h"
#include "common/dialogs.h"
#include "reader/open_books.h"
#include "reader/pdf_control.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace elumira {

namespace {

constexpr int kNoteBackground = 12382963;
constexpr int kStripColour = 7727856;

} // namespace

TFormNotes::TFormNotes(AnnotBooks &books, Dialogs &dialogs, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_books(books), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("FormNotes"));
    setFixedSize(372, 297);
    annot::setBackground(this, annot::colourOf(kNoteBackground));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedHeight(41);
    annot::setBackground(Panel1, annot::colourOf(kStripColour));
    auto *strip = new QHBoxLayout(Panel1);
    strip->setContentsMargins(10, 0, 6, 0);
    Label1 = new QLabel(QStringLiteral("Note Date"), Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    strip->addWidget(Label1, 1);
    Button2 = annot::glyphButton(Panel1, "Button2", 0xF1F8, nullptr, "Hapus Catatan");
    Button1 = annot::glyphButton(Panel1, "Button1", 0xF00D, nullptr, "Tutup");
    for (QToolButton *button : {Button2, Button1}) {
        button->setFixedSize(30, 30);
        strip->addWidget(button);
    }
    layout->addWidget(Panel1);

    RichEdit1 = new QTextEdit(this);
    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    RichEdit1->setAcceptRichText(false);
    RichEdit1->setFrameShape(QFrame::NoFrame);
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    annot::setBackground(RichEdit1, annot::colourOf(kNoteBackground));
    layout->addWidget(RichEdit1, 1);

    connect(Button1, &QToolButton::clicked, this, &TFormNotes::Button1Click);
    connect(Button2, &QToolButton::clicked, this, &TFormNotes::Button2Click);
}

TFormNotes::~TFormNotes() = default;

void TFormNotes::showNote(const QString &tab, TPdfControl *view, int position, const Json &entry)
{
    m_tab = tab;
    m_view = view;
    m_position = position;
    m_entry = entry;

    QFont font(jsonText(entry, "font"));
    const int size = int(jsonInt(entry, "size"));
    if (size > 0)
        font.setPointSize(size);
    RichEdit1->setFont(font);
    const int colour = int(jsonInt(entry, "font_color"));
    QPalette palette = RichEdit1->palette();
    // The window-text reference stands for the desktop's text colour of windows.
    palette.setColor(QPalette::Text,
                     colour == annot::kWindowTextColour ? this->palette().color(QPalette::WindowText) : annot::colourOf(colour));
    RichEdit1->setPalette(palette);
    RichEdit1->setPlainText(jsonText(entry, "text"));
    Label1->setText(jsonText(entry, "date"));
    annot::showCentred(this);
}

int TFormNotes::findEntry(const Json &data) const
{
    if (m_position < 0 || m_entry.is_null())
        return -1;
    // Entries are only appended after it, so deletions can only have moved it towards the front.
    for (int at = std::min(m_position, int(data.size()) - 1); at >= 0; --at) {
        if (data[size_t(at)] == m_entry)
            return at;
    }
    return -1;
}

void TFormNotes::Button1Click()
{
    close();
}

void TFormNotes::Button2Click()
{
    if (!m_dialogs.confirmOkCancel(QStringLiteral("Hapus Catatan Ini?")))
        return;
    TReaderSettings *settings = m_books.settings(m_tab);
    TPdfControl *view = m_view;
    // The note is deleted only from the book it was shown from, and only if it is still there.
    if (settings && view && m_books.view(m_tab) == view) {
        const int at = findEntry(annot::entries(settings->AnnotationObject));
        if (at >= 0)
            m_books.remove(view, settings->AnnotationObject, at);
        view->viewport()->update();
    }
    m_position = -1;
    m_entry = Json();
    close();
}

} // namespace elumira
