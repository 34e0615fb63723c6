#pragma once
// Importing members or donations from a CSV file, in two steps: `analyse` reads the whole file
// and checks every line against the open database, writing nothing, so the user sees what will
// be imported and every line that cannot be, with its reason; `write` then adds the lines that
// can be, in one transaction: all of them or, on any failure or a cancel, none.
#include "db/csv_reading.h"
#include "db/import_columns.h"
#include "platform/vb/currency.h"
#include "platform/vb/datetime.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace dao { class Database; }

namespace db::import {

// How many of the file's first records the preview shows.
inline constexpr int kPreviewRows = 20;

struct Problem {
    std::int64_t line;  // the file's line, from 1
    QString reason;
};

struct MemberLine {
    std::int64_t id = 0;          // the number the file gives, 0 for a new number
    std::array<QString, 8> text;  // FirstName .. Notes, in the schema's order
};

struct DonationLine {
    std::int64_t member = 0;
    vb::Currency amount;
    std::int64_t check = -1;  // -1: none given
    vb::DateTime date;
    int destination = 0;      // index into Plan::spellings
};

struct Plan {
    Kind kind = Kind::Members;
    QString path;
    csv::Encoding encoding = csv::Encoding::Utf8;
    QStringList header;
    ColumnMap columns;
    std::vector<QStringList> firstRows;  // the first records as read, for the preview
    std::int64_t lines = 0;              // records read after the header
    std::vector<Problem> problems;       // in line order
    std::vector<MemberLine> members;
    std::vector<DonationLine> donations;
    QStringList spellings;        // every destination text met, once each
    QStringList newDestinations;  // those the destination list does not hold, letter case ignored

    std::int64_t importable() const
    {
        return kind == Kind::Members ? static_cast<std::int64_t>(members.size())
                                     : static_cast<std::int64_t>(donations.size());
    }
};

// Told of the work done so far and of all there is; returns false to stop.
using Progress = std::function<bool(std::int64_t done, std::int64_t total)>;

enum class Outcome { Done, Cancelled };

// Reads `path` and fills `plan`. A file without the required columns leaves plan.columns.missing
// set and nothing else checked. Throws csv::ReadError when the file cannot be read and
// jet::DbError when the database cannot be.
Outcome analyse(dao::Database& db, const QString& path, Kind kind, Plan& plan, const Progress& progress = {});

struct Written {
    std::int64_t members = 0;
    std::int64_t donations = 0;
    std::int64_t destinations = 0;
};

// Adds the plan's lines and new destinations in one transaction. Members with a number of
// their own are written first, so a new number never takes one the file gives. Throws
// jet::DbError when the database refuses (nothing is written then); a cancel leaves the file
// as it was.
Outcome write(dao::Database& db, const Plan& plan, const Progress& progress, Written& written);

} // namespace db::import
