// The demo library's seeded catalogue: departments, books, banners, home sections, the partner's look, the region
// directory and the seeded members. The same at every start; nothing in it changes while the service runs.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace demo {

// A small deterministic generator (SplitMix64), so that every start builds the same catalogue and the same books.
class Rng
{
public:
    explicit Rng(uint64_t seed) : m_state(seed) {}
    uint64_t next();
    int below(int n); // 0 .. n-1
    int between(int lo, int hi) { return lo + below(hi - lo + 1); }
    bool chance(int percent) { return below(100) < percent; }
    template <typename T> const T &pick(const std::vector<T> &items) { return items[below(int(items.size()))]; }

private:
    uint64_t m_state;
};

uint64_t seedOf(std::string_view text);

struct SubCategory
{
    std::string id;
    std::string name;
};

struct Category
{
    std::string id;
    std::string name;
    std::vector<SubCategory> subs;
};

struct Department
{
    std::string id;
    std::string name;
    std::vector<Category> categories;
};

struct Book
{
    std::string id;
    std::string kode;
    std::string judul;
    std::string penulis;
    std::string penerbit;
    std::string kotaTerbit;
    std::string tahun;
    std::string isbn;
    std::string topic; // a phrase naming what the book is about, used for its synopsis and its pages
    std::string deptId, categoryId, subId;
    std::string deptName, categoryName;
    std::string sinopsis;  // mark-up
    int pages = 0;         // every page of the file, front matter included
    int romawi = 0;        // front-matter pages numbered in Roman numerals
    int qty = 0;           // copies owned
    int heldElsewhere = 0; // copies lent to readers outside the demo
    int rate = 0;
    int popularity = 0;     // loans before the service started, for the most-read chart
    std::string img;        // cover picture file name
    std::string namaPcFile; // book file name
    std::string mla, chicago, turabian, apa, harvard, ieee;
};

struct Banner
{
    std::string id;
    std::string img;
    std::string caption; // the text painted on the picture
    enum class Link { Absent, Null, Text } link = Link::Absent;
    std::string url;
};

struct HomeSection
{
    std::string id;
    std::string title;
    std::vector<std::string> bookIds;
};

struct Region
{
    std::string id;
    std::string name;
};

struct SeedMember
{
    std::string id, email, password, nama, level, tglBerakhir;
    std::vector<std::string> readBookIds;           // earlier loans, oldest first
    std::vector<std::string> viewedBookIds;         // earlier detail views, oldest first
    std::map<std::string, int> lastPages;           // book id to the page index stored at the last return
    std::map<std::string, std::string> annotations; // book id to a saved annotation document
};

struct Partner
{
    std::string id = "395";
    std::string nama, alamat, warnaHeader, warnaButtonLogin, warnaHoverButtonLogin, warnaHoverBaca;
    std::string logo, logoLogin, introPicture, keteranganIntro, daftarPekerjaan;
};

class Catalogue
{
public:
    Catalogue(); // builds the seeded catalogue

    const std::vector<Book> &books() const { return m_books; }
    const Book *book(std::string_view id) const;
    const Book *bookByFile(std::string_view namaPcFile) const;
    const Book *bookByCover(std::string_view img) const;

    const std::vector<Department> &departments() const { return m_departments; }
    const std::vector<Banner> &banners() const { return m_banners; }
    const std::vector<HomeSection> &sections() const { return m_sections; }
    const HomeSection *section(std::string_view id) const;
    const Partner &partner() const { return m_partner; }
    const std::vector<SeedMember> &members() const { return m_members; }

    // The regions below a parent: "" for the provinces, then a province, city or district id.
    const std::vector<Region> &regions(const std::string &parentId) const;
    const Region *region(const std::string &id) const;
    std::string parentOf(const std::string &regionId) const;
    static const std::vector<std::string> &educationLevels();
    static const std::vector<std::string> &identityTypes();

private:
    void seedDepartments();
    void seedBooks();
    void seedSections();
    void seedBanners();
    void seedPartner();
    void seedRegions();
    void seedMembers();

    std::vector<Department> m_departments;
    std::vector<Book> m_books;
    std::vector<HomeSection> m_sections;
    std::vector<Banner> m_banners;
    Partner m_partner;
    std::vector<SeedMember> m_members;
    std::map<std::string, std::vector<Region>> m_regionsByParent;
    std::map<std::string, std::string> m_parentOf;
    std::map<std::string, Region> m_regionById;
};

} // namespace demo
