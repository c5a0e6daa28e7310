// The catalogue pages built from answers whose every text is hostile: apostrophes and quotes, a closing script
// tag, elements with event handlers, line and paragraph separators, texts of 10,000 characters and bytes that
// are not UTF-8. Every page loads in a real view, nothing the service sent runs or becomes an element with a
// handler, and every call a page makes still reaches the program with the text as the client received it.
#include "pages/chart_pages.h"
#include "pages/detail_page.h"
#include "pages/home_page.h"
#include "pages/listing_pages.h"
#include "pages/search_pages.h"
#include "demo/control.h"
#include "service/lekora_lib.h"
#include "tests/support/member_page_view.h"

#include <gtest/gtest.h>

#include <QSet>
#include <QTest>
#include <QVariantList>

#include <functional>
#include <string>

using namespace elumira::pages;
using elumira::Json;
using elumira::ProcessMessage;
using elumira::test::waitUntil;

namespace {

// Stands for bytes that are not UTF-8 until the answer's text is made; JSON text itself cannot hold them.
const std::string kBadBytesMark = "@@BAD@@";
const std::string kBadBytes = "\xff\xfe\xc3\x28\xed\xa0\x80";

// What every hostile text carries after the genuine one. Anything of it that runs sets window.__injected.
const std::string kPayload = " ' \" \\ </script><script>window.__injected='script'</script>"
                             "<img src=x onerror=\"window.__injected='img'\">"
                             "<svg onload=\"window.__injected='svg'\"></svg>"
                             "<iframe src=\"javascript:parent.__injected='frame'\"></iframe>"
                             "<a href=\"javascript:window.__injected='link'\">a</a>"
                             "\xe2\x80\xa8\xe2\x80\xa9 ${window.__injected='template'} " +
                             kBadBytesMark + " ')+(window.__injected='quote')+('";

std::string longTail()
{
    std::string tail = " ";
    while (tail.size() < 10000)
        tail += "Panjang ";
    return tail.substr(0, 10000);
}

// The genuine answer with every text made hostile (its code left as it is, so that the pages are built);
// every other text also gets a tail of 10,000 characters.
void makeHostile(Json &value, int &count, const std::string &key = {})
{
    if (value.is_string()) {
        if (key == "code")
            return;
        std::string text = value.get<std::string>() + kPayload;
        if (count++ % 2 == 1)
            text += longTail();
        value = text;
    } else if (value.is_object()) {
        for (auto it = value.begin(); it != value.end(); ++it)
            makeHostile(it.value(), count, it.key());
    } else if (value.is_array()) {
        for (Json &item : value)
            makeHostile(item, count, key);
    }
}

std::string hostileBody(Json genuine)
{
    int count = 0;
    makeHostile(genuine, count);
    std::string body = genuine.dump();
    for (size_t at = body.find(kBadBytesMark); at != std::string::npos; at = body.find(kBadBytesMark, at))
        body.replace(at, kBadBytesMark.size(), kBadBytes);
    return body;
}

void collectTexts(const Json &value, QSet<QString> &texts)
{
    if (value.is_string()) {
        texts.insert(QString::fromStdString(value.get<std::string>()));
    } else if (value.is_structured()) {
        for (const Json &item : value)
            collectTexts(item, texts);
    }
}

// What of the service's mark-up and texts ran or became an element of its own, one line each.
const char *const kInjected = R"js(
(function () {
    var found = [];
    if (typeof window.__injected !== 'undefined')
        found.push('ran: ' + window.__injected);
    document.querySelectorAll('*').forEach(function (element) {
        var tag = element.tagName.toLowerCase();
        if (tag === 'script' && !element.src && element.textContent.indexOf('__injected') >= 0)
            found.push('script element: ' + element.textContent.slice(0, 80));
        if ((tag === 'iframe' || tag === 'svg' || tag === 'frame' || tag === 'object') && element.outerHTML.indexOf('__injected') >= 0)
            found.push(tag + ' element');
        Array.prototype.forEach.call(element.attributes, function (attribute) {
            var name = attribute.name.toLowerCase();
            if (attribute.value.indexOf('__injected') < 0)
                return;
            if (name.indexOf('on') === 0 && name !== 'onclick')
                found.push(tag + ' with ' + name);
            if (name === 'onclick' && /^\s*(window|parent)\.__injected/.test(attribute.value))
                found.push(tag + ' with its own onclick');
            if ((name === 'href' || name === 'src') && /^\s*javascript:/i.test(attribute.value))
                found.push(tag + ' with a script address in ' + name);
        });
    });
    return found.join('\n');
})())js";

// Calls every handler that talks to the program, in document order, and gives back their texts.
const char *const kCallEveryHandler = R"js(
(function () {
    var called = [];
    document.querySelectorAll('[onclick]').forEach(function (element) {
        var code = element.getAttribute('onclick');
        if (code.indexOf('app.') < 0)
            return;
        called.push(code.slice(0, 160));
        try {
            if (element.onclick)
                element.onclick.call(element, new MouseEvent('click'));
        } catch (e) {
        }
    });
    return called;
})())js";

const QSet<QString> kKnownCalls = {
    QStringLiteral("homeDetail"),        QStringLiteral("detail"),         QStringLiteral("detailFromSection"),
    QStringLiteral("detailFromCategory"), QStringLiteral("detailFromChart"), QStringLiteral("detailFromSearch"),
    QStringLiteral("kategoriKonten"),    QStringLiteral("subKategoriKonten"), QStringLiteral("openBanner"),
    QStringLiteral("loadMore"),          QStringLiteral("loadMoreChart"),  QStringLiteral("loadMoreLastRead"),
    QStringLiteral("loadMoreLastView"),  QStringLiteral("searching"),      QStringLiteral("bacaKalimat"),
    QStringLiteral("bacaSection"),       QStringLiteral("baca"),           QStringLiteral("back"),
    QStringLiteral("backKategori"),      QStringLiteral("backToSection"),  QStringLiteral("backToCategory"),
    QStringLiteral("backToChart"),       QStringLiteral("backToSearch"),   QStringLiteral("topChart"),
    QStringLiteral("lastRead"),          QStringLiteral("lastView"),       QStringLiteral("loadKategori"),
    QStringLiteral("changeDept"),        QStringLiteral("logout"),         QStringLiteral("account"),
    QStringLiteral("login"),             QStringLiteral("register"),       QStringLiteral("forgotPass"),
};

class HostileCatalogueTest : public elumira::test::MemberPageViewTest
{
protected:
    // Fetches an answer with the client, the service giving the hostile form of its genuine answer.
    Json fetchHostile(const char *path, const std::function<Json()> &fetch)
    {
        const Json genuine = fetch();
        EXPECT_EQ(elumira::jsonText(genuine, "code"), QStringLiteral("200")) << path;
        demo::Fault fault;
        fault.path = path;
        fault.status = 200;
        fault.body = hostileBody(genuine);
        fault.contentType = "application/json; charset=utf-8";
        s_demo->control().addFault(fault);
        const Json hostile = fetch();
        EXPECT_EQ(elumira::jsonText(hostile, "code"), QStringLiteral("200")) << path;
        collectTexts(hostile, texts);
        return hostile;
    }

    // Nothing the service sent ran or became an element of its own.
    void expectNothingInjected()
    {
        // Long enough for pictures that fail and frames that load to have fired their handlers.
        QTest::qWait(400);
        EXPECT_EQ(js(QLatin1String(kInjected)).toString().toStdString(), "");
    }

    // Every handler that calls the program sends one call, and each text in it is one the client received.
    void expectEveryCallIntact(int atLeast)
    {
        const qsizetype before = messages.size();
        const QVariantList called = js(QLatin1String(kCallEveryHandler)).toList();
        EXPECT_GE(called.size(), atLeast);
        const bool arrived = waitUntil([&] { return messages.size() >= before + called.size(); }, 20000);
        QTest::qWait(100);
        EXPECT_TRUE(arrived && messages.size() == before + called.size())
            << called.size() << " handlers, " << messages.size() - before << " calls";
        for (qsizetype i = 0; i < called.size() && before + i < messages.size(); ++i) {
            const ProcessMessage &message = messages[before + i];
            SCOPED_TRACE(called[i].toString().toStdString());
            EXPECT_TRUE(kKnownCalls.contains(message.name())) << message.name().toStdString();
            for (const ProcessMessage::Argument &argument : message.arguments()) {
                if (const QString *text = std::get_if<QString>(&argument)) {
                    EXPECT_TRUE(texts.contains(*text) || constants.contains(*text))
                        << message.name().toStdString() << ": " << text->left(120).toStdString();
                }
            }
        }
        taken = messages.size();
    }

    // Texts the pages add to calls of their own accord.
    QSet<QString> constants = {QStringLiteral("1"), QStringLiteral("Semua"), QStringLiteral("Judul"),
                               QStringLiteral("Penulis"), QStringLiteral("Penerbit"), QStringLiteral("Kalimat")};
    // Every text of the answers as the client received them.
    QSet<QString> texts;
};

TEST_F(HostileCatalogueTest, everyPage_loadsRunsNothingOfTheServiceAndPassesItsTextsOnUnchanged)
{
    auto *lib = s_service;
    const QString keyword = QString::fromUtf8("kata ' \" </script><img src=x onerror=\"window.__injected='kw'\">"
                                              "\xe2\x80\xa8 \\");
    constants.insert(keyword);

    // The partner's configuration brands every page; the client keeps what it fetched.
    {
        const Json genuine = *lib->ClientJson();
        demo::Fault fault;
        fault.path = "/api/wl/mitra";
        fault.status = 200;
        fault.body = hostileBody(genuine);
        fault.contentType = "application/json; charset=utf-8";
        s_demo->control().addFault(fault);
        collectTexts(lib->getClientJson(), texts);
        ASSERT_TRUE(s_dialogs->boxes().isEmpty());
    }

    // The genuine ids the service knows, for the requests whose genuine answer is made hostile.
    const Json genuineMenu = lib->CategoryRequest();
    const Json *genuineDepartment = nullptr;
    for (const Json &department : genuineMenu["data_departemen"])
        if (!genuineDepartment && !department["data_kategori"].empty()
            && !department["data_kategori"][0]["data_sub_kategori"].empty())
            genuineDepartment = &department;
    ASSERT_NE(genuineDepartment, nullptr);
    const Json &genuineCategory = (*genuineDepartment)["data_kategori"][0];
    const QString deptId = QString::fromStdString((*genuineDepartment)["id_departemen"]);
    const QString categoryId = QString::fromStdString(genuineCategory["id_kategori"]);
    const QString subCategoryId = QString::fromStdString(genuineCategory["data_sub_kategori"][0]["id_sub_kategori"]);
    const Json genuineHome = lib->HomeRequest(1);
    const QString sectionId = QString::fromStdString(Json(genuineHome["data"][0]["id"]).dump()).remove(QLatin1Char('"'));

    lib->setBannerJson(fetchHostile("/api/wl/listBanner", [lib] { return lib->BannerRequest(); }));
    lib->setCategoryJson(fetchHostile("/api/wl/menu", [lib] { return lib->CategoryRequest(); }));
    const Json categories = *lib->CategoryJson();

    const struct
    {
        const char *name;
        std::function<void()> fetch;
        std::function<void()> render;
        int calls; // at least this many handlers call the program
    } pages[] = {
        {"home",
         [&] { lib->setHomeContentJson(fetchHostile("/api/wl/listHomepage", [lib] { return lib->HomeRequest(1); })); },
         [&] { renderHomeHtmlFile(*lib, *view, *s_dialogs, 1); }, 10},
        {"home, further sections",
         [&] { lib->setHomeContentJson(fetchHostile("/api/wl/listHomepage", [lib] { return lib->HomeRequest(2); })); },
         [&] {
             // The further sections go into the page shown by a script, then the file kept in step is read again.
             const auto sections = [&] {
                 return js(QStringLiteral("document.querySelectorAll('#myBooks .section-item').length")).toInt();
             };
             const int before = sections();
             renderHomeHtmlFile(*lib, *view, *s_dialogs, 2);
             ASSERT_TRUE(waitUntil([&] { return sections() > before; }, 30000));
             expectNothingInjected();
             view->reload();
         },
         20},
        {"home section",
         [&] {
             lib->setHomeDetailJson(fetchHostile("/api/wl/listHomepageDetail",
                                                 [lib, sectionId] { return lib->HomeDetailRequest(sectionId); }));
         },
         [&] {
             renderHomeDetailHtmlFile(*lib, *view, *s_dialogs,
                                      QString::fromStdString((*lib->HomeContentJson())["data"][0]["judul_section"]));
         },
         2},
        {"category browser", [] {}, [&] { renderCategoryHtmlFile(*lib, *view, *s_dialogs); }, 2},
        {"category books",
         [&] {
             lib->setCategoryContentJson(fetchHostile("/api/wl/listContentCategory", [&] {
                 return lib->CategoryContentRequest(deptId, categoryId);
             }));
         },
         [&] {
             renderCategoryContent(*lib, *view, *s_dialogs,
                                   QString::fromStdString(categories["data_departemen"][0]["data_kategori"][0]["nama_kategori"]));
         },
         2},
        {"sub-category books",
         [&] {
             lib->setSubCategoryContentJson(fetchHostile("/api/wl/listContentSubCategory", [&] {
                 return lib->SubCategoryContentRequest(deptId, subCategoryId);
             }));
         },
         [&] {
             renderSubCategoryContent(*lib, *view, *s_dialogs,
                                      QString::fromStdString(categories["data_departemen"][0]["data_kategori"][0]
                                                                       ["data_sub_kategori"][0]["nama_sub_kategori"]));
         },
         2},
        {"most read",
         [&] {
             lib->setChartContentJson(fetchHostile("/api/wl/listTopRead", [lib] {
                 return lib->ChartContentRequest(QStringLiteral("topRead"), 1);
             }));
         },
         [&] { renderTopChart(*lib, *view, *s_dialogs, 1); }, 2},
        {"most read, further rows",
         [&] {
             lib->setChartContentJson(fetchHostile("/api/wl/listTopRead", [lib] {
                 return lib->ChartContentRequest(QStringLiteral("topRead"), 2);
             }));
         },
         [&] { renderTopChart(*lib, *view, *s_dialogs, 2); }, 2},
        {"last read",
         [&] {
             lib->setChartContentJson(fetchHostile("/api/wl/listLastRead", [lib] {
                 return lib->ChartContentRequest(QStringLiteral("lastRead"), 1);
             }));
         },
         [&] { renderLastRead(*lib, *view, *s_dialogs, 1); }, 1},
        {"last viewed",
         [&] {
             lib->setChartContentJson(fetchHostile("/api/wl/listLastView", [lib] {
                 return lib->ChartContentRequest(QStringLiteral("lastView"), 1);
             }));
         },
         [&] { renderLastView(*lib, *view, *s_dialogs, 1); }, 1},
        {"book detail",
         [&] {
             lib->setDetailContentJson(fetchHostile("/api/wl/detailKonten", [lib] {
                 return lib->DetailContentRequest(QStringLiteral("1012"));
             }));
         },
         [&] { renderDetailContent(*lib, *view, *s_dialogs, QStringLiteral("chart")); }, 1},
        {"search by field",
         [&] {
             lib->setSearchContentJson(fetchHostile("/api/wl/searching", [lib] {
                 return lib->SearchContentRequest(QStringLiteral("Semua"), QStringLiteral("a"), 1);
             }));
         },
         [&] { renderSearchResult(*lib, *view, *s_dialogs, 1, keyword, QStringLiteral("Penulis")); }, 2},
        {"search by sentence",
         [&] {
             lib->setSearchContentJson(fetchHostile("/api/wl/searchingKalimat", [lib] {
                 return lib->SearchKalimatRequest(QStringLiteral("hutan bakau"), 1);
             }));
         },
         [&] { renderSearchKalimatResult(*lib, *view, *s_dialogs, 1, keyword); }, 2},
    };
    for (const auto &page : pages) {
        SCOPED_TRACE(page.name);
        page.fetch();
        renderAndWait(page.render);
        expectNothingInjected();
        expectEveryCallIntact(page.calls);
        EXPECT_TRUE(s_dialogs->boxes().isEmpty());
    }

    // A department change in the category browser puts the department's categories in by a script.
    renderAndWait([&] { renderCategoryHtmlFile(*lib, *view, *s_dialogs); });
    for (const Json &department : categories["data_departemen"]) {
        const QString id = QString::fromStdString(department["id_departemen"]);
        SCOPED_TRACE(id.left(40).toStdString());
        renderDept(*lib, *view, *s_dialogs, id);
        EXPECT_TRUE(s_dialogs->boxes().isEmpty());
        expectNothingInjected();
        expectEveryCallIntact(department["data_kategori"].empty() ? 0 : 1);
    }
}

TEST_F(HostileCatalogueTest, searchKeyword_comesBackFromTheSearchBoxUnchanged)
{
    auto *lib = s_service;
    const QString keyword = QString::fromUtf8("' \" </script><img src=x onerror=\"window.__injected='kw'\">\xe2\x80\xa8 \\ ")
        + QString(9000, QLatin1Char('k'));
    lib->setSearchContentJson(lib->SearchContentRequest(QStringLiteral("Semua"), QStringLiteral("a"), 1));
    renderAndWait([&] { renderSearchResult(*lib, *view, *s_dialogs, 1, keyword, QStringLiteral("Judul")); });
    expectNothingInjected();
    EXPECT_EQ(js(QStringLiteral("$('#keyword').val()")).toString(), keyword);
    js(QStringLiteral("$('#submitSearch').submit(); 0"));
    const ProcessMessage message = nextMessage();
    EXPECT_EQ(message.name(), QStringLiteral("searching"));
    EXPECT_EQ(message.getString(0), keyword);
}

} // namespace
