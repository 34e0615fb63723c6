#pragma once
// A database file copied as its bytes, through the file layer SQLite itself uses
// (sqlite::VfsFile: the same disk, faults and locks as the engine's own reads and writes).
#include <QString>
#include <optional>

namespace db {

// Copies `from` to the new file `to` (which must not exist) and syncs it. The reason when it
// fails; `to` may then be left partly written for the caller to remove.
std::optional<QString> copyFileBytes(const QString& from, const QString& to);

// Whether the two files hold the same bytes; a read that fails is a difference.
bool sameFileBytes(const QString& a, const QString& b);

} // namespace db
