// The open-book records and their dictionaries.
#include "reader/open_books.h"

#include <limits>

namespace elumira {

namespace {

int intOf(const Json &object, const char *key)
{
    const long long value = jsonInt(object, key);
    if (value < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    if (value > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    return static_cast<int>(value);
}

} // namespace

std::unique_ptr<TDetailBook> TDetailBook::fromAnswers(const Json &detail, const Json &permission)
{
    const Json &data = jsonObject(detail, "data");
    auto book = std::make_unique<TDetailBook>();
    book->id = jsonText(data, "id");
    book->id_baca = jsonText(permission, "id_baca");
    book->page_index = intOf(permission, "page_index");
    book->file_anotasi = jsonText(permission, "file_anotasi");
    book->rate = intOf(permission, "rate");
    book->kode = jsonText(data, "kode");
    book->judul = jsonText(data, "judul");
    book->tahun_terbit = jsonText(data, "tahun_terbit");
    book->sinopsis = jsonText(data, "sinopsis");
    book->halaman_romawi = intOf(data, "halaman_romawi");
    book->halaman_total = intOf(data, "halaman_total");
    book->penulis = jsonText(data, "penulis");
    book->penerbit = jsonText(data, "penerbit");
    book->isbn = jsonText(data, "isbn");
    book->kategori = jsonText(data, "kategori");
    book->dept = jsonText(data, "dept");
    book->mla_style = jsonText(data, "mla_style");
    book->chicago_style = jsonText(data, "chicago_style");
    book->turabian_style = jsonText(data, "turabian_style");
    book->apa_style = jsonText(data, "apa_style");
    book->harvard_style = jsonText(data, "harvard_style");
    book->ieee_style = jsonText(data, "ieee_style");
    return book;
}

bool OpenBooks::addDetail(std::unique_ptr<TDetailBook> record)
{
    const QString id = record->id;
    return m_details.emplace(id, std::move(record)).second;
}

void OpenBooks::addSettings(const QString &tabName, std::unique_ptr<TReaderSettings> settings)
{
    m_settings[tabName] = std::move(settings);
}

TDetailBook *OpenBooks::detail(const QString &id) const
{
    const auto found = m_details.find(id);
    return found == m_details.end() ? nullptr : found->second.get();
}

TDetailBook *OpenBooks::detailOfTab(const QWidget *sheet) const
{
    for (const auto &[id, record] : m_details) {
        if (record->TabSheet == sheet)
            return record.get();
    }
    return nullptr;
}

TReaderSettings *OpenBooks::settings(const QString &tabName) const
{
    const auto found = m_settings.find(tabName);
    return found == m_settings.end() ? nullptr : found->second.get();
}

} // namespace elumira
