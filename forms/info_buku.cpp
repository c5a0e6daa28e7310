// The book information window: filled from the book's record each time it shows; a style button saves that
// style's entry as a file of its own and opens it.
#include "forms/info_buku.h"

#include "common/dialogs.h"
#include "reader/open_books.h"
#include "resources/program_resources.h"

#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStringEncoder>
#include <QToolButton>
#include <QVBoxLayout>

#include <stdexcept>

namespace elumira {

namespace {

const QColor kGround(0x95, 0xA5, 0xA6);     // 10921365 as 0x00BBGGRR
const QColor kValueGround(0xDF, 0xDE, 0xDF); // 14671839
const QColor kSilver(0xC0, 0xC0, 0xC0);
constexpr int kRowHeight = 41;

void paintGround(QWidget *widget, const QColor &colour, const QColor &text = Qt::black)
{
    widget->setAutoFillBackground(true);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    palette.setColor(QPalette::WindowText, text);
    widget->setPalette(palette);
}

QLabel *captionPanel(QWidget *parent, const char *caption)
{
    auto *label = new QLabel(QString::fromUtf8(caption), parent);
    paintGround(label, kSilver);
    label->setFixedHeight(kRowHeight);
    return label;
}

QLabel *valuePanel(QWidget *parent, const char *name)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    paintGround(label, kValueGround);
    label->setFixedHeight(kRowHeight);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

TFormInfoBuku::TFormInfoBuku(const OpenBooks &books, Dialogs &dialogs, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_books(books), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("FormInfoBuku"));
    setWindowTitle(QStringLiteral("Info Buku"));
    setFixedSize(679, 347);
    paintGround(this, kGround);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    panelTitle = new QWidget(this);
    panelTitle->setFixedHeight(27);
    paintGround(panelTitle, Qt::black, Qt::white);
    auto *title = new QHBoxLayout(panelTitle);
    title->setContentsMargins(8, 0, 2, 0);
    auto *caption = new QLabel(QStringLiteral("Info Buku"), panelTitle);
    paintGround(caption, Qt::black, Qt::white);
    btnClose = new QToolButton(panelTitle);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    btnClose->setFont(iconFont(16));
    btnClose->setText(QString(QChar(0xF057)));
    btnClose->setToolTip(QStringLiteral("Tutup"));
    btnClose->setAccessibleName(QStringLiteral("Tutup"));
    btnClose->setAutoRaise(true);
    QPalette closePalette = btnClose->palette();
    closePalette.setColor(QPalette::ButtonText, Qt::white);
    btnClose->setPalette(closePalette);
    title->addWidget(caption, 1);
    title->addWidget(btnClose);
    connect(btnClose, &QToolButton::clicked, this, &TFormInfoBuku::btnCloseClick);
    layout->addWidget(panelTitle);

    auto *rows = new QGridLayout;
    rows->setContentsMargins(6, 6, 6, 0);
    rows->setHorizontalSpacing(2);
    rows->setVerticalSpacing(2);
    panelJudul = valuePanel(this, "panelJudul");
    panelPenulis = valuePanel(this, "panelPenulis");
    panelPenerbit = valuePanel(this, "panelPenerbit");
    rows->addWidget(captionPanel(this, "  Judul"), 0, 0);
    rows->addWidget(panelJudul, 0, 1, 1, 5);
    rows->addWidget(captionPanel(this, "  Penulis"), 1, 0);
    rows->addWidget(panelPenulis, 1, 1, 1, 5);
    rows->addWidget(captionPanel(this, "  Penerbit"), 2, 0);
    rows->addWidget(panelPenerbit, 2, 1, 1, 5);
    panelISBN = valuePanel(this, "panelISBN");
    panelTahun = valuePanel(this, "panelTahun");
    panelKategori = valuePanel(this, "panelKategori");
    rows->addWidget(captionPanel(this, "  ISBN"), 3, 0);
    rows->addWidget(panelISBN, 3, 1);
    rows->addWidget(captionPanel(this, "  Tahun Terbit"), 3, 2);
    rows->addWidget(panelTahun, 3, 3);
    rows->addWidget(captionPanel(this, "  Kategori"), 3, 4);
    rows->addWidget(panelKategori, 3, 5);
    rows->setColumnStretch(1, 2);
    rows->setColumnStretch(3, 1);
    rows->setColumnStretch(5, 2);
    layout->addLayout(rows);

    auto separator = [this] {
        auto *line = new QFrame(this);
        line->setFrameShape(QFrame::HLine);
        line->setFrameShadow(QFrame::Sunken);
        return line;
    };
    layout->addSpacing(6);
    layout->addWidget(separator());
    auto *bibliography = new QLabel(QStringLiteral("Daftar Pustaka"), this);
    bibliography->setAlignment(Qt::AlignCenter);
    QFont bold = bibliography->font();
    bold.setBold(true);
    bibliography->setFont(bold);
    QPalette white = bibliography->palette();
    white.setColor(QPalette::WindowText, Qt::white);
    bibliography->setPalette(white);
    layout->addWidget(bibliography);
    layout->addWidget(separator());

    auto *buttons = new QGridLayout;
    buttons->setContentsMargins(40, 4, 40, 8);
    const struct
    {
        QPushButton **button;
        const char *name;
        const char *caption;
    } styles[] = {{&btnMLA, "btnMLA", "MLA Style"},   {&btnCHG, "btnCHG", "Chicago Style"},
                  {&btnTRB, "btnTRB", "Turabian Style"}, {&btnAPA, "btnAPA", "APA Style"},
                  {&btnHRV, "btnHRV", "Harvard Style"},  {&btnIEE, "btnIEE", "IEEE Style"}};
    for (int i = 0; i < 6; ++i) {
        QPushButton *button = new QPushButton(QString::fromUtf8(styles[i].caption), this);
        button->setObjectName(QLatin1String(styles[i].name));
        button->setMinimumHeight(34);
        *styles[i].button = button;
        buttons->addWidget(button, i / 3, i % 3);
        connect(button, &QPushButton::clicked, this, [this, i] { btnClick(i); });
    }
    layout->addLayout(buttons);
    layout->addStretch(1);

    m_saveDialog = [this] {
        QFileDialog dialog(this);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("html"));
        dialog.setNameFilter(QStringLiteral("HTML File (*.html)"));
        return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty() ? dialog.selectedFiles().first()
                                                                                      : QString();
    };
    m_openFile = [](const QUrl &url) { QDesktopServices::openUrl(url); };
}

void TFormInfoBuku::showFor(QWidget *sheet)
{
    if (isVisible()) {
        raise();
        activateWindow();
        return;
    }
    setBookSheet(sheet);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
}

void TFormInfoBuku::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    FormShow();
}

void TFormInfoBuku::FormShow()
{
    if (!m_sheet)
        return;
    try {
        const TDetailBook *book = m_books.detailOfTab(m_sheet);
        if (!book)
            throw std::runtime_error("the book is no longer open");
        const QString indent = QStringLiteral("  ");
        panelJudul->setText(indent + book->judul);
        panelPenulis->setText(indent + book->penulis);
        panelPenerbit->setText(indent + book->penerbit);
        panelISBN->setText(indent + book->isbn);
        panelTahun->setText(indent + book->tahun_terbit);
        panelKategori->setText(indent + book->kategori);
        const std::array<const QString *, 6> fields = {&book->mla_style,  &book->chicago_style, &book->turabian_style,
                                                       &book->apa_style, &book->harvard_style, &book->ieee_style};
        for (int i = 0; i < 6; ++i) {
            const bool available = *fields[i] != QLatin1String("N/A");
            styleButtons()[i]->setEnabled(available);
            if (available)
                m_entries[i] = *fields[i];
        }
    } catch (const std::exception &error) {
        m_dialogs.error(QStringLiteral("Error When Saving : ") + QString::fromUtf8(error.what()));
    }
}

QString TFormInfoBuku::withHtmlSuffix(const QString &fileName)
{
    return QFileInfo(fileName).suffix().isEmpty() ? fileName + QStringLiteral(".html") : fileName;
}

void TFormInfoBuku::btnClick(int style)
{
    if (style < 0 || style >= 6)
        return;
    const QString chosen = m_saveDialog ? m_saveDialog() : QString();
    if (chosen.isEmpty())
        return;
    const QString fileName = withHtmlSuffix(chosen);
    QStringEncoder encode(QStringConverter::System);
    const QByteArray bytes = encode(m_entries[style] + QStringLiteral("\r\n"));
    QFile file(fileName);
    // A file that cannot be written is said so, with the reason; the success message is for a saved file only.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size() || !file.flush()) {
        m_dialogs.error(QStringLiteral("Error When Saving : ") + file.errorString());
        return;
    }
    file.close();
    m_dialogs.showCaptioned(Dialogs::Kind::Information, QStringLiteral("Informasi"),
                            QStringLiteral("Berhasil Disimpan Di : ") + fileName, Dialogs::Buttons::Ok);
    if (m_openFile)
        m_openFile(QUrl::fromLocalFile(fileName));
}

} // namespace elumira
