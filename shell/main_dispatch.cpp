// The dispatcher: what the main window does for each message of the library pages.
#include "shell/main_window.h"

#include "common/dialogs.h"
#include "pages/listing_pages.h"
#include "pages/page_writer.h"
#include "reader/reader_panel.h"
#include "service/lekora_lib.h"
#include "shell/tchromium.h"

#include <QDesktopServices>
#include <QFile>

namespace elumira {

namespace {

const char kBookLimit[] = "Anda melebihi batas baca sebanyak 3 Buku";

} // namespace

void TFormMain::showLoadingPage(TChromium *view)
{
    view->loadUrl(QUrl::fromLocalFile(loadingPagePath()));
}

namespace {

// The cover script, called with true (cover) or false (uncover).
QString coverScript(bool show)
{
    static const QString function = [] {
        QFile file(QStringLiteral(":/shell/loading_cover.js"));
        if (!file.open(QIODevice::ReadOnly))
            qFatal("The loading cover script is missing from the program");
        return QString::fromUtf8(file.readAll()).trimmed();
    }();
    return function + (show ? QStringLiteral("(true);") : QStringLiteral("(false);"));
}

} // namespace

void TFormMain::coverWithLoadingPage(TChromium *view)
{
    view->runScript(coverScript(true));
}

void TFormMain::uncover(TChromium *view)
{
    view->runScript(coverScript(false));
}

void TFormMain::loadLoginPage()
{
    Chromium1->loadUrl(pages::pageUrl(m_lekora.DataPath(), QString::fromLatin1(pages::kLoginPageFile)));
}

bool TFormMain::ProcessMessageReceived(TChromium *sender, const ProcessMessage &message)
{
    // A message still on its way when closing was granted finds the service client gone.
    if (Closing)
        return false;

    const QString &name = message.name();
    const QString a0 = message.getString(0);
    const QString a1 = message.getString(1);

    if (name == QLatin1String("login")) {
        ShowBrowserView(Chromium1);
        if (a0.isEmpty() || a1.isEmpty()) {
            m_dialogs.error(QStringLiteral("Nama Pengguna Dan Kata Sandi Wajib Diisi"));
            return false;
        }
        // The button is disabled on the log-in page before the loading page replaces it.
        sender->runScript(QStringLiteral("document.getElementById(\"btnLogin\").disabled = true;"));
        showLoadingPage(Chromium1);
        startPageTask(QStringLiteral("Login"),
                      [username = a0, password = a1](const TLekoraLib &lekora) {
                          // LoginWork
                          return lekora.LoginRequest(username, password);
                      },
                      [this](Json answer) { LoginDone(std::move(answer)); });
        return true;
    }

    if (name == QLatin1String("logout")) {
        if (!m_dialogs.confirmOkCancel(QStringLiteral("Keluar dari akun anda?")))
            return false;
        // Not kept in CurrentTask. A page request still under way belongs to the session that ends here: its
        // answer must not put a page of that session in place of the log-in page.
        abandonPageRequests();
        startTask(QStringLiteral("logout"),
                  [](const TLekoraLib &lekora) {
                      // LogoutWork
                      return lekora.Logoutrequest();
                  },
                  [this](Json answer) { LogoutDone(std::move(answer)); });
    } else if (name == QLatin1String("account")) {
        m_dialogs.information(QStringLiteral("Under Construction"));
    } else if (name == QLatin1String("register")) {
        if (m_registration)
            m_registration->show();
    } else if (name == QLatin1String("forgotPass")) {
        if (m_forgotPassword)
            m_forgotPassword->show();
    } else if (name == QLatin1String("loadMore")) {
        if (HomeLoaded >= HomeCount) {
            sender->runScript(QStringLiteral("$(\"#btnMore\").hide()"));
            return false;
        }
        Chromium1->runScript(QStringLiteral("$(\"#btnMore\").hide();"));
        HomePage += 1;
        startPageTask(
            QStringLiteral("HomeContent"),
            [page = HomePage](const TLekoraLib &lekora) {
                // HomeWork
                return lekora.HomeRequest(page);
            },
            [this](Json answer) { HomeDone(std::move(answer), false); },
            // Given up for a newer request: the home page, when still the same, gets its More button back and
            // the next "loadMore" asks for the same page again.
            [this, page = HomePage, loads = Chromium1->loadCount()] {
                if (Closing || Chromium1->loadCount() != loads || HomePage != page)
                    return;
                HomePage -= 1;
                Chromium1->runScript(QStringLiteral("$(\"#btnMore\").show();"));
            });
    } else if (name == QLatin1String("homeDetail")) {
        ShowBrowserView(Chromium2);
        showLoadingPage(Chromium2);
        startPageTask(QStringLiteral("HomeDetail"),
                      [id_homepage = a0](const TLekoraLib &lekora) {
                          // HomeDetailWork
                          return lekora.HomeDetailRequest(id_homepage);
                      },
                      [this, judul = a1](Json answer) { HomeDetailDone(std::move(answer), judul); });
    } else if (name == QLatin1String("loadKategori")) {
        showLoadingPage(Chromium4);
        ShowBrowserView(Chromium4);
        pages::renderCategoryHtmlFile(m_lekora, *Chromium4, m_dialogs);
    } else if (name == QLatin1String("changeDept")) {
        pages::renderDept(m_lekora, *Chromium4, m_dialogs, a0);
    } else if (name == QLatin1String("kategoriKonten")) {
        ShowBrowserView(Chromium5);
        showLoadingPage(Chromium5);
        startPageTask(QStringLiteral("CategoryContentRequest"),
                      [id_dept = a0, id_kategori = a1](const TLekoraLib &lekora) {
                          // CategoryContentWork
                          return lekora.CategoryContentRequest(id_dept, id_kategori);
                      },
                      [this, nama = message.getString(3)](Json answer) {
                          CategoryContentDone(std::move(answer), nama);
                      });
    } else if (name == QLatin1String("subKategoriKonten")) {
        showLoadingPage(Chromium5);
        ShowBrowserView(Chromium5);
        startPageTask(QStringLiteral("CategoryContentRequest"),
                      [id_dept = a0, id_sub_kategori = a1](const TLekoraLib &lekora) {
                          // SubCategoryContentWork
                          return lekora.SubCategoryContentRequest(id_dept, id_sub_kategori);
                      },
                      [this, nama = message.getString(3)](Json answer) {
                          SubCategoryContentDone(std::move(answer), nama);
                      });
    } else if (name == QLatin1String("topChart") || name == QLatin1String("lastRead")
               || name == QLatin1String("lastView")) {
        // Page workers cannot be stopped half-way; the task held before is released and runs to its end.
        ShowBrowserView(Chromium6);
        showLoadingPage(Chromium6);
        startChart(name == QLatin1String("topChart") ? QStringLiteral("topRead") : name, 1);
    } else if (name == QLatin1String("loadMoreChart") || name == QLatin1String("loadMoreLastRead")
               || name == QLatin1String("loadMoreLastView")) {
        Chromium6->runScript(QStringLiteral("$(\"#btnMore\").hide()"));
        const QString type = name == QLatin1String("loadMoreChart")    ? QStringLiteral("topRead")
                             : name == QLatin1String("loadMoreLastRead") ? QStringLiteral("lastRead")
                                                                         : QStringLiteral("lastView");
        // Given up for a newer request: the chart page, when still the same, gets its More button back.
        startChart(type, message.getInt(0), [this, loads = Chromium6->loadCount()] {
            if (!Closing && Chromium6->loadCount() == loads)
                Chromium6->runScript(QStringLiteral("$(\"#btnMore\").show()"));
        });
    } else if (name == QLatin1String("detail")) {
        // A request still under way is not waited for: starting this one makes its answer irrelevant.
        startDetail(a0, QStringLiteral("home"));
    } else if (name == QLatin1String("detailFromSection") || name == QLatin1String("detailFromCategory")
               || name == QLatin1String("detailFromChart") || name == QLatin1String("detailFromSearch")) {
        const QString from = name == QLatin1String("detailFromSection")    ? QStringLiteral("homeSection")
                             : name == QLatin1String("detailFromCategory") ? QStringLiteral("category")
                             : name == QLatin1String("detailFromChart")    ? QStringLiteral("chart")
                                                                           : QStringLiteral("search");
        startDetail(a0, from);
    } else if (name == QLatin1String("back")) {
        ShowBrowserView(Chromium1);
    } else if (name == QLatin1String("backToSection")) {
        ShowBrowserView(Chromium2);
    } else if (name == QLatin1String("backToCategory")) {
        ShowBrowserView(Chromium5);
    } else if (name == QLatin1String("backKategori")) {
        ShowBrowserView(Chromium4);
    } else if (name == QLatin1String("backToChart")) {
        ShowBrowserView(Chromium6);
    } else if (name == QLatin1String("backToSearch")) {
        ShowBrowserView(Chromium7);
    } else if (name == QLatin1String("searching")) {
        if (a0.isEmpty()) {
            m_dialogs.warning(QStringLiteral("Kata Kunci Pencarian Wajib Diisi"));
            return false;
        }
        if (SearchBusy) {
            m_dialogs.information(QStringLiteral("Harap Tunggu..Sedang Memproses Pencarian Sebelumnya"));
            return false;
        }
        const bool sentence = a1 == QLatin1String("Kalimat");
        if (sentence && a0.size() < 3) {
            m_dialogs.warning(QStringLiteral("Minimal masukkan 3-huruf"));
            return false;
        }
        if (sentence)
            SentenceKeyword = a0;
        const FrontView origin = showLoadingFor(Chromium7);
        // Busy from the moment the search is started, so a second search cannot slip in before its worker runs.
        SearchBusy = true;
        const int page = message.getInt(2);
        startPageTask(
            QStringLiteral("SearchRequest"),
            [field = a1, keyword = a0, page, sentence](const TLekoraLib &lekora) {
                // SearchWork
                return sentence ? lekora.SearchKalimatRequest(keyword, page)
                                : lekora.SearchContentRequest(field, keyword, page);
            },
            [this, field = a1, keyword = a0, page, origin](Json answer) {
                SearchDone(std::move(answer), field, keyword, page, origin);
            },
            [this] { SearchBusy = false; });
    } else if (name == QLatin1String("openBanner")) {
        const QUrl url(a0);
        if (m_openUrl)
            m_openUrl(url);
        else
            QDesktopServices::openUrl(url);
    } else if (name == QLatin1String("baca")) {
        if (OpenBookCount >= 3) {
            m_dialogs.warning(QString::fromLatin1(kBookLimit));
            return false;
        }
        // The detail page waits under the loading page, as the member left it, until the opening ends.
        const FrontView origin = showLoadingFor(Chromium3);
        BookOpening opening;
        opening.detail = m_lekora.DetailContentJson() ? *m_lekora.DetailContentJson() : Json::object();
        opening.giveBack = [this, origin] { returnTo(origin); };
        openBookFile(std::move(opening));
    } else if (name == QLatin1String("bacaSection")) {
        if (OpenBookCount >= 3) {
            m_dialogs.warning(QString::fromLatin1(kBookLimit));
            return false;
        }
        startPageTask(QStringLiteral("detail"),
                      [id_konten = a0](const TLekoraLib &lekora) { return lekora.DetailContentRequest(id_konten); },
                      [this, origin = frontView()](Json answer) { BookFromChartDone(std::move(answer), origin); });
    } else if (name == QLatin1String("bacaKalimat")) {
        if (OpenBookCount >= 3) {
            m_dialogs.warning(QString::fromLatin1(kBookLimit));
            return false;
        }
        // A page that is not a whole number goes no further.
        bool ok = false;
        const int page = a1.trimmed().toInt(&ok);
        if (!ok)
            return false;
        SentencePage = page;
        const FrontView origin = showLoadingFor(Chromium3);
        startPageTask(QStringLiteral("detail"),
                      [id_konten = a0](const TLekoraLib &lekora) { return lekora.DetailContentRequest(id_konten); },
                      [this, page, keyword = SentenceKeyword, origin](Json answer) {
                          BookFromSentenceDone(std::move(answer), page, keyword, origin);
                      });
    }
    return false;
}

void TFormMain::startChart(const QString &type, int page, std::function<void()> abandoned)
{
    startPageTask(
        QStringLiteral("chartContentRequest"),
        [type, page](const TLekoraLib &lekora) {
            // ChartWork
            return lekora.ChartContentRequest(type, page);
        },
        [this, type, page](Json answer) { ChartDone(std::move(answer), type, page); }, std::move(abandoned));
}

void TFormMain::startDetail(const QString &id_konten, const QString &from)
{
    const FrontView origin = showLoadingFor(Chromium3);
    startPageTask(
        QStringLiteral("detail"),
        [id_konten](const TLekoraLib &lekora) {
            // DetailWork
            return lekora.DetailContentRequest(id_konten);
        },
        [this, from, origin](Json answer) { DetailDone(std::move(answer), from, origin); });
}

void TFormMain::openBookFile(BookOpening opening)
{
    m_reader->openBook(std::move(opening));
}

} // namespace elumira
