// Composing the demo books page by page from invented Indonesian running text.
#include "demo/book_text.h"

#include <algorithm>

namespace demo {

namespace {

using Words = std::vector<std::string>;

const Words kSubjects = {
    "Masyarakat pesisir",  "Para petani",       "Pemerintah desa",         "Anak-anak kampung",
    "Seorang penenun tua", "Warga kampung",     "Para pustakawan",         "Para pedagang pasar",
    "Kaum muda",           "Para nelayan",      "Sang kepala desa",        "Keluarga kecil itu",
    "Para peneliti",       "Guru-guru sekolah", "Kelompok tani",           "Para perajin",
    "Para tetua adat",     "Penulis buku ini",  "Pengunjung perpustakaan", "Para penjaga arsip",
};
const Words kVerbs = {
    "menjaga",        "membangun",    "mencatat",
    "merawat",        "mengajarkan",  "menceritakan",
    "memperkenalkan", "mempelajari",  "menghidupkan kembali",
    "menanam",        "mengolah",     "membicarakan",
    "menelusuri",     "mewariskan",   "memperbaiki",
    "merayakan",      "mengumpulkan", "menimbang",
    "membagikan",     "memetakan",
};
const Words kObjects = {
    "tradisi lisan",   "hutan bakau",    "kebun kopi",    "naskah kuno",   "pasar terapung",
    "lumbung padi",    "perahu kayu",    "kain tenun",    "resep warisan", "lagu daerah",
    "rumah panggung",  "sumur tua",      "jalan setapak", "ladang jagung", "kolam ikan",
    "balai pertemuan", "catatan harian", "peta lama",     "benih unggul",  "kerajinan bambu",
    "aksara kuno",     "cerita rakyat",  "hasil panen",   "arsip desa",    "irama gendang",
};
const Words kTails = {
    "sejak zaman dahulu",
    "dengan penuh kesabaran",
    "di tepi sungai",
    "pada musim hujan",
    "untuk generasi berikutnya",
    "bersama para tetangga",
    "tanpa banyak bicara",
    "di bawah pohon beringin",
    "setiap pagi",
    "menjelang musim panen",
    "di balai desa",
    "dari tahun ke tahun",
    "dengan cara yang sederhana",
    "meskipun cuaca tidak menentu",
    "sebelum matahari terbenam",
};
const Words kConnectors = {
    "Selain itu,",    "Namun,",           "Oleh karena itu,",   "Pada akhirnya,",          "Menurut catatan lama,",
    "Sementara itu,", "Dengan demikian,", "Bagaimanapun juga,", "Tidak mengherankan jika", "Sejak saat itu,",
    "Di sisi lain,",  "Karena itu pula,",
};
const Words kSpeakers = {
    "seorang tetua", "kepala desa",     "ibu penjual sayur",   "seorang nelayan",
    "guru muda itu", "pustakawan desa", "seorang petani kopi", "nenek penenun",
};
const Words kPlaces = {
    "di tepi sungai",     "di pasar pagi", "di kaki bukit",    "di dermaga",
    "di halaman sekolah", "di balai desa", "di ujung kampung", "di pematang sawah",
};
// Words of the topic phrases that do not stand as a topic on their own.
const Words kNotTopics = {
    "panjang", "berbagai",     "bergizi",   "dituturkan",   "halamannya",  "melalui",   "membuka",
    "menanam", "menyeberangi", "merakit",   "merawat",      "sebuah",      "sederhana", "seekor",
    "seorang", "sepanjang",    "setempat",  "tentang",      "tradisional", "tangga",    "rumahan",
    "pinjam",  "simpan",       "perempuan", "terbentuknya", "kumpulan",
};
const Words kTopicFrames = {"kisah tentang ", "sejarah ", "catatan mengenai ", "", "seluk-beluk ", "peran "};
const Words kChapterTitles = {
    "Awal Mula",           "Jejak Para Leluhur",     "Kehidupan Sehari-hari",
    "Masa Perubahan",      "Tantangan Baru",         "Belajar dari Alam",
    "Menatap Masa Depan",  "Catatan Lapangan",       "Kisah-Kisah Kecil",
    "Warisan yang Dijaga", "Kerja Bersama",          "Pasar dan Pelabuhan",
    "Musim Berganti",      "Suara dari Kampung",     "Jalan Panjang",
    "Di Antara Dua Zaman", "Tangan-Tangan Terampil", "Rumah dan Halaman",
};

std::string lowerFirst(std::string s)
{
    if (!s.empty() && s[0] >= 'A' && s[0] <= 'Z')
        s[0] = char(s[0] - 'A' + 'a');
    return s;
}

std::string upperFirst(std::string s)
{
    if (!s.empty() && s[0] >= 'a' && s[0] <= 'z')
        s[0] = char(s[0] - 'a' + 'A');
    return s;
}

int codepoints(std::string_view s)
{
    return int(
        std::count_if(s.begin(), s.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::string objectPhrase(Rng &rng, const Words &topicWords)
{
    if (!topicWords.empty() && rng.chance(35))
        return rng.pick(kTopicFrames) + rng.pick(topicWords);
    return rng.pick(kObjects);
}

std::string paragraph(Rng &rng, const Words &topicWords)
{
    std::string text;
    const int count = rng.between(3, 6);
    for (int i = 0; i < count; ++i) {
        if (i)
            text += ' ';
        text += composeSentence(rng, topicWords);
    }
    return text;
}

std::string joinLines(const std::string &heading, const std::vector<std::string> &lines)
{
    std::string text = heading;
    for (const std::string &line : lines) {
        if (line.empty())
            continue;
        if (!text.empty())
            text += ' ';
        text += line;
    }
    return text;
}

std::string leaderLine(const std::string &left, const std::string &right)
{
    const int dots = std::max(3, kLineWidth - codepoints(left) - codepoints(right) - 2);
    return left + ' ' + std::string(size_t(dots), '.') + ' ' + right;
}

struct Chapter
{
    int first = 0;
    int count = 0;
    std::string heading;
};

} // namespace

std::string composeSentence(Rng &rng, const Words &topicWords)
{
    switch (rng.below(12)) {
    case 0:
    case 1:
    case 2:
        return rng.pick(kSubjects) + ' ' + rng.pick(kVerbs) + ' ' + objectPhrase(rng, topicWords) + ' ' +
               rng.pick(kTails) + '.';
    case 3:
    case 4:
    case 5:
        return rng.pick(kConnectors) + ' ' + lowerFirst(rng.pick(kSubjects)) + ' ' + rng.pick(kVerbs) + ' ' +
               objectPhrase(rng, topicWords) + ' ' + rng.pick(kTails) + '.';
    case 6:
        return "\u201CKita harus " + rng.pick(kVerbs) + ' ' + objectPhrase(rng, topicWords) + ' ' + rng.pick(kTails) +
               ",\u201D ujar " + rng.pick(kSpeakers) + '.';
    case 7:
        return "Orang-orang menyebutnya \u2018" + rng.pick(kObjects) + "\u2019 " + rng.pick(kTails) + '.';
    case 8:
        return upperFirst(rng.pick(kPlaces)) + ", " + lowerFirst(rng.pick(kSubjects)) + ' ' + rng.pick(kVerbs) + ' ' +
               objectPhrase(rng, topicWords) + '.';
    case 9:
        switch (rng.below(8)) {
        case 0:
            return "Di sebuah caf\u00E9 kecil dekat pasar, para pemuda berbincang tentang " +
                   objectPhrase(rng, topicWords) + '.';
        case 1:
            return "Gaya bangunan art d\u00E9co masih terlihat " + rng.pick(kPlaces) + '.';
        case 2:
            return "Sikap na\u00EFf itu perlahan berubah menjadi keberanian untuk " + rng.pick(kVerbs) + ' ' +
                   rng.pick(kObjects) + '.';
        case 3:
            return "R\u00E9sum\u00E9 perjalanan itu dicatat rapi oleh " + rng.pick(kSpeakers) + '.';
        case 4:
            return "Pertemuan itu terasa seperti d\u00E9j\u00E0 vu bagi " + lowerFirst(rng.pick(kSubjects)) + '.';
        case 5:
            return "Hidangan cr\u00E8me kelapa disajikan bersama " + rng.pick(kObjects) + " dalam perayaan itu.";
        case 6:
            return "Sebuah pi\u00F1ata sederhana digantung " + rng.pick(kPlaces) + " untuk anak-anak.";
        default:
            return "Kata \u2018fa\u00E7ade\u2019 dipakai para arsitek untuk menyebut wajah depan " +
                   rng.pick(kObjects) + '.';
        }
    default:
        return rng.pick(kSubjects) + " tidak hanya " + rng.pick(kVerbs) + ' ' + rng.pick(kObjects) + ", tetapi juga " +
               rng.pick(kVerbs) + ' ' + objectPhrase(rng, topicWords) + '.';
    }
}

std::vector<std::string> topicWordsOf(std::string_view topic)
{
    std::vector<std::string> words;
    size_t pos = 0;
    while (pos < topic.size()) {
        size_t end = topic.find(' ', pos);
        if (end == std::string_view::npos)
            end = topic.size();
        std::string word(topic.substr(pos, end - pos));
        const bool plain = std::all_of(word.begin(), word.end(), [](char c) { return c >= 'a' && c <= 'z'; });
        const bool noun = std::find(kNotTopics.begin(), kNotTopics.end(), word) == kNotTopics.end();
        if (plain && noun && word.size() >= 6 && std::find(words.begin(), words.end(), word) == words.end())
            words.push_back(word);
        pos = end + 1;
    }
    return words;
}

std::string foldCase(std::string_view utf8)
{
    std::string out(utf8);
    for (size_t i = 0; i < out.size(); ++i) {
        const auto c = static_cast<unsigned char>(out[i]);
        if (c >= 'A' && c <= 'Z') {
            out[i] = char(c + 32);
        } else if (c == 0xC3 && i + 1 < out.size()) {
            const auto n = static_cast<unsigned char>(out[i + 1]);
            if (n >= 0x80 && n <= 0x9E && n != 0x97)
                out[i + 1] = char(n + 0x20);
            ++i;
        }
    }
    return out;
}

std::vector<std::string> wrapWords(std::string_view text, int width)
{
    std::vector<std::string> lines;
    std::string line;
    int lineLength = 0;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find(' ', pos);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view word = text.substr(pos, end - pos);
        pos = end + 1;
        if (word.empty())
            continue;
        const int wordLength = codepoints(word);
        if (lineLength > 0 && lineLength + 1 + wordLength > width) {
            lines.push_back(line);
            line.clear();
            lineLength = 0;
        }
        if (lineLength > 0) {
            line += ' ';
            ++lineLength;
        }
        line += word;
        lineLength += wordLength;
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

std::string romanNumeral(int number)
{
    static const std::pair<int, const char *> kSymbols[] = {
        {1000, "M"}, {900, "CM"}, {500, "D"}, {400, "CD"}, {100, "C"}, {90, "XC"}, {50, "L"},
        {40, "XL"},  {10, "X"},   {9, "IX"},  {5, "V"},    {4, "IV"},  {1, "I"}};
    std::string out;
    for (const auto &[value, symbol] : kSymbols) {
        while (number >= value) {
            out += symbol;
            number -= value;
        }
    }
    return out;
}

std::string pageLabel(int index, int romawi)
{
    const int number = index + 1;
    return number <= romawi ? romanNumeral(number) : std::to_string(number - romawi);
}

BookText composeBook(const Book &book)
{
    Rng rng(seedOf(book.id + '|' + book.judul));
    const Words topicWords = topicWordsOf(book.topic);
    BookText out;
    out.pages.resize(size_t(std::max(1, book.pages)));
    const int total = int(out.pages.size());
    for (int i = 0; i < total; ++i)
        out.labels.push_back(pageLabel(i, book.romawi));

    // Chapters over the pages after the front matter (after the title page when there is no front matter).
    const int bodyStart = std::min(total, std::max(1, book.romawi));
    std::vector<Chapter> chapters;
    const bool shortBook = total - bodyStart < 40;
    for (int first = bodyStart; first < total;) {
        int count = shortBook ? rng.between(4, 8) : rng.between(8, 24);
        if (total - (first + count) < 3)
            count = total - first;
        const int number = int(chapters.size()) + 1;
        chapters.push_back({first, count, "Bab " + std::to_string(number) + ": " + rng.pick(kChapterTitles)});
        first += count;
    }

    // Front matter.
    Page &title = out.pages[0];
    title.kind = Page::Kind::Title;
    title.lines = wrapWords(book.judul, 26);
    title.largeLines = int(title.lines.size());
    for (const std::string &line : {std::string(), book.penulis, std::string(), std::string(), book.penerbit,
                                    book.kotaTerbit + ", " + book.tahun})
        title.lines.push_back(line);
    for (int i = 1; i < bodyStart; ++i) {
        Page &page = out.pages[size_t(i)];
        std::vector<std::string> &lines = page.lines;
        auto addWrapped = [&lines](const std::string &text) {
            for (std::string &line : wrapWords(text, kLineWidth))
                lines.push_back(std::move(line));
        };
        if (i == 1) {
            page.kind = Page::Kind::Copyright;
            addWrapped("Judul: " + book.judul);
            addWrapped("Penulis: " + book.penulis);
            addWrapped("Penerbit: " + book.penerbit + ", " + book.kotaTerbit);
            addWrapped("ISBN: " + book.isbn);
            addWrapped("Cetakan pertama, " + book.tahun);
            lines.emplace_back();
            addWrapped("Hak cipta dilindungi undang-undang. Dilarang memperbanyak sebagian atau seluruh isi buku ini "
                       "dalam bentuk apa pun tanpa izin tertulis dari penerbit.");
            lines.emplace_back();
            addWrapped("Diterbitkan untuk koleksi digital Perpustakaan Daerah Telmarin.");
        } else if (i == 3) {
            page.kind = Page::Kind::Contents;
            page.heading = "Daftar Isi";
            for (const Chapter &chapter : chapters) {
                if (int(lines.size()) >= kLinesPerPage - 4)
                    break;
                lines.push_back(leaderLine(chapter.heading, out.labels[size_t(chapter.first)]));
            }
        } else {
            page.kind = Page::Kind::Preface;
            page.heading = i == 2 ? "Kata Pengantar" : "Kata Pengantar (lanjutan)";
            for (int p = 0; p < 3; ++p) {
                if (p)
                    lines.emplace_back();
                addWrapped(paragraph(rng, topicWords));
            }
            lines.emplace_back();
            lines.push_back(book.kotaTerbit + ", " + book.tahun);
            lines.push_back(book.penulis);
        }
    }

    // Running text: paragraphs flow from page to page within a chapter; a chapter ends with its last full paragraph.
    for (const Chapter &chapter : chapters) {
        std::vector<std::string> pending;
        for (int i = chapter.first; i < chapter.first + chapter.count; ++i) {
            Page &page = out.pages[size_t(i)];
            const bool opening = i == chapter.first;
            const bool closing = i == chapter.first + chapter.count - 1;
            page.kind = opening ? Page::Kind::ChapterStart : Page::Kind::Body;
            if (opening)
                page.heading = chapter.heading;
            const size_t capacity = size_t(opening ? kLinesPerPage - 4 : kLinesPerPage);
            std::vector<std::string> lines;
            const size_t carried = std::min(capacity, pending.size());
            lines.assign(pending.begin(), pending.begin() + long(carried));
            pending.erase(pending.begin(), pending.begin() + long(carried));
            while (lines.size() < capacity && pending.empty()) {
                std::vector<std::string> next = wrapWords(paragraph(rng, topicWords), kLineWidth);
                const size_t needed = next.size() + (lines.empty() ? 0 : 1);
                if (closing && lines.size() + needed > capacity)
                    break;
                if (!lines.empty())
                    lines.emplace_back();
                for (std::string &line : next) {
                    if (lines.size() < capacity)
                        lines.push_back(std::move(line));
                    else
                        pending.push_back(std::move(line));
                }
            }
            page.lines = std::move(lines);
        }
    }

    for (Page &page : out.pages) {
        page.text = joinLines(page.heading, page.lines);
        page.folded = foldCase(page.text);
    }
    return out;
}

} // namespace demo
