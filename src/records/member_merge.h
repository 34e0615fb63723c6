#pragma once
// Merging two records of one person: what the Merge Members dialog shows of each member, the
// rules that refuse a merge, and the write itself. Nothing here knows a widget or the window,
// so tests hold the rules and the write to a real file directly.
#include <QString>
#include <cstdint>
#include <optional>

namespace dao { class Database; }

namespace records {

// The member that collects the donations of deleted members: it may keep, never go.
constexpr std::int64_t kCollectorMember = 1;

struct MemberSummary {
    std::int64_t id = 0;
    QString name;     // first name, one blank, last name
    QString address;  // the address, and the city after a comma when there is one
    std::int64_t donations = 0;
};

// The member as the dialog shows it; none when there is no such member. Throws jet::DbError
// when the file cannot be read.
std::optional<MemberSummary> readMemberSummary(dao::Database& database, std::int64_t id);

// Why these two cannot be merged, in the words the user is told; none when they can.
// keep/merge: the members as read, none for a number that names nobody.
std::optional<QString> mergeRefusal(const std::optional<MemberSummary>& keep, const std::optional<MemberSummary>& merge);

// The confirmation: both members named, and how many donations move.
QString mergeQuestion(const MemberSummary& keep, const MemberSummary& merge);

// Gives every donation of `merge` to `keep` and deletes the member row of `merge`, in one
// transaction; returns the number of donations moved. On any failure nothing stays written and
// jet::DbError (or the engine's error) reaches the caller.
std::int64_t mergeMembers(dao::Database& database, std::int64_t keep, std::int64_t merge);

} // namespace records
