#pragma once
// The rows of the Accountant Statement and of Category Statements, read straight from Payments:
// the donations the report takes, by date, then (Category) the destination's place in the list,
// then record order, each with its donor's full name as the list report shows it.
//
// Copying them into ListTable first and sorting that copy gave the same rows in the same order,
// but wrote every donation to the file before the first page (a million rows for the Accountant
// Statement of the benchmark file), and the copy's pages stayed in the page cache for the rest
// of the session. Read here, the first page costs the sort of the keys.
#include <QString>
#include <QStringList>
#include <memory>

namespace dao { class Database; }
namespace report { class DataSource; }

namespace reports {

// The dialect's WHERE clause of the chosen donations: the destinations, each matched whole with
// letter case aside (an entry equal to an earlier one that way adds nothing), and the date
// clause's range ("" or " WHERE [Paymentdate] Between ..."). No destination selects nothing.
QString categoryWhere(const QStringList& destinations, const QString& dateClause);

// The rows ListRPT reads: Payments' fields and FullName ("First Last"; a missing part adds
// nothing and the blank stays; a donation whose member is gone gets " ").
std::shared_ptr<report::DataSource> openCategoryRows(dao::Database& db, const QStringList& destinations, const QString& dateClause);

// The same for every donation within the date clause's range: the Accountant Statement.
std::shared_ptr<report::DataSource> openAccountantRows(dao::Database& db, const QString& dateClause);

} // namespace reports
