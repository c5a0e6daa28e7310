// Fuzzes the detail page generator with arbitrary configurations, detail answers and the place a book was
// chosen from.
#include "fuzz/fuzz_input.h"
#include "pages/detail_page.h"

using namespace elumira;

// The input: {"client", "detail": answers, "from": where the book was chosen}.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto input = fuzz::parseInput(data, size);
    if (!input)
        return 0;
    const QString from = fuzz::textMember(*input, "from");
    fuzz::guarded([&] {
        (void)pages::detailPage(fuzz::member(*input, "client"), fuzz::member(*input, "detail"), from);
    });
    fuzz::guarded([&] {
        (void)pages::detailBreadcrumbItems(from, jsonText(jsonObject(fuzz::member(*input, "detail"), "data"), "judul"));
    });
    return 0;
}
