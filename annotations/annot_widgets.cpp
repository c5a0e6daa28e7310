// Glyph buttons and window placement for the annotation windows.
#include "annotations/annot_widgets.h"

#include "resources/program_resources.h"

#include <QGuiApplication>
#include <QScreen>
#include <QToolButton>
#include <QWidget>

namespace elumira::annot {

QToolButton *glyphButton(QWidget *parent, const char *name, char16_t glyph, const char *hint, const char *purpose,
                         int pixelSize)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setFont(iconFont(pixelSize));
    button->setText(QString(QChar(glyph)));
    if (hint)
        button->setToolTip(QString::fromUtf8(hint));
    // A screen reader would read the private-use glyph; the name says what the button does.
    button->setAccessibleName(QString::fromUtf8(hint ? hint : purpose));
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

void showCentred(QWidget *window)
{
    QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        const QRect area = screen->availableGeometry();
        window->move(area.center() - QPoint(window->width() / 2, window->height() / 2));
    }
    window->show();
    window->raise();
    window->activateWindow();
}

void setBackground(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    palette.setColor(QPalette::Base, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace elumira::annot
