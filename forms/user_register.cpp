// The registration window: its controls and layout, showing and closing, the photo pickers and the scroll boxes.
#include "forms/user_register.h"

#include "common/dialogs.h"
#include "resources/program_resources.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace elumira {

namespace {

constexpr int kWidth = 785;
constexpr int kHeight = 496;
// One wheel step scrolls a scroll box by one line of this many pixels.
constexpr int kLinePixels = 24;

QLabel *fieldLabel(const char *text, QWidget *parent)
{
    auto *label = new QLabel(QString::fromUtf8(text), parent);
    label->setObjectName(QStringLiteral("fieldLabel"));
    return label;
}

QLineEdit *lineEdit(const char *name, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    return edit;
}

QComboBox *dropDownList(const char *name, QWidget *parent)
{
    auto *combo = new QComboBox(parent);
    combo->setObjectName(QLatin1String(name));
    combo->setEditable(false);
    // A list changes only when the member has chosen it; a turn of the wheel over it scrolls its box instead.
    combo->setFocusPolicy(Qt::StrongFocus);
    return combo;
}

QFrame *rule(QFrame::Shape shape, QWidget *parent)
{
    auto *line = new QFrame(parent);
    line->setFrameShape(shape);
    line->setObjectName(QStringLiteral("rule"));
    line->setFixedSize(shape == QFrame::HLine ? QSize(QWIDGETSIZE_MAX, 1) : QSize(1, QWIDGETSIZE_MAX));
    if (shape == QFrame::HLine)
        line->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    else
        line->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    return line;
}

// The small italic "( Requesting Data... )" beside a region list; it keeps its place while hidden.
QLabel *requestingLabel(const char *name, QWidget *parent)
{
    auto *label = new QLabel(QStringLiteral("( Requesting Data... )"), parent);
    label->setObjectName(QLatin1String(name));
    QFont font = label->font();
    font.setItalic(true);
    font.setPointSizeF(font.pointSizeF() - 1);
    label->setFont(font);
    QSizePolicy policy = label->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    label->setSizePolicy(policy);
    return label;
}

QScrollArea *scrollBox(const char *name, QWidget *content, QWidget *parent)
{
    auto *box = new QScrollArea(parent);
    box->setObjectName(QLatin1String(name));
    box->setFrameShape(QFrame::NoFrame);
    box->setWidgetResizable(true);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->verticalScrollBar()->setSingleStep(kLinePixels);
    box->setWidget(content);
    return box;
}

QString pickPhotoFile(QWidget *parent, const QString &filter)
{
    return QFileDialog::getOpenFileName(parent, QString(), QString(), filter);
}

} // namespace

TFormRegistrasi::TFormRegistrasi(const std::shared_ptr<TLekoraLib> &lekora, Dialogs &dialogs, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_lekora(lekora), m_dialogs(dialogs),
      m_pickPhoto(&pickPhotoFile)
{
    setObjectName(QStringLiteral("FormRegistrasi"));
    setWindowTitle(QStringLiteral("Registrasi Akun Keanggotaan Anda"));
    setFont(QFont(QStringLiteral("Segoe UI"), 9));
    registerIconFont();
    buildWindow();

    rdPria->setChecked(true);
    cmbKTP->setCurrentIndex(0);
    dateTglLahir->setDate(QDate(1990, 1, 1));
    cmbPendidikan->setCurrentIndex(-1);

    setFixedSize(kWidth, kHeight);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

TFormRegistrasi::~TFormRegistrasi() = default;

void TFormRegistrasi::buildWindow()
{
    setAutoFillBackground(true);
    setStyleSheet(QStringLiteral(
        "#FormRegistrasi { background: #ffffff; }"
        "#PanelTop { background: #000000; }"
        "#btnClose { color: #ffffff; border: none; background: transparent; }"
        "#btnClose:hover { color: #e04848; }"
        "#lblTitle { color: #333333; }"
        "#fieldLabel { color: #444444; }"
        "#rule { background: #d5d5d5; border: none; }"
        "#lblNotice { color: #666666; }"
        "#btnKirim { background: #2f6fb2; color: #ffffff; border: none; border-radius: 3px; padding: 7px 16px; }"
        "#btnKirim:hover { background: #255a93; }"
        "#btnKirim:disabled { background: #9db7d3; }"
        "QScrollArea, #ScrollContent { background: #ffffff; }"
        "#edPass1, #edPass2 { lineedit-password-character: 42; }"));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    PanelTop = new QWidget(this);
    PanelTop->setObjectName(QStringLiteral("PanelTop"));
    PanelTop->setAttribute(Qt::WA_StyledBackground);
    PanelTop->setFixedHeight(27);
    auto *topLayout = new QHBoxLayout(PanelTop);
    topLayout->setContentsMargins(0, 0, 4, 0);
    topLayout->addStretch();
    btnClose = new QToolButton(PanelTop);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    btnClose->setFont(iconFont(16));
    btnClose->setText(QString(QChar(0xF057)));
    btnClose->setFixedSize(27, 27);
    btnClose->setFocusPolicy(Qt::NoFocus);
    btnClose->setCursor(Qt::PointingHandCursor);
    btnClose->setAccessibleName(QStringLiteral("Tutup"));
    topLayout->addWidget(btnClose);
    layout->addWidget(PanelTop);

    auto *body = new QVBoxLayout;
    body->setContentsMargins(20, 10, 20, 12);
    body->setSpacing(8);
    lblTitle = new QLabel(QStringLiteral("Registrasi Akun Keanggotaan Anda"), this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont = font();
    titleFont.setPointSize(14);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    body->addWidget(lblTitle);
    body->addWidget(rule(QFrame::HLine, this));

    auto *boxes = new QHBoxLayout;
    boxes->setSpacing(14);
    ScrollBox1 = scrollBox("ScrollBox1", buildPersonalBox(), this);
    ScrollBox2 = scrollBox("ScrollBox2", buildAccountBox(), this);
    boxes->addWidget(ScrollBox1, 1);
    boxes->addWidget(rule(QFrame::VLine, this));
    boxes->addWidget(ScrollBox2, 1);
    body->addLayout(boxes, 1);

    auto *bottom = new QHBoxLayout;
    bottom->setSpacing(20);
    lblNotice = new QLabel(
        QStringLiteral(
            "Data - data yang anda isikan dihalaman ini akan digunakan untuk kepentingan analisa dan laporan "
            "data statistik terkait minat baca masyarakat, beserta bidang baca yang diminati oleh sebagian "
            "besar pembaca, sehingga kami dapat memberikan layanan yang lebih baik lagi untuk anda."),
        this);
    lblNotice->setObjectName(QStringLiteral("lblNotice"));
    lblNotice->setWordWrap(true);
    QFont noticeFont = font();
    noticeFont.setItalic(true);
    noticeFont.setPointSizeF(7.5);
    lblNotice->setFont(noticeFont);
    bottom->addWidget(lblNotice, 1);
    btnKirim = new QPushButton(QStringLiteral("Kirim Registrasi*"), this);
    btnKirim->setObjectName(QStringLiteral("btnKirim"));
    btnKirim->setCursor(Qt::PointingHandCursor);
    bottom->addWidget(btnKirim, 0, Qt::AlignVCenter);
    body->addWidget(rule(QFrame::HLine, this));
    body->addLayout(bottom);
    layout->addLayout(body, 1);

    connect(btnClose, &QToolButton::clicked, this, &TFormRegistrasi::btnCloseClick);
    connect(btnKirim, &QPushButton::clicked, this, &TFormRegistrasi::btnKirimClick);
    connect(btnFoto, &QPushButton::clicked, this, &TFormRegistrasi::btnFotoClick);
    connect(btnFotoProfil, &QPushButton::clicked, this, &TFormRegistrasi::btnFotoProfilClick);
    connect(rdPria, &QRadioButton::clicked, this, &TFormRegistrasi::rdPriaClick);
    connect(rdWanita, &QRadioButton::clicked, this, &TFormRegistrasi::rdWanitaClick);
    // Only the member's own choices count as changes; the cascade fills the lists without them.
    connect(cmbProvinsi, &QComboBox::activated, this, &TFormRegistrasi::cmbProvinsiChange);
    connect(cmbKota, &QComboBox::activated, this, &TFormRegistrasi::cmbKotaChange);
    connect(cmbKecamatan, &QComboBox::activated, this, &TFormRegistrasi::cmbKecamatanChange);

    for (QScrollArea *box : {ScrollBox1, ScrollBox2}) {
        box->viewport()->installEventFilter(this);
        for (QWidget *child : box->widget()->findChildren<QWidget *>())
            if (qobject_cast<QComboBox *>(child) || qobject_cast<QDateEdit *>(child))
                child->installEventFilter(this);
    }
}

QWidget *TFormRegistrasi::buildPersonalBox()
{
    auto *content = new QWidget;
    content->setObjectName(QStringLiteral("ScrollContent"));
    auto *form = new QVBoxLayout(content);
    form->setContentsMargins(0, 4, 12, 8);
    form->setSpacing(3);
    auto addField = [form, content](const char *label, QWidget *control) {
        form->addWidget(fieldLabel(label, content));
        form->addWidget(control);
        form->addSpacing(6);
    };

    edName = lineEdit("edName", content);
    addField("Nama Lengkap", edName);

    auto *genders = new QWidget(content);
    auto *genderRow = new QHBoxLayout(genders);
    genderRow->setContentsMargins(0, 0, 0, 0);
    rdPria = new QRadioButton(QStringLiteral("Pria"), genders);
    rdPria->setObjectName(QStringLiteral("rdPria"));
    rdWanita = new QRadioButton(QStringLiteral("Wanita"), genders);
    rdWanita->setObjectName(QStringLiteral("rdWanita"));
    auto *group = new QButtonGroup(genders);
    group->addButton(rdPria);
    group->addButton(rdWanita);
    genderRow->addWidget(rdPria);
    genderRow->addSpacing(20);
    genderRow->addWidget(rdWanita);
    genderRow->addStretch();
    addField("Jenis Kelamin", genders);

    edNoIdent = lineEdit("edNoIdent", content);
    addField("No. Identitas", edNoIdent);

    cmbKTP = dropDownList("cmbKTP", content);
    cmbKTP->addItems(
        {QStringLiteral("KTP"), QStringLiteral("SIM"), QStringLiteral("Kartu Pelajar"), QStringLiteral("Lainnya")});
    addField("Jenis Identitas", cmbKTP);

    edKotaLahir = lineEdit("edKotaLahir", content);
    addField("Tempat Lahir", edKotaLahir);

    dateTglLahir = new QDateEdit(content);
    dateTglLahir->setObjectName(QStringLiteral("dateTglLahir"));
    dateTglLahir->setCalendarPopup(true);
    dateTglLahir->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    dateTglLahir->setMinimumDate(QDate(1900, 1, 1));
    dateTglLahir->setFocusPolicy(Qt::StrongFocus);
    addField("Tanggal Lahir", dateTglLahir);

    edAlamat = new QPlainTextEdit(content);
    edAlamat->setObjectName(QStringLiteral("edAlamat"));
    edAlamat->setTabChangesFocus(true);
    edAlamat->setFixedHeight(64);
    addField("Alamat Lengkap", edAlamat);

    auto addRegion = [&](const char *label, const char *listName, const char *labelName, QComboBox *&list,
                         QLabel *&requesting) {
        auto *row = new QWidget(content);
        auto *rowLayout = new QHBoxLayout(row);
        rowLayout->setContentsMargins(0, 0, 0, 0);
        rowLayout->setSpacing(8);
        list = dropDownList(listName, row);
        requesting = requestingLabel(labelName, row);
        rowLayout->addWidget(list, 1);
        rowLayout->addWidget(requesting);
        addField(label, row);
    };
    addRegion("Provinsi", "cmbProvinsi", "Label1", cmbProvinsi, Label1);
    addRegion("Kota", "cmbKota", "Label2", cmbKota, Label2);
    addRegion("Kecamatan", "cmbKecamatan", "Label3", cmbKecamatan, Label3);
    addRegion("Kelurahan", "cmbKelurahan", "Label4", cmbKelurahan, Label4);
    form->addStretch();
    return content;
}

QWidget *TFormRegistrasi::buildAccountBox()
{
    auto *content = new QWidget;
    content->setObjectName(QStringLiteral("ScrollContent"));
    auto *form = new QVBoxLayout(content);
    form->setContentsMargins(0, 4, 12, 8);
    form->setSpacing(3);
    auto addField = [form, content](const char *label, QWidget *control) {
        form->addWidget(fieldLabel(label, content));
        form->addWidget(control);
        form->addSpacing(6);
    };

    edEmail = lineEdit("edEmail", content);
    edEmail->setToolTip(QStringLiteral("E-mail ini digunakan untuk mengakses akun perpustakaan anda"));
    addField("E-mail", edEmail);

    edTelepon = lineEdit("edTelepon", content);
    edTelepon->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edTelepon));
    edTelepon->setInputMethodHints(Qt::ImhDigitsOnly);
    addField("No. Telepon/Handphone", edTelepon);

    edPass1 = lineEdit("edPass1", content);
    edPass1->setEchoMode(QLineEdit::Password);
    edPass1->setToolTip(QStringLiteral("Kata sandi yang digunakan untuk mengakses perpustakaan ini"));
    addField("Kata Sandi", edPass1);

    edPass2 = lineEdit("edPass2", content);
    edPass2->setEchoMode(QLineEdit::Password);
    edPass2->setToolTip(QStringLiteral("Ketik ulang kata sandi anda"));
    addField("Ketik Ulang Kata Sandi", edPass2);

    edInstansi = lineEdit("edInstansi", content);
    addField("Asal Instansi/Sekolah", edInstansi);

    cmbPendidikan = dropDownList("cmbPendidikan", content);
    // The service knows these texts exactly as they stand, trailing spaces included.
    cmbPendidikan->addItems({QStringLiteral("Sekolah Dasar / Sederajat"),
                             QStringLiteral("Sekolah Menengah Pertama / Sederajat"),
                             QStringLiteral("Sekolah Menengah Atas / Sederajat "), QStringLiteral("Diploma 1 "),
                             QStringLiteral("Diploma 2"), QStringLiteral("Diploma 3"), QStringLiteral("Diploma 4"),
                             QStringLiteral("Politeknik"), QStringLiteral("Strata 1 "), QStringLiteral("Strata 2"),
                             QStringLiteral("Strata 3")});
    addField("Pendidikan Terakhir", cmbPendidikan);

    cmbPekerjaan = dropDownList("cmbPekerjaan", content);
    addField("Pekerjaan", cmbPekerjaan);

    auto fileRow = [content](const char *editName, const char *buttonName, QLineEdit *&edit, QPushButton *&button) {
        auto *row = new QWidget(content);
        auto *rowLayout = new QHBoxLayout(row);
        rowLayout->setContentsMargins(0, 0, 0, 0);
        rowLayout->setSpacing(4);
        edit = lineEdit(editName, row);
        edit->setReadOnly(true);
        button = new QPushButton(QStringLiteral("..."), row);
        button->setObjectName(QLatin1String(buttonName));
        button->setFixedWidth(32);
        rowLayout->addWidget(edit, 1);
        rowLayout->addWidget(button);
        return row;
    };
    addField("Upload Foto Tanda Pengenal", fileRow("edFoto", "btnFoto", edFoto, btnFoto));
    addField("Foto Profil", fileRow("edFotoProfil", "btnFotoProfil", edFotoProfil, btnFotoProfil));
    form->addStretch();
    return content;
}

void TFormRegistrasi::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TFormRegistrasi::closeEvent(QCloseEvent *event)
{
    if (FormCloseQuery())
        event->accept();
    else
        event->ignore();
}

void TFormRegistrasi::FormShow()
{
    m_closing = false;
    for (QComboBox *list : {cmbKota, cmbKecamatan, cmbKelurahan}) {
        list->clear();
        list->setEnabled(false);
    }
    setRequestingLabelsVisible(false);
    cmbPekerjaan->clear();
    cmbPekerjaan->addItems(listPekerjaan());
    cmbPekerjaan->setCurrentIndex(-1);
    m_gender = QStringLiteral("L");
    cmbProvinsi->clear();
    for (int &index : m_settledIndex)
        index = -1;
    setRequestingLabelsVisible(true);
    startRegionTask(RegionLevel::Provinsi, QString());
}

bool TFormRegistrasi::FormCloseQuery()
{
    m_closing = true;
    if (!RequestTask.isNull()) {
        m_dialogs.information(RequestTask.name() == QLatin1String("executeRegister")
                                  ? QStringLiteral("Harap Tunggu... Proses Registrasi Sedang Berjalan")
                                  : QStringLiteral("Harap Tunggu..."));
        return false;
    }
    m_provinces.reset();
    m_cities.reset();
    m_districts.reset();
    m_subDistricts.reset();
    return true;
}

void TFormRegistrasi::btnCloseClick()
{
    close();
}

void TFormRegistrasi::btnFotoClick()
{
    const QString path = m_pickPhoto(this, QStringLiteral("JPG File (*.jpg);;PNG File (*.png)"));
    if (!path.isEmpty())
        edFoto->setText(path);
}

void TFormRegistrasi::btnFotoProfilClick()
{
    const QString path = m_pickPhoto(this, QStringLiteral("JPG File (*.jpg);;PNG File (*.png)"));
    if (!path.isEmpty())
        edFotoProfil->setText(path);
}

void TFormRegistrasi::rdPriaClick()
{
    m_gender = QStringLiteral("L");
}

void TFormRegistrasi::rdWanitaClick()
{
    m_gender = QStringLiteral("P");
}

void TFormRegistrasi::ScrollBox1MouseWheelDown(const QPoint &globalPos)
{
    scrollBoxWheel(ScrollBox1, globalPos, 1);
}

void TFormRegistrasi::ScrollBox1MouseWheelUp(const QPoint &globalPos)
{
    scrollBoxWheel(ScrollBox1, globalPos, -1);
}

void TFormRegistrasi::ScrollBox2MouseWheelDown(const QPoint &globalPos)
{
    scrollBoxWheel(ScrollBox2, globalPos, 1);
}

void TFormRegistrasi::ScrollBox2MouseWheelUp(const QPoint &globalPos)
{
    scrollBoxWheel(ScrollBox2, globalPos, -1);
}

void TFormRegistrasi::scrollBoxWheel(QScrollArea *box, const QPoint &globalPos, int lines)
{
    const QPoint local = box->mapFromGlobal(globalPos);
    if (!box->rect().contains(local, true))
        return;
    QScrollBar *bar = box->verticalScrollBar();
    bar->setValue(bar->value() + lines * bar->singleStep());
}

bool TFormRegistrasi::wheelOverScrollBox(QScrollArea *box, QWheelEvent *event)
{
    // Whole steps of 120 eighths of a degree; finer wheels add up until they make one.
    m_wheelRest += event->angleDelta().y();
    while (m_wheelRest <= -120 || m_wheelRest >= 120) {
        const bool down = m_wheelRest < 0;
        m_wheelRest += down ? 120 : -120;
        const QPoint at = event->globalPosition().toPoint();
        if (box == ScrollBox1)
            down ? ScrollBox1MouseWheelDown(at) : ScrollBox1MouseWheelUp(at);
        else
            down ? ScrollBox2MouseWheelDown(at) : ScrollBox2MouseWheelUp(at);
    }
    event->accept();
    return true;
}

bool TFormRegistrasi::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Wheel)
        return QWidget::eventFilter(watched, event);
    auto *wheel = static_cast<QWheelEvent *>(event);
    for (QScrollArea *box : {ScrollBox1, ScrollBox2}) {
        if (watched == box->viewport())
            return wheelOverScrollBox(box, wheel);
        auto *control = qobject_cast<QWidget *>(watched);
        if (control && box->widget()->isAncestorOf(control) && !control->hasFocus())
            return wheelOverScrollBox(box, wheel);
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace elumira
