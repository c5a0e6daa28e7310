// TFormAnnotSettings ("Pilihan Warna"): the colours of new highlights, rectangles and ink strokes.
#pragma once

#include <QWidget>

class QColorDialog;
class QFrame;
class QLabel;
class QPushButton;
class QToolButton;

namespace elumira {

class Dialogs;
struct AnnotToolState;

class TFormAnnotSettings : public QWidget
{
    Q_OBJECT
public:
    TFormAnnotSettings(AnnotToolState &state, Dialogs &dialogs, QWidget *parent = nullptr);
    ~TFormAnnotSettings() override;

    void FormCreate();
    // Shared by the three "..." buttons: picks one colour for the sender's row.
    void btnColorClick(QObject *Sender);
    void btnSimpanClick();

    // The colour a swatch shows, as 0x00BBGGRR.
    int swatchColour(const QFrame *shape) const;
    // Shows the window in the middle of the screen without waiting for it.
    void showWindow();

    QWidget *PanelTitle = nullptr;
    QLabel *lblCaption = nullptr;
    QToolButton *btnClose = nullptr;
    QFrame *shapeHighlighter = nullptr;
    QFrame *shapeRectangle = nullptr;
    QFrame *shapeInk = nullptr;
    QPushButton *btnColorHighlighter = nullptr;
    QPushButton *btnColorRectangle = nullptr;
    QPushButton *btnColorPen = nullptr;
    QColorDialog *ColorDialog = nullptr;
    QPushButton *btnSimpan = nullptr;

private:
    void setSwatch(QFrame *shape, int colour);

    AnnotToolState &m_state;
    Dialogs &m_dialogs;
};

} // namespace elumira
