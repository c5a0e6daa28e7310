// The reader's tool bar: the "Selesai Baca" group at the left, every other group anchored to the right.
#include "reader/reader_toolbar.h"

#include "resources/program_resources.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace elumira {

namespace {

const QColor kSilver(0xC0, 0xC0, 0xC0);

QColor colourOf(int bgr)
{
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

// A framed group: a caption on top (or none) and a row of controls below.
QHBoxLayout *addGroup(QHBoxLayout *bar, QWidget *panel, const char *name, const char *caption, QWidget **groupOut = nullptr)
{
    auto *group = new QFrame(panel);
    group->setObjectName(QLatin1String(name));
    group->setFrameShape(QFrame::StyledPanel);
    group->setFrameShadow(QFrame::Raised);
    auto *column = new QVBoxLayout(group);
    column->setContentsMargins(6, 2, 6, 4);
    column->setSpacing(2);
    auto *label = new QLabel(QString::fromUtf8(caption), group);
    label->setAlignment(Qt::AlignCenter);
    QFont small = label->font();
    small.setPixelSize(11);
    label->setFont(small);
    column->addWidget(label);
    auto *row = new QHBoxLayout;
    row->setSpacing(3);
    column->addLayout(row, 1);
    bar->addWidget(group);
    if (groupOut)
        *groupOut = group;
    return row;
}

QToolButton *glyphButton(QWidget *panel, const char *name, char16_t glyph, const char *hint)
{
    auto *button = new QToolButton(panel);
    button->setObjectName(QLatin1String(name));
    button->setFixedSize(30, 30);
    button->setFont(iconFont(15));
    button->setText(QString(QChar(glyph)));
    button->setToolTip(QString::fromUtf8(hint));
    // A screen reader would read the private-use glyph; the hint says what the button does.
    button->setAccessibleName(QString::fromUtf8(hint));
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    TReaderToolbar::setGlyphColour(button, TReaderToolbar::kIdleGlyphColour);
    return button;
}

} // namespace

TReaderToolbar::TReaderToolbar(QWidget *toolbarPanel) : panel(toolbarPanel)
{
    panel->setFixedHeight(kHeight);
    panel->setAutoFillBackground(true);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, kSilver);
    panel->setPalette(palette);

    auto *bar = new QHBoxLayout(panel);
    bar->setContentsMargins(4, 3, 4, 3);
    bar->setSpacing(4);

    QHBoxLayout *row = addGroup(bar, panel, "groupReturn", "Selesai Baca");
    btnReturn = glyphButton(panel, "btnReturn", 0xF00C, "Tutup Buku Dan Kembalikan Ke Rak");
    row->addWidget(btnReturn);
    bar->addStretch(1);

    row = addGroup(bar, panel, "groupBookmark", "Bookmark", &groupBookmark);
    btnBookmark = glyphButton(panel, "btnBookmark", 0xF02E, "Bookmark");
    btnBookmark->hide();
    row->addWidget(btnBookmark);
    groupBookmark->hide();

    row = addGroup(bar, panel, "groupInfo", "Info Buku");
    btnInfo = glyphButton(panel, "btnInfo", 0xF129, "Info Buku dan Daftar Pustaka");
    row->addWidget(btnInfo);

    row = addGroup(bar, panel, "groupZoom", "Zoom");
    cmbZoom = new QComboBox(panel);
    cmbZoom->setObjectName(QStringLiteral("cmbZoom"));
    cmbZoom->addItems({QStringLiteral("Default"), QStringLiteral("Fith Width"), QStringLiteral("100%"), QStringLiteral("200%")});
    cmbZoom->setToolTip(QStringLiteral("Ubah Perbesaran Halaman"));
    cmbZoom->setCurrentIndex(2);
    cmbZoom->setFocusPolicy(Qt::ClickFocus);
    row->addWidget(cmbZoom);

    row = addGroup(bar, panel, "groupScroll", "Scroll Mode");
    CheckAutoPage = new QCheckBox(QStringLiteral("Otomatis"), panel);
    CheckAutoPage->setObjectName(QStringLiteral("CheckAutoPage"));
    CheckAutoPage->setToolTip(QStringLiteral("Scroll Untuk Berpindah Halaman"));
    CheckAutoPage->setChecked(true);
    CheckAutoPage->setFocusPolicy(Qt::NoFocus);
    row->addWidget(CheckAutoPage);

    row = addGroup(bar, panel, "groupNavigation", "Navigasi Halaman");
    btnPrevious = glyphButton(panel, "btnPrevious", 0xF060, "Ke Halaman Sebelumnya");
    edPage = new QLineEdit(panel);
    edPage->setObjectName(QStringLiteral("edPage"));
    edPage->setAlignment(Qt::AlignCenter);
    edPage->setFixedWidth(80);
    btnNext = glyphButton(panel, "btnNext", 0xF061, "Ke Halaman Selanjutnya");
    row->addWidget(btnPrevious);
    row->addWidget(edPage);
    row->addWidget(btnNext);

    row = addGroup(bar, panel, "groupTextSelect", "Pilih Teks");
    btnTextSelect = glyphButton(panel, "btnTextSelect", 0xF246, "Aktifkan Pemilihan Teks");
    row->addWidget(btnTextSelect);

    row = addGroup(bar, panel, "groupAnnotation", "");
    AnnotView = new QCheckBox(QStringLiteral("Tampilkan Anotasi"), panel);
    AnnotView->setObjectName(QStringLiteral("AnnotView"));
    AnnotView->setToolTip(QStringLiteral("Tampil / Sembunyikan Anotasi"));
    AnnotView->setChecked(true);
    AnnotView->setFocusPolicy(Qt::NoFocus);
    btnAnnotSettings = glyphButton(panel, "btnAnnotSettings", 0xF013, "Setting Warna Anotasi");
    btnAnnotHighlight = glyphButton(panel, "btnAnnotHighlight", u'H', "Aktifkan Mode Highlight");
    QFont times(QStringLiteral("Times New Roman"));
    times.setPixelSize(17);
    times.setBold(true);
    btnAnnotHighlight->setFont(times);
    btnAnnotRect = glyphButton(panel, "btnAnnotRect", 0xF247, "Aktifkan Anotasi Kotak");
    btnAnnotPen = glyphButton(panel, "btnAnnotPen", 0xF303, "Aktifkan Anotasi Pulpen");
    btnAnnotText = glyphButton(panel, "btnAnnotText", 0xF27A, "Aktifkan Anotasi Komentar");
    btnAnnotDelete =
        glyphButton(panel, "btnAnnotDelete", 0xF2ED, "Hapus Anotasi Yang Telah Dibuat ( Dobel Klik Pada Anotasi)");
    for (QWidget *control : {static_cast<QWidget *>(AnnotView), static_cast<QWidget *>(btnAnnotSettings),
                             static_cast<QWidget *>(btnAnnotHighlight), static_cast<QWidget *>(btnAnnotRect),
                             static_cast<QWidget *>(btnAnnotPen), static_cast<QWidget *>(btnAnnotText),
                             static_cast<QWidget *>(btnAnnotDelete)})
        row->addWidget(control);

    row = addGroup(bar, panel, "groupSearch", "Pencarian");
    edSearch = new QLineEdit(panel);
    edSearch->setObjectName(QStringLiteral("edSearch"));
    edSearch->setToolTip(QStringLiteral("Lakukan Pencarian Kata"));
    edSearch->setFixedWidth(150);
    edSearch->setClearButtonEnabled(true);
    btnSearchPrevious = glyphButton(panel, "btnSearchPrevious", 0xF104, "Cari Sebelumnya");
    btnSearchNext = glyphButton(panel, "btnSearchNext", 0xF105, "Cari Selanjutnya");
    // These two have no hint of their own; their accessible names say what they do.
    btnSearchPrevious->setToolTip(QString());
    btnSearchNext->setToolTip(QString());
    row->addWidget(edSearch);
    row->addWidget(btnSearchPrevious);
    row->addWidget(btnSearchNext);
}

void TReaderToolbar::setGlyphColour(QToolButton *button, int colour)
{
    QPalette palette = button->palette();
    palette.setColor(QPalette::ButtonText, colourOf(colour));
    palette.setColor(QPalette::WindowText, colourOf(colour));
    button->setPalette(palette);
    button->setProperty("glyphColour", colour);
}

int TReaderToolbar::glyphColour(const QToolButton *button)
{
    return button->property("glyphColour").toInt();
}

} // namespace elumira
