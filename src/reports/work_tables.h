#pragma once
// The report work tables: ListTable (one row per donation, for the list reports) and MemFullName
// (one row per member, for the member reports). Each fill empties its table and writes its rows
// in one transaction: a fill that fails leaves the table as it was, and the next fill empties
// it first anyway.
//
// Sources are texts of the dialect: the donations ("Payments", "Select * from Payments WHERE
// ..."), the members ("Members", "Select * from Members WHERE ..."). Rows are written in the
// order described: the list's order for chosen entries, the source's record order otherwise.
// The date range is not applied here; the report queries apply it.
//
// Compositions: the full name is FirstName, one blank, LastName (a missing part adds nothing,
// the blank stays); the city line is City, ", ", State, three blanks, PostalCode. A donation
// whose member the member source does not hold gets the full name of nobody, " ".
//
// The rows are written by INSERT ... SELECT inside the database: a million donations copied
// row by row through a record set would cost many times the copy itself.
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace dao { class Database; }

namespace reports {

void clearListTable(dao::Database& db);
void clearMemFullName(dao::Database& db);

// Every donation of the source, each with its donor's full name. Returns the rows written.
int fillPaymentList(dao::Database& db, const QString& paymentSource, const QString& memberSource);
// The members with these ids, in this order: id, full name, address, city line, phone.
int fillSelectedMembers(dao::Database& db, const std::vector<std::int64_t>& memberIds, const QString& memberSource);
// Every member of the source with all eleven fields.
int fillFilteredMembers(dao::Database& db, const QString& memberSource);

} // namespace reports
