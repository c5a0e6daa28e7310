// Building the seeded catalogue: lookups, the fields derived from each book's record, and the region directory.
#include "demo/catalogue.h"

#include "demo/book_text.h"
#include "demo/catalogue_build.h"

#include <algorithm>
#include <cstdio>
#include <set>

namespace demo {

uint64_t Rng::next()
{
    uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

int Rng::below(int n)
{
    return n <= 0 ? 0 : int(next() % uint64_t(n));
}

uint64_t seedOf(std::string_view text)
{
    uint64_t h = 1469598103934665603ull; // FNV-1a
    for (char c : text) {
        h ^= static_cast<unsigned char>(c);
        h *= 1099511628211ull;
    }
    return h;
}

Catalogue::Catalogue()
{
    seedDepartments();
    seedBooks();
    seedSections();
    seedBanners();
    seedPartner();
    seedRegions();
    seedMembers();
}

const Book *Catalogue::book(std::string_view id) const
{
    for (const Book &b : m_books)
        if (b.id == id)
            return &b;
    return nullptr;
}

const Book *Catalogue::bookByFile(std::string_view namaPcFile) const
{
    for (const Book &b : m_books)
        if (b.namaPcFile == namaPcFile)
            return &b;
    return nullptr;
}

const Book *Catalogue::bookByCover(std::string_view img) const
{
    for (const Book &b : m_books)
        if (b.img == img)
            return &b;
    return nullptr;
}

const HomeSection *Catalogue::section(std::string_view id) const
{
    for (const HomeSection &s : m_sections)
        if (s.id == id)
            return &s;
    return nullptr;
}

const std::vector<Region> &Catalogue::regions(const std::string &parentId) const
{
    static const std::vector<Region> kNone;
    const auto it = m_regionsByParent.find(parentId);
    return it == m_regionsByParent.end() ? kNone : it->second;
}

const Region *Catalogue::region(const std::string &id) const
{
    const auto it = m_regionById.find(id);
    return it == m_regionById.end() ? nullptr : &it->second;
}

std::string Catalogue::parentOf(const std::string &regionId) const
{
    const auto it = m_parentOf.find(regionId);
    return it == m_parentOf.end() ? std::string() : it->second;
}

const std::vector<std::string> &Catalogue::educationLevels()
{
    static const std::vector<std::string> kLevels = {"Sekolah Dasar / Sederajat",
                                                     "Sekolah Menengah Pertama / Sederajat",
                                                     "Sekolah Menengah Atas / Sederajat ",
                                                     "Diploma 1 ",
                                                     "Diploma 2",
                                                     "Diploma 3",
                                                     "Diploma 4",
                                                     "Politeknik",
                                                     "Strata 1 ",
                                                     "Strata 2",
                                                     "Strata 3"};
    return kLevels;
}

const std::vector<std::string> &Catalogue::identityTypes()
{
    static const std::vector<std::string> kTypes = {"KTP", "SIM", "Kartu Pelajar", "Lainnya"};
    return kTypes;
}

// Region names are invented from common place-name parts, a few with accented letters; each parent's children get
// distinct names, listed in no particular order.
void Catalogue::seedRegions()
{
    static const std::vector<std::string> kFirst = {"Karang", "Tanjung", "Sungai", "Teluk",  "Batu",
                                                    "Pasir",  "Rawa",    "Bukit",  "Padang", "Suka",
                                                    "Tebing", "Lubuk",   "Muara",  "Talang"};
    static const std::vector<std::string> kSecond = {"Jaya",   "Indah",   "Makmur", "Baru",   "Raya",    "Sari",
                                                     "Mulya",  "Harapan", "Asri",   "Permai", "Lestari", "Damai",
                                                     "Tengah", "Hilir",   "Hulu",   "Rejo",   "Agung",   "Kencana",
                                                     "Séndang", "Pérak",  "Ëlok"};
    const std::vector<std::pair<std::string, std::string>> provinces = {
        {"71", "Telmarin Raya"}, {"72", "Sarindu Barat"}, {"73", "Lumira Selatan"}, {"74", "Kepulauan Bentala"},
        {"75", "Éndah Raya"}};
    auto add = [this](const std::string &parent, const std::string &id, const std::string &name) {
        m_regionsByParent[parent].push_back({id, name});
        m_regionById[id] = {id, name};
        m_parentOf[id] = parent;
    };
    auto distinctNames = [](Rng &rng, int count, const std::string &prefix) {
        std::vector<std::string> names;
        std::set<std::string> seen;
        while (int(names.size()) < count) {
            const std::string name = prefix + rng.pick(kFirst) + ' ' + rng.pick(kSecond);
            if (seen.insert(name).second)
                names.push_back(name);
        }
        return names;
    };
    for (const auto &[provinceId, provinceName] : provinces) {
        add("", provinceId, provinceName);
        Rng rng(seedOf("region" + provinceId));
        const std::vector<std::string> cities = distinctNames(rng, 3, "");
        for (int c = 0; c < 3; ++c) {
            char cityId[16];
            std::snprintf(cityId, sizeof(cityId), "%s%02d", provinceId.c_str(), c + 1);
            add(provinceId, cityId, (c == 0 ? "Kota " : "Kabupaten ") + cities[size_t(c)]);
            const std::vector<std::string> districts = distinctNames(rng, 3, "");
            for (int d = 0; d < 3; ++d) {
                char districtId[16];
                std::snprintf(districtId, sizeof(districtId), "%s%02d", cityId, d + 1);
                add(cityId, districtId, districts[size_t(d)]);
                const std::vector<std::string> villages = distinctNames(rng, 4, "");
                for (int v = 0; v < 4; ++v) {
                    char villageId[24];
                    std::snprintf(villageId, sizeof(villageId), "%s%04d", districtId, v + 1);
                    add(districtId, villageId, villages[size_t(v)]);
                }
            }
        }
    }
}

namespace {

bool isCorporate(const std::string &name)
{
    for (const char *prefix : {"Tim ", "Dinas ", "Bappeda "})
        if (name.rfind(prefix, 0) == 0)
            return true;
    return false;
}

// Splits "Prof. Dr. Anak Agung Surya" into given names and surname, dropping academic titles.
std::pair<std::vector<std::string>, std::string> nameParts(const std::string &name)
{
    std::vector<std::string> words;
    size_t pos = 0;
    while (pos < name.size()) {
        size_t end = name.find(' ', pos);
        if (end == std::string::npos)
            end = name.size();
        const std::string word = name.substr(pos, end - pos);
        if (!word.empty() && word.back() != '.')
            words.push_back(word);
        pos = end + 1;
    }
    if (words.empty())
        return {{}, name};
    const std::string surname = words.back();
    words.pop_back();
    return {words, surname};
}

} // namespace

// The six ready-made bibliography entries; styles the library has not prepared read "N/A".
void fillCitations(Book &b, int serial)
{
    const bool corporate = isCorporate(b.penulis);
    const auto [given, surname] = nameParts(b.penulis);
    std::string givenText, initials;
    for (const std::string &g : given) {
        // Appended piece by piece: GCC's -O3 warns falsely (-Wrestrict) about "..." + std::string temporaries.
        if (!givenText.empty())
            givenText += ' ';
        givenText += g;
        if (!initials.empty())
            initials += ' ';
        initials += g.substr(0, 1);
        initials += '.';
    }
    const std::string inverted = corporate ? b.penulis : surname + (givenText.empty() ? "" : ", " + givenText);
    const std::string shortInverted = corporate ? b.penulis : surname + (initials.empty() ? "" : ", " + initials);
    const std::string direct = corporate ? b.penulis : (initials.empty() ? "" : initials + " ") + surname;
    const std::string title = "<i>" + b.judul + "</i>";

    b.mla = inverted + ". " + title + ". " + b.penerbit + ", " + b.tahun + ".";
    b.chicago = inverted + ". " + title + ". " + b.kotaTerbit + ": " + b.penerbit + ", " + b.tahun + ".";
    b.turabian = inverted + ". " + b.tahun + ". " + title + ". " + b.kotaTerbit + ": " + b.penerbit + ".";
    b.apa = shortInverted + " (" + b.tahun + "). " + title + ". " + b.penerbit + ".";
    b.harvard = shortInverted + " (" + b.tahun + ") " + title + ". " + b.kotaTerbit + ": " + b.penerbit + ".";
    b.ieee = direct + ", " + title + ". " + b.kotaTerbit + ": " + b.penerbit + ", " + b.tahun + ".";

    if (serial % 6 == 0)
        b.apa = "N/A";
    if (serial % 9 == 0)
        b.ieee = "N/A";
    if (serial % 10 == 0)
        b.turabian = b.harvard = "N/A";
    if (b.deptId == "4")
        b.chicago = b.turabian = b.apa = b.harvard = b.ieee = "N/A";
}

// A synopsis in the service's mark-up: paragraphs, emphasis, sometimes a list, typographic quotation marks.
std::string composeSynopsis(const Book &b, int serial)
{
    Rng rng(seedOf("sinopsis|" + b.id));
    const std::vector<std::string> words = topicWordsOf(b.topic);
    std::string s = "<p><b>" + b.judul + "</b> mengajak pembaca menelusuri " + b.topic + ". " +
                    composeSentence(rng, words) + "</p>";
    s += "<p>" + composeSentence(rng, words) + " \u201C" + composeSentence(rng, words) + "\u201D tulis " + b.penulis +
         " dalam pengantarnya.</p>";
    if (serial % 3 == 0) {
        s += "<p>Di dalam buku ini:</p><ul>";
        for (int i = 0; i < 3; ++i)
            s += "<li>" + composeSentence(rng, words) + "</li>";
        s += "</ul>";
    }
    if (serial % 4 == 1)
        s += "<p><i>Cocok untuk pembaca umum, pelajar, dan pegiat literasi daerah.</i></p>";
    return s;
}

std::string isbnFor(int publisherCode, int serial)
{
    char digits[16];
    std::snprintf(digits, sizeof(digits), "978623%03d%03d", publisherCode, serial);
    int sum = 0;
    for (int i = 0; i < 12; ++i)
        sum += (digits[i] - '0') * (i % 2 ? 3 : 1);
    const int check = (10 - sum % 10) % 10;
    char isbn[24];
    std::snprintf(isbn, sizeof(isbn), "978-623-%03d-%03d-%d", publisherCode, serial, check);
    return isbn;
}

} // namespace demo
