// The browser view: page messages arrive in call order with their arguments, scripts run in the page,
// and no context menu is shown.
#include "shell/browser_profile.h"
#include "shell/tchromium.h"
#include "tests/support/capture_server.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWebEngineProfile>

#include <memory>

using elumira::ProcessMessage;
using elumira::TChromium;
using elumira::test::evaluate;
using elumira::test::waitUntil;

namespace {

class BrowserViewTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.isValid());
        m_profile.reset(elumira::createBrowserProfile());
        m_view = std::make_unique<TChromium>(m_profile.get());
        m_view->resize(800, 600);
        m_view->show();
        QObject::connect(m_view.get(), &TChromium::processMessageReceived,
                         [this](const ProcessMessage &message) { m_messages.append(message); });
    }

    void TearDown() override
    {
        m_view.reset();
        m_profile.reset();
    }

    // Writes a page into the scratch folder and shows it.
    void showPage(const QByteArray &body)
    {
        const QString path = m_folder.filePath(QStringLiteral("page.html"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>start</title></head><body>" + body
                   + "</body></html>");
        file.close();
        // The connection ends with this call, so a later load cannot write to the flag once it is gone.
        bool loaded = false;
        QObject scope;
        QObject::connect(m_view->page(), &QWebEnginePage::loadFinished, &scope, [&loaded](bool ok) { loaded = ok; });
        m_view->loadUrl(QUrl::fromLocalFile(path));
        ASSERT_TRUE(waitUntil([&loaded] { return loaded; }, 30000));
    }

    QTemporaryDir m_folder;
    std::unique_ptr<QWebEngineProfile> m_profile;
    std::unique_ptr<TChromium> m_view;
    QList<ProcessMessage> m_messages;
};

TEST_F(BrowserViewTest, pageCalls_arriveInCallOrderWithTheirArguments)
{
    // Called while the page is still being parsed, before the channel can be open.
    showPage(R"(<script>
        app.executeLogin('anggota@contoh.id', 'rahasia "kutip" \\ ');
        app.loadMoreChart('2');
        app.detail();
        app.searchResult('sejarah kota', 'Penerbit', 2);
        app.kategoriKonten('12', '2', '5', 'Novel');
        app.loadMoreChart(2.5);
        app.loadMoreChart(2147483648);
        app.back();
    </script>)");

    const QList<ProcessMessage> expected = {
        ProcessMessage(QStringLiteral("login"),
                       {QStringLiteral("anggota@contoh.id"), QStringLiteral("rahasia \"kutip\" \\ ")}),
        ProcessMessage(QStringLiteral("searching"),
                       {QStringLiteral("sejarah kota"), QStringLiteral("Penerbit"), std::int32_t(2)}),
        ProcessMessage(QStringLiteral("kategoriKonten"),
                       {QStringLiteral("5"), QStringLiteral("12"), QStringLiteral("2"), QStringLiteral("Novel")}),
        ProcessMessage(QStringLiteral("back")),
    };
    ASSERT_TRUE(waitUntil([this, &expected] { return m_messages.size() >= expected.size(); }));
    // Give a stray extra message the chance to arrive before comparing.
    QTest::qWait(200);
    ASSERT_EQ(m_messages.size(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i)
        EXPECT_EQ(m_messages[i], expected[i]) << m_messages[i].toDebugString().toStdString();
}

TEST_F(BrowserViewTest, app_cannotBeReplacedByThePage)
{
    showPage(R"(<script>window.app = { back: function () {} }; app.back();</script>)");
    ASSERT_TRUE(waitUntil([this] { return !m_messages.isEmpty(); }));
    EXPECT_EQ(m_messages.first(), ProcessMessage(QStringLiteral("back")));
}

TEST_F(BrowserViewTest, runScript_takesEffectInThePage)
{
    showPage("<p id=\"x\">before</p>");
    m_view->runScript(QStringLiteral("document.getElementById('x').textContent = 'after'; document.title = 'done';"));
    EXPECT_TRUE(waitUntil([this] { return m_view->title() == QStringLiteral("done"); }));
    EXPECT_EQ(evaluate(m_view->page(), QStringLiteral("document.getElementById('x').textContent")),
              QStringLiteral("after"));
}

TEST_F(BrowserViewTest, runScript_rightAfterALoad_actsOnTheNewPage)
{
    showPage("<p id=\"x\">old</p>");
    const QString next = m_folder.filePath(QStringLiteral("next.html"));
    QFile file(next);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<!DOCTYPE html><html><body><p id=\"x\">new</p><p id=\"more\">more</p></body></html>");
    file.close();

    m_view->loadUrl(QUrl::fromLocalFile(next));
    m_view->runScript(QStringLiteral("document.getElementById('more').style.display = 'none';"));
    EXPECT_TRUE(waitUntil([this] {
        return evaluate(m_view->page(), QStringLiteral("document.getElementById('more') && "
                                                       "document.getElementById('more').style.display")) == QStringLiteral("none");
    }));
}

TEST_F(BrowserViewTest, reload_readsTheFileAgain)
{
    showPage("<p id=\"x\">first</p>");
    QFile file(m_folder.filePath(QStringLiteral("page.html")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("<!DOCTYPE html><html><body><p id=\"x\">second</p></body></html>");
    file.close();

    m_view->reload();
    EXPECT_TRUE(waitUntil([this] {
        return evaluate(m_view->page(), QStringLiteral("document.getElementById('x').textContent"))
            == QStringLiteral("second");
    }));
}

TEST_F(BrowserViewTest, reload_twiceInARow_scriptsActOnTheLastDocument)
{
    showPage("<p id=\"x\">v0</p>");
    const QString path = m_folder.filePath(QStringLiteral("page.html"));
    for (int version = 1; version <= 2; ++version) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("<!DOCTYPE html><html><body><p id=\"x\">v" + QByteArray::number(version) + "</p></body></html>");
        file.close();
        m_view->reload();
        m_view->runScript(QStringLiteral("document.getElementById('x').setAttribute('data-marked', 'v%1');").arg(version));
    }
    // The second reload's document carries the second mark; the first reload's script never lands on it.
    EXPECT_TRUE(waitUntil([this] {
        return evaluate(m_view->page(), QStringLiteral("document.getElementById('x').textContent + '/' + "
                                                       "document.getElementById('x').getAttribute('data-marked')"))
            == QStringLiteral("v2/v2");
    }));
}

// A picture of the given size as PNG bytes.
QByteArray pngPicture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

TEST_F(BrowserViewTest, page_loadsItsOwnFolderAndWebPicturesButReadsNoOtherFileAndFetchesNothing)
{
    elumira::test::CaptureServer server;
    server.setDefault({200, "OK", "image/png", pngPicture(7, 5)});
    const auto write = [this](const char *name, const QByteArray &bytes) {
        QFile file(m_folder.filePath(QLatin1String(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    };
    write("own.js", "window.ownScript = 1;");
    write("own.css", "@font-face { font-family: own; src: url('own.ttf'); } body { color: rgb(1, 2, 3); }");
    QFile font(QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"));
    ASSERT_TRUE(font.open(QIODevice::ReadOnly));
    write("own.ttf", font.readAll());
    write("own.png", pngPicture(3, 2));
    write("private.txt", "not for pages");
    QTemporaryDir elsewhere;
    ASSERT_TRUE(elsewhere.isValid());
    const QString outside = elsewhere.filePath(QStringLiteral("outside.png"));
    {
        QFile file(outside);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(pngPicture(4, 4));
    }

    const QByteArray web = server.url();
    showPage("<link rel=\"stylesheet\" href=\"own.css\"><script src=\"own.js\"></script>"
             "<span style=\"font-family: own\">A</span><img id=\"own\" src=\"own.png\">"
             "<img id=\"web\" src=\"" + web + "/prod/img/cover/a.png\">"
             "<img id=\"outside\" src=\"" + QUrl::fromLocalFile(outside).toEncoded() + "\">"
             "<script src=\"" + web + "/remote.js\"></script>"
             "<script>"
             "window.results = {};"
             "function tryRead(name, address) {"
             "  fetch(address).then(function (r) { return r.text(); })"
             "    .then(function () { results[name] = 'read'; }, function () { results[name] = 'refused'; });"
             "}"
             "tryRead('file', 'private.txt');"
             "tryRead('web', '" + web + "/api/wl/detailKonten');"
             "var request = new XMLHttpRequest();"
             "try { request.open('GET', 'private.txt', false); request.send(); results.xhr = 'read'; }"
             "catch (e) { results.xhr = 'refused'; }"
             "document.fonts.load('16px own').then(function (faces) { results.font = faces.length; },"
             "  function () { results.font = -1; });"
             "</script>");

    const auto value = [this](const QString &script) { return evaluate(m_view->page(), script); };
    EXPECT_EQ(value(QStringLiteral("window.ownScript")), QVariant(1));
    EXPECT_EQ(value(QStringLiteral("getComputedStyle(document.body).color")), QVariant(QStringLiteral("rgb(1, 2, 3)")));
    EXPECT_TRUE(waitUntil([&] {
        return value(QStringLiteral("document.getElementById('own').naturalWidth")) == QVariant(3) &&
               value(QStringLiteral("document.getElementById('web').naturalWidth")) == QVariant(7);
    })) << value(QStringLiteral("document.getElementById('own').naturalWidth + '/' + "
                                "document.getElementById('web').naturalWidth")).toString().toStdString();
    EXPECT_TRUE(waitUntil([&] { return value(QStringLiteral("Object.keys(results).length")) == QVariant(4); }));
    EXPECT_EQ(value(QStringLiteral("document.getElementById('outside').complete && "
                                   "document.getElementById('outside').naturalWidth")),
              QVariant(0));
    EXPECT_EQ(value(QStringLiteral("results.font")), QVariant(1)) << "the page's own font did not load";
    EXPECT_EQ(value(QStringLiteral("results.file")), QVariant(QStringLiteral("refused")));
    EXPECT_EQ(value(QStringLiteral("results.xhr")), QVariant(QStringLiteral("refused")));
    EXPECT_EQ(value(QStringLiteral("results.web")), QVariant(QStringLiteral("refused")));
    // The only requests that reached the service were for the picture: the remote script and the fetch were not
    // sent.
    for (const elumira::test::CapturedRequest &request : server.requests())
        EXPECT_EQ(request.path, QByteArray("/prod/img/cover/a.png"));
}

TEST_F(BrowserViewTest, contextMenu_isEmptiedAndNotShown)
{
    QMenu model;
    model.addAction(QStringLiteral("Back"));
    model.addAction(QStringLiteral("Reload"));
    TChromium::OnBeforeContextMenu(&model);
    EXPECT_TRUE(model.actions().isEmpty());

    showPage("<p style=\"font-size:40px\">text to click on</p>");
    // A menu that did open would block in its own event loop; note it and close it.
    bool menuShown = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&menuShown] {
        if (QWidget *popup = QApplication::activePopupWidget()) {
            menuShown = true;
            popup->close();
        }
    });
    watch.start(50);

    QWidget *surface = m_view->focusProxy();
    ASSERT_NE(surface, nullptr);
    QTest::mouseClick(surface, Qt::RightButton, Qt::NoModifier, QPoint(50, 30));
    // The browser asks the view for its menu directly, leaving the request behind.
    ASSERT_TRUE(waitUntil([this] { return m_view->lastContextMenuRequest() != nullptr; }, 10000));
    QTest::qWait(300);
    EXPECT_FALSE(menuShown);
}

// Software composition follows an engine without a GPU, and only the exact switch; a backend the environment
// chose is kept.
TEST(ViewComposition, softwareOnlyWhenTheEngineRunsWithoutAGpuAndNoBackendIsChosen)
{
    struct Case
    {
        const char *flags;
        QStringList arguments;
        bool backendChosen;
        bool software;
    };
    const QStringList none;
    const QStringList noGpuArgument{QStringLiteral("elumira"), QStringLiteral("--disable-gpu")};
    const Case cases[] = {
        {"--disable-gpu --process-per-site", none, false, true},
        {"--process-per-site  --disable-gpu", none, false, true},
        {"--process-per-site", noGpuArgument, false, true},
        {"--process-per-site", none, false, false},
        {"--disable-gpu-compositing --process-per-site", none, false, false},
        {"--disable-gpu", noGpuArgument, true, false},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(elumira::composesViewsInSoftware(c.flags, c.arguments, c.backendChosen), c.software)
            << c.flags << " / " << c.arguments.join(' ').toStdString() << " / chosen " << c.backendChosen;
    }
}

} // namespace
