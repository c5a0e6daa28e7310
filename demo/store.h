// The demo service's changing state, kept in memory: members, log-ins, loans, stored pages, annotation documents,
// copied passages and the views and reads behind the charts.
#pragma once

#include "demo/catalogue.h"

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace demo {

struct Member
{
    std::string id, email, password, nama, level, tglBerakhir;
    std::string photoBytes, photoType, photoExtension; // an uploaded profile photo; empty for a painted one
};

class Store
{
public:
    explicit Store(const Catalogue &catalogue);

    // Back to the seeded state: seeded members only, no log-ins, no open loans.
    void reset();

    enum class Login { Ok, UnknownEmail, WrongPassword };
    struct LoginResult
    {
        Login outcome = Login::UnknownEmail;
        Member member;
        std::string token;
    };
    // A log-in from another device supersedes the member's earlier log-in; from the same device it keeps it.
    LoginResult login(const std::string &email, const std::string &password, const std::string &uuid);
    // The member whose current log-in the headers carry, or nullopt for a superseded, ended or foreign token.
    std::optional<Member> authenticate(const std::string &token, const std::string &userId, const std::string &uuid,
                                       const std::string &level) const;
    void logout(const std::string &memberId);

    bool emailKnown(const std::string &email) const;
    Member addMember(Member member);
    std::optional<Member> member(const std::string &id) const;

    enum class Borrow { Ok, UnknownBook, NoStock, LimitReached };
    struct BorrowResult
    {
        Borrow outcome = Borrow::UnknownBook;
        std::string idBaca;
        int pageIndex = 0;
        std::string annotationFile; // empty when nothing is stored for this member and book
    };
    static constexpr int kLoanLimit = 3;
    BorrowResult borrow(const std::string &memberId, const std::string &bookId);
    int stock(const std::string &bookId) const;
    int openLoans(const std::string &memberId) const;

    enum class LoanChange { Ok, UnknownLoan, Ended, WrongBook };
    LoanChange giveBack(const std::string &memberId, const std::string &idBaca, const std::string &bookId,
                        int pageIndex);
    // Status "1" keeps the loan, "0" ends it (the reader went idle).
    LoanChange reportStatus(const std::string &memberId, const std::string &idBaca, bool reading);

    // Keeps the document's bytes as received; returns the file name it is served under.
    std::string saveAnnotation(const std::string &memberId, const std::string &bookId, const std::string &document);
    std::optional<std::string> annotationDocument(const std::string &fileName) const;
    // Adds the passages not yet logged for this member and book; returns how many were new.
    int addCopies(const std::string &memberId, const std::string &bookId,
                  const std::vector<std::pair<std::string, std::string>> &passages);
    std::vector<std::pair<std::string, std::string>> copies(const std::string &memberId,
                                                            const std::string &bookId) const;

    void recordView(const std::string &memberId, const std::string &bookId);
    std::vector<std::string> mostRead() const;
    std::vector<std::string> lastRead(const std::string &memberId) const;
    std::vector<std::string> lastViewed(const std::string &memberId) const;

private:
    struct Session
    {
        std::string token;
        std::string uuid;
    };
    struct Loan
    {
        std::string id, memberId, bookId;
        bool open = true;
        uint64_t seq = 0;
    };
    struct Annotation
    {
        std::string fileName;
        std::string document;
    };
    using Key = std::pair<std::string, std::string>; // member id, book id

    int stockLocked(const std::string &bookId) const;
    std::vector<std::string> latestFirst(const std::vector<std::pair<uint64_t, std::string>> &events) const;

    const Catalogue &m_catalogue;
    mutable std::mutex m_mutex;
    std::vector<Member> m_members;
    std::map<std::string, Session> m_sessions; // by member id
    std::map<std::string, Loan> m_loans;       // by id_baca
    std::map<Key, int> m_lastPages;
    std::map<Key, Annotation> m_annotations;
    std::map<Key, std::vector<std::pair<std::string, std::string>>> m_copies;
    std::vector<std::pair<uint64_t, Key>> m_views;
    std::map<std::string, int> m_loanCounts; // loans made while the service runs, by book
    uint64_t m_seq = 0;
    int m_nextLoan = 50001;
    int m_nextMember = 1003;
    int m_annotationRevision = 0;
};

} // namespace demo
