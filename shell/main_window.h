// TFormMain: the main window, with the browser panel of seven library views and the reader panel.
#pragma once

#include "common/background_task.h"

#include <QWidget>

#include <atomic>
#include <functional>

class QStackedWidget;
class QTabWidget;
class QToolButton;
class QWebEngineProfile;

namespace elumira {

class Dialogs;
class TChromium;
class TLekoraLib;

// What the version check leaves for the main window: whether the member accepted a newer version, and where
// to get it. Written by the version check, read by the main window once the check has finished.
struct UpdateOffer
{
    bool accepted = false;
    QString url;
};

class TFormMain : public QWidget
{
    Q_OBJECT
public:
    // Starts the updater with the download address; false when it cannot be started.
    using UpdaterLauncher = std::function<bool(const QString &url)>;

    TFormMain(TLekoraLib &lekora, Dialogs &dialogs, QWebEngineProfile *profile, const UpdateOffer &update,
              QWidget *parent = nullptr);
    ~TFormMain() override;

    // The window that btnAbout shows, and what the granted close releases last (the splash window, which
    // owns the service client and so removes the data folder).
    void setAboutWindow(QWidget *about) { m_about = about; }
    void setReleaseOnClose(std::function<void()> release) { m_releaseOnClose = std::move(release); }
    void setUpdaterLauncher(UpdaterLauncher launcher) { m_startUpdater = std::move(launcher); }

    // Whether the create handler succeeded; a failed window closes itself when shown.
    bool created() const { return m_created; }

    void FormCreate();
    void FormShow();
    bool FormCloseQuery();

    void ShowBrowserView(TChromium *view);
    void btnLibraryClick();
    void btnReaderClick();
    void btnAboutClick();

    // The updater that the window starts when a newer version was accepted: "updater" in the program's folder.
    static bool startUpdater(const QString &url);

    // Controls.
    QWidget *PanelHeader = nullptr;
    QToolButton *btnLibrary = nullptr;
    QToolButton *btnReader = nullptr;
    QToolButton *btnHelp = nullptr;
    QToolButton *btnAbout = nullptr;
    QStackedWidget *panelBrowser = nullptr;
    TChromium *Chromium1 = nullptr;
    TChromium *Chromium2 = nullptr;
    TChromium *Chromium3 = nullptr;
    TChromium *Chromium4 = nullptr;
    TChromium *Chromium5 = nullptr;
    TChromium *Chromium6 = nullptr;
    TChromium *Chromium7 = nullptr;
    QWidget *PanelReader = nullptr;
    QWidget *PanelToolbar = nullptr;
    QTabWidget *PageControl1 = nullptr;
    QWidget *TabSheet1 = nullptr;
    QWidget *TabSheet2 = nullptr;
    QWidget *TabSheet3 = nullptr;

    // Page state shared by the dispatcher, the page tasks and the reader.
    TaskHandle CurrentTask;
    bool Closing = false;
    int HomePage = 0;
    bool HomeLoaded = false;
    int HomeCount = 0;
    std::atomic<bool> SearchBusy{false};
    QString SentenceKeyword;
    int SentencePage = 0;
    int OpenBookCount = 0;
    bool ShowSearchAfterOpen = false;
    bool ShowChartAfterOpen = false;
    bool AnnotPressed = false;

    // Annotation colours in use, as 0x00BBGGRR.
    int HighlightColor = 0;
    int RectColor = 0;
    int InkColor = 0;

    QList<TChromium *> browserViews() const;
    // The surface in front: panelBrowser or PanelReader.
    QWidget *frontSurface() const;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildWindow(QWebEngineProfile *profile);
    QString loadingPagePath() const;

    TLekoraLib &m_lekora;
    Dialogs &m_dialogs;
    const UpdateOffer &m_update;
    QStackedWidget *m_surfaces = nullptr;
    QWidget *m_about = nullptr;
    std::function<void()> m_releaseOnClose;
    UpdaterLauncher m_startUpdater;
    bool m_created = false;
    bool m_shown = false;
};

} // namespace elumira
