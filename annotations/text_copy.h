// Copying a passage of an open book with a citation header, and the book's log of copied passages.
#pragma once

#include "common/json_read.h"

#include <QString>
#include <Qt>

namespace elumira {

class Dialogs;
class TDetailBook;
class TPdfControl;
class TReaderPanel;

// Roman numeral of a positive number, upper case; 0 (or less) gives the empty text.
QString IntToRoman(int number);
// The printed label of page number p (1-based): Roman for the front matter, then counted again from 1.
QString pageLabel(int p, int halaman_romawi);
// The six lines put on the clipboard, joined by CR LF, without a final line break.
QString citationText(const TDetailBook &book, const QString &label, const QString &passage);
// Adds a passage to a text-copy log unless the same passage of the same page is there already.
void logCopiedText(Json &log, const QString &label, const QString &passage);
// The selected passage of the page shown: the text of each selected line's rectangle, joined as it is.
QString selectedPassage(TPdfControl &view);

// The key-release handler of every book's view: Ctrl+C copies the selection with its citation.
void PDFViewKeyUp(TReaderPanel &reader, Dialogs &dialogs, TPdfControl *Sender, int Key, Qt::KeyboardModifiers Shift);

} // namespace elumira
