#pragma once
// A checked copy takes a database file's place (Repair / Compress, Restore Backup), in one
// rename(2): the path names the old file until it names the whole copy. The copy gets the file's
// permission bits and group first, so a read-only file stays read-only and a file a group shares
// stays shared; the folder is synced afterwards, so the rename survives a power cut.
#include <QString>
#include <optional>

namespace db {

// Returns the system's reason when the copy could not take the name (it is then left as it is).
std::optional<QString> replaceFileBy(const QString& copy, const QString& file);

} // namespace db
