#include "records/member_merge.h"

#include "platform/dao/database.h"
#include "platform/dao/sqlite.h"
#include "platform/dao/write_unit.h"
#include "platform/dao/statement_lease.h"
#include "platform/jet/db_error.h"

namespace records {

std::optional<MemberSummary> readMemberSummary(dao::Database& database, std::int64_t id)
{
    dao::StatementLease member =
        database.lease(QStringLiteral("SELECT FirstName, LastName, Address, City FROM Members WHERE MemberID = ?"));
    member->bind(1, id);
    if (!member->step())
        return std::nullopt;
    MemberSummary out;
    out.id = id;
    out.name = member->text(0) + u' ' + member->text(1);
    out.address = member->text(2);
    const QString city = member->text(3);
    if (!city.isEmpty())
        out.address += (out.address.isEmpty() ? QString() : QStringLiteral(", ")) + city;
    // The donations' member index answers the count without reading a donation row.
    dao::StatementLease count = database.lease(QStringLiteral("SELECT count(*) FROM Payments WHERE MemberID = ?"));
    count->bind(1, id);
    count->step();
    out.donations = count->int64(0);
    return out;
}

std::optional<QString> mergeRefusal(const std::optional<MemberSummary>& keep, const std::optional<MemberSummary>& merge)
{
    if (!keep)
        return QStringLiteral("Type the number of the member to keep: there is no such member.");
    if (!merge)
        return QStringLiteral("Type the number of the member to merge: there is no such member.");
    if (keep->id == merge->id)
        return QStringLiteral("Member %1 cannot be merged into itself: choose two different members.").arg(keep->id);
    if (merge->id == kCollectorMember)
        return QStringLiteral("Member %1 collects the donations of deleted members and cannot be merged away. "
                              "Keep member %1 and merge the other member into it.")
            .arg(kCollectorMember);
    return std::nullopt;
}

QString mergeQuestion(const MemberSummary& keep, const MemberSummary& merge)
{
    QString moves;
    if (merge.donations == 0)
        moves = QStringLiteral("No donations will move.");
    else if (merge.donations == 1)
        moves = QStringLiteral("1 donation will move to member %1.").arg(keep.id);
    else
        moves = QStringLiteral("%1 donations will move to member %2.").arg(merge.donations).arg(keep.id);
    return QStringLiteral("Merge %1 (member %2) into %3 (member %4)? %5\n\nMember %2 will be deleted.")
        .arg(merge.name)
        .arg(merge.id)
        .arg(keep.name)
        .arg(keep.id)
        .arg(moves);
}

std::int64_t mergeMembers(dao::Database& database, std::int64_t keep, std::int64_t merge)
{
    if (keep == merge || merge == kCollectorMember)
        throw jet::DbError(jet::err::EngineError, QStringLiteral("These members cannot be merged."));
    dao::WriteUnit unit(database);
    {
        // Donations given to a number that names nobody would be lost from every view.
        dao::StatementLease kept = database.lease(QStringLiteral("SELECT 1 FROM Members WHERE MemberID = ?"));
        kept->bind(1, keep);
        if (!kept->step())
            throw jet::DbError(jet::err::EngineError, QStringLiteral("Member %1 is no longer on file.").arg(keep));
    }
    // One statement moves every donation, keeping amounts, checks, destinations and dates.
    const int moved =
        database.execute(QStringLiteral("UPDATE [Payments] SET [MemberID] = %1 WHERE [MemberID] = %2").arg(keep).arg(merge));
    if (database.execute(QStringLiteral("DELETE FROM [Members] WHERE [MemberID] = %1").arg(merge)) != 1)
        throw jet::DbError(jet::err::EngineError, QStringLiteral("Member %1 is no longer on file.").arg(merge));
    unit.commit();
    return moved;
}

} // namespace records
