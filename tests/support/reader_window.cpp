// The reader panel in a window of its own, for the reader's and the annotations' widget tests.
#include "tests/support/reader_window.h"

#include <QTest>
#include <QVBoxLayout>

namespace elumira::test {

bool ReaderWindow::buildReader(std::weak_ptr<TLekoraLib> lekora, Dialogs &dialogs, ReaderHost host)
{
    auto *layout = new QVBoxLayout(&window);
    auto *toolbarPanel = new QWidget(&window);
    tabs = new QTabWidget(&window);
    layout->addWidget(toolbarPanel);
    layout->addWidget(tabs, 1);
    std::array<QWidget *, 3> sheets{};
    for (int i = 0; i < 3; ++i) {
        sheets[size_t(i)] = new QWidget(tabs);
        sheets[size_t(i)]->setObjectName(QStringLiteral("TabSheet%1").arg(i + 1));
        tabs->addTab(sheets[size_t(i)], sheets[size_t(i)]->objectName());
    }
    panel = std::make_unique<TReaderPanel>(std::move(lekora), dialogs, toolbarPanel, tabs, sheets, openBooks,
                                           searchBusy, std::move(host));
    window.resize(1366, 768);
    window.show();
    return QTest::qWaitForWindowExposed(&window);
}

bool ReaderWindow::openLocal(int i, const QByteArray &pdf, const QString &id, const QString &total,
                             const Json &moreData, std::optional<QByteArray> annotation)
{
    BookOpening opening;
    Json data{{"id", id.toStdString()}, {"judul", "Buku " + id.toStdString()}, {"halaman_total", total.toStdString()}};
    for (const auto &[key, value] : moreData.items())
        data[key] = value;
    opening.detail = Json{{"data", data}};
    opening.bytes = pdf;
    opening.annotation = std::move(annotation);
    const Json permission{{"code", "200"}, {"id_baca", "9" + id.toStdString()}, {"page_index", 0}};
    if (!panel->books().addDetail(TDetailBook::fromAnswers(opening.detail, permission)))
        return false;
    ++openBooks;
    if (!panel->streamProcess(opening, sheet(i), 0, QStringLiteral("9") + id))
        return false;
    panel->books().detail(id)->TabSheet = sheet(i);
    return true;
}

} // namespace elumira::test
