// TChromium: a browser view for library pages, over Qt WebEngine.
#pragma once

#include "common/browser_view.h"
#include "common/process_message.h"

#include <QWebEngineView>

class QMenu;
class QWebChannel;
class QWebEngineProfile;
class QWebEngineSettings;

namespace elumira {

class BridgeReceiver;

// The web settings of a view of library pages: scripts on; pages from files may load local files and remote
// ones (the view narrows that to the styles, scripts, fonts and pictures of the page's own folder and to
// pictures from the web); no plug-ins, windows, clipboard, other URL schemes or pages opened by dropping a
// file.
void applyLibraryPageSettings(QWebEngineSettings *settings);

// Shows library pages with the settings of applyLibraryPageSettings, lets a page load only its own folder's
// files and web pictures, shows no context menu, and delivers the messages of the page's app object in call order on the UI
// thread.
class TChromium : public QWebEngineView, public BrowserView
{
    Q_OBJECT
public:
    explicit TChromium(QWebEngineProfile *profile, QWidget *parent = nullptr);
    ~TChromium() override;

    void loadUrl(const QUrl &url) override;
    // The address last asked for with loadUrl (or reload), whether or not it has loaded yet.
    const QUrl &loadTarget() const { return m_loadTarget; }
    void reload() override;
    // Runs the script in the page shown; while a page is loading, in that page once its own scripts have run.
    // Scripts run in the order asked for.
    void runScript(const QString &script) override;
    void bringToFront() override;
    // How many documents have been asked for in this view so far; a page still shown keeps its number.
    quint64 loadCount() const { return m_loads; }

    // Empties the menu the browser offers, so that no context menu is shown.
    static void OnBeforeContextMenu(QMenu *model);

signals:
    void processMessageReceived(const elumira::ProcessMessage &message);

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    // Hands the held scripts to the page once it has run its own scripts; tries again shortly while it has not.
    void deliverHeldScripts();
    // The page shows the document asked for last and is loading nothing more.
    bool showsLoadTarget() const;
    // The document asked for last has loaded (or failed): its held scripts go to it.
    void loadEnded();

    // Scripts asked for while a document is loading wait for it, so they act on the page just loaded, after
    // the page's own scripts (jQuery and the page's set-up) have run.
    QStringList m_pendingScripts;
    bool m_loading = false;
    // A batch of held scripts is on its way to the page; scripts asked for meanwhile queue behind it.
    bool m_delivering = false;
    // Counts the loads asked for, so that an answer about an earlier document is recognised as stale.
    quint64 m_loadGeneration = 0;
    QUrl m_loadTarget;
    quint64 m_reloads = 0;
    quint64 m_loads = 0;
    BridgeReceiver *m_receiver;
    QWebChannel *m_channel;
    QWebEnginePage *m_page;
};

} // namespace elumira
