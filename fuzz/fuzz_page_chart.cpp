// Fuzzes the chart page generators with arbitrary configurations and chart answers: the whole page of each
// chart, then a further page of rows added at its marker.
#include "fuzz/fuzz_input.h"
#include "pages/chart_pages.h"
#include "pages/page_writer.h"

using namespace elumira;

// The input: {"client", "chart", "more": answers, "page": page number, "service": address}.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto input = fuzz::parseInput(data, size);
    if (!input)
        return 0;
    const QString service = fuzz::serviceAddress(*input);
    const Json &client = fuzz::member(*input, "client");
    const Json &chart = fuzz::member(*input, "chart");
    const Json &more = fuzz::member(*input, "more");
    const int page = fuzz::intMember(*input, "page");
    for (const auto kind : {pages::ChartKind::TopRead, pages::ChartKind::LastRead, pages::ChartKind::LastView}) {
        QString text;
        fuzz::guarded([&] { text = pages::chartPage(client, chart, kind, 1, service); });
        fuzz::guarded([&] {
            const QString rows = pages::chartAppendText(more, kind, service);
            (void)pages::joinPageLines(pages::appendChartRows(pages::splitPageLines(text), rows, kind, page));
        });
    }
    return 0;
}
