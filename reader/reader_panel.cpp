// Opening a borrowed book: the download of its file, the loan, the saved annotations, and the book's view in a
// free tab at the page the member read last.
#include "reader/reader_panel.h"

#include "common/background_task.h"
#include "common/dialogs.h"
#include "reader/pdf_control.h"
#include "service/http_client.h"
#include "service/lekora_lib.h"

#include <QComboBox>
#include <QCheckBox>
#include <QLineEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <atomic>
#include <stdexcept>

namespace elumira {

namespace {

const char kBookLimit[] = "Anda melebihi batas baca sebanyak 3 Buku";
constexpr int kProgressIntervalMs = 100;

// What a running download has received so far; written by the transfer, read by the window's timer.
struct DownloadProgress
{
    std::atomic<qint64> received{0};
    std::atomic<qint64> total{0};
};

const Json &detailData(const Json &detail)
{
    static const Json empty = Json::object();
    const auto data = detail.find("data");
    return data != detail.end() && data->is_object() ? *data : empty;
}

bool isAuthFailure(const Json &answer)
{
    return hasCode(answer, "500") && jsonText(answer, "msg") == QLatin1String("Auth Failed");
}

// The loan's saved annotation document, or a new empty one when the loan has none. Throws when the saved one
// could not be fetched or is not a document: opening with an empty one would replace it at the return.
Json annotationDocument(const BookOpening &opening)
{
    if (!opening.annotationError.isEmpty())
        throw std::runtime_error("the saved annotations could not be fetched: " + opening.annotationError.toStdString());
    if (!opening.annotation)
        return Json{{"id_konten", opening.bookId().toStdString()}, {"data", Json::array()}};
    const QByteArray &text = *opening.annotation;
    Json document = Json::parse(text.constData(), text.constData() + text.size(), nullptr, false);
    // A document holds its entries in "data"; any other object (an error answer of the service, for example)
    // would replace the member's saved annotations at the return.
    if (document.is_discarded() || !document.is_object() || !document.contains("data") || !document["data"].is_array())
        throw std::runtime_error("the saved annotations are not an annotation document");
    return document;
}

} // namespace

QString BookOpening::bookId() const
{
    return jsonText(detailData(detail), "id");
}

QString BookOpening::pageTotal() const
{
    return jsonText(detailData(detail), "halaman_total");
}

QString BookOpening::title() const
{
    return jsonText(detailData(detail), "judul");
}

TReaderPanel::TReaderPanel(std::weak_ptr<TLekoraLib> lekora, Dialogs &dialogs, QWidget *toolbarPanel,
                           QTabWidget *pageControl, std::array<QWidget *, 3> sheets, int &openBookCount,
                           std::atomic<bool> &searchBusy, ReaderHost host, QObject *parent)
    : QObject(parent),
      m_lekora(std::move(lekora)),
      m_dialogs(dialogs),
      m_pageControl(pageControl),
      m_sheets(sheets),
      m_openBookCount(openBookCount),
      m_searchBusy(searchBusy),
      m_host(std::move(host)),
      m_toolbar(toolbarPanel)
{
    for (int i = 0; i < int(m_sheets.size()); ++i)
        m_pageControl->setTabVisible(i, false);
    updateTabBar();
    wireToolbar();
}

TReaderPanel::~TReaderPanel()
{
    for (const auto &[tab, index] : m_textIndexes)
        index->cancel();
}

TPdfControl *TReaderPanel::viewOf(const QWidget *sheet) const
{
    if (!sheet)
        return nullptr;
    const auto children = sheet->findChildren<TPdfControl *>(QString(), Qt::FindDirectChildrenOnly);
    return children.isEmpty() ? nullptr : children.first();
}

QWidget *TReaderPanel::activeSheet() const
{
    const int index = m_pageControl->currentIndex();
    if (index < 0 || index >= int(m_sheets.size()) || !m_pageControl->isTabVisible(index))
        return nullptr;
    return m_sheets[index];
}

QWidget *TReaderPanel::freeSheet() const
{
    for (QWidget *sheet : m_sheets) {
        if (!viewOf(sheet))
            return sheet;
    }
    return nullptr;
}

void TReaderPanel::updateTabBar()
{
    bool any = false;
    for (int i = 0; i < int(m_sheets.size()); ++i)
        any = any || m_pageControl->isTabVisible(i);
    m_pageControl->tabBar()->setVisible(any);
}

void TReaderPanel::openBook(BookOpening opening)
{
    std::shared_ptr<TLekoraLib> lekora = m_lekora.lock();
    if (!lekora)
        return;
    HttpRequest request;
    request.url = serviceUrl() + QStringLiteral("/pc/lkr/") + jsonText(detailData(opening.detail), "nama_pc_file");
    request.connectTimeoutMs = requestLimits().downloadTimeoutMs;
    request.readTimeoutMs = requestLimits().downloadTimeoutMs;
    request.followRedirects = true;
    request.cancelled = lekora->cancellation();
    auto progress = std::make_shared<DownloadProgress>();
    request.progress = [progress](qint64 received, qint64 total) {
        progress->received = received;
        progress->total = total;
    };

    // The transfer runs off the UI thread; what has arrived is shown a few times a second.
    auto *poll = new QTimer(this);
    poll->setInterval(kProgressIntervalMs);
    connect(poll, &QTimer::timeout, this, [this, progress, shown = qint64(-1)]() mutable {
        const qint64 received = progress->received;
        if (received == shown || !m_host.showDownloadProgress)
            return;
        shown = received;
        m_host.showDownloadProgress(received, progress->total);
    });
    poll->start();

    runTask<HttpResult>(
        QStringLiteral("netRequest"), this, [request, lekora] { return performRequest(request); },
        [this, poll, opening = std::move(opening)](HttpResult result) mutable {
            poll->stop();
            poll->deleteLater();
            if (m_host.closing && m_host.closing())
                return;
            if (!result.transferred) {
                netRequestRequestError(opening, result.error);
                return;
            }
            opening.bytes = std::move(result.body);
            netRequestRequestCompleted(std::move(opening), result.status);
        });
}

void TReaderPanel::netRequestRequestCompleted(BookOpening opening, long status)
{
    if (!opening.bytes.isEmpty() && status == 200) {
        startPermission(std::move(opening));
        return;
    }
    opening.bytes.clear();
    m_dialogs.error(QStringLiteral("Jaringan Error dengan Status : ") + QString::number(status));
    if (opening.giveBack)
        opening.giveBack();
}

void TReaderPanel::netRequestRequestError(const BookOpening &opening, const QString &error)
{
    m_dialogs.error(QStringLiteral("Request Error #671: ") + error);
    if (opening.giveBack)
        opening.giveBack();
}

void TReaderPanel::startPermission(BookOpening opening)
{
    std::shared_ptr<TLekoraLib> lekora = m_lekora.lock();
    if (!lekora)
        return;
    // The loan's answer and its saved annotations travel with the opening back to the UI thread.
    runTask<BookOpening>(
        QStringLiteral("readPermission"), this,
        [lekora, opening = std::move(opening)]() mutable {
            // ReadPermissionWork
            opening.permission = lekora->ReadPermissionRequest(opening.bookId());
            const QString address = jsonText(opening.permission, "file_anotasi");
            if (hasCode(opening.permission, "200") && !address.isEmpty() && address != QLatin1String("0")) {
                const HttpResult saved = lekora->AnnotationFileRequest(address);
                if (saved.ok())
                    opening.annotation = saved.body;
                else
                    opening.annotationError = saved.failureMessage();
            }
            return std::move(opening);
        },
        [this](BookOpening opening) { ReadPermissionDone(std::move(opening)); });
}

void TReaderPanel::ReadPermissionDone(BookOpening opening)
{
    std::shared_ptr<TLekoraLib> lekora = m_lekora.lock();
    if (!lekora || (m_host.closing && m_host.closing()))
        return;
    lekora->setReadPermissionJson(opening.permission);
    const Json &permission = opening.permission;
    // The saved annotations refused for the member's session end the opening like a refused loan.
    const bool annotationsRefused = opening.annotation
        && isAuthFailure(Json::parse(opening.annotation->constData(),
                                     opening.annotation->constData() + opening.annotation->size(), nullptr, false));
    if (!hasCode(permission, "200") || annotationsRefused) {
        if (isAuthFailure(permission) || annotationsRefused) {
            m_dialogs.error(QStringLiteral("Authentication Error : Akun Anda Digunakan Di Perangkat Lain"));
            if (opening.giveBack)
                opening.giveBack();
            if (m_host.showLoginPage)
                m_host.showLoginPage();
        } else {
            m_dialogs.warning(jsonText(permission, "msg"));
            if (opening.giveBack)
                opening.giveBack();
        }
        return;
    }

    // Two borrowings that overlapped may find every tab taken by now.
    QWidget *tab = freeSheet();
    if (!tab) {
        m_dialogs.warning(QString::fromLatin1(kBookLimit));
        if (opening.giveBack)
            opening.giveBack();
        return;
    }

    const QString id = opening.bookId();
    bool added = false;
    bool opened = false;
    try {
        std::unique_ptr<TDetailBook> record = TDetailBook::fromAnswers(opening.detail, permission);
        TDetailBook *book = record.get();
        if (!m_books.addDetail(std::move(record)))
            throw std::runtime_error("this book is open already");
        added = true;
        m_openBookCount += 1;
        if (streamProcess(opening, tab, book->page_index, jsonText(permission, "id_baca"))) {
            book->TabSheet = tab;
            opened = true;
        } else {
            rollBack(nullptr, id, true);
            added = false;
        }
    } catch (const std::exception &error) {
        m_dialogs.error(QStringLiteral("Error Exception #1098 : ") + QString::fromUtf8(error.what()));
        if (added)
            rollBack(tab, id, true);
    }
    if (opening.giveBack)
        opening.giveBack();
    if (opened) {
        if (m_host.showReader)
            m_host.showReader();
        if (TPdfControl *view = viewOf(tab))
            view->setFocus();
    }
}

void TReaderPanel::rollBack(QWidget *sheet, const QString &bookId, bool countRaised)
{
    if (sheet && viewOf(sheet)) {
        delete viewOf(sheet);
        m_books.removeSettings(sheet->objectName());
        m_pageControl->setTabVisible(int(std::find(m_sheets.begin(), m_sheets.end(), sheet) - m_sheets.begin()), false);
        updateTabBar();
    }
    m_books.removeDetail(bookId);
    if (countRaised)
        m_openBookCount -= 1;
}

bool TReaderPanel::streamProcess(BookOpening &opening, QWidget *Tab, int PageIdx, const QString &IdBaca)
{
    const QString tabName = Tab->objectName();
    const int tabIndex = int(std::find(m_sheets.begin(), m_sheets.end(), Tab) - m_sheets.begin());
    TPdfControl *view = nullptr;
    bool settingsAdded = false;
    try {
        Json annotations = annotationDocument(opening);

        view = new TPdfControl(Tab);
        view->setObjectName(QStringLiteral("PDFView"));
        if (!Tab->layout()) {
            auto *fill = new QVBoxLayout(Tab);
            fill->setContentsMargins(0, 0, 0, 0);
        }
        Tab->layout()->addWidget(view);
        connect(view, &TPdfControl::OnPageChange, this, &TReaderPanel::PDFViewPageChange);
        connect(view, &TPdfControl::OnMouseMove, this, [this](TPdfControl *sender) { PDFViewMouseMove(sender); });
        emit viewCreated(view);

        m_pageControl->setTabVisible(tabIndex, true);
        m_pageControl->setTabText(tabIndex, opening.title());
        m_pageControl->setCurrentIndex(tabIndex);
        updateTabBar();

        view->LoadFromStream(opening.bytes);
        view->setScaleMode(TPdfControl::smZoom);
        view->setZoomPercentage(100);
        view->setAllowUserTextSelection(false);
        m_toolbar.cmbZoom->setCurrentIndex(2);

        const QString pageCount = opening.pageTotal();
        auto showPage = [&] {
            m_toolbar.edPage->setText(QString::number(view->PageIndex() + 1) + QLatin1Char('/') + pageCount);
        };
        if (opening.sentencePage) {
            view->setPageIndex(*opening.sentencePage);
            showPage();
            m_toolbar.edSearch->setText(opening.sentenceKeyword);
            view->HightlightText(opening.sentenceKeyword, false, true);
        } else if (PageIdx != 0) {
            if (m_dialogs.confirmYesNo(QStringLiteral("Lanjut ke halaman terakhir yang anda baca?")))
                view->setPageIndex(PageIdx);
            showPage();
        } else {
            showPage();
        }

        auto settings = std::make_unique<TReaderSettings>();
        TReaderSettings *s = settings.get();
        s->CurrentPage = m_toolbar.edPage->text();
        s->CurrentZoomIndex = 2;
        s->CurrentAnnotViewState = m_toolbar.AnnotView->isChecked();
        s->CurrentSearchKeyWord = opening.sentencePage ? opening.sentenceKeyword : QString();
        s->AutoPageChange = true;
        s->IdleTime = 0;
        s->CheckingTime = 0;
        s->TimerRunning = true;
        m_books.addSettings(tabName, std::move(settings));
        settingsAdded = true;

        auto makeTimer = [&](const char *role) {
            auto *timer = new QTimer(view);
            timer->setObjectName(tabName + QLatin1String(role));
            timer->setInterval(1000);
            connect(timer, &QTimer::timeout, this, [this, timer] { TimerTick(timer); });
            timer->start();
            return timer;
        };
        s->TimerIdle = makeTimer("_TimerIdle");
        s->TimerChecking = makeTimer("_TimerChecking");
        s->ReadStatus = 1;
        s->TextCopyObject = Json{{"id_konten", opening.bookId().toStdString()}, {"data", Json::array()}};
        m_toolbar.CheckAutoPage->setChecked(s->AutoPageChange);
        view->setAutoPageChange(s->AutoPageChange);
        s->IdBaca = IdBaca;
        s->AnnotationObject = std::move(annotations);
    } catch (const std::exception &error) {
        m_dialogs.error(QStringLiteral("Error Exception #1287 : ") + QString::fromUtf8(error.what()));
        if (settingsAdded)
            m_books.removeSettings(tabName);
        delete view;
        m_pageControl->setTabVisible(tabIndex, false);
        updateTabBar();
        opening.bytes.clear();
        return false;
    }
    // The page texts are read behind the first pages' rendering, for searches to come.
    m_textIndexes[tabName] = BookTextIndex::start(view->bytes());
    opening.bytes.clear();
    return true;
}

void TReaderPanel::removeBook(QWidget *sheet)
{
    TPdfControl *view = viewOf(sheet);
    if (!view)
        return;
    view->Close();
    delete view;
    if (const auto index = m_textIndexes.find(sheet->objectName()); index != m_textIndexes.end()) {
        index->second->cancel();
        m_textIndexes.erase(index);
    }
    m_books.removeSettings(sheet->objectName());
    if (TDetailBook *book = m_books.detailOfTab(sheet))
        m_books.removeDetail(book->id);
    m_pageControl->setTabVisible(int(std::find(m_sheets.begin(), m_sheets.end(), sheet) - m_sheets.begin()), false);
    updateTabBar();
    m_openBookCount -= 1;
}

void TReaderPanel::PDFViewPageChange(TPdfControl *sender)
{
    // During an opening the book has no tab yet; the opening sets the page box itself.
    QWidget *sheet = activeSheet();
    const TDetailBook *book = m_books.detailOfTab(sheet);
    if (!book || viewOf(sheet) != sender)
        return;
    m_toolbar.edPage->setText(QString::number(sender->PageIndex() + 1) + QLatin1Char('/')
                              + QString::number(book->halaman_total));
    if (TReaderSettings *settings = m_books.settings(sheet->objectName()))
        settings->CurrentPage = m_toolbar.edPage->text();
}

void TReaderPanel::PDFViewMouseMove(TPdfControl *sender)
{
    QWidget *sheet = activeSheet();
    if (viewOf(sheet) != sender)
        return;
    if (TReaderSettings *settings = m_books.settings(sheet->objectName()))
        settings->IdleTime = 0;
}

} // namespace elumira
