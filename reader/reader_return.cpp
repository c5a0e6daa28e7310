// The reading timers of the open books, their read-status reports, the idle return and the return button.
#include "reader/reader_panel.h"

#include "common/background_task.h"
#include "common/dialogs.h"
#include "reader/pdf_control.h"
#include "service/lekora_lib.h"

#include <QTimer>

namespace elumira {

namespace {

// The documents of a book as they are sent to the service.
QString documentText(const Json &document)
{
    return QString::fromStdString(document.is_null() ? Json::object().dump(4) : document.dump(4));
}

} // namespace

void TReaderPanel::TimerTick(QTimer *sender)
{
    const QStringList parts = sender->objectName().split(QLatin1Char('_'));
    const QString key = parts.value(0);
    TReaderSettings *settings = m_books.settings(key);
    if (!settings)
        return;
    if (parts.value(1) == QLatin1String("TimerIdle")) {
        if (settings->IdleTime >= kIdleLimit) {
            sender->stop();
            settings->ReadStatus = 0;
        } else {
            settings->IdleTime += 1;
        }
        return;
    }
    if (parts.value(1) != QLatin1String("TimerChecking"))
        return;
    if (settings->CheckingTime < kReportPeriod) {
        settings->CheckingTime += 1;
        return;
    }
    settings->CheckingTime = 0;
    sender->stop();
    std::shared_ptr<TLekoraLib> lekora = m_lekora.lock();
    if (!lekora)
        return;
    // The status is read here, on the UI thread that writes it, and travels with the report.
    settings->TimerTask = runTask<Json>(
        QStringLiteral("Update"), this,
        [lekora, id_baca = settings->IdBaca, status = QString::number(settings->ReadStatus)] {
            // ReadStatusWork
            return lekora->UpdateReadStatusRequest(id_baca, status);
        },
        [this, key](Json answer) { ReadStatusDone(key, answer); });
}

void TReaderPanel::ReadStatusDone(const QString &key, const Json &)
{
    // A report for a book returned meanwhile has nothing left to act on.
    TReaderSettings *settings = m_books.settings(key);
    if (!settings)
        return;
    try {
        settings->TimerTask.release();
        if (settings->ReadStatus != 0) {
            settings->TimerChecking->start();
            return;
        }
        QWidget *sheet = nullptr;
        for (QWidget *candidate : m_sheets) {
            if (candidate->objectName() == key)
                sheet = candidate;
        }
        // The service has heard that the book went back; its annotations and copied passages follow.
        const QString anotasi = documentText(settings->AnnotationObject);
        const QString textCopy = documentText(settings->TextCopyObject);
        settings->TimerIdle->stop();
        settings->TimerChecking->stop();
        removeBook(sheet);
        if (std::shared_ptr<TLekoraLib> lekora = m_lekora.lock()) {
            runTask<Json>(
                QStringLiteral("saveDocuments"), this,
                [lekora, anotasi, textCopy] {
                    lekora->SaveAnnotationRequest(anotasi);
                    return lekora->SaveCopyText(textCopy);
                },
                [](Json) {});
        }
        m_dialogs.information(
            QStringLiteral("Buku otomatis kembali ke rak , karena telah mencapai waktu idle selama 30-menit"));
    } catch (const std::exception &error) {
        m_dialogs.error(QStringLiteral("Error Exception #1578 ") + QString::fromUtf8(error.what()));
    }
}

void TReaderPanel::btnReturnClick()
{
    QWidget *sheet = activeSheet();
    TPdfControl *view = viewOf(sheet);
    if (!view)
        return;
    if (!m_dialogs.confirmYesNo(QStringLiteral("Selesai dan kembalikan Buku Ini?")))
        return;
    TReaderSettings *settings = m_books.settings(sheet->objectName());
    const TDetailBook *book = m_books.detailOfTab(sheet);
    const int pageIndex = view->PageIndex();
    if (settings) {
        settings->TimerChecking->stop();
        settings->TimerIdle->stop();
    }
    std::shared_ptr<TLekoraLib> lekora = m_lekora.lock();
    if (book && settings && lekora) {
        runTask<Json>(
            QStringLiteral("bookReturn"), this,
            [lekora, id_baca = book->id_baca, id_konten = book->id, pageIndex,
             anotasi = documentText(settings->AnnotationObject), textCopy = documentText(settings->TextCopyObject)] {
                // BookReturnWork: the documents go only once the service has taken the book back.
                Json answer = lekora->BookReturnRequest(id_baca, id_konten, QString::number(pageIndex));
                if (hasCode(answer, "200")) {
                    lekora->SaveAnnotationRequest(anotasi);
                    lekora->SaveCopyText(textCopy);
                }
                return answer;
            },
            [this](Json answer) { BookReturnDone(answer); });
    }
    removeBook(sheet);
}

void TReaderPanel::BookReturnDone(const Json &answer)
{
    if (m_host.closing && m_host.closing())
        return;
    if (!hasCode(answer, "200"))
        m_dialogs.warning(jsonText(answer, "msg"));
}

} // namespace elumira
