// The demo service's state and its rules: one log-in per member, three open loans, stock, stored pages.
#include "demo/store.h"

#include <algorithm>
#include <cctype>
#include <random>
#include <set>

namespace demo {

namespace {

std::string lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return s;
}

std::string newToken()
{
    static std::mutex mutex;
    static std::mt19937_64 engine{std::random_device{}()};
    std::lock_guard lock(mutex);
    static const char kHex[] = "0123456789abcdef";
    std::string token;
    for (int i = 0; i < 40; ++i)
        token += kHex[engine() % 16];
    return token;
}

} // namespace

Store::Store(const Catalogue &catalogue) : m_catalogue(catalogue)
{
    reset();
}

void Store::reset()
{
    std::lock_guard lock(m_mutex);
    m_members.clear();
    m_sessions.clear();
    m_loans.clear();
    m_lastPages.clear();
    m_annotations.clear();
    m_copies.clear();
    m_views.clear();
    m_loanCounts.clear();
    m_seq = 0;
    m_nextLoan = 50001;
    m_nextMember = 1003;
    for (const SeedMember &seed : m_catalogue.members()) {
        m_members.push_back({seed.id, seed.email, seed.password, seed.nama, seed.level, seed.tglBerakhir, {}, {}, {}});
        for (const std::string &bookId : seed.readBookIds) {
            const std::string id = std::to_string(m_nextLoan++);
            m_loans[id] = {id, seed.id, bookId, false, ++m_seq};
        }
        for (const std::string &bookId : seed.viewedBookIds)
            m_views.push_back({++m_seq, {seed.id, bookId}});
        for (const auto &[bookId, page] : seed.lastPages)
            m_lastPages[{seed.id, bookId}] = page;
        for (const auto &[bookId, document] : seed.annotations) {
            const std::string name = seed.id + "_" + bookId + "_" + std::to_string(++m_annotationRevision) + ".json";
            m_annotations[{seed.id, bookId}] = {name, document};
        }
    }
}

Store::LoginResult Store::login(const std::string &email, const std::string &password, const std::string &uuid)
{
    std::lock_guard lock(m_mutex);
    LoginResult result;
    const auto it = std::find_if(m_members.begin(), m_members.end(),
                                 [&](const Member &m) { return lower(m.email) == lower(email); });
    if (it == m_members.end())
        return result;
    if (it->password != password) {
        result.outcome = Login::WrongPassword;
        return result;
    }
    Session &session = m_sessions[it->id];
    if (session.token.empty() || session.uuid != uuid)
        session = {newToken(), uuid};
    result.outcome = Login::Ok;
    result.member = *it;
    result.token = session.token;
    return result;
}

std::optional<Member> Store::authenticate(const std::string &token, const std::string &userId, const std::string &uuid,
                                          const std::string &level) const
{
    std::lock_guard lock(m_mutex);
    const auto session = m_sessions.find(userId);
    if (session == m_sessions.end() || session->second.token != token || session->second.uuid != uuid)
        return std::nullopt;
    for (const Member &m : m_members)
        if (m.id == userId && m.level == level)
            return m;
    return std::nullopt;
}

void Store::logout(const std::string &memberId)
{
    std::lock_guard lock(m_mutex);
    m_sessions.erase(memberId);
}

bool Store::emailKnown(const std::string &email) const
{
    std::lock_guard lock(m_mutex);
    return std::any_of(m_members.begin(), m_members.end(),
                       [&](const Member &m) { return lower(m.email) == lower(email); });
}

Member Store::addMember(Member member)
{
    std::lock_guard lock(m_mutex);
    member.id = std::to_string(m_nextMember++);
    m_members.push_back(member);
    return member;
}

std::optional<Member> Store::member(const std::string &id) const
{
    std::lock_guard lock(m_mutex);
    for (const Member &m : m_members)
        if (m.id == id)
            return m;
    return std::nullopt;
}

int Store::stockLocked(const std::string &bookId) const
{
    const Book *book = m_catalogue.book(bookId);
    if (!book)
        return 0;
    const auto open = std::count_if(m_loans.begin(), m_loans.end(),
                                    [&](const auto &l) { return l.second.open && l.second.bookId == bookId; });
    return std::max(0, book->qty - book->heldElsewhere - int(open));
}

int Store::stock(const std::string &bookId) const
{
    std::lock_guard lock(m_mutex);
    return stockLocked(bookId);
}

int Store::openLoans(const std::string &memberId) const
{
    std::lock_guard lock(m_mutex);
    return int(std::count_if(m_loans.begin(), m_loans.end(),
                             [&](const auto &l) { return l.second.open && l.second.memberId == memberId; }));
}

Store::BorrowResult Store::borrow(const std::string &memberId, const std::string &bookId)
{
    std::lock_guard lock(m_mutex);
    BorrowResult result;
    if (!m_catalogue.book(bookId))
        return result;
    // Borrowing a book this member still holds (a reader that never sent its return) replaces that loan.
    Loan *held = nullptr;
    int open = 0;
    for (auto &[id, loan] : m_loans) {
        if (!loan.open || loan.memberId != memberId)
            continue;
        if (loan.bookId == bookId)
            held = &loan;
        else
            ++open;
    }
    if (!held && stockLocked(bookId) <= 0) {
        result.outcome = Borrow::NoStock;
        return result;
    }
    if (open >= kLoanLimit) {
        result.outcome = Borrow::LimitReached;
        return result;
    }
    if (held)
        held->open = false;
    const std::string id = std::to_string(m_nextLoan++);
    m_loans[id] = {id, memberId, bookId, true, ++m_seq};
    ++m_loanCounts[bookId];
    result.outcome = Borrow::Ok;
    result.idBaca = id;
    const auto page = m_lastPages.find({memberId, bookId});
    result.pageIndex = page == m_lastPages.end() ? 0 : page->second;
    const auto annotation = m_annotations.find({memberId, bookId});
    if (annotation != m_annotations.end())
        result.annotationFile = annotation->second.fileName;
    return result;
}

Store::LoanChange Store::giveBack(const std::string &memberId, const std::string &idBaca, const std::string &bookId,
                                  int pageIndex)
{
    std::lock_guard lock(m_mutex);
    const auto it = m_loans.find(idBaca);
    if (it == m_loans.end() || it->second.memberId != memberId)
        return LoanChange::UnknownLoan;
    if (it->second.bookId != bookId)
        return LoanChange::WrongBook;
    if (!it->second.open)
        return LoanChange::Ended;
    it->second.open = false;
    m_lastPages[{memberId, bookId}] = pageIndex;
    return LoanChange::Ok;
}

Store::LoanChange Store::reportStatus(const std::string &memberId, const std::string &idBaca, bool reading)
{
    std::lock_guard lock(m_mutex);
    const auto it = m_loans.find(idBaca);
    if (it == m_loans.end() || it->second.memberId != memberId)
        return LoanChange::UnknownLoan;
    if (!it->second.open)
        return LoanChange::Ended;
    if (!reading)
        it->second.open = false;
    return LoanChange::Ok;
}

std::string Store::saveAnnotation(const std::string &memberId, const std::string &bookId, const std::string &document)
{
    std::lock_guard lock(m_mutex);
    // A new name for every save, so that nothing on the way serves an older document under the same address.
    const std::string name = memberId + "_" + bookId + "_" + std::to_string(++m_annotationRevision) + ".json";
    m_annotations[{memberId, bookId}] = {name, document};
    return name;
}

std::optional<std::string> Store::annotationDocument(const std::string &fileName) const
{
    std::lock_guard lock(m_mutex);
    for (const auto &[key, annotation] : m_annotations)
        if (annotation.fileName == fileName)
            return annotation.document;
    return std::nullopt;
}

int Store::addCopies(const std::string &memberId, const std::string &bookId,
                     const std::vector<std::pair<std::string, std::string>> &passages)
{
    std::lock_guard lock(m_mutex);
    auto &log = m_copies[{memberId, bookId}];
    int added = 0;
    for (const auto &passage : passages) {
        if (std::find(log.begin(), log.end(), passage) == log.end()) {
            log.push_back(passage);
            ++added;
        }
    }
    return added;
}

std::vector<std::pair<std::string, std::string>> Store::copies(const std::string &memberId,
                                                               const std::string &bookId) const
{
    std::lock_guard lock(m_mutex);
    const auto it = m_copies.find({memberId, bookId});
    return it == m_copies.end() ? std::vector<std::pair<std::string, std::string>>{} : it->second;
}

void Store::recordView(const std::string &memberId, const std::string &bookId)
{
    std::lock_guard lock(m_mutex);
    m_views.push_back({++m_seq, {memberId, bookId}});
}

std::vector<std::string> Store::latestFirst(const std::vector<std::pair<uint64_t, std::string>> &events) const
{
    std::vector<std::pair<uint64_t, std::string>> sorted = events;
    std::sort(sorted.begin(), sorted.end(), [](const auto &a, const auto &b) { return a.first > b.first; });
    std::vector<std::string> ids;
    std::set<std::string> seen;
    for (const auto &[seq, id] : sorted)
        if (seen.insert(id).second)
            ids.push_back(id);
    return ids;
}

std::vector<std::string> Store::mostRead() const
{
    std::lock_guard lock(m_mutex);
    std::vector<std::pair<int, std::string>> counts;
    for (const Book &b : m_catalogue.books()) {
        const auto it = m_loanCounts.find(b.id);
        counts.push_back({b.popularity + (it == m_loanCounts.end() ? 0 : it->second), b.id});
    }
    std::stable_sort(counts.begin(), counts.end(), [](const auto &a, const auto &b) { return a.first > b.first; });
    std::vector<std::string> ids;
    for (const auto &[count, id] : counts)
        ids.push_back(id);
    return ids;
}

std::vector<std::string> Store::lastRead(const std::string &memberId) const
{
    std::lock_guard lock(m_mutex);
    std::vector<std::pair<uint64_t, std::string>> events;
    for (const auto &[id, loan] : m_loans)
        if (loan.memberId == memberId)
            events.push_back({loan.seq, loan.bookId});
    return latestFirst(events);
}

std::vector<std::string> Store::lastViewed(const std::string &memberId) const
{
    std::lock_guard lock(m_mutex);
    std::vector<std::pair<uint64_t, std::string>> events;
    for (const auto &[seq, key] : m_views)
        if (key.first == memberId)
            events.push_back({seq, key.second});
    return latestFirst(events);
}

} // namespace demo
