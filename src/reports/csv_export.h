#pragma once
// The CSV exports: every field of every member, the donations of a record set's query (the
// grid's: its view, filters and sort), and the fund totals of a date range. Each file is written
// through a QSaveFile: it appears whole when the export succeeds, and a cancelled or failed
// export leaves no file (and an older file of the same name as it was).
#include "platform/jet/catalog.h"
#include "platform/vb/datetime.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace dao { class Database; }
namespace jet { struct SelectPlan; }
namespace sqlite { class Statement; }

namespace reports {

enum class ExportResult { Written, Cancelled };

// Told of the rows written so far and of all there are (0 when not known in advance); returns
// false to stop the export.
using ExportProgress = std::function<bool(std::int64_t done, std::int64_t total)>;

struct CsvColumn {
    QString header;
    jet::FieldType type;
    int source = -1;  // the statement's column it shows; -1: the one at its own place
};

// The rows a statement returns, one line each under a header line, into a new file at `path`.
// Throws csv::WriteError when the file cannot be written (nothing is left at `path` then) and
// jet::DbError when the rows cannot be read.
ExportResult writeCsvFile(const QString& path, const std::vector<CsvColumn>& columns, sqlite::Statement& rows,
                          std::int64_t total, const ExportProgress& progress, std::int64_t* written = nullptr);

// The donations of a record set's query (the grid's), as exportQuery writes them, with the
// donor's first and last name after the member number, so that a line says whose gift it is
// without a second file. A query without the member number is written as it is.
ExportResult exportDonations(dao::Database& db, const jet::SelectPlan& plan, const QString& path,
                             const ExportProgress& progress, std::int64_t* written = nullptr);

// Every member with every field, in member-number order.
ExportResult exportMembers(dao::Database& db, const QString& path, const ExportProgress& progress,
                           std::int64_t* written = nullptr);

// The rows of a record set's query, in its order, with its fields.
ExportResult exportQuery(dao::Database& db, const jet::SelectPlan& plan, const QString& path,
                         const ExportProgress& progress, std::int64_t* written = nullptr);

// Per destination, the count and total of the donations dated from `from` to `to`, both days
// included; no bound on a side that is not given. In destination order; destinations that differ
// only in letter case are one fund, as everywhere in the program.
ExportResult exportFundTotals(dao::Database& db, std::optional<vb::DateTime> from, std::optional<vb::DateTime> to,
                              const QString& path, const ExportProgress& progress, std::int64_t* written = nullptr);

} // namespace reports
