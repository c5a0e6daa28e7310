// The colour settings window: three swatches with their "..." buttons, applied with "Simpan".
#include "annotations/annot_settings.h"

#include "annotations/annot_painter.h"
#include "annotations/annot_tools.h"
#include "annotations/annot_widgets.h"
#include "common/dialogs.h"

#include <QColorDialog>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <stdexcept>

namespace elumira {

namespace {

const char *const kColourProperty = "bgrColour";

} // namespace

TFormAnnotSettings::TFormAnnotSettings(AnnotToolState &state, Dialogs &dialogs, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_state(state), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("FormAnnotSettings"));
    setWindowTitle(QStringLiteral("Pilihan Warna"));
    setFixedSize(235, 202);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    PanelTitle = new QWidget(this);
    PanelTitle->setObjectName(QStringLiteral("PanelTitle"));
    PanelTitle->setFixedHeight(27);
    annot::setBackground(PanelTitle, Qt::black);
    auto *title = new QHBoxLayout(PanelTitle);
    title->setContentsMargins(8, 0, 2, 0);
    lblCaption = new QLabel(QStringLiteral("Pilihan Warna"), PanelTitle);
    lblCaption->setObjectName(QStringLiteral("lblCaption"));
    QPalette white = lblCaption->palette();
    white.setColor(QPalette::WindowText, Qt::white);
    lblCaption->setPalette(white);
    title->addWidget(lblCaption, 1);
    btnClose = annot::glyphButton(PanelTitle, "btnClose", 0xF057, nullptr, "Tutup");
    btnClose->setFixedSize(25, 25);
    QPalette glyph = btnClose->palette();
    glyph.setColor(QPalette::ButtonText, Qt::white);
    btnClose->setPalette(glyph);
    title->addWidget(btnClose);
    layout->addWidget(PanelTitle);

    auto *rows = new QGridLayout;
    rows->setContentsMargins(14, 10, 14, 6);
    rows->setHorizontalSpacing(10);
    rows->setVerticalSpacing(6);
    const struct
    {
        const char *caption;
        const char *shapeName;
        QFrame **shape;
        const char *buttonName;
        QPushButton **button;
        int start;
    } lines[] = {
        {"Highlighter", "shapeHighlighter", &shapeHighlighter, "btnColorHighlighter", &btnColorHighlighter, 7727856},
        {"Rectangle", "shapeRectangle", &shapeRectangle, "btnColorRectangle", &btnColorRectangle, 255},
        {"Pen Ink", "shapeInk", &shapeInk, "btnColorPen", &btnColorPen, 255},
    };
    int row = 0;
    for (const auto &line : lines) {
        rows->addWidget(new QLabel(QString::fromUtf8(line.caption), this), row, 0);
        *line.shape = new QFrame(this);
        (*line.shape)->setObjectName(QLatin1String(line.shapeName));
        (*line.shape)->setFixedSize(32, 32);
        (*line.shape)->setFrameShape(QFrame::Box);
        setSwatch(*line.shape, line.start);
        rows->addWidget(*line.shape, row, 1);
        *line.button = new QPushButton(QStringLiteral("..."), this);
        (*line.button)->setObjectName(QLatin1String(line.buttonName));
        (*line.button)->setFixedSize(32, 24);
        rows->addWidget(*line.button, row, 2);
        ++row;
    }
    rows->setColumnStretch(0, 1);
    layout->addLayout(rows, 1);

    btnSimpan = new QPushButton(QStringLiteral("Simpan"), this);
    btnSimpan->setObjectName(QStringLiteral("btnSimpan"));
    btnSimpan->setFixedHeight(30);
    layout->addWidget(btnSimpan);

    ColorDialog = new QColorDialog(this);
    ColorDialog->setObjectName(QStringLiteral("ColorDialog"));
    ColorDialog->setOption(QColorDialog::DontUseNativeDialog);

    connect(btnClose, &QToolButton::clicked, this, &QWidget::close);
    connect(btnSimpan, &QPushButton::clicked, this, &TFormAnnotSettings::btnSimpanClick);
    FormCreate();
}

TFormAnnotSettings::~TFormAnnotSettings() = default;

void TFormAnnotSettings::FormCreate()
{
    for (QPushButton *button : {btnColorHighlighter, btnColorRectangle, btnColorPen})
        connect(button, &QPushButton::clicked, this, [this, button] { btnColorClick(button); });
}

void TFormAnnotSettings::setSwatch(QFrame *shape, int colour)
{
    shape->setProperty(kColourProperty, colour);
    annot::setBackground(shape, annot::colourOf(colour));
}

int TFormAnnotSettings::swatchColour(const QFrame *shape) const
{
    return shape->property(kColourProperty).toInt();
}

void TFormAnnotSettings::showWindow()
{
    annot::showCentred(this);
}

void TFormAnnotSettings::btnColorClick(QObject *Sender)
{
    try {
        int *inUse = nullptr;
        QFrame *shape = nullptr;
        bool appliesAtOnce = true;
        if (Sender == btnColorHighlighter) {
            inUse = &m_state.HighlightColor;
            shape = shapeHighlighter;
            // The highlight colour in use changes only with "Simpan".
            appliesAtOnce = false;
        } else if (Sender == btnColorRectangle) {
            inUse = &m_state.RectColor;
            shape = shapeRectangle;
        } else if (Sender == btnColorPen) {
            inUse = &m_state.InkColor;
            shape = shapeInk;
        } else {
            throw std::invalid_argument("no colour belongs to this button");
        }
        ColorDialog->setCurrentColor(annot::colourOf(*inUse));
        if (ColorDialog->exec() != QDialog::Accepted)
            return;
        const int chosen = annot::bgrOf(ColorDialog->selectedColor());
        setSwatch(shape, chosen);
        if (appliesAtOnce)
            *inUse = chosen;
    } catch (const std::exception &error) {
        m_dialogs.error(QStringLiteral("Error Picking Color : ") + QString::fromUtf8(error.what()));
    }
}

void TFormAnnotSettings::btnSimpanClick()
{
    m_state.HighlightColor = swatchColour(shapeHighlighter);
    m_state.RectColor = swatchColour(shapeRectangle);
    m_state.InkColor = swatchColour(shapeInk);
    close();
}

} // namespace elumira
