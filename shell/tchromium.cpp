// The browser view of the library pages.
#include "shell/tchromium.h"

#include "bridge/bridge_receiver.h"
#include "bridge/bridge_script.h"

#include <QContextMenuEvent>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMenu>
#include <QPointer>
#include <QStackedWidget>
#include <QTimer>
#include <QWebChannel>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInfo>
#include <QWebEngineUrlRequestInterceptor>

#include <memory>
#include <utility>

namespace elumira {

namespace {

// How long held scripts wait before they are handed again to a page that has not yet run its own scripts.
constexpr int kHeldScriptRetryMs = 20;

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

// Keeps a view's requests to what the pages do. From the data folder they load the styles, scripts, fonts and
// pictures that lie beside them; from the service, pictures only. Every other local file, any local file asked
// for by a page's script (fetch, XMLHttpRequest), a frame or an object, and every remote request that is not
// for a picture (a remote document, script, style, frame or fetch) is refused. The documents the program
// loads into the view from the data folder are not concerned.
class PageRequestGuard : public QWebEngineUrlRequestInterceptor
{
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;

    void interceptRequest(QWebEngineUrlRequestInfo &info) override
    {
        const QUrl request = info.requestUrl();
        const QWebEngineUrlRequestInfo::ResourceType type = info.resourceType();
        if (request.isLocalFile()) {
            if (type != QWebEngineUrlRequestInfo::ResourceTypeMainFrame)
                info.block(!ownFile(type, info.firstPartyUrl(), request));
            return;
        }
        const QString scheme = request.scheme();
        if (scheme == QLatin1String("http") || scheme == QLatin1String("https"))
            info.block(type != QWebEngineUrlRequestInfo::ResourceTypeImage);
    }

private:
    static bool ownFile(QWebEngineUrlRequestInfo::ResourceType type, const QUrl &page, const QUrl &request)
    {
        switch (type) {
        case QWebEngineUrlRequestInfo::ResourceTypeStylesheet:
        case QWebEngineUrlRequestInfo::ResourceTypeScript:
        case QWebEngineUrlRequestInfo::ResourceTypeImage:
        case QWebEngineUrlRequestInfo::ResourceTypeFontResource:
            break;
        default:
            return false;
        }
        if (!page.isLocalFile())
            return false;
        const QString folder = QDir::cleanPath(QFileInfo(page.toLocalFile()).absolutePath()) + QLatin1Char('/');
        return QDir::cleanPath(request.toLocalFile()).startsWith(folder);
    }
};

} // namespace

void applyLibraryPageSettings(QWebEngineSettings *settings)
{
    // The pages load their own scripts, styles, fonts and pictures from file URLs beside them, and the covers,
    // banners and logos from the service: a page from a file needs both kinds of access for that. The view's
    // PageRequestGuard narrows them to exactly those files and to pictures.
    settings->setAttribute(QWebEngineSettings::JavascriptEnabled, true);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
    // No page embeds a plug-in, opens a window, reads the clipboard or links to another scheme; and a file
    // dropped on a view must not be opened in it with the app object.
    settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    settings->setAttribute(QWebEngineSettings::PdfViewerEnabled, false);
    settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    settings->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, false);
    settings->setAttribute(QWebEngineSettings::JavascriptCanPaste, false);
    settings->setAttribute(QWebEngineSettings::NavigateOnDropEnabled, false);
    settings->setAttribute(QWebEngineSettings::AllowRunningInsecureContent, false);
    settings->setUnknownUrlSchemePolicy(QWebEngineSettings::DisallowUnknownUrlSchemes);
}

TChromium::TChromium(QWebEngineProfile *profile, QWidget *parent)
    : QWebEngineView(parent),
      m_receiver(new BridgeReceiver(this)),
      m_channel(new QWebChannel(this)),
      m_page(new LibraryPage(profile, this))
{
    applyLibraryPageSettings(m_page->settings());
    m_page->setUrlRequestInterceptor(new PageRequestGuard(m_page));

    m_channel->registerObject(QString::fromLatin1(kBridgeObjectName), m_receiver);
    m_page->setWebChannel(m_channel);
    setPage(m_page);

    // Queued so that a message never runs the dispatcher inside the channel's own call.
    connect(m_receiver, &BridgeReceiver::messageReceived, this, &TChromium::processMessageReceived,
            Qt::QueuedConnection);

    // Held scripts run when the document asked for last has loaded (or failed), not when an earlier load that
    // it interrupted reports its end. A load asked for while the one before it is about to show its document
    // may get no report of its own: the engine reports the end of the earlier one only, and the new document
    // then arrives silently. So the document asked for last also counts as loaded once the page shows its
    // address and has nothing more loading; the held scripts still wait in the page until it is parsed.
    connect(m_page, &QWebEnginePage::loadingChanged, this, [this](const QWebEngineLoadingInfo &info) {
        if (!m_loading || info.status() == QWebEngineLoadingInfo::LoadStartedStatus)
            return;
        if (info.url() == m_loadTarget || showsLoadTarget())
            loadEnded();
    });
    connect(m_page, &QWebEnginePage::urlChanged, this, [this] {
        if (m_loading && showsLoadTarget())
            loadEnded();
    });
}

TChromium::~TChromium()
{
    // Answers about held scripts that arrive while the page goes are stale.
    ++m_loadGeneration;
    // The page goes first, while the channel it talks to still exists.
    m_page->setWebChannel(nullptr);
    setPage(nullptr);
    delete m_page;
}

bool TChromium::showsLoadTarget() const
{
    return !m_page->isLoading() && m_page->url() == m_loadTarget;
}

void TChromium::loadEnded()
{
    m_loading = false;
    deliverHeldScripts();
}

void TChromium::loadUrl(const QUrl &url)
{
    // Scripts held for a document that will now never show are dropped with it.
    m_pendingScripts.clear();
    ++m_loads;
    m_delivering = false;
    ++m_loadGeneration;
    m_loading = true;
    m_loadTarget = url;
    load(url);
}

void TChromium::reload()
{
    // Pages are rewritten in place, so the document is read again from its file. Each reload asks for the
    // file under an address of its own, so that the end of one reload is never taken for the end of the
    // next one, and scripts held for the page run on the document they are meant for.
    const QPointF scrolled = m_page->scrollPosition();
    QUrl target = m_page->url();
    target.setQuery(QStringLiteral("reload=%1").arg(++m_reloads));
    loadUrl(target);
    // Like a browser's reload, the grown page shows the place the member was looking at, where its new part
    // begins, rather than its top.
    if (!scrolled.isNull())
        runScript(QStringLiteral("window.scrollTo(%1, %2);").arg(qRound(scrolled.x())).arg(qRound(scrolled.y())));
}

void TChromium::runScript(const QString &script)
{
    if (m_loading || m_delivering || !m_pendingScripts.isEmpty())
        m_pendingScripts.append(script);
    else
        m_page->runJavaScript(script);
}

void TChromium::deliverHeldScripts()
{
    if (m_loading || m_delivering || m_pendingScripts.isEmpty())
        return;
    // The end of a load can be reported before the new document has run the scripts it links (jQuery first),
    // and a held script that uses them would then fail. So the batch goes to the page with a check, in the
    // page itself and in the same step, that the document has been parsed with all its own scripts and its
    // ready handlers run; while it has not, nothing of the batch runs and it is handed over again shortly.
    // Each script runs as a script of its own would: a failure is reported in the page and the next one
    // still runs.
    const QStringList batch = std::exchange(m_pendingScripts, {});
    m_delivering = true;
    const quint64 generation = m_loadGeneration;
    const QString call = QStringLiteral("(function (scripts) {\n"
                                        "    if (document.readyState === 'loading')\n"
                                        "        return false;\n"
                                        "    scripts.forEach(function (script) {\n"
                                        "        try {\n"
                                        "            (0, eval)(script);\n"
                                        "        } catch (error) {\n"
                                        "            setTimeout(function () { throw error; });\n"
                                        "        }\n"
                                        "    });\n"
                                        "    return true;\n"
                                        "})(%1);")
                             .arg(QString::fromUtf8(QJsonDocument(QJsonArray::fromStringList(batch)).toJson(
                                 QJsonDocument::Compact)));
    QPointer<TChromium> self(this);
    m_page->runJavaScript(call, [self, batch, generation](const QVariant &ran) {
        if (!self || self->m_loadGeneration != generation)
            return;
        self->m_delivering = false;
        if (ran.toBool()) {
            self->deliverHeldScripts();
            return;
        }
        self->m_pendingScripts = batch + self->m_pendingScripts;
        QTimer::singleShot(kHeldScriptRetryMs, self, &TChromium::deliverHeldScripts);
    });
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
