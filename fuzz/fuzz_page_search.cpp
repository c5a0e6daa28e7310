// Fuzzes the search result generators with arbitrary configurations and answers, keywords and page numbers:
// books found by field and places found by sentence.
#include "fuzz/fuzz_input.h"
#include "pages/search_pages.h"

using namespace elumira;

// The input: {"client", "search", "kalimat": answers, "page", "keyword", "field", "service"}.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto input = fuzz::parseInput(data, size);
    if (!input)
        return 0;
    const QString service = fuzz::serviceAddress(*input);
    const Json &client = fuzz::member(*input, "client");
    const int page = fuzz::intMember(*input, "page");
    const QString keyword = fuzz::textMember(*input, "keyword");
    const QString field = fuzz::textMember(*input, "field");
    fuzz::guarded([&] {
        (void)pages::searchResultPage(client, fuzz::member(*input, "search"), page, keyword, field, service);
    });
    fuzz::guarded([&] {
        (void)pages::searchKalimatResultPage(client, fuzz::member(*input, "kalimat"), page, keyword, service);
    });
    return 0;
}
