// TFormMain: the main window, with the browser panel of seven library views and the reader panel.
#pragma once

#include "annotations/annot_tools.h"
#include "common/background_task.h"
#include "common/json_read.h"
#include "common/process_message.h"

#include <QUrl>
#include <QWidget>

#include <atomic>
#include <functional>
#include <memory>

class QStackedWidget;
class QTabWidget;
class QToolButton;
class QWebEngineProfile;

namespace elumira {

class AnnotBooks;
class Dialogs;
class TAnnotTools;
class TChromium;
class TPdfControl;
class TFormAnnotSettings;
class TFormNotes;
class TFormSticky;
class TReaderPanel;
struct BookOpening;
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

    TFormMain(const std::shared_ptr<TLekoraLib> &lekora, Dialogs &dialogs, QWebEngineProfile *profile,
              const UpdateOffer &update, QWidget *parent = nullptr);
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

    // Acts on a message from the page shown in sender (the dispatcher). Returns true only for "login".
    bool ProcessMessageReceived(TChromium *sender, const ProcessMessage &message);

    // Windows and actions that other parts of the program provide; without them their messages do nothing.
    void setRegistrationWindow(QWidget *window) { m_registration = window; }
    void setForgotPasswordWindow(QWidget *window) { m_forgotPassword = window; }
    // Shows the book information window for the book of a tab sheet.
    using BookInfoOpener = std::function<void(QWidget *sheet)>;
    void setBookInfoOpener(BookInfoOpener opener) { m_showBookInfo = std::move(opener); }
    // Opens an address outside the program (the member's web browser).
    using UrlOpener = std::function<void(const QUrl &url)>;
    void setUrlOpener(UrlOpener opener) { m_openUrl = std::move(opener); }

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
    int HomeLoaded = 0;
    int HomeCount = 0;
    std::atomic<bool> SearchBusy{false};
    QString SentenceKeyword;
    int SentencePage = 0;
    int OpenBookCount = 0;

    // The drawing tools' state shared by all books: the press flag and the annotation colours in use.
    AnnotToolState AnnotState;

    // The reader: the open books, their records and the tool bar.
    TReaderPanel *reader() const { return m_reader; }
    // The annotation tools and their three windows.
    TAnnotTools *annotTools() const { return m_annotTools.get(); }
    TFormSticky *stickyWindow() const { return m_sticky.get(); }
    TFormNotes *notesWindow() const { return m_notes.get(); }
    TFormAnnotSettings *annotSettingsWindow() const { return m_annotSettings.get(); }
    void btnReturnClick();
    void PDFViewKeyUp(TPdfControl *Sender, int Key, Qt::KeyboardModifiers Shift);

    QList<TChromium *> browserViews() const;
    // The surface in front: panelBrowser or PanelReader.
    QWidget *frontSurface() const;

    // Where the member was when a request put the loading page in front: the surface in front and the browser
    // view in front of panelBrowser. A request that fails gives it back with returnTo.
    struct FrontView
    {
        QWidget *surface = nullptr;
        TChromium *view = nullptr;
    };
    FrontView frontView() const;
    // Remembers the view in front, then brings view to the front with the loading page. When view is itself
    // the one in front, its page is covered by the loading page instead of replaced, so that it can come
    // back as the member left it. The next page loaded into view takes the cover away with the old page.
    FrontView showLoadingFor(TChromium *view);
    // Brings a remembered view back to the front, its page as the member left it (uncovered, not reloaded).
    // A request that ends without loading a new page into the view it covered (a book opened in the reader,
    // for example) calls it too before moving on, so the cover does not stay behind.
    void returnTo(const FrontView &front);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    using Worker = std::function<Json(const TLekoraLib &)>;
    using Completion = std::function<void(Json)>;

    // Starts a background request; the worker gets the service client, the completion its answer on the UI
    // thread. startPageTask keeps the task in CurrentTask, releasing the one held before. A page request's
    // completion runs only while no newer page request has been started: the newer one makes its answer
    // irrelevant, and abandoned (when given) runs in its place to undo what the request had begun.
    TaskHandle startTask(const QString &name, Worker worker, Completion completion);
    void startPageTask(const QString &name, Worker worker, Completion completion,
                       std::function<void()> abandoned = {});
    // Makes the answers of every page request under way irrelevant, as a newer request does.
    void abandonPageRequests();
    // The opening of every completion: releases CurrentTask; false when the window has agreed to close.
    bool beginCompletion();
    // For a listing answer that is not "200": the authentication text and the log-in page for "Auth Failed",
    // the answer's msg otherwise (then afterOther). Returns true when the answer failed. covered, when given,
    // loses its loading cover in either case.
    bool answerFailed(const Json &answer, const QString &authText, const std::function<void()> &afterOther,
                      TChromium *covered = nullptr);
    // For a step of the log-in chain: true when it ends there (no code, or not "200": a warning with the
    // answer's msg and the log-in page loaded again, so the member can log in again).
    bool logInChainStops(const Json &answer);

    void showLoadingPage(TChromium *view);
    // Lays the loading page over the page shown in view, or takes it away again.
    void coverWithLoadingPage(TChromium *view);
    void uncover(TChromium *view);
    void loadLoginPage();
    // Fetches the book file of an opening's detail answer; the reader does the rest.
    void openBookFile(BookOpening opening);

    // Log-in chain and home pages.
    void LoginDone(Json answer);
    void BannerDone(Json answer);
    void CategoryDone(Json answer);
    // firstPage: the log-in chain's own home request, whose failure goes back to the log-in page.
    void HomeDone(Json answer, bool firstPage);
    // Catalogue pages.
    void HomeDetailDone(Json answer, const QString &judul);
    void CategoryContentDone(Json answer, const QString &nama_kategori);
    void SubCategoryContentDone(Json answer, const QString &nama_sub_kategori);
    void ChartDone(Json answer, const QString &type, int page);
    // origin: where the member asked from, given back when the request fails.
    void DetailDone(Json answer, const QString &from, const FrontView &origin);
    void SearchDone(Json answer, const QString &field, const QString &keyword, int page, const FrontView &origin);
    // Opening a book from a chart row or a sentence hit, once its details have arrived.
    void BookFromChartDone(Json answer, const FrontView &origin);
    void BookFromSentenceDone(Json answer, int page, const QString &keyword, const FrontView &origin);
    void LogoutDone(Json answer);

    void startChart(const QString &type, int page, std::function<void()> abandoned = {});
    void startDetail(const QString &id_konten, const QString &from);

    void buildWindow(QWebEngineProfile *profile);
    QString loadingPagePath() const;

    TLekoraLib &m_lekora;
    // Background requests take a strong hold from this, so the client outlives any request still running when
    // the window has closed.
    std::weak_ptr<TLekoraLib> m_lekoraShared;
    Dialogs &m_dialogs;
    const UpdateOffer &m_update;
    QStackedWidget *m_surfaces = nullptr;
    QWidget *m_about = nullptr;
    std::function<void()> m_releaseOnClose;
    UpdaterLauncher m_startUpdater;
    QWidget *m_registration = nullptr;
    QWidget *m_forgotPassword = nullptr;
    TReaderPanel *m_reader = nullptr;
    BookInfoOpener m_showBookInfo;
    // The annotation windows are windows of their own; the tools go first when the window is destroyed.
    std::unique_ptr<AnnotBooks> m_annotBooks;
    std::unique_ptr<TFormSticky> m_sticky;
    std::unique_ptr<TFormNotes> m_notes;
    std::unique_ptr<TFormAnnotSettings> m_annotSettings;
    std::unique_ptr<TAnnotTools> m_annotTools;
    UrlOpener m_openUrl;
    // Number of the newest page request; a completion of an older one finds it changed.
    quint64 m_pageRequest = 0;
    bool m_created = false;
    bool m_shown = false;
};

} // namespace elumira
