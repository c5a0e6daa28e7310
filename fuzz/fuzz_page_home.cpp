// Fuzzes the home page generators with arbitrary partner configurations, banners and home content: the whole
// page, a further page of sections appended to it, and each banner.
#include "fuzz/fuzz_input.h"
#include "pages/home_page.h"

using namespace elumira;

// The input: {"client", "banner", "home", "more": answers, "counter": intro counter, "service": address}.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto input = fuzz::parseInput(data, size);
    if (!input)
        return 0;
    const QString service = fuzz::serviceAddress(*input);
    const Json &client = fuzz::member(*input, "client");
    const Json &banner = fuzz::member(*input, "banner");
    const Json &home = fuzz::member(*input, "home");
    const Json &more = fuzz::member(*input, "more");
    QString page;
    fuzz::guarded([&] { page = pages::homePage(client, banner, home, service, fuzz::intMember(*input, "counter")); });
    fuzz::guarded([&] { (void)pages::appendHomeSections(page, pages::homeAppendMarkup(more, service)); });
    fuzz::guarded([&] {
        const Json &list = jsonList(banner, "data");
        for (const Json &item : list)
            (void)pages::homeBanner(item, service);
    });
    return 0;
}
