// Fuzzes copying a passage with its citation: the book's record read from the detail and loan answers, the
// page label of any page, the citation, and the text-copy log grown and written as the return sends it.
#include "annotations/text_copy.h"
#include "fuzz/fuzz_input.h"
#include "reader/open_books.h"

using namespace elumira;

// The input: {"detail", "permission": answers, "log": a text-copy log, "page": page number shown (1-based),
// "passage": the copied text}.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto input = fuzz::parseInput(data, size);
    if (!input)
        return 0;
    std::unique_ptr<TDetailBook> book;
    try {
        book = TDetailBook::fromAnswers(fuzz::member(*input, "detail"), fuzz::member(*input, "permission"));
    } catch (const JsonShapeError &) {
        return 0; // the opening fails with a box before any passage can be copied
    }
    const QString label = pageLabel(fuzz::intMember(*input, "page"), book->halaman_romawi);
    const QString passage = fuzz::textMember(*input, "passage");
    (void)citationText(*book, label, passage);
    Json log = fuzz::member(*input, "log");
    logCopiedText(log, label, passage);
    logCopiedText(log, label, passage);
    (void)log.dump(4);
    return 0;
}
