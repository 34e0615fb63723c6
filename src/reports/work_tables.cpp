#include "reports/work_tables.h"

#include "platform/dao/database.h"
#include "platform/dao/sqlite.h"
#include "platform/dao/write_unit.h"
#include "platform/jet/db_error.h"
#include "platform/jet/translator.h"

namespace reports {

namespace {

const QString kFullName = QStringLiteral("ifnull(%1FirstName, '') || ' ' || ifnull(%1LastName, '')");
const QString kCityLine =
    QStringLiteral("ifnull(%1City, '') || ', ' || ifnull(%1State, '') || '   ' || ifnull(%1PostalCode, '')");

// A source of the dialect over the table it must read; a query of another table is refused.
jet::SelectPlan planOf(dao::Database& db, const QString& source, const char* table)
{
    jet::SelectPlan plan = jet::translateSelect(source, db.catalog());
    if (plan.table.compare(QLatin1String(table), Qt::CaseInsensitive) != 0 || plan.distinct || !plan.updatable)
        throw jet::DbError(jet::err::SyntaxErrorInFrom,
                           QStringLiteral("The report source '%1' does not read the rows of %2.").arg(source, QLatin1String(table)));
    return plan;
}

QString whereOf(const jet::SelectPlan& plan)
{
    return plan.where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + plan.where;
}

// The source's own order, or its record order.
QString orderOf(const jet::SelectPlan& plan, const QString& key)
{
    return QStringLiteral(" ORDER BY ") + (plan.orderBy.isEmpty() ? key : plan.orderBy);
}

// The members a donation's name is looked up in: the table itself, or the rows the member
// source selects.
QString membersJoin(const jet::SelectPlan& members)
{
    const QString table = jet::quotedName(members.table);
    if (members.where.isEmpty())
        return table + QStringLiteral(" AS m");
    return QStringLiteral("(SELECT MemberID, FirstName, LastName FROM %1 WHERE %2) AS m").arg(table, members.where);
}

// Copies the donations the plan selects into ListTable, in the plan's order (record order when it
// has none of its own).
int insertDonations(sqlite::Connection& db, const jet::SelectPlan& donations, const jet::SelectPlan& members)
{
    const bool ownOrder = !donations.orderBy.isEmpty();
    const QString sql =
        QStringLiteral(
            "INSERT INTO ListTable (MemberID, PaymentID, PaymentAmount, PaymentDate, CheckNumber, Destination, FullName) "
            "SELECT p.MemberID, p.PaymentID, p.PaymentAmount, p.PaymentDate, p.CheckNumber, p.Destination, %1 "
            "FROM (SELECT rowid AS QuilKey, * FROM %2%3%4) AS p LEFT JOIN %5 ON m.MemberID = p.MemberID%6")
            .arg(kFullName.arg(QStringLiteral("m.")), jet::quotedName(donations.table), whereOf(donations),
                 ownOrder ? QStringLiteral(" ORDER BY ") + donations.orderBy : QString(), membersJoin(members),
                 ownOrder ? QString() : QStringLiteral(" ORDER BY p.QuilKey"));
    db.exec(sql);
    return db.changes();
}

// Runs the work of a fill in one write unit; the work writes through the connection it is given.
template <class Work>
int inTransaction(dao::Database& db, Work&& work)
{
    dao::WriteUnit unit(db);
    const int rows = work(unit.connection());
    unit.commit();
    return rows;
}

} // namespace

void clearListTable(dao::Database& db)
{
    inTransaction(db, [&](sqlite::Connection& c) {
        c.exec(QStringLiteral("DELETE FROM ListTable"));
        return 0;
    });
}

void clearMemFullName(dao::Database& db)
{
    inTransaction(db, [&](sqlite::Connection& c) {
        c.exec(QStringLiteral("DELETE FROM MemFullName"));
        return 0;
    });
}

int fillPaymentList(dao::Database& db, const QString& paymentSource, const QString& memberSource)
{
    const jet::SelectPlan donations = planOf(db, paymentSource, "Payments");
    const jet::SelectPlan members = planOf(db, memberSource, "Members");
    return inTransaction(db, [&](sqlite::Connection& c) {
        c.exec(QStringLiteral("DELETE FROM ListTable"));
        return insertDonations(c, donations, members);
    });
}

int fillSelectedMembers(dao::Database& db, const std::vector<std::int64_t>& memberIds, const QString& memberSource)
{
    const jet::SelectPlan members = planOf(db, memberSource, "Members");
    const QString sql =
        QStringLiteral("INSERT INTO MemFullName (MemberID, FullName, Address, CityStateZip, HomePhone) "
                       "SELECT MemberID, %1, Address, %2, HomePhone FROM %3 WHERE MemberID = ?1%4 LIMIT 1")
            .arg(kFullName.arg(QString()), kCityLine.arg(QString()), jet::quotedName(members.table),
                 members.where.isEmpty() ? QString() : QStringLiteral(" AND (%1)").arg(members.where));
    return inTransaction(db, [&](sqlite::Connection& c) {
        c.exec(QStringLiteral("DELETE FROM MemFullName"));
        sqlite::Statement insert = c.prepare(sql);
        int rows = 0;
        for (const std::int64_t id : memberIds) {
            insert.bind(1, id);
            insert.step();
            rows += c.changes();
            insert.reset();
        }
        return rows;
    });
}

int fillFilteredMembers(dao::Database& db, const QString& memberSource)
{
    const jet::SelectPlan members = planOf(db, memberSource, "Members");
    const QString sql =
        QStringLiteral("INSERT INTO MemFullName (MemberID, FirstName, LastName, Address, City, State, PostalCode, HomePhone, "
                       "Notes, FullName, CityStateZip) "
                       "SELECT MemberID, FirstName, LastName, Address, City, State, PostalCode, HomePhone, Notes, %1, %2 "
                       "FROM %3%4%5")
            .arg(kFullName.arg(QString()), kCityLine.arg(QString()), jet::quotedName(members.table), whereOf(members),
                 orderOf(members, QStringLiteral("rowid")));
    return inTransaction(db, [&](sqlite::Connection& c) {
        c.exec(QStringLiteral("DELETE FROM MemFullName"));
        c.exec(sql);
        return c.changes();
    });
}

} // namespace reports
