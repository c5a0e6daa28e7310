// Routes of the catalogue: banners, the department menu, home sections, listings, charts, book details and the two
// searches.
#include "demo/service_state.h"

#include <algorithm>

namespace demo {

namespace {

constexpr int kPageSize = 10;

Json tile(ServiceState &s, const Book &b)
{
    return {{"id_konten", b.id},
            {"img", b.img},
            {"judul", b.judul},
            {"penulis", b.penulis},
            {"stok", std::to_string(s.store.stock(b.id))},
            {"qty", std::to_string(b.qty)},
            {"nilai_rate", std::to_string(b.rate)}};
}

Json chartRow(ServiceState &s, const Book &b)
{
    Json row = tile(s, b);
    row["penerbit"] = b.penerbit;
    row["isbn"] = b.isbn;
    row["sinopsis"] = b.sinopsis;
    return row;
}

Json tiles(ServiceState &s, const std::vector<const Book *> &books)
{
    Json list = Json::array();
    for (const Book *b : books)
        list.push_back(tile(s, *b));
    return list;
}

// Items [first, first + kPageSize) of a list for a page number counted from 1; nothing past the end.
template <typename T> std::vector<T> pageOf(const std::vector<T> &items, int page)
{
    const size_t first = size_t(std::max(0, page - 1)) * kPageSize;
    if (first >= items.size())
        return {};
    return std::vector<T>(items.begin() + long(first), items.begin() + long(std::min(items.size(), first + kPageSize)));
}

void chart(ServiceState &s, const Incoming &in, httplib::Response &res,
           std::vector<std::string> (*order)(const Store &, const std::string &))
{
    const auto member = memberOf(s, in, res);
    if (!member)
        return;
    Json data = Json::array();
    for (const std::string &id : pageOf(order(s.store, member->id), toNumber(in.field("page"), 1)))
        if (const Book *b = s.catalogue.book(id))
            data.push_back(chartRow(s, *b));
    answer(res, {{"code", "200"}, {"msg", "OK"}, {"total", int(data.size())}, {"data", std::move(data)}});
}

bool containsFolded(const std::string &haystack, const std::string &foldedNeedle)
{
    return foldCase(haystack).find(foldedNeedle) != std::string::npos;
}

std::string withoutDashes(std::string s)
{
    s.erase(std::remove_if(s.begin(), s.end(), [](char c) { return c == '-' || c == ' '; }), s.end());
    return s;
}

std::string escapeHtml(std::string_view s)
{
    std::string out;
    for (char c : s) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

bool isContinuation(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// The words around the first hit on a page, every hit in them marked.
std::string excerpt(const Page &page, size_t hit, size_t length)
{
    constexpr size_t kContext = 90;
    size_t start = hit > kContext ? hit - kContext : 0;
    size_t end = std::min(page.text.size(), hit + length + kContext);
    if (start > 0) {
        const size_t space = page.text.find(' ', start);
        start = space != std::string::npos && space < hit ? space + 1 : start;
    }
    if (end < page.text.size()) {
        const size_t space = page.text.rfind(' ', end);
        end = space != std::string::npos && space > hit + length ? space : end;
    }
    while (start > 0 && isContinuation(page.text[start]))
        --start;
    while (end < page.text.size() && isContinuation(page.text[end]))
        ++end;
    const std::string needle = page.folded.substr(hit, length);
    std::string out = start > 0 ? "..." : "";
    size_t pos = start;
    for (size_t next = page.folded.find(needle, pos); next != std::string::npos && next + length <= end;
         next = page.folded.find(needle, pos)) {
        out += escapeHtml(std::string_view(page.text).substr(pos, next - pos));
        out += "<mark>" + escapeHtml(std::string_view(page.text).substr(next, length)) + "</mark>";
        pos = next + length;
    }
    out += escapeHtml(std::string_view(page.text).substr(pos, end - pos));
    if (end < page.text.size())
        out += "...";
    return out;
}

std::string trimmed(const std::string &s)
{
    const size_t first = s.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t\r\n") - first + 1);
}

} // namespace

void addCatalogueRoutes(ServiceState &s)
{
    on(s, "GET", "/api/wl/listBanner", [&s](const Incoming &in, const httplib::Request &, httplib::Response &res) {
        if (!memberOf(s, in, res))
            return;
        Json data = Json::array();
        for (const Banner &b : s.catalogue.banners()) {
            Json item = {{"id", b.id}, {"img", b.img}};
            if (b.link == Banner::Link::Null)
                item["url_link"] = nullptr;
            else if (b.link == Banner::Link::Text)
                item["url_link"] = b.url;
            data.push_back(std::move(item));
        }
        answer(res, {{"code", "200"}, {"msg", "OK"}, {"data", std::move(data)}});
    });

    on(s, "GET", "/api/wl/menu", [&s](const Incoming &in, const httplib::Request &, httplib::Response &res) {
        if (!memberOf(s, in, res))
            return;
        Json departments = Json::array();
        for (const Department &d : s.catalogue.departments()) {
            Json categories = Json::array();
            for (const Category &c : d.categories) {
                Json subs = Json::array();
                for (const SubCategory &sub : c.subs)
                    subs.push_back({{"id_sub_kategori", sub.id}, {"nama_sub_kategori", sub.name}});
                categories.push_back(
                    {{"id_kategori", c.id}, {"nama_kategori", c.name}, {"data_sub_kategori", std::move(subs)}});
            }
            departments.push_back({{"id_departemen", d.id},
                                   {"nama_departemen", d.name},
                                   {"total_kategori", std::to_string(d.categories.size())},
                                   {"data_kategori", std::move(categories)}});
        }
        answer(res, {{"code", "200"}, {"msg", "OK"}, {"data_departemen", std::move(departments)}});
    });

    on(s, "POST", "/api/wl/listHomepage", [&s](const Incoming &in, const httplib::Request &, httplib::Response &res) {
        if (!memberOf(s, in, res))
            return;
        const int page = std::max(1, toNumber(in.field("page"), 1));
        const int limit = std::clamp(toNumber(in.field("limit"), kPageSize), 1, 100);
        const auto &sections = s.catalogue.sections();
        Json data = Json::array();
        for (size_t i = size_t(page - 1) * size_t(limit); i < sections.size() && data.size() < size_t(limit); ++i) {
            std::vector<const Book *> books;
            for (const std::string &id : sections[i].bookIds)
                books.push_back(s.catalogue.book(id));
            data.push_back({{"id", sections[i].id}, {"judul_section", sections[i].title}, {"rows", tiles(s, books)}});
        }
        answer(res, {{"code", "200"},
                     {"msg", "OK"},
                     {"count", int(sections.size())},
                     {"total", int(data.size())},
                     {"data", std::move(data)}});
    });

    on(s, "POST", "/api/wl/listHomepageDetail",
       [&s](const Incoming &in, const httplib::Request &, httplib::Response &res) {
           if (!memberOf(s, in, res))
               return;
           const HomeSection *section = s.catalogue.section(in.field("id_homepage"));
           if (!section)
               return answer(res, refusal("404", "Section tidak ditemukan"));
           std::vector<const Book *> books;
           for (const std::string &id : section->bookIds)
               books.push_back(s.catalogue.book(id));
           answer(res, {{"code", "200"}, {"msg", "OK"}, {"data", tiles(s, books)}});
       });

    for (const bool sub : {false, true}) {
        on(s, "POST", sub ? "/api/wl/listContentSubCategory" : "/api/wl/listContentCategory",
           [&s, sub](const Incoming &in, const httplib::Request &, httplib::Response &res) {
               if (!memberOf(s, in, res))
                   return;
               const std::string dept = in.field("id_dept");
               const std::string id = in.field(sub ? "id_sub_kategori" : "id_kategori");
               bool known = false;
               for (const Department &d : s.catalogue.departments())
                   for (const Category &c : d.categories) {
                       known = known || (d.id == dept && !sub && c.id == id);
                       for (const SubCategory &sc : c.subs)
                           known = known || (d.id == dept && sub && sc.id == id);
                   }
               if (!known)
                   return answer(res,
                                 refusal("404", sub ? "Sub kategori tidak ditemukan" : "Kategori tidak ditemukan"));
               std::vector<const Book *> books;
               for (const Book &b : s.catalogue.books())
                   if (b.deptId == dept && (sub ? b.subId : b.categoryId) == id)
                       books.push_back(&b);
               answer(res, {{"code", "200"}, {"msg", "OK"}, {"data", tiles(s, books)}});
           });
    }

    on(s, "POST", "/api/wl/listTopRead", [&s](const Incoming &in, const httplib::Request &, httplib::Response &res) {
        chart(s, in, res, [](const Store &store, const std::string &) { return store.mostRead(); });
    });
    on(s, "POST", "/api/wl/listLastRead", [&s](const Incoming &in, const httplib::Request &, httplib::Response &res) {
        chart(s, in, res, [](const Store &store, const std::string &id) { return store.lastRead(id); });
    });
    on(s, "POST", "/api/wl/listLastView", [&s](const Incoming &in, const httplib::Request &, httplib::Response &res) {
        chart(s, in, res, [](const Store &store, const std::string &id) { return store.lastViewed(id); });
    });

    on(s, "POST", "/api/wl/detailKonten", [&s](const Incoming &in, const httplib::Request &, httplib::Response &res) {
        const auto member = memberOf(s, in, res);
        if (!member)
            return;
        const Book *b = s.catalogue.book(in.field("id_konten"));
        if (!b)
            return answer(res, refusal("404", "Konten tidak ditemukan"));
        s.store.recordView(member->id, b->id);
        const std::string base = publicBase(s, in);
        answer(res, {{"code", "200"},
                     {"msg", "OK"},
                     {"data",
                      {{"id", b->id},
                       {"id_konten", b->id},
                       {"kode", b->kode},
                       {"judul", b->judul},
                       {"tahun_terbit", b->tahun},
                       {"penulis", b->penulis},
                       {"penerbit", b->penerbit},
                       {"isbn", b->isbn},
                       {"kategori", b->categoryName},
                       {"dept", b->deptName},
                       {"stok", std::to_string(s.store.stock(b->id))},
                       {"qty", std::to_string(b->qty)},
                       {"nilai_rate", std::to_string(b->rate)},
                       {"sinopsis", b->sinopsis},
                       {"img", b->img},
                       {"cover_file", base + "/prod/img/cover/" + b->img},
                       {"nama_pc_file", b->namaPcFile},
                       {"halaman_romawi", b->romawi},
                       {"halaman_total", b->pages},
                       {"mla_style", b->mla},
                       {"chicago_style", b->chicago},
                       {"turabian_style", b->turabian},
                       {"apa_style", b->apa},
                       {"harvard_style", b->harvard},
                       {"ieee_style", b->ieee}}}});
    });

    on(s, "POST", "/api/wl/searching", [&s](const Incoming &in, const httplib::Request &, httplib::Response &res) {
        if (!memberOf(s, in, res))
            return;
        const std::string keyword = foldCase(trimmed(in.field("keyword")));
        const std::string field = in.field("field");
        if (keyword.empty())
            return answer(res, refusal("400", "Kata kunci pencarian wajib diisi"));
        if (field != "Semua" && field != "Penulis" && field != "Penerbit" && field != "ISBN")
            return answer(res, refusal("400", "Kolom pencarian tidak dikenali"));
        std::vector<const Book *> hits;
        for (const Book &b : s.catalogue.books()) {
            const bool byAuthor = containsFolded(b.penulis, keyword);
            const bool byPublisher = containsFolded(b.penerbit, keyword);
            const bool byIsbn = !withoutDashes(keyword).empty() &&
                                withoutDashes(b.isbn).find(withoutDashes(keyword)) != std::string::npos;
            const bool any = byAuthor || byPublisher || byIsbn || containsFolded(b.judul, keyword) ||
                             containsFolded(b.categoryName, keyword);
            if ((field == "Semua" && any) || (field == "Penulis" && byAuthor) || (field == "Penerbit" && byPublisher) ||
                (field == "ISBN" && byIsbn))
                hits.push_back(&b);
        }
        answer(res, {{"code", "200"},
                     {"msg", "OK"},
                     {"total_rows", std::to_string(hits.size())},
                     {"data", tiles(s, pageOf(hits, toNumber(in.field("page"), 1)))}});
    });

    on(s, "POST", "/api/wl/searchingKalimat",
       [&s](const Incoming &in, const httplib::Request &, httplib::Response &res) {
           if (!memberOf(s, in, res))
               return;
           const std::string keyword = foldCase(trimmed(in.field("keyword")));
           if (keyword.size() < 3)
               return answer(res, refusal("400", "Kalimat yang dicari minimal 3 karakter"));
           struct Hit
           {
               const Book *book;
               size_t page;
               size_t offset;
           };
           std::vector<Hit> hits;
           for (const Book &b : s.catalogue.books()) {
               const BookText &text = s.books.text(b);
               for (size_t p = 0; p < text.pages.size(); ++p) {
                   const size_t at = text.pages[p].folded.find(keyword);
                   if (at != std::string::npos)
                       hits.push_back({&b, p, at});
               }
           }
           Json data = Json::array();
           for (const Hit &hit : pageOf(hits, toNumber(in.field("page"), 1))) {
               const BookText &text = s.books.text(*hit.book);
               data.push_back({{"id", hit.book->id},
                               {"img", hit.book->img},
                               {"judul", hit.book->judul},
                               {"halaman", text.labels[hit.page]},
                               {"hal_txt", excerpt(text.pages[hit.page], hit.offset, keyword.size())},
                               {"hal_idx", std::to_string(hit.page)}});
           }
           answer(res, {{"code", "200"},
                        {"msg", "OK"},
                        {"total_rows", std::to_string(hits.size())},
                        {"data", std::move(data)}});
       });
}

} // namespace demo
