// Ctrl+C over a book: the passage with its citation on the clipboard, and once per page and passage in the log
// that goes back to the service with the book.
#include "annotations/text_copy.h"

#include "common/dialogs.h"
#include "reader/pdf_control.h"
#include "reader/reader_panel.h"

#include <QClipboard>
#include <QGuiApplication>

#include <stdexcept>

namespace elumira {

QString IntToRoman(int number)
{
    static const struct
    {
        int value;
        const char *symbols;
    } numerals[] = {{1000, "M"}, {900, "CM"}, {500, "D"}, {400, "CD"}, {100, "C"}, {90, "XC"}, {50, "L"},
                    {40, "XL"},  {10, "X"},   {9, "IX"},  {5, "V"},    {4, "IV"},  {1, "I"}};
    QString roman;
    for (const auto &numeral : numerals) {
        while (number >= numeral.value) {
            roman += QLatin1String(numeral.symbols);
            number -= numeral.value;
        }
    }
    return roman;
}

QString pageLabel(int p, int halaman_romawi)
{
    // Counted in 64 bits: the front-matter count comes from the service and may be any int.
    return p <= halaman_romawi ? IntToRoman(p) : QString::number(qint64(p) - halaman_romawi);
}

QString citationText(const TDetailBook &book, const QString &label, const QString &passage)
{
    return QStringList{QStringLiteral("Judul : ") + book.judul,
                       QStringLiteral("Penulis : ") + book.penulis,
                       QStringLiteral("Penerbit : ") + book.penerbit,
                       QStringLiteral("Tahun Terbit : ") + book.tahun_terbit,
                       QStringLiteral("Halaman : ") + label,
                       QStringLiteral("Frase : ") + passage}
        .join(QStringLiteral("\r\n"));
}

void logCopiedText(Json &log, const QString &label, const QString &passage)
{
    if (!log.is_object())
        log = Json::object();
    Json &data = log["data"];
    if (!data.is_array())
        data = Json::array();
    const std::string page = label.toStdString();
    const std::string text = passage.toStdString();
    for (const Json &item : data) {
        if (item.is_object() && item.value("page", Json()) == page && item.value("text", Json()) == text)
            return;
    }
    data.push_back(Json{{"page", page}, {"text", text}});
}

QString selectedPassage(TPdfControl &view)
{
    if (view.SelLength() <= 0)
        return {};
    TPdfPage page = view.CurrentPage();
    const int count = page.GetTextRectCount(view.SelStart(), view.SelLength());
    QString passage;
    for (int i = 0; i < count; ++i)
        passage += view.GetTextInRect(view.PageToDevice(page.GetTextRect(i)));
    return passage;
}

void PDFViewKeyUp(TReaderPanel &reader, Dialogs &dialogs, TPdfControl *Sender, int Key, Qt::KeyboardModifiers Shift)
{
    if (Key != Qt::Key_C || !(Shift & Qt::ControlModifier) || !Sender)
        return;
    try {
        const QString passage = selectedPassage(*Sender);
        QWidget *sheet = reader.activeSheet();
        const TDetailBook *book = reader.books().detailOfTab(sheet);
        TReaderSettings *settings = sheet ? reader.books().settings(sheet->objectName()) : nullptr;
        if (!book || !settings)
            throw std::runtime_error("the book of this page is not open");
        const QString label = pageLabel(Sender->PageIndex() + 1, book->halaman_romawi);
        QGuiApplication::clipboard()->setText(citationText(*book, label, passage));
        logCopiedText(settings->TextCopyObject, label, passage);
    } catch (const std::exception &error) {
        dialogs.error(QStringLiteral("Error Exception #2350 : ") + QString::fromUtf8(error.what()));
    }
}

} // namespace elumira
