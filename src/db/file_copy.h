#pragma once
// A database file copied as its bytes, through the file layer SQLite itself uses
// (sqlite::VfsFile: the same disk, faults and locks as the engine's own reads and writes).
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

namespace db {

// Told the bytes copied so far and the file's size after each piece; false stops the copy.
using CopyProgress = std::function<bool(std::int64_t copied, std::int64_t size)>;

// Copies `from` to the new file `to` (which must not exist) and syncs it. The reason when it
// fails or `progress` stopped it; `to` may then be left partly written for the caller to remove.
std::optional<QString> copyFileBytes(const QString& from, const QString& to, const CopyProgress& progress = {});

// Whether the two files hold the same bytes; a read that fails is a difference.
bool sameFileBytes(const QString& a, const QString& b);

} // namespace db
