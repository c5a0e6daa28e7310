// Fuzzes the listing page generators with arbitrary answers: the three book lists, the category browser and
// a department change.
#include "fuzz/fuzz_input.h"
#include "pages/listing_pages.h"

using namespace elumira;

// The input: {"list": book list answer, "judul": its name, "category": category answer, "dept": id,
// "service": address}.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto input = fuzz::parseInput(data, size);
    if (!input)
        return 0;
    const QString service = fuzz::serviceAddress(*input);
    const Json &list = fuzz::member(*input, "list");
    const QString judul = fuzz::textMember(*input, "judul");
    for (const auto kind : {pages::BookList::HomeSection, pages::BookList::Category, pages::BookList::SubCategory})
        fuzz::guarded([&] { (void)pages::bookListPage(kind, list, judul, service); });

    const Json &category = fuzz::member(*input, "category");
    fuzz::guarded([&] { (void)pages::categoryPage(category); });
    fuzz::guarded([&] { (void)pages::deptChange(category, fuzz::textMember(*input, "dept")); });
    fuzz::guarded([&] {
        for (const Json &department : jsonList(category, "data_departemen")) {
            (void)pages::departmentListed(department);
            (void)pages::categoryBoxes(department, pages::CategoryBoxes::Page);
            (void)pages::categoryBoxes(department, pages::CategoryBoxes::DeptChange);
        }
    });
    return 0;
}
