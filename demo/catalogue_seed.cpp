// The seed of the demo catalogue: every title, author, publisher and place in it is invented.
#include "demo/catalogue.h"

#include "demo/catalogue_build.h"

#include <algorithm>
#include <cstdio>

namespace demo {

namespace {

struct PublisherRow
{
    const char *name;
    const char *city;
    int code;
};

const PublisherRow kPublishers[] = {
    {"Pustaka Sarindu", "Sarindu", 101},
    {"Penerbit Angin Selatan", "Kota Lumira", 102},
    {"Cahaya Lumira Press", "Kota Lumira", 103},
    {"Penerbit Rumah Aksara", "Bentala", 104},
    {"Penerbit Tani Makmur", "Telmarin", 105},
    {"Penerbit Hijau Lestari", "Sarindu", 106},
    {"Penerbit Kencana Mitra", "Kota Lumira", 107},
    {"Penerbit Sehat Sentosa", "Telmarin", 108},
    {"Penerbit Karya Teknika", "Bentala", 109},
    {"Penerbit Pelangi Kecil", "Telmarin", 110},
    {"Dinas Perpustakaan dan Kearsipan Telmarin", "Telmarin", 111},
    {"Bappeda Kabupaten Telmarin", "Telmarin", 112},
};

struct BookRow
{
    const char *judul;
    const char *penulis;
    int publisher; // index into kPublishers
    const char *tahun;
    const char *subId;
    int pages, romawi, qty, held, rate, popularity;
    const char *topic;
};

// pages counts every page of the file; romawi of them are front matter. Book 1034 is the long one.
const BookRow kBooks[] = {
    {"Sejarah Kota Telmarin dari Masa ke Masa", "Hendra Wiranegara", 0, "2018", "1011", 212, 4, 3, 1, 5, 41,
     "sejarah panjang kota pelabuhan di pesisir utara Telmarin"},
    {"Jejak Pelabuhan Tua Lumira", "Sri Rahayu Kusumawardani", 1, "2016", "1011", 148, 4, 2, 0, 4, 22,
     "jejak para pedagang dan pelaut di pelabuhan tua"},
    {"Upacara Adat Panen di Lembah Sarindu", "Yohanes Dagur Lembang", 2, "2019", "1012", 96, 0, 2, 0, 4, 15,
     "upacara syukur panen dan nyanyian para petani lembah"},
    {"Tenun & Songket Pesisir Lumira", "Ni Made Sukmawati Dewi", 0, "2020", "1012", 132, 4, 3, 0, 5, 30,
     "motif tenunan, pewarna alami, dan para penenun perempuan"},
    {"Tari Topeng Kampung Bentala", "Agus Pranoto Wijaya", 1, "2015", "1013", 64, 0, 1, 0, 3, 8,
     "gerak tarian topeng dan iringan gamelan kampung"},
    {"Kisah Jum'at Pagi di Pasar Lama", "Dewi Kartikasari", 3, "2021", "1021", 236, 4, 4, 1, 4, 37,
     "persahabatan para pedagang kecil di sebuah pasar tradisional"},
    {"Senja di Dermaga Batu Hitam", "Arif Setiabudi Rahman", 3, "2017", "1021", 318, 4, 3, 3, 5, 55,
     "kerinduan seorang nelayan muda pada kampung halamannya"},
    {"Caf\u00E9 di Ujung Jalan Kenanga", "Lestari Handayani", 2, "2022", "1021", 284, 0, 2, 0, 4, 26,
     "mimpi tiga sahabat membuka kedai kopi di kota kecil"},
    {"Hujan Bulan Kemarau", "Taufik Hidayatullah", 0, "2014", "1022", 72, 4, 2, 0, 4, 12,
     "sajak tentang musim, sawah, dan kenangan masa kecil"},
    {"Sajak-Sajak dari Pematang", "Rini Anggraeni Putri", 3, "2018", "1022", 56, 0, 1, 0, 3, 6,
     "puisi tentang pematang sawah dan kehidupan petani"},
    {"Legenda Putri Danau Biru", "Komang Adi Suarjana", 2, "2013", "1023", 48, 0, 3, 0, 4, 19,
     "legenda seorang putri dan asal-usul danau di pegunungan"},
    {"Cerita Rakyat Tanah Telmarin", "Maria Goreti Sinaga", 0, "2016", "1023", 164, 4, 2, 0, 5, 33,
     "kumpulan cerita rakyat yang dituturkan para tetua kampung"},
    {"Panduan Budidaya Kopi Arabika di Dataran Tinggi", "Ir. Bambang Sulistyo Hadi", 4, "2019", "1031", 188, 4, 3, 0, 4,
     28, "pembibitan, pemangkasan, dan panen kopi arabika"},
    {"Kebun Kakao untuk Pemula", "Suryani Ratnaningsih", 4, "2020", "1031", 120, 0, 2, 0, 3, 11,
     "menanam dan merawat pohon kakao di pekarangan"},
    {"Budidaya Ikan Nila di Kolam Terpal", "Rudi Hartono Siregar", 4, "2021", "1032", 88, 0, 2, 1, 4, 17,
     "kolam terpal, pakan ikan, dan pemasaran hasil panen nila"},
    {"Nelayan dan Laut yang Berubah", "Fransiska Wulandari", 1, "2018", "1032", 204, 4, 1, 0, 4, 9,
     "perubahan musim ikan dan kehidupan keluarga nelayan"},
    {"Menjaga Hutan Bakau Pesisir Timur", "Dr. Rahmat Syafii Nasution", 5, "2017", "1033", 176, 4, 2, 0, 5, 21,
     "pelestarian hutan bakau dan perlindungan pantai"},
    {"Sampah Jadi Berkah: Bank Sampah Desa", "Ayu Lestiani", 5, "2022", "1033", 68, 0, 3, 0, 4, 14,
     "pengelolaan sampah rumah tangga melalui bank sampah"},
    {"Koperasi Desa yang Mandiri", "Drs. Slamet Riyadi Purnomo", 6, "2015", "1041", 156, 4, 2, 0, 3, 10,
     "pengelolaan koperasi simpan pinjam milik warga desa"},
    {"Memulai Usaha Kecil dari Dapur Rumah", "Nurhayati Saleh", 6, "2021", "1042", 112, 0, 4, 0, 4, 35,
     "usaha makanan rumahan dari modal kecil"},
    {"Pemasaran Produk UMKM Lewat Daring", "Kevin Hadiprasetyo", 6, "2023", "1042", 144, 4, 3, 0, 4, 29,
     "pemasaran produk usaha kecil melalui toko daring"},
    {"Mengatur Keuangan Keluarga Muda", "Siti Aminah Hasibuan", 3, "2020", "1043", 128, 0, 3, 0, 5, 40,
     "anggaran rumah tangga, tabungan, dan dana darurat keluarga"},
    {"Hidup Sehat dengan Tanaman Obat Keluarga", "dr. Wahyuni Pertiwi", 7, "2018", "1051", 160, 4, 2, 0, 4, 24,
     "tanaman obat keluarga dan ramuan tradisional"},
    {"Gizi Seimbang untuk Balita", "dr. Andreas Mulyadi", 7, "2019", "1051", 84, 0, 2, 2, 4, 18,
     "menu bergizi dan kebiasaan makan sehat untuk balita"},
    {"Teknologi Tepat Guna untuk Desa", "Ir. Joko Santoso Widodo", 8, "2016", "1052", 196, 4, 1, 0, 3, 7,
     "alat sederhana untuk pengairan, pengeringan, dan pengolahan hasil panen"},
    {"Merakit Panel Surya Sederhana", "Yusuf Maulana Akbar", 8, "2022", "1052", 100, 0, 2, 0, 4, 13,
     "merakit panel surya untuk penerangan rumah di desa"},
    {"Resep Warisan Dapur Telmarin", "Martha Simanjuntak", 2, "2017", "1053", 140, 4, 3, 0, 5, 44,
     "resep masakan warisan keluarga dari dapur Telmarin"},
    {"Kue Tradisional Nusantara", "Ratih Purwaningrum", 3, "2019", "1053", 92, 0, 2, 0, 4, 20,
     "kue tradisional dari tepung beras, kelapa, dan gula aren"},
    {"Kancil dan Buaya Sungai Lumira", "Tim Pustaka Anak Sarindu", 0, "2020", "2011", 24, 0, 4, 0, 5, 31,
     "kecerdikan seekor kancil menyeberangi sungai"},
    {"Si Kura-Kura yang Sabar", "Dian Paramitha", 9, "2021", "2011", 20, 0, 3, 0, 4, 16,
     "kesabaran seekor kura-kura dan teman-temannya di hutan"},
    {"Asal-Usul Gunung Sarindu", "Paulus Tandirerung", 9, "2018", "2012", 32, 0, 2, 0, 4, 12,
     "legenda terbentuknya gunung dan sungai di tanah Sarindu"},
    {"Mengenal Serangga di Halaman Rumah", "Intan Permatasari", 9, "2022", "2021", 40, 0, 3, 0, 5, 15,
     "kupu-kupu, semut, dan capung di halaman rumah"},
    {"Percobaan Seru dengan Air dan Udara", "Bima Saputra", 9, "2023", "2022", 44, 0, 2, 0, 4, 10,
     "percobaan sederhana tentang air, udara, dan tekanan"},
    {"Ensiklopedia Budaya Telmarin", "Tim Penyusun Dinas Kebudayaan Telmarin", 0, "2020", "3011", 1000, 4, 1, 0, 5, 5,
     "bahasa, kesenian, upacara, rumah adat, dan kuliner Telmarin"},
    {"Ragam Rumah Adat Nusantara", "Gede Wirawan Putra", 1, "2015", "3011", 248, 4, 1, 0, 4, 8,
     "bentuk, bahan, dan makna rumah adat di berbagai daerah"},
    {"Kamus Bahasa Daerah Telmarin\u2013Indonesia", "Tim Balai Bahasa Telmarin", 0, "2012", "3021", 392, 4, 2, 0, 4, 6,
     "kosakata bahasa daerah Telmarin beserta padanannya"},
    {"Kamus Istilah Pertanian", "Ir. Hasan Basri Lubis", 4, "2014", "3021", 216, 0, 1, 0, 3, 4,
     "istilah pertanian, perkebunan, dan pengolahan tanah"},
    {"Laporan Tahunan Perpustakaan Daerah Telmarin 2022", "Dinas Perpustakaan dan Kearsipan Telmarin", 10, "2023",
     "4011", 60, 4, 1, 0, 0, 2, "kegiatan layanan perpustakaan dan gerakan literasi sepanjang tahun"},
    {"Profil Desa Wisata Telmarin", "Bappeda Kabupaten Telmarin", 11, "2021", "4011", 76, 0, 1, 0, 3, 3,
     "potensi desa wisata, kerajinan, dan kuliner setempat"},
    {"Mengenal Aksara Kuno Telmarin", "Prof. Dr. Anak Agung Ngurah Surya", 1, "2019", "1011", 400, 4, 2, 0, 5, 23,
     "aksara kuno pada prasasti dan naskah lontar"},
};

struct SectionRow
{
    const char *title;
    std::vector<std::string> prefixes; // sub-category id prefixes; empty takes the whole catalogue
    enum class Order { Shuffle, Newest, Popular } order = Order::Shuffle;
};

const std::vector<SectionRow> &sectionRows()
{
    using O = SectionRow::Order;
    static const std::vector<SectionRow> kRows = {
        {"Rekomendasi Pustakawan", {}},
        {"Buku Terbaru", {}, O::Newest},
        {"Paling Banyak Dipinjam", {}, O::Popular},
        {"Sastra Pilihan", {"102"}},
        {"Bacaan Anak", {"2"}},
        {"Warisan Budaya Telmarin", {"101", "3011"}},
        {"Bertani dan Berkebun", {"103"}},
        {"Usaha & Ekonomi Keluarga", {"104"}},
        {"Hidup Sehat", {"1051", "1053"}},
        {"Lingkungan Lestari", {"1033", "1032"}},
        {"Referensi Penting", {"3"}},
        {"Cerita dari Pesisir", {"1011", "1021", "1032"}},
        {"Dapur Nusantara", {"1053", "1042"}},
        {"Untuk Pelajar", {"202", "3021", "1052"}},
        {"Bacaan Akhir Pekan", {"102", "1053"}},
        {"Koleksi Lokal Unggulan", {"1011", "1012", "1023"}},
        {"Sejarah & Tradisi", {"1011", "1012", "1013"}},
        {"Inspirasi Wirausaha", {"104", "1053"}},
        {"Sains Itu Seru", {"202", "1052"}},
        {"Puisi & Prosa", {"1022", "1021"}},
        {"Teknologi untuk Desa", {"1052", "1041", "1033"}},
        {"Dongeng Sebelum Tidur", {"201", "1023"}},
        {"Pilihan Editor", {}},
        {"Karya Penulis Daerah", {"10"}},
        {"Terbitan Pemerintah Daerah", {"4", "3011"}},
    };
    return kRows;
}

} // namespace

void Catalogue::seedDepartments()
{
    m_departments = {
        {"1",
         "BUKU UMUM",
         {{"101",
           "Sejarah & Budaya",
           {{"1011", "Sejarah Lokal"}, {"1012", "Adat dan Tradisi"}, {"1013", "Seni Pertunjukan"}}},
          {"102", "Sastra", {{"1021", "Novel"}, {"1022", "Puisi"}, {"1023", "Cerita Rakyat"}}},
          {"103",
           "Pertanian dan Lingkungan",
           {{"1031", "Perkebunan"}, {"1032", "Perikanan"}, {"1033", "Lingkungan Hidup"}}},
          {"104", "Ekonomi dan Usaha", {{"1041", "Koperasi"}, {"1042", "Usaha Kecil"}, {"1043", "Keuangan Keluarga"}}},
          {"105",
           "Ilmu Terapan",
           {{"1051", "Kesehatan"}, {"1052", "Teknologi Tepat Guna"}, {"1053", "Kuliner Nusantara"}}}}},
        {"2",
         "BUKU ANAK",
         {{"201", "Dongeng", {{"2011", "Fabel"}, {"2012", "Legenda"}}},
          {"202", "Sains untuk Anak", {{"2021", "Alam Sekitar"}, {"2022", "Percobaan Sederhana"}}}}},
        {"3",
         "REFERENSI",
         {{"301", "Ensiklopedia", {{"3011", "Budaya Daerah"}}}, {"302", "Kamus", {{"3021", "Bahasa & Istilah"}}}}},
        {"4", "BUKU NON KOLEKSI", {{"401", "Terbitan Pemerintah Daerah", {{"4011", "Laporan dan Profil Daerah"}}}}},
        {"5", "KOLEKSI LOKAL", {}},
        {"6", "RENCANA PENGADAAN", {{"601", "Usulan Pembaca", {{"6011", "Usulan Judul Baru"}}}}},
    };
}

void Catalogue::seedBooks()
{
    int serial = 0;
    for (const BookRow &row : kBooks) {
        ++serial;
        Book b;
        b.id = std::to_string(1000 + serial);
        char kode[16];
        std::snprintf(kode, sizeof(kode), "TLM-%04d", serial);
        b.kode = kode;
        b.judul = row.judul;
        b.penulis = row.penulis;
        b.penerbit = kPublishers[row.publisher].name;
        b.kotaTerbit = kPublishers[row.publisher].city;
        b.tahun = row.tahun;
        b.isbn = b.penerbit.rfind("Dinas ", 0) == 0 ? "-" : isbnFor(kPublishers[row.publisher].code, serial);
        b.topic = row.topic;
        b.subId = row.subId;
        b.pages = row.pages;
        b.romawi = row.romawi;
        b.qty = row.qty;
        b.heldElsewhere = row.held;
        b.rate = row.rate;
        b.popularity = row.popularity;
        for (const Department &d : m_departments)
            for (const Category &c : d.categories)
                for (const SubCategory &s : c.subs)
                    if (s.id == b.subId) {
                        b.deptId = d.id;
                        b.deptName = d.name;
                        b.categoryId = c.id;
                        b.categoryName = c.name;
                    }
        b.img = "cover_" + b.id + ".jpg";
        char file[48];
        std::snprintf(file, sizeof(file), "lkr_%s_%08llx.pdf", b.id.c_str(),
                      static_cast<unsigned long long>(seedOf(b.id + b.judul) & 0xffffffffull));
        b.namaPcFile = file;
        fillCitations(b, serial);
        b.sinopsis = composeSynopsis(b, serial);
        m_books.push_back(std::move(b));
    }
}

void Catalogue::seedSections()
{
    int index = 0;
    for (const SectionRow &row : sectionRows()) {
        ++index;
        HomeSection section{std::to_string(index), row.title, {}};
        std::vector<const Book *> pool;
        for (const Book &b : m_books) {
            const bool match =
                row.prefixes.empty() || std::any_of(row.prefixes.begin(), row.prefixes.end(),
                                                    [&](const std::string &p) { return b.subId.rfind(p, 0) == 0; });
            if (match)
                pool.push_back(&b);
        }
        Rng rng(seedOf("section|" + section.id));
        if (row.order == SectionRow::Order::Newest)
            std::stable_sort(pool.begin(), pool.end(),
                             [](const Book *a, const Book *b) { return a->tahun > b->tahun; });
        else if (row.order == SectionRow::Order::Popular)
            std::stable_sort(pool.begin(), pool.end(),
                             [](const Book *a, const Book *b) { return a->popularity > b->popularity; });
        else
            for (size_t i = pool.size(); i > 1; --i)
                std::swap(pool[i - 1], pool[size_t(rng.below(int(i)))]);
        const size_t wanted = size_t(rng.between(6, 12));
        for (const Book *b : pool) {
            if (section.bookIds.size() >= wanted)
                break;
            section.bookIds.push_back(b->id);
        }
        // Narrow themes are filled up from the whole catalogue so that every carousel has enough tiles.
        while (section.bookIds.size() < 6) {
            const std::string &id = m_books[size_t(rng.below(int(m_books.size())))].id;
            if (std::find(section.bookIds.begin(), section.bookIds.end(), id) == section.bookIds.end())
                section.bookIds.push_back(id);
        }
        m_sections.push_back(std::move(section));
    }
}

void Catalogue::seedBanners()
{
    using L = Banner::Link;
    m_banners = {
        {"1", "banner_01.jpg", "Selamat datang di e-Lumira Telmarin", L::Absent, ""},
        {"2", "banner_02.jpg", "Pekan Literasi Daerah: membaca bersama keluarga", L::Text, "#"},
        {"3", "banner_03.jpg", "Koleksi baru setiap bulan", L::Text, ""},
        {"4", "banner_04.jpg", "Agenda kegiatan perpustakaan", L::Text, "https://perpustakaan.telmarin.example/agenda"},
        {"5", "banner_05.jpg", "Pinjam hingga tiga buku sekaligus", L::Null, ""},
    };
}

void Catalogue::seedPartner()
{
    Partner &p = m_partner;
    p.nama = "Perpustakaan Digital Daerah Telmarin";
    p.alamat = "Jl. Pustaka Raya No. 12, Kota Lumira";
    p.warnaHeader = "#0B4F6C";
    p.warnaButtonLogin = "#1B998B";
    p.warnaHoverButtonLogin = "#157A6E";
    p.warnaHoverBaca = "#E36414";
    p.logo = "logo_header.png";
    p.logoLogin = "logo_login.png";
    p.introPicture = "intro.jpg";
    p.keteranganIntro =
        "<h4>Selamat datang di e-Lumira Telmarin</h4><p>Perpustakaan digital ini dibuka untuk seluruh anggota "
        "perpustakaan daerah. Anda dapat meminjam hingga <b>tiga buku</b> sekaligus, membacanya kapan saja, dan "
        "mengembalikannya ke rak ketika selesai.</p><p>\u201CMembaca adalah jendela dunia.\u201D Selamat membaca!</p>";
    p.daftarPekerjaan = "Pelajar;Mahasiswa;Pegawai Negeri Sipil;TNI/Polri;Pegawai Swasta;Wiraswasta;Petani;Nelayan;"
                        "Guru/Dosen;Ibu Rumah Tangga;Lainnya";
}

void Catalogue::seedMembers()
{
    SeedMember sekar;
    sekar.id = "1001";
    sekar.email = "sekar.ayuningtyas@telmarin.example";
    sekar.password = "Baca2024";
    sekar.nama = "Sekar Ayuningtyas";
    sekar.level = "1";
    sekar.tglBerakhir = "2026-12-31";
    sekar.readBookIds = {"1027", "1007", "1012"};
    sekar.viewedBookIds = {"1034", "1004", "1027", "1007", "1012"};
    sekar.lastPages = {{"1012", 17}, {"1007", 42}};
    sekar.annotations = {
        {"1012",
         R"({"id_konten":"1012","data":[{"page":5,"type":"RECTANGLE","color":255,"point":{"left":60.5,"top":420.25,)"
         R"("right":300.75,"bottom":380.5}},{"page":6,"type":"NOTES","note_id":"","color":374470,"font":"DejaVu Sans",)"
         R"("size":10,"font_color":0,"date":"12/03/2024","text":"Bandingkan dengan cerita di bab berikutnya.",)"
         R"("point":{"left":50,"top":500,"right":87.5,"bottom":462.5}}]})"}};

    SeedMember bima;
    bima.id = "1002";
    bima.email = "bima.pratama@telmarin.example";
    bima.password = "Pustaka88";
    bima.nama = "Bima Ardiansyah Pratama";
    bima.level = "1";
    bima.tglBerakhir = "2027-03-31";

    m_members = {sekar, bima};
}

} // namespace demo
