// The main window: layout, create, show and close handlers, and switching between the two surfaces.
#include "shell/main_window.h"

#include "annotations/annot_books.h"
#include "annotations/annot_settings.h"
#include "annotations/notes.h"
#include "annotations/sticky_notes.h"
#include "annotations/text_copy.h"
#include "common/dialogs.h"
#include "pages/login_page.h"
#include "pages/page_writer.h"
#include "reader/pdf_control.h"
#include "reader/reader_panel.h"
#include "resources/program_resources.h"
#include "service/lekora_lib.h"
#include "shell/tchromium.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QProcess>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <stdexcept>

namespace elumira {

namespace {

QToolButton *headerButton(QWidget *parent, const char *name, char16_t glyph, const char *hint)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setFixedSize(32, 32);
    button->setFont(iconFont(16));
    button->setText(QString(QChar(glyph)));
    button->setToolTip(QString::fromUtf8(hint));
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

TFormMain::TFormMain(const std::shared_ptr<TLekoraLib> &lekora, Dialogs &dialogs, QWebEngineProfile *profile,
                     const UpdateOffer &update, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                          | Qt::WindowCloseButtonHint),
      m_lekora(*lekora),
      m_lekoraShared(lekora),
      m_dialogs(dialogs),
      m_update(update),
      m_startUpdater(&TFormMain::startUpdater)
{
    setObjectName(QStringLiteral("FormMain"));
    setWindowTitle(QStringLiteral("e-Lumira Telmarin"));
    setFont(QFont(QStringLiteral("Segoe UI")));
    registerIconFont();
    buildWindow(profile);
    FormCreate();
}

TFormMain::~TFormMain() = default;

void TFormMain::buildWindow(QWebEngineProfile *profile)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    PanelHeader = new QWidget(this);
    PanelHeader->setObjectName(QStringLiteral("PanelHeader"));
    PanelHeader->setFixedHeight(41);
    PanelHeader->setAutoFillBackground(true);
    PanelHeader->setBackgroundRole(QPalette::Button);
    auto *header = new QHBoxLayout(PanelHeader);
    header->setContentsMargins(4, 4, 4, 4);
    header->setSpacing(4);
    btnLibrary = headerButton(PanelHeader, "btnLibrary", 0xF00A, "Daftar Buku");
    btnReader = headerButton(PanelHeader, "btnReader", 0xF02D, "Reader Buku");
    btnHelp = headerButton(PanelHeader, "btnHelp", 0xF059, "Bantuan");
    btnAbout = headerButton(PanelHeader, "btnAbout", 0xF05A, "Tentang Aplikasi");
    header->addWidget(btnLibrary);
    header->addWidget(btnReader);
    header->addStretch(1);
    header->addWidget(btnHelp);
    header->addWidget(btnAbout);
    connect(btnLibrary, &QToolButton::clicked, this, &TFormMain::btnLibraryClick);
    connect(btnReader, &QToolButton::clicked, this, &TFormMain::btnReaderClick);
    connect(btnAbout, &QToolButton::clicked, this, &TFormMain::btnAboutClick);
    layout->addWidget(PanelHeader);
    // The header belongs to a member who has logged in: it starts hidden, so that the window's first frame
    // already has the page's full height and the view is not laid out and drawn again when it goes.
    PanelHeader->hide();

    m_surfaces = new QStackedWidget(this);
    layout->addWidget(m_surfaces, 1);

    panelBrowser = new QStackedWidget(m_surfaces);
    panelBrowser->setObjectName(QStringLiteral("panelBrowser"));
    TChromium **views[] = {&Chromium1, &Chromium2, &Chromium3, &Chromium4, &Chromium5, &Chromium6, &Chromium7};
    int number = 1;
    for (TChromium **view : views) {
        *view = new TChromium(profile, panelBrowser);
        (*view)->setObjectName(QStringLiteral("Chromium%1").arg(number++));
        panelBrowser->addWidget(*view);
    }
    m_surfaces->addWidget(panelBrowser);

    PanelReader = new QWidget(m_surfaces);
    PanelReader->setObjectName(QStringLiteral("PanelReader"));
    auto *reader = new QVBoxLayout(PanelReader);
    reader->setContentsMargins(0, 0, 0, 0);
    reader->setSpacing(0);
    PanelToolbar = new QWidget(PanelReader);
    PanelToolbar->setObjectName(QStringLiteral("PanelToolbar"));
    PanelToolbar->setFixedHeight(71);
    reader->addWidget(PanelToolbar);
    PageControl1 = new QTabWidget(PanelReader);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->tabBar()->hide();
    QWidget **sheets[] = {&TabSheet1, &TabSheet2, &TabSheet3};
    number = 1;
    for (QWidget **sheet : sheets) {
        *sheet = new QWidget(PageControl1);
        (*sheet)->setObjectName(QStringLiteral("TabSheet%1").arg(number));
        PageControl1->addTab(*sheet, QStringLiteral("TabSheet%1").arg(number++));
    }
    reader->addWidget(PageControl1, 1);
    m_surfaces->addWidget(PanelReader);

    ReaderHost host;
    host.showLoginPage = [this] {
        ShowBrowserView(Chromium1);
        loadLoginPage();
    };
    host.showDownloadProgress = [this](qint64 received, qint64 total) {
        Chromium3->runScript(QStringLiteral("window.showDownloadProgress && window.showDownloadProgress(%1, %2);")
                                 .arg(received)
                                 .arg(total));
    };
    host.showReader = [this] { btnReaderClick(); };
    host.closing = [this] { return Closing; };
    host.showBookInfo = [this](QWidget *sheet) {
        if (m_showBookInfo)
            m_showBookInfo(sheet);
    };
    host.showAnnotSettings = [this] { m_annotSettings->showWindow(); };
    m_reader = new TReaderPanel(m_lekoraShared, m_dialogs, PanelToolbar, PageControl1, {TabSheet1, TabSheet2, TabSheet3},
                                OpenBookCount, SearchBusy, std::move(host), this);
    connect(m_reader->toolbar().btnReturn, &QToolButton::clicked, this, &TFormMain::btnReturnClick);
    connect(m_reader, &TReaderPanel::viewCreated, this,
            [this](TPdfControl *view) { connect(view, &TPdfControl::OnKeyUp, this, &TFormMain::PDFViewKeyUp); });

    m_annotBooks = std::make_unique<AnnotBooks>(*m_reader);
    m_sticky = std::make_unique<TFormSticky>(*m_annotBooks, m_dialogs);
    m_notes = std::make_unique<TFormNotes>(*m_annotBooks, m_dialogs);
    m_annotSettings = std::make_unique<TFormAnnotSettings>(AnnotState, m_dialogs);
    m_annotTools = std::make_unique<TAnnotTools>(*m_annotBooks, m_dialogs, AnnotState, *m_sticky, *m_notes);
    connect(m_reader, &TReaderPanel::viewCreated, m_annotTools.get(), &TAnnotTools::attach);
    m_surfaces->setCurrentWidget(panelBrowser);
}

QList<TChromium *> TFormMain::browserViews() const
{
    return {Chromium1, Chromium2, Chromium3, Chromium4, Chromium5, Chromium6, Chromium7};
}

QWidget *TFormMain::frontSurface() const
{
    return m_surfaces->currentWidget();
}

QString TFormMain::loadingPagePath() const
{
    return m_lekora.DataPath() + QStringLiteral("/loading.html");
}

void TFormMain::FormCreate()
{
    try {
        // The process messages of the views reach the dispatcher; their context menus are emptied by the
        // views themselves.
        for (TChromium *view : browserViews()) {
            connect(view, &TChromium::processMessageReceived, this,
                    [this, view](const ProcessMessage &message) { ProcessMessageReceived(view, message); });
        }
        m_lekora.getClientJson();

        Closing = false;
        SearchBusy = false;
        HomePage = 0;
        SentencePage = 0;
        OpenBookCount = 0;
        AnnotState.AnnotPressed = false;

        Chromium1->loadUrl(QUrl::fromLocalFile(loadingPagePath()));

        AnnotState.HighlightColor = 0x00FFFF;
        AnnotState.RectColor = 0x0000FF;
        AnnotState.InkColor = 0xFF0000;
        m_created = true;
    } catch (const std::exception &error) {
        m_dialogs.warning(QStringLiteral("Startup Error : ") + QString::fromUtf8(error.what()));
        m_created = false;
    }
}

void TFormMain::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    // Runs once the window is on screen, as the window's own show handler.
    QTimer::singleShot(0, this, &TFormMain::FormShow);
}

void TFormMain::FormShow()
{
    if (!m_created) {
        close();
        return;
    }
    if (m_update.accepted) {
        m_startUpdater(m_update.url);
        close();
        return;
    }

    ShowBrowserView(Chromium1);
    Chromium1->setFocus();

    if (!QFile::exists(loadingPagePath())) {
        if (m_dialogs.confirmOkCancel(QStringLiteral("Harap mulai ulang aplikasi ini")))
            close();
        return;
    }

    // The window's creation already asked for the waiting animation; asking again would only start it over.
    if (Chromium1->loadTarget() != QUrl::fromLocalFile(loadingPagePath()))
        Chromium1->loadUrl(QUrl::fromLocalFile(loadingPagePath()));
    PanelHeader->hide();

    // The configuration is checked off the UI thread so the waiting animation keeps turning; the page itself
    // is written and loaded back on the UI thread.
    const Json configuration = m_lekora.ClientJson() ? *m_lekora.ClientJson() : Json::object();
    CurrentTask = runTask<Json>(
        QStringLiteral("LoginPageTask"), this, [configuration] { return configuration; },
        [this](Json checked) {
            CurrentTask.release();
            if (Closing)
                return;
            if (hasCode(checked, "200"))
                pages::renderLoginHtmlFile(m_lekora, *Chromium1, m_dialogs);
            else
                m_dialogs.error(QStringLiteral("Error : ") + jsonText(checked, "msg"));
        });
}

bool TFormMain::FormCloseQuery()
{
    for (QWidget *sheet : {TabSheet1, TabSheet2, TabSheet3}) {
        if (!sheet->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly).isEmpty()) {
            m_dialogs.warning(QStringLiteral(
                "Harap kembalikan terlebih dahulu semua buku yang anda baca sebelum menutup aplikasi ini"));
            return false;
        }
    }

    Closing = true;
    CurrentTask.release();
    // Requests still waiting on the service give up, so they neither keep the program from ending nor hold
    // the service client (and its data folder) past the run.
    m_lekora.cancelRequests();
    if (m_releaseOnClose) {
        auto release = std::move(m_releaseOnClose);
        m_releaseOnClose = nullptr;
        release();
    }
    return true;
}

void TFormMain::closeEvent(QCloseEvent *event)
{
    if (Closing || FormCloseQuery())
        event->accept();
    else
        event->ignore();
}

void TFormMain::ShowBrowserView(TChromium *view)
{
    m_surfaces->setCurrentWidget(panelBrowser);
    view->bringToFront();
}

TFormMain::FrontView TFormMain::frontView() const
{
    return {m_surfaces->currentWidget(), qobject_cast<TChromium *>(panelBrowser->currentWidget())};
}

TFormMain::FrontView TFormMain::showLoadingFor(TChromium *view)
{
    const FrontView front = frontView();
    if (front.surface == panelBrowser && front.view == view)
        coverWithLoadingPage(view);
    else
        showLoadingPage(view);
    ShowBrowserView(view);
    return front;
}

void TFormMain::returnTo(const FrontView &front)
{
    if (front.view) {
        uncover(front.view);
        front.view->bringToFront();
    }
    m_surfaces->setCurrentWidget(front.surface ? front.surface : panelBrowser);
}

void TFormMain::btnLibraryClick()
{
    m_surfaces->setCurrentWidget(panelBrowser);
    panelBrowser->setFocus();
}

void TFormMain::btnReaderClick()
{
    m_surfaces->setCurrentWidget(PanelReader);
}

void TFormMain::btnReturnClick()
{
    m_reader->btnReturnClick();
}

void TFormMain::PDFViewKeyUp(TPdfControl *Sender, int Key, Qt::KeyboardModifiers Shift)
{
    elumira::PDFViewKeyUp(*m_reader, m_dialogs, Sender, Key, Shift);
}

void TFormMain::btnAboutClick()
{
    if (m_about) {
        m_about->show();
        m_about->raise();
    }
}

bool TFormMain::startUpdater(const QString &url)
{
    return QProcess::startDetached(QCoreApplication::applicationDirPath() + QStringLiteral("/updater"), {url});
}

} // namespace elumira
