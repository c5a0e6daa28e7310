// The splash and About windows, and the version check that the splash runs.
#include "app/splash.h"

#include "common/dialogs.h"
#include "service/lekora_lib.h"
#include "shell/main_window.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QSvgRenderer>
#include <QVBoxLayout>

namespace elumira {

namespace {

// Draws the product logo scaled to fit box, keeping its proportions, centred in it.
void paintLogo(QPainter &painter, const QRectF &box)
{
    QSvgRenderer logo(QStringLiteral(":/logo.svg"));
    QSizeF size = logo.defaultSize();
    size.scale(box.size(), Qt::KeepAspectRatio);
    const QRectF target(box.center().x() - size.width() / 2, box.center().y() - size.height() / 2, size.width(),
                        size.height());
    logo.render(&painter, target);
}

const QColor kSilver(192, 192, 192);

} // namespace

TFormSplash::TFormSplash(Dialogs &dialogs, UpdateOffer &update, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_dialogs(dialogs), m_update(update)
{
    setObjectName(QStringLiteral("FormSplash"));
    setWindowTitle(QStringLiteral("e-Lumira Telmarin"));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, kSilver);
    setPalette(palette);
    setAutoFillBackground(true);
}

TFormSplash::~TFormSplash()
{
    FormDestroy();
}

void TFormSplash::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box(width() / 2.0 - 175, height() / 2.0 - 175, 350, 350);
    paintLogo(painter, box.intersected(QRectF(rect())));
}

void TFormSplash::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    FormShow();
}

void TFormSplash::FormShow()
{
    // Runs once; later showings of the splash do nothing.
    if (m_showHandled)
        return;
    m_showHandled = true;

    m_completed = false;
    m_lekora = std::make_shared<TLekoraLib>(m_dialogs);

    const TLekoraLib *lekora = m_lekora.get();
    UpdateOffer *update = &m_update;
    QPointer<TFormSplash> self(this);
    RequestTask = runTask<bool>(
        QStringLiteral("RequestTask"), this,
        [lekora, update, self] {
            const Json answer = lekora->checkAppVersionRequest();
            const QString code = jsonText(answer, "code");
            if (code == QLatin1String("200"))
                return true;
            int message = 2;
            QString text = jsonText(answer, "msg");
            update->accepted = false;
            if (code == QLatin1String("300")) {
                update->url = jsonText(answer, "url");
                message = 3;
                text = QStringLiteral("Update baru telah tersedia, download sekarang?");
            }
            QMetaObject::invokeMethod(
                self.data(),
                [self, message, text] {
                    if (self)
                        self->taskMessage(message, text);
                },
                Qt::QueuedConnection);
            return true;
        },
        [this](bool) { taskTerminated(); });
}

void TFormSplash::taskMessage(int message, const QString &text)
{
    if (message == 2) {
        m_dialogs.warning(text);
        m_terminate = true;
    } else if (message == 3) {
        m_update.accepted = m_dialogs.confirmOkCancel(text);
    }
}

void TFormSplash::taskTerminated()
{
    RequestTask.release();
    m_completed = true;
}

bool TFormSplash::FormCloseQuery()
{
    if (RequestTask.isRunning()) {
        RequestTask.waitForWorker();
        RequestTask.release();
    }
    return true;
}

void TFormSplash::closeEvent(QCloseEvent *event)
{
    FormCloseQuery();
    event->accept();
}

void TFormSplash::FormDestroy()
{
    // A version check still under way reads the service client; it ends before the client goes.
    if (RequestTask.isRunning())
        RequestTask.waitForWorker();
    m_lekora.reset();
}

TFormAbout::TFormAbout(QWidget *parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("FormAbout"));
    setWindowTitle(QStringLiteral("e-Lumira Telmarin"));
    setFixedSize(385, 407);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, kSilver);
    setPalette(palette);
    setAutoFillBackground(true);

    auto *version = new QLabel(QStringLiteral("Version 2.0.0"), this);
    version->setObjectName(QStringLiteral("Label1"));
    QFont font(QStringLiteral("Segoe UI"));
    font.setPixelSize(14);
    version->setFont(font);
    QPalette labelPalette = version->palette();
    labelPalette.setColor(QPalette::WindowText, palette.color(QPalette::ToolTipText));
    version->setPalette(labelPalette);
    version->setGeometry(16, 16 + 350 + 6, 350, 20);
    version->setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TFormAbout::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::white, 1));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    paintLogo(painter, QRectF(16, 16, 350, 350));
}

void TFormAbout::mousePressEvent(QMouseEvent *event)
{
    // The logo fills the top of the window; a click on it or anywhere else hides the window.
    if (QRect(16, 16, 350, 350).contains(event->position().toPoint()))
        Image1Click();
    else
        FormClick();
}

void TFormAbout::FormClick()
{
    hide();
}

void TFormAbout::Image1Click()
{
    hide();
}

} // namespace elumira
