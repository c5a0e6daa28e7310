// Tests of the demo service's catalogue and loans: paging, the charts following the state, the loan rules, stored
// pages and annotation documents, the two searches and the book files.
#include "tests/demo/demo_fixture.h"

#include "demo/book_files.h"
#include "demo/catalogue.h"
#include "demo/store.h"

#include <algorithm>

using namespace demo;
using namespace demo::testing;

namespace {

std::vector<std::string> ids(const Json &list, const char *field)
{
    std::vector<std::string> out;
    for (const Json &item : list)
        out.push_back(item[field]);
    return out;
}

} // namespace

TEST_F(DemoService, listHomepage_pagesOfTen_thenNothing)
{
    const Session s = loginBima();
    const int expectedTotals[] = {10, 10, 5, 0};
    std::set<std::string> sections;
    for (int page = 1; page <= 4; ++page) {
        const Json answer =
            post("/api/wl/listHomepage", {{"page", std::to_string(page)}, {"limit", "10"}}, memberHeaders(s));
        EXPECT_EQ(answer["count"], 25) << page;
        EXPECT_EQ(answer["total"], expectedTotals[page - 1]) << page;
        ASSERT_EQ(answer["data"].size(), size_t(expectedTotals[page - 1]));
        for (const Json &section : answer["data"]) {
            EXPECT_TRUE(sections.insert(section["id"].get<std::string>()).second);
            EXPECT_FALSE(section["rows"].empty());
        }
    }
    // Every section lists all its books on its own page.
    const Json section = post("/api/wl/listHomepageDetail", {{"id_homepage", "3"}, {"page", "1"}}, memberHeaders(s));
    EXPECT_EQ(section["code"], "200");
    EXPECT_GE(section["data"].size(), 6u);
}

TEST_F(DemoService, menu_holdsTheDepartmentsTheFilterLeavesOut)
{
    const Json menu = get("/api/wl/menu", memberHeaders(loginBima()));
    bool nonCollection = false, empty = false;
    for (const Json &d : menu["data_departemen"]) {
        nonCollection = nonCollection || d["nama_departemen"] == "BUKU NON KOLEKSI";
        if (d["total_kategori"] == "0") {
            empty = true;
            EXPECT_TRUE(d["data_kategori"].empty());
        } else {
            EXPECT_EQ(d["total_kategori"], std::to_string(d["data_kategori"].size()));
        }
    }
    EXPECT_TRUE(nonCollection);
    EXPECT_TRUE(empty);
    const Json novels = post("/api/wl/listContentSubCategory", {{"id_dept", "1"}, {"id_sub_kategori", "1021"}},
                             memberHeaders(loginBima()));
    EXPECT_EQ(ids(novels["data"], "id_konten"), (std::vector<std::string>{"1006", "1007", "1008"}));
    EXPECT_NE(
        post("/api/wl/listContentCategory", {{"id_dept", "2"}, {"id_kategori", "101"}}, memberHeaders(loginBima()))
            .value("code", ""),
        "200");
}

TEST_F(DemoService, requestBaca_aFourthOpenLoanIsRefused_untilOneIsReturned)
{
    const Session s = loginBima();
    std::map<std::string, std::string> loans;
    for (const char *book : {"1001", "1002", "1003"}) {
        const Json loan = post("/api/wl/requestBaca", {{"id_konten", book}}, memberHeaders(s));
        ASSERT_EQ(loan.value("code", ""), "200") << loan.dump();
        loans[book] = loan["id_baca"];
    }
    const Json fourth = post("/api/wl/requestBaca", {{"id_konten", "1004"}}, memberHeaders(s));
    EXPECT_EQ(fourth.value("code", ""), "400");
    EXPECT_NE(fourth.value("msg", "").find("3 buku"), std::string::npos) << fourth.dump();

    const Json returned =
        post("/api/wl/bookReturn", {{"id_konten", "1002"}, {"id_baca", loans["1002"]}, {"page_index", "5"}},
             memberHeaders(s));
    EXPECT_EQ(returned.value("code", ""), "200");
    EXPECT_EQ(post("/api/wl/requestBaca", {{"id_konten", "1004"}}, memberHeaders(s)).value("code", ""), "200");

    // The limit is per member.
    const Session sekar = login(kSekar, "Baca2024");
    EXPECT_EQ(post("/api/wl/requestBaca", {{"id_konten", "1005"}}, memberHeaders(sekar)).value("code", ""), "200");
}

TEST_F(DemoService, requestBaca_followsTheStock)
{
    const Session bima = loginBima();
    const Session sekar = login(kSekar, "Baca2024");
    // 1007: every copy is lent outside the demo.
    EXPECT_EQ(post("/api/wl/detailKonten", {{"id_konten", "1007"}}, memberHeaders(bima))["data"]["stok"], "0");
    EXPECT_EQ(post("/api/wl/requestBaca", {{"id_konten", "1007"}}, memberHeaders(bima)).value("code", ""), "400");

    // 1005: one copy, taken by Sekar until she gives it back.
    const Json sekarLoan = post("/api/wl/requestBaca", {{"id_konten", "1005"}}, memberHeaders(sekar));
    ASSERT_EQ(sekarLoan.value("code", ""), "200");
    EXPECT_EQ(post("/api/wl/detailKonten", {{"id_konten", "1005"}}, memberHeaders(bima))["data"]["stok"], "0");
    EXPECT_EQ(post("/api/wl/requestBaca", {{"id_konten", "1005"}}, memberHeaders(bima)).value("code", ""), "400");
    post("/api/wl/bookReturn", {{"id_konten", "1005"}, {"id_baca", sekarLoan["id_baca"]}, {"page_index", "0"}},
         memberHeaders(sekar));
    EXPECT_EQ(post("/api/wl/requestBaca", {{"id_konten", "1005"}}, memberHeaders(bima)).value("code", ""), "200");
}

TEST_F(DemoService, annotationDocument_savedAtReturn_isServedAtTheNextLoan)
{
    const Session s = loginBima();
    const Json first = post("/api/wl/requestBaca", {{"id_konten", "1003"}}, memberHeaders(s));
    ASSERT_EQ(first.value("code", ""), "200");
    EXPECT_EQ(first["file_anotasi"], "0");
    EXPECT_EQ(first["page_index"], 0);

    ASSERT_EQ(post("/api/wl/bookReturn", {{"id_konten", "1003"}, {"id_baca", first["id_baca"]}, {"page_index", "17"}},
                   memberHeaders(s))
                  .value("code", ""),
              "200");
    const std::string document =
        "{\n    \"id_konten\": \"1003\",\n    \"data\": [\n        {\n            \"page\": 2,\n"
        "            \"type\": \"NOTES\",\n            \"note_id\": \"\",\n"
        "            \"color\": 374470,\n            \"text\": \"Catatan \u201Cpenting\u201D "
        "tentang caf\u00E9\"\n        }\n    ]\n}";
    EXPECT_EQ(postJson("/api/wl/saveAnotasi", document, memberHeaders(s)).value("code", ""), "200");
    EXPECT_EQ(
        postJson("/api/wl/copyText", R"({"id_konten":"1003","data":[{"page":"3","text":"Frasa"}]})", memberHeaders(s))
            .value("code", ""),
        "200");

    const Json second = post("/api/wl/requestBaca", {{"id_konten", "1003"}}, memberHeaders(s));
    ASSERT_EQ(second.value("code", ""), "200");
    EXPECT_NE(second["id_baca"], first["id_baca"]);
    EXPECT_EQ(second["page_index"], 17);
    const std::string address = second["file_anotasi"];
    const std::string base = m_service->baseUrl();
    ASSERT_EQ(address.rfind(base, 0), 0u) << address;
    const auto served = client().Get(address.substr(base.size()), memberHeaders(s));
    ASSERT_TRUE(served);
    EXPECT_EQ(served->status, 200);
    EXPECT_EQ(served->body, document);

    // Stored pages and documents belong to the member.
    const Json sekarLoan =
        post("/api/wl/requestBaca", {{"id_konten", "1003"}}, memberHeaders(login(kSekar, "Baca2024")));
    EXPECT_EQ(sekarLoan["file_anotasi"], "0");
    EXPECT_EQ(sekarLoan["page_index"], 0);
}

TEST_F(DemoService, updateReadStatus_zeroEndsTheLoan)
{
    const Session s = loginBima();
    const Json loan = post("/api/wl/requestBaca", {{"id_konten", "1010"}}, memberHeaders(s));
    ASSERT_EQ(loan.value("code", ""), "200");
    EXPECT_EQ(post("/api/wl/updateReadStatus", {{"id_baca", loan["id_baca"]}, {"status", "1"}}, memberHeaders(s))
                  .value("code", ""),
              "200");
    EXPECT_EQ(m_service->store().openLoans(s.userId), 1);
    EXPECT_EQ(post("/api/wl/updateReadStatus", {{"id_baca", loan["id_baca"]}, {"status", "0"}}, memberHeaders(s))
                  .value("code", ""),
              "200");
    EXPECT_EQ(m_service->store().openLoans(s.userId), 0);
    EXPECT_NE(post("/api/wl/bookReturn", {{"id_konten", "1010"}, {"id_baca", loan["id_baca"]}, {"page_index", "3"}},
                   memberHeaders(s))
                  .value("code", ""),
              "200");
    EXPECT_NE(
        post("/api/wl/updateReadStatus", {{"id_baca", "99999"}, {"status", "1"}}, memberHeaders(s)).value("code", ""),
        "200");
}

TEST_F(DemoService, charts_followLoansAndViews_tenToAPage)
{
    const Session s = loginBima();
    for (const char *book : {"1010", "1020"})
        post("/api/wl/requestBaca", {{"id_konten", book}}, memberHeaders(s));
    for (const char *book : {"1030", "1011", "1030"})
        post("/api/wl/detailKonten", {{"id_konten", book}}, memberHeaders(s));

    const Json lastRead = post("/api/wl/listLastRead", {{"page", "1"}}, memberHeaders(s));
    EXPECT_EQ(ids(lastRead["data"], "id_konten"), (std::vector<std::string>{"1020", "1010"}));
    EXPECT_EQ(lastRead["total"], 2);
    const Json lastView = post("/api/wl/listLastView", {{"page", "1"}}, memberHeaders(s));
    EXPECT_EQ(ids(lastView["data"], "id_konten"), (std::vector<std::string>{"1030", "1011"}));
    EXPECT_EQ(post("/api/wl/listLastView", {{"page", "2"}}, memberHeaders(s))["total"], 0);

    const Json top = post("/api/wl/listTopRead", {{"page", "1"}}, memberHeaders(s));
    EXPECT_EQ(top["total"], 10);
    for (const char *field :
         {"img", "id_konten", "judul", "penulis", "penerbit", "isbn", "sinopsis", "stok", "qty", "nilai_rate"})
        EXPECT_TRUE(top["data"][0].contains(field)) << field;
    EXPECT_EQ(post("/api/wl/listTopRead", {{"page", "4"}}, memberHeaders(s))["total"], 10);
    EXPECT_EQ(post("/api/wl/listTopRead", {{"page", "5"}}, memberHeaders(s))["total"], 0);
}

TEST_F(DemoService, searching_byField)
{
    const Session s = loginBima();
    struct Case
    {
        const char *field, *keyword;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"Penulis", "WIRANEGARA", {"1001"}},
        {"Penerbit", "tani makmur", {"1013", "1014", "1015", "1037"}},
        {"ISBN", "978-623-101-001", {"1001"}},
        {"Semua", "kamus", {"1036", "1037"}},
        {"Penulis", "kamus", {}},
    };
    for (const Case &c : cases) {
        const Json answer =
            post("/api/wl/searching", {{"page", "1"}, {"keyword", c.keyword}, {"field", c.field}}, memberHeaders(s));
        EXPECT_EQ(answer.value("code", ""), "200") << c.field;
        EXPECT_EQ(ids(answer["data"], "id_konten"), c.expected) << c.field << " " << c.keyword;
        EXPECT_EQ(answer["total_rows"], std::to_string(c.expected.size()));
    }
    const Json many =
        post("/api/wl/searching", {{"page", "3"}, {"keyword", "a"}, {"field", "Semua"}}, memberHeaders(s));
    EXPECT_EQ(many["total_rows"], "40");
    EXPECT_EQ(many["data"].size(), 10u);
    EXPECT_NE(post("/api/wl/searching", {{"page", "1"}, {"keyword", "a"}, {"field", "Kalimat"}}, memberHeaders(s))
                  .value("code", ""),
              "200");
}

TEST_F(DemoService, searchingKalimat_findsAPhraseOnItsGeneratedPage)
{
    const Session s = loginBima();
    const Book &book = *m_service->catalogue().book("1012");
    const BookText &text = m_service->books().text(book);
    const size_t pageIndex = 9;
    const std::string &pageText = text.pages[pageIndex].text;
    // Eight words from the middle of the page, sent in capitals.
    size_t start = pageText.find(' ', pageText.size() / 3) + 1;
    size_t end = start;
    for (int words = 0; words < 8; ++words)
        end = pageText.find(' ', end + 1);
    const std::string phrase = pageText.substr(start, end - start);
    std::string shouted = phrase;
    std::transform(shouted.begin(), shouted.end(), shouted.begin(),
                   [](unsigned char c) { return char(std::toupper(c)); });

    const Json first = post("/api/wl/searchingKalimat", {{"page", "1"}, {"keyword", shouted}}, memberHeaders(s));
    ASSERT_EQ(first.value("code", ""), "200");
    const int total = std::stoi(first["total_rows"].get<std::string>());
    ASSERT_GE(total, 1);
    Json hit;
    for (int page = 1; page <= (total + 9) / 10 && hit.is_null(); ++page) {
        const Json answer =
            post("/api/wl/searchingKalimat", {{"page", std::to_string(page)}, {"keyword", shouted}}, memberHeaders(s));
        EXPECT_LE(answer["data"].size(), 10u);
        for (const Json &h : answer["data"])
            if (h["id"] == "1012" && h["hal_idx"] == std::to_string(pageIndex))
                hit = h;
    }
    ASSERT_FALSE(hit.is_null()) << phrase;
    EXPECT_EQ(hit["halaman"], text.labels[pageIndex]);
    EXPECT_EQ(hit["halaman"], "6"); // the tenth page of a book with four front-matter pages
    EXPECT_EQ(hit["img"], book.img);
    EXPECT_EQ(hit["judul"], book.judul);
    EXPECT_NE(hit["hal_txt"].get<std::string>().find("<mark>" + phrase + "</mark>"), std::string::npos)
        << hit["hal_txt"];

    EXPECT_EQ(post("/api/wl/searchingKalimat", {{"page", "1"}, {"keyword", "tidak ada di buku mana pun"}},
                   memberHeaders(s))["total_rows"],
              "0");
}

TEST_F(DemoService, bookFile_isTheGeneratedPdf)
{
    const Json detail = post("/api/wl/detailKonten", {{"id_konten", "1030"}}, memberHeaders(loginBima()));
    ASSERT_EQ(detail.value("code", ""), "200");
    EXPECT_EQ(detail["data"]["halaman_total"], 20);
    EXPECT_EQ(detail["data"]["halaman_romawi"], 0);
    EXPECT_EQ(detail["data"]["cover_file"], m_service->baseUrl() + "/prod/img/cover/cover_1030.jpg");
    const auto file = client().Get("/pc/lkr/" + detail["data"]["nama_pc_file"].get<std::string>());
    ASSERT_TRUE(file);
    EXPECT_EQ(file->status, 200);
    EXPECT_EQ(file->get_header_value("Content-Type"), "application/pdf");
    EXPECT_EQ(file->body.rfind("%PDF", 0), 0u);
    EXPECT_EQ(client().Get("/pc/lkr/tidak_ada.pdf")->status, 404);
}
