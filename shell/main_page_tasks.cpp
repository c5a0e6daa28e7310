// The page requests of the main window: starting them, and their completions on the UI thread, which store
// the answer, check it and write the page.
#include "shell/main_window.h"

#include "common/dialogs.h"
#include "pages/chart_pages.h"
#include "pages/detail_page.h"
#include "pages/home_page.h"
#include "pages/listing_pages.h"
#include "pages/search_pages.h"
#include "reader/reader_panel.h"
#include "service/lekora_lib.h"
#include "shell/tchromium.h"

#include <algorithm>
#include <limits>

namespace elumira {

namespace {

const char kAuthPada[] = "Authentication Error : Akun Anda Digunakan Pada Perangkat Lain";
const char kAuthDi[] = "Authentication Error : Akun Anda Digunakan Di Perangkat Lain";

// An answer whose code is missing or null: nothing to act on.
bool lacksCode(const Json &answer)
{
    const auto code = answer.find("code");
    return code == answer.end() || code->is_null();
}

// Counts from the service kept within the window's 32-bit counters.
int clampToInt(long long value)
{
    return static_cast<int>(std::clamp<long long>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

bool isAuthFailure(const Json &answer)
{
    return hasCode(answer, "500") && jsonText(answer, "msg") == QLatin1String("Auth Failed");
}

} // namespace

TaskHandle TFormMain::startTask(const QString &name, Worker worker, Completion completion)
{
    // The worker holds the service client for as long as it runs.
    std::shared_ptr<TLekoraLib> lekora = m_lekoraShared.lock();
    if (!lekora)
        return {};
    return runTask<Json>(
        name, this, [lekora = std::move(lekora), worker = std::move(worker)] { return worker(*lekora); },
        std::move(completion));
}

void TFormMain::startPageTask(const QString &name, Worker worker, Completion completion,
                              std::function<void()> abandoned)
{
    const quint64 request = ++m_pageRequest;
    CurrentTask.release();
    CurrentTask = startTask(
        name, std::move(worker),
        [this, request, completion = std::move(completion), abandoned = std::move(abandoned)](Json answer) {
            if (request == m_pageRequest) {
                completion(std::move(answer));
                return;
            }
            // A newer request has taken over the window: this answer concerns no page any more, and neither
            // its page nor its failure may replace what the member is looking at now.
            if (abandoned)
                abandoned();
        });
}

void TFormMain::abandonPageRequests()
{
    ++m_pageRequest;
    CurrentTask.release();
}

bool TFormMain::beginCompletion()
{
    CurrentTask.release();
    return !Closing;
}

bool TFormMain::answerFailed(const Json &answer, const QString &authText, const std::function<void()> &afterOther,
                             TChromium *covered)
{
    if (hasCode(answer, "200"))
        return false;
    if (isAuthFailure(answer)) {
        if (covered)
            uncover(covered);
        m_dialogs.error(authText);
        ShowBrowserView(Chromium1);
        loadLoginPage();
    } else {
        m_dialogs.error(jsonText(answer, "msg"));
        if (afterOther)
            afterOther();
    }
    return true;
}

bool TFormMain::logInChainStops(const Json &answer)
{
    if (hasCode(answer, "200"))
        return false;
    // Every step that ends the chain leaves the loading page for the log-in page, so the member can try again;
    // an answer without a code is a failure like any other.
    QString message = jsonText(answer, "msg");
    if (lacksCode(answer) && message.isEmpty())
        message = QStringLiteral("The service's answer has no code");
    m_dialogs.warning(message);
    loadLoginPage();
    return true;
}

void TFormMain::LoginDone(Json answer)
{
    if (!beginCompletion())
        return;
    // Storing a successful log-in copies the member's fields from it.
    m_lekora.setUserJson(answer);
    if (logInChainStops(answer))
        return;
    PanelHeader->show();
    startPageTask(QStringLiteral("BannerRequest"),
                  [](const TLekoraLib &lekora) {
                      // BannerWork
                      return lekora.BannerRequest();
                  },
                  [this](Json next) { BannerDone(std::move(next)); });
}

void TFormMain::BannerDone(Json answer)
{
    if (!beginCompletion())
        return;
    m_lekora.setBannerJson(answer);
    if (logInChainStops(answer))
        return;
    startPageTask(QStringLiteral("CategoryRequest"),
                  [](const TLekoraLib &lekora) {
                      // CategoryWork
                      return lekora.CategoryRequest();
                  },
                  [this](Json next) { CategoryDone(std::move(next)); });
}

void TFormMain::CategoryDone(Json answer)
{
    if (!beginCompletion())
        return;
    m_lekora.setCategoryJson(answer);
    if (logInChainStops(answer))
        return;
    HomePage = 1;
    HomeLoaded = 0;
    startPageTask(QStringLiteral("HomeRequest"),
                  [page = HomePage](const TLekoraLib &lekora) {
                      // HomeWork
                      return lekora.HomeRequest(page);
                  },
                  [this](Json next) { HomeDone(std::move(next), true); });
}

void TFormMain::HomeDone(Json answer, bool firstPage)
{
    if (!beginCompletion())
        return;
    m_lekora.setHomeContentJson(answer);
    // The first page ends the log-in chain: without it the member would be left on the loading page.
    if (firstPage && logInChainStops(answer))
        return;
    // A further page that did not come is told; the home page gets its More button back and the next "loadMore"
    // asks for the same page again.
    if (answerFailed(answer, QString::fromLatin1(kAuthPada), [this] {
            HomePage -= 1;
            Chromium1->runScript(QStringLiteral("$(\"#btnMore\").show();"));
        }))
        return;
    HomeCount = clampToInt(jsonInt(answer, "count"));
    HomeLoaded = clampToInt(static_cast<long long>(HomeLoaded) + clampToInt(jsonInt(answer, "total")));
    pages::renderHomeHtmlFile(m_lekora, *Chromium1, m_dialogs, HomePage);
    if (HomeLoaded == HomeCount)
        Chromium1->runScript(QStringLiteral("$(\"#btnMore\").hide();"));
    else
        Chromium1->runScript(QStringLiteral("$(\"#btnMore\").show();"));
}

void TFormMain::HomeDetailDone(Json answer, const QString &judul)
{
    if (!beginCompletion())
        return;
    m_lekora.setHomeDetailJson(answer);
    if (answerFailed(answer, QString::fromLatin1(kAuthPada), [this] { ShowBrowserView(Chromium1); }))
        return;
    pages::renderHomeDetailHtmlFile(m_lekora, *Chromium2, m_dialogs, judul);
}

void TFormMain::CategoryContentDone(Json answer, const QString &nama_kategori)
{
    if (!beginCompletion())
        return;
    m_lekora.setCategoryContentJson(answer);
    if (answerFailed(answer, QString::fromLatin1(kAuthPada), [this] { ShowBrowserView(Chromium1); }))
        return;
    pages::renderCategoryContent(m_lekora, *Chromium5, m_dialogs, nama_kategori);
}

void TFormMain::SubCategoryContentDone(Json answer, const QString &nama_sub_kategori)
{
    if (!beginCompletion())
        return;
    m_lekora.setSubCategoryContentJson(answer);
    if (answerFailed(answer, QString::fromLatin1(kAuthPada), [this] { ShowBrowserView(Chromium1); }))
        return;
    pages::renderSubCategoryContent(m_lekora, *Chromium5, m_dialogs, nama_sub_kategori);
}

void TFormMain::ChartDone(Json answer, const QString &type, int page)
{
    if (!beginCompletion())
        return;
    m_lekora.setChartContentJson(answer);
    if (answerFailed(answer, QString::fromLatin1(kAuthPada), [this] { ShowBrowserView(Chromium1); }))
        return;
    if (type == QLatin1String("topRead"))
        pages::renderTopChart(m_lekora, *Chromium6, m_dialogs, page);
    else if (type == QLatin1String("lastRead"))
        pages::renderLastRead(m_lekora, *Chromium6, m_dialogs, page);
    else if (type == QLatin1String("lastView"))
        pages::renderLastView(m_lekora, *Chromium6, m_dialogs, page);
}

void TFormMain::DetailDone(Json answer, const QString &from, const FrontView &origin)
{
    if (!beginCompletion())
        return;
    m_lekora.setDetailContentJson(answer);
    // A failed detail gives the member back the page they asked from, as they left it.
    if (answerFailed(answer, QString::fromLatin1(kAuthDi), [this, origin] { returnTo(origin); }, origin.view))
        return;
    pages::renderDetailContent(m_lekora, *Chromium3, m_dialogs, from);
}

void TFormMain::SearchDone(Json answer, const QString &field, const QString &keyword, int page,
                           const FrontView &origin)
{
    CurrentTask.release();
    SearchBusy = false;
    if (Closing)
        return;
    m_lekora.setSearchContentJson(answer);
    // A failed search gives the member back the page they searched from, as they left it.
    if (answerFailed(answer, QString::fromLatin1(kAuthDi), [this, origin] { returnTo(origin); }, origin.view))
        return;
    if (field == QLatin1String("Kalimat"))
        pages::renderSearchKalimatResult(m_lekora, *Chromium7, m_dialogs, page, keyword);
    else
        pages::renderSearchResult(m_lekora, *Chromium7, m_dialogs, page, keyword, field);
}

void TFormMain::BookFromChartDone(Json answer, const FrontView &origin)
{
    CurrentTask.release();
    if (Closing) {
        m_dialogs.error(QStringLiteral("Request Detail Error. Check Your Connection"));
        return;
    }
    m_lekora.setDetailContentJson(answer);
    if (answerFailed(answer, QString::fromLatin1(kAuthDi), [this, origin] { returnTo(origin); }))
        return;
    showLoadingFor(Chromium3);
    BookOpening opening;
    opening.detail = std::move(answer);
    // The chart comes back in front of the library, behind the reader, when the opening ends.
    opening.giveBack = [this, origin] { returnTo(origin); };
    openBookFile(std::move(opening));
}

void TFormMain::BookFromSentenceDone(Json answer, int page, const QString &keyword, const FrontView &origin)
{
    CurrentTask.release();
    if (Closing) {
        m_dialogs.error(QStringLiteral("Request Detail Error. Check Your Connection"));
        return;
    }
    m_lekora.setDetailContentJson(answer);
    if (answerFailed(answer, QString::fromLatin1(kAuthDi), [this, origin] { returnTo(origin); }, origin.view))
        return;
    // The hit travels with its opening: its page may be the first one, index 0.
    SentencePage = 0;
    BookOpening opening;
    opening.detail = std::move(answer);
    opening.sentencePage = page;
    opening.sentenceKeyword = keyword;
    opening.giveBack = [this, origin] { returnTo(origin); };
    openBookFile(std::move(opening));
}

void TFormMain::LogoutDone(Json)
{
    if (Closing)
        return;
    // The answer is not read: the member leaves whatever the service said.
    ShowBrowserView(Chromium1);
    loadLoginPage();
    PanelHeader->hide();
}

} // namespace elumira
