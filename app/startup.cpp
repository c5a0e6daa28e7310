// Start-up in its fixed order: engine, splash (service client and version check), windows, wait, main window.
#include "app/startup.h"

#include "app/splash.h"
#include "forms/bookmark.h"
#include "forms/forgot_pass.h"
#include "forms/info_buku.h"
#include "reader/reader_panel.h"
#include "forms/user_register.h"
#include "resources/program_resources.h"
#include "shell/browser_profile.h"

#include <QApplication>
#include <QScreen>
#include <QWebEngineProfile>

namespace elumira {

ElumiraProgram::ElumiraProgram(Dialogs &dialogs) : m_dialogs(dialogs) {}

ElumiraProgram::~ElumiraProgram()
{
    // Views go before the profile they use; the splash (and with it the service client) last.
    // The book information window reads the main window's records.
    m_bookInfo.reset();
    m_main.reset();
    m_registration.reset();
    m_forgotPassword.reset();
    m_bookmark.reset();
    m_about.reset();
    m_profile.reset();
    m_splash.reset();
}

int ElumiraProgram::run()
{
    // Every window, the frameless ones included, shows the program's icon in the task bar and switcher.
    QApplication::setWindowIcon(programIcon());

    // The browser engine comes first: every view shares this profile.
    m_profile.reset(createBrowserProfile());

    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();

    // Showing the splash creates the service client (which rebuilds the data folder) and starts the
    // version check.
    m_splash = std::make_unique<TFormSplash>(m_dialogs, m_update);
    m_splash->setAttribute(Qt::WA_QuitOnClose, false);
    m_splash->setGeometry(screen);
    m_splash->showMaximized();
    m_splash->repaint();

    // The windows are created once, in this order, and only shown and hidden from then on.
    m_main = std::make_unique<TFormMain>(m_splash->lekoraShared(), m_dialogs, m_profile.get(), m_update);
    m_registration = std::make_unique<TFormRegistrasi>(m_splash->lekoraShared(), m_dialogs);
    m_registration->setAttribute(Qt::WA_QuitOnClose, false);
    m_bookInfo = std::make_unique<TFormInfoBuku>(m_main->reader()->books(), m_dialogs);
    m_bookInfo->setAttribute(Qt::WA_QuitOnClose, false);
    m_bookmark = std::make_unique<TFormBookmark>();
    m_bookmark->setAttribute(Qt::WA_QuitOnClose, false);
    m_forgotPassword = std::make_unique<TFormForgotPass>(m_splash->lekoraShared(), m_dialogs);
    m_forgotPassword->setAttribute(Qt::WA_QuitOnClose, false);
    m_about = std::make_unique<TFormAbout>();
    m_about->setAttribute(Qt::WA_QuitOnClose, false);
    m_about->move(screen.center() - m_about->rect().center());
    m_main->setAboutWindow(m_about.get());
    m_main->setRegistrationWindow(m_registration.get());
    m_main->setForgotPasswordWindow(m_forgotPassword.get());
    m_main->setBookInfoOpener([this](QWidget *sheet) { m_bookInfo->showFor(sheet); });
    m_main->setReleaseOnClose([this] { m_splash.reset(); });

    while (!m_splash->completed())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    m_splash->hide();

    if (m_splash->terminateRequested())
        return 0;

    m_main->setGeometry(screen);
    m_main->showMaximized();
    return QApplication::exec();
}

} // namespace elumira
