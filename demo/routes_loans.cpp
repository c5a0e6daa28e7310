// Routes of the loans: borrowing, returning, read status, and the annotation documents and copied passages a return
// sends.
#include "demo/service_state.h"

namespace demo {

namespace {

const char kAnnotationPath[] = "/pc/anotasi/";

// The book a JSON document sent with a return is about: its id_konten, as text or as a number.
const Book *bookOfDocument(const ServiceState &s, const Json &document)
{
    if (!document.is_object() || !document.contains("id_konten"))
        return nullptr;
    const Json &id = document["id_konten"];
    if (id.is_string())
        return s.catalogue.book(id.get<std::string>());
    if (id.is_number_integer())
        return s.catalogue.book(std::to_string(id.get<long long>()));
    return nullptr;
}

void answerLoanChange(httplib::Response &res, Store::LoanChange change, const char *done)
{
    switch (change) {
    case Store::LoanChange::Ok:
        return answer(res, {{"code", "200"}, {"msg", done}});
    case Store::LoanChange::UnknownLoan:
        return answer(res, refusal("404", "Data peminjaman tidak ditemukan"));
    case Store::LoanChange::WrongBook:
        return answer(res, refusal("400", "Data peminjaman tidak sesuai dengan buku"));
    case Store::LoanChange::Ended:
        return answer(res, refusal("400", "Peminjaman buku ini sudah berakhir"));
    }
}

} // namespace

void addLoanRoutes(ServiceState &s)
{
    on(s, "POST", "/api/wl/requestBaca", [&s](const Incoming &in, const httplib::Request &, httplib::Response &res) {
        const auto member = memberOf(s, in, res);
        if (!member)
            return;
        const std::string bookId = in.field("id_konten");
        const Store::BorrowResult loan = s.store.borrow(member->id, bookId);
        switch (loan.outcome) {
        case Store::Borrow::UnknownBook:
            return answer(res, refusal("404", "Konten tidak ditemukan"));
        case Store::Borrow::NoStock:
            return answer(res, refusal("400", "Stok buku sedang kosong. Silakan coba lagi nanti."));
        case Store::Borrow::LimitReached:
            return answer(res, refusal("400", "Anda sudah meminjam 3 buku. Kembalikan salah satu buku terlebih "
                                              "dahulu untuk meminjam buku lain."));
        case Store::Borrow::Ok:
            break;
        }
        const std::string annotation =
            loan.annotationFile.empty() ? std::string("0") : publicBase(s, in) + kAnnotationPath + loan.annotationFile;
        answer(res, {{"code", "200"},
                     {"msg", "Peminjaman berhasil"},
                     {"id_baca", loan.idBaca},
                     {"page_index", loan.pageIndex},
                     {"file_anotasi", annotation},
                     {"rate", s.catalogue.book(bookId)->rate}});
    });

    on(s, "POST", "/api/wl/bookReturn", [&s](const Incoming &in, const httplib::Request &, httplib::Response &res) {
        const auto member = memberOf(s, in, res);
        if (!member)
            return;
        const int page = toNumber(in.field("page_index"), -1);
        if (page < 0)
            return answer(res, refusal("400", "Halaman terakhir tidak valid"));
        answerLoanChange(res, s.store.giveBack(member->id, in.field("id_baca"), in.field("id_konten"), page),
                         "Buku berhasil dikembalikan");
    });

    on(s, "POST", "/api/wl/updateReadStatus",
       [&s](const Incoming &in, const httplib::Request &, httplib::Response &res) {
           const auto member = memberOf(s, in, res);
           if (!member)
               return;
           const std::string status = in.field("status");
           if (status != "0" && status != "1")
               return answer(res, refusal("400", "Status baca tidak valid"));
           answerLoanChange(res, s.store.reportStatus(member->id, in.field("id_baca"), status == "1"),
                            status == "1" ? "Status baca diperbarui" : "Buku dikembalikan ke rak");
       });

    on(s, "POST", "/api/wl/saveAnotasi", [&s](const Incoming &in, const httplib::Request &, httplib::Response &res) {
        const auto member = memberOf(s, in, res);
        if (!member)
            return;
        if (!in.json || !in.json->is_object() || !(*in.json).contains("data") || !(*in.json)["data"].is_array())
            return answer(res, refusal("400", "Format anotasi tidak valid"));
        const Book *book = bookOfDocument(s, *in.json);
        if (!book)
            return answer(res, refusal("404", "Konten tidak ditemukan"));
        s.store.saveAnnotation(member->id, book->id, in.body);
        answer(res, {{"code", "200"}, {"msg", "Anotasi berhasil disimpan"}});
    });

    on(s, "POST", "/api/wl/copyText", [&s](const Incoming &in, const httplib::Request &, httplib::Response &res) {
        const auto member = memberOf(s, in, res);
        if (!member)
            return;
        if (!in.json || !in.json->is_object() || !(*in.json).contains("data") || !(*in.json)["data"].is_array())
            return answer(res, refusal("400", "Format salinan teks tidak valid"));
        const Book *book = bookOfDocument(s, *in.json);
        if (!book)
            return answer(res, refusal("404", "Konten tidak ditemukan"));
        std::vector<std::pair<std::string, std::string>> passages;
        for (const Json &item : (*in.json)["data"]) {
            if (!item.is_object() || !item.contains("page") || !item.contains("text") || !item["text"].is_string())
                return answer(res, refusal("400", "Format salinan teks tidak valid"));
            const Json &page = item["page"];
            passages.emplace_back(page.is_string() ? page.get<std::string>() : page.dump(), item["text"]);
        }
        const int added = s.store.addCopies(member->id, book->id, passages);
        answer(res, {{"code", "200"}, {"msg", "Salinan teks berhasil disimpan"}, {"jumlah", added}});
    });

    on(s, "GET", std::string(kAnnotationPath) + "([^/]+)",
       [&s](const Incoming &, const httplib::Request &req, httplib::Response &res) {
           const auto document = s.store.annotationDocument(req.matches[1].str());
           if (!document) {
               res.status = 404;
               return;
           }
           res.set_content(*document, "application/json");
       });
}

} // namespace demo
