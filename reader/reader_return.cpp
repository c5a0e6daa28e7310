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

void TReaderPanel::ReadStatusDone(const QString &key, const Json &answer)
{
    // A report for a book returned meanwhile has nothing left to act on.
    TReaderSettings *settings = m_books.settings(key);
    if (!settings)
        return;
    try {
        settings->TimerTask.release();
        // An idle book goes back only once the service has taken the report; a report that failed is made again
        // after the next period, and the book stays open with everything the member added to it.
        if (settings->ReadStatus != 0 || !hasCode(answer, "200")) {
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
            runTask<QString>(
                QStringLiteral("saveDocuments"), this,
                [lekora, anotasi, textCopy] { return saveDocuments(*lekora, anotasi, textCopy); },
                [this](QString unsaved) { reportUnsavedDocuments(unsaved); });
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
    TReaderSettings *settings = m_books.settings(sheet->objectName());
    // A return already on its way is not asked for twice.
    if (settings && settings->Returning)
        return;
    if (!m_dialogs.confirmYesNo(QStringLiteral("Selesai dan kembalikan Buku Ini?")))
        return;
    const TDetailBook *book = m_books.detailOfTab(sheet);
    const int pageIndex = view->PageIndex();
    if (settings) {
        settings->TimerChecking->stop();
        settings->TimerIdle->stop();
    }
    std::shared_ptr<TLekoraLib> lekora = m_lekora.lock();
    if (!book || !settings || !lekora) {
        removeBook(sheet);
        return;
    }
    // The book stays open until the service has taken it back: a return that fails or is refused leaves the
    // member their book, its annotations and copied passages, and they can return it again.
    settings->Returning = true;
    runTask<ReturnOutcome>(
        QStringLiteral("bookReturn"), this,
        [lekora, id_baca = book->id_baca, id_konten = book->id, pageIndex,
         anotasi = documentText(settings->AnnotationObject), textCopy = documentText(settings->TextCopyObject)] {
            // BookReturnWork: the documents go only once the service has taken the book back.
            ReturnOutcome outcome;
            outcome.answer = lekora->BookReturnRequest(id_baca, id_konten, QString::number(pageIndex));
            if (hasCode(outcome.answer, "200"))
                outcome.unsaved = saveDocuments(*lekora, anotasi, textCopy);
            return outcome;
        },
        [this, key = sheet->objectName(), id = book->id](ReturnOutcome outcome) {
            BookReturnDone(key, id, outcome);
        });
}

void TReaderPanel::BookReturnDone(const QString &key, const QString &id, const ReturnOutcome &outcome)
{
    if (m_host.closing && m_host.closing())
        return;
    const TDetailBook *book = m_books.detail(id);
    TReaderSettings *settings = m_books.settings(key);
    QWidget *sheet = book ? book->TabSheet : nullptr;
    const bool stillOpen = settings && sheet && sheet->objectName() == key;
    if (hasCode(outcome.answer, "200")) {
        if (stillOpen)
            removeBook(sheet);
        reportUnsavedDocuments(outcome.unsaved);
        return;
    }
    if (stillOpen) {
        settings->Returning = false;
        settings->TimerChecking->start();
        settings->TimerIdle->start();
    }
    m_dialogs.warning(jsonText(outcome.answer, "msg"));
}

QString TReaderPanel::saveDocuments(const TLekoraLib &lekora, const QString &anotasi, const QString &textCopy)
{
    QStringList unsaved;
    const Json annotations = lekora.SaveAnnotationRequest(anotasi);
    if (!hasCode(annotations, "200"))
        unsaved << QStringLiteral("anotasi (%1)").arg(jsonText(annotations, "msg"));
    const Json copies = lekora.SaveCopyText(textCopy);
    if (!hasCode(copies, "200"))
        unsaved << QStringLiteral("salinan teks (%1)").arg(jsonText(copies, "msg"));
    return unsaved.join(QStringLiteral(", "));
}

void TReaderPanel::reportUnsavedDocuments(const QString &unsaved)
{
    if (unsaved.isEmpty() || (m_host.closing && m_host.closing()))
        return;
    m_dialogs.error(QStringLiteral("Buku sudah dikembalikan, tetapi gagal menyimpan ") + unsaved);
}

} // namespace elumira
