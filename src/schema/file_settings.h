#pragma once
// Organisation-wide settings kept in the file's Settings table, so that they travel with the
// file (a clone copies them, a backup holds them) rather than with the user's machine. Each is
// read with a default for a file that has never stored it, and written inside a write unit:
// several values at once are all written or none.
#include <QString>
#include <QStringView>
#include <optional>
#include <utility>
#include <vector>

namespace dao { class Database; }

namespace db {

// The names the program stores under.
inline constexpr QStringView kStatementWording = u"StatementWording";
inline constexpr QStringView kFiscalYearStart = u"FiscalYearStartMonth";

// The stored value, or `fallback` when the file holds none under that name.
QString readSetting(dao::Database& db, QStringView name, const QString& fallback = {});

// The month (1..12) the organisation's year begins with; 1, the calendar year, when none is
// stored or the stored text is not such a month.
int fiscalYearStartMonth(dao::Database& db);

using SettingValues = std::vector<std::pair<QStringView, QString>>;

// Stores every value in one write. Nothing when done; otherwise the one message that says the
// settings were not saved and why, the file holding what it held.
std::optional<QString> writeSettings(dao::Database& db, const SettingValues& values);

} // namespace db
