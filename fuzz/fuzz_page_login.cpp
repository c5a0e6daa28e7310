// Fuzzes the login page generator with arbitrary partner configurations.
#include "fuzz/fuzz_input.h"
#include "pages/login_page.h"

using namespace elumira;

// The input: {"client": partner configuration answer, "service": address}.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto input = fuzz::parseInput(data, size);
    if (!input)
        return 0;
    fuzz::guarded([&] { (void)pages::loginPage(fuzz::member(*input, "client"), fuzz::serviceAddress(*input)); });
    return 0;
}
