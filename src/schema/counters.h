#pragma once
// The counters that number new members and donations. SQLite keeps the last number it handed
// out in sqlite_sequence and gives a new row one above that or above the highest key, whichever
// is larger; only at the end of 64 bits does it refuse, and then with "database or disk is
// full". The program's numbers end much earlier, at kRowNumbers.highest, so a command checks the
// counter before it adds rows and refuses with a message that says what happened and what
// mends it. A counter can stand past that end only in a file some other tool changed, or one
// an older program imported a huge member number into; Repair / Compress sets it back.
#include <QString>
#include <QStringList>
#include <QStringView>
#include <cstdint>
#include <optional>

namespace sqlite { class Connection; }

namespace db {

struct CounterState {
    std::int64_t last = 0;        // the counter: the last number handed out; 0 when none
    std::int64_t highestKey = 0;  // the largest number in the table; 0 when it is empty

    // How many new rows can still be numbered within kRowNumbers.
    std::int64_t numbersLeft() const;
};

// The counter of `table` (Members or Payments) in the attached database `schema`.
CounterState counterState(sqlite::Connection& connection, QStringView table, const QString& schema = QStringLiteral("main"));

// Nothing when `rows` new rows of `table` can be numbered; otherwise the one message that tells
// why not and what mends it.
std::optional<QString> counterRefusal(const CounterState& state, QStringView table, std::int64_t rows);

// The reason an import line gets when no number is left for it.
QString noNumberLeft(QStringView table);

// Sets every counter of `schema` that stands past kRowNumbers.highest back to its table's
// highest key, when that lies within the range; those numbers were never given to a row the
// file still holds. Returns the tables whose counter was set back.
QStringList setBackRunawayCounters(sqlite::Connection& connection, const QString& schema);

} // namespace db
