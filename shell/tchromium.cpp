// The browser view of the library pages.
#include "shell/tchromium.h"

#include "bridge/bridge_receiver.h"
#include "bridge/bridge_script.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QStackedWidget>
#include <QWebChannel>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineSettings>

#include <memory>
#include <utility>

namespace elumira {

namespace {

// A page that reports script errors with the document and line they come from.
class LibraryPage : public QWebEnginePage
{
public:
    using QWebEnginePage::QWebEnginePage;

protected:
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString &message, int line,
                                  const QString &source) override
    {
        if (level == ErrorMessageLevel)
            qWarning("js: %s (%s:%d)", qPrintable(message), qPrintable(source), line);
    }
};

} // namespace

TChromium::TChromium(QWebEngineProfile *profile, QWidget *parent)
    : QWebEngineView(parent),
      m_receiver(new BridgeReceiver(this)),
      m_channel(new QWebChannel(this)),
      m_page(new LibraryPage(profile, this))
{
    QWebEngineSettings *settings = m_page->settings();
    settings->setAttribute(QWebEngineSettings::JavascriptEnabled, true);
    settings->setAttribute(QWebEngineSettings::PluginsEnabled, true);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);

    m_channel->registerObject(QString::fromLatin1(kBridgeObjectName), m_receiver);
    m_page->setWebChannel(m_channel);
    setPage(m_page);

    // Queued so that a message never runs the dispatcher inside the channel's own call.
    connect(m_receiver, &BridgeReceiver::messageReceived, this, &TChromium::processMessageReceived,
            Qt::QueuedConnection);

    // Held scripts run when the document asked for last has loaded (or failed), not when an earlier load that
    // it interrupted reports its end.
    connect(m_page, &QWebEnginePage::loadingChanged, this, [this](const QWebEngineLoadingInfo &info) {
        if (!m_loading || info.status() == QWebEngineLoadingInfo::LoadStartedStatus || info.url() != m_loadTarget)
            return;
        m_loading = false;
        const QStringList scripts = std::exchange(m_pendingScripts, {});
        for (const QString &script : scripts)
            m_page->runJavaScript(script);
    });
}

TChromium::~TChromium()
{
    // The page goes first, while the channel it talks to still exists.
    m_page->setWebChannel(nullptr);
    setPage(nullptr);
    delete m_page;
}

void TChromium::loadUrl(const QUrl &url)
{
    // Scripts held for a document that will now never show are dropped with it.
    m_pendingScripts.clear();
    m_loading = true;
    m_loadTarget = url;
    load(url);
}

void TChromium::reload()
{
    // Pages are rewritten in place, so the document is read again from its file. Each reload asks for the
    // file under an address of its own, so that the end of one reload is never taken for the end of the
    // next one, and scripts held for the page run on the document they are meant for.
    QUrl target = m_page->url();
    target.setQuery(QStringLiteral("reload=%1").arg(++m_reloads));
    loadUrl(target);
}

void TChromium::runScript(const QString &script)
{
    if (m_loading)
        m_pendingScripts.append(script);
    else
        m_page->runJavaScript(script);
}

void TChromium::bringToFront()
{
    if (auto *stack = qobject_cast<QStackedWidget *>(parentWidget())) {
        stack->setCurrentWidget(this);
        return;
    }
    show();
    raise();
}

void TChromium::OnBeforeContextMenu(QMenu *model)
{
    model->clear();
}

void TChromium::contextMenuEvent(QContextMenuEvent *event)
{
    std::unique_ptr<QMenu> menu(createStandardContextMenu());
    OnBeforeContextMenu(menu.get());
    if (!menu->isEmpty())
        menu->exec(event->globalPos());
    event->accept();
}

} // namespace elumira
