#pragma once
// Repair and compress of a closed database file, without the window. The file is set aside
// beside itself under "~QDB" + number + ".TMP" (a second name, a hard link, so it keeps its own
// path too), rewritten page by page into a new keyed file "~QDB" + number + ".NEW"
// (sqlcipher_export, which also rebuilds every index from its table), and the new file replaces
// it under the source path in one rename, with the original's permission bits and group, only
// after it has passed the quick check with the same number of rows in every table. At every
// moment the source path names the complete original or the complete copy; where the file
// system has no hard links the original is read under its path and has no second name. So the
// work names never hold the only copy of anything, and the next open clears them when a run was
// stopped (beside_files.h).
#include "db/beside_files.h"

#include <QString>
#include <optional>

namespace db {

struct CompactFailure {
    int number;
    QString description;  // says where the data is when it is not back under its path
};

struct CompactResult {
    QString setAside;                       // the original's second name, to be removed once the user
                                            // was told; empty where there are no hard links
    std::optional<CompactFailure> failure;  // set: the original is under its source path, unchanged
};

// Compacts source in place; number names the set-aside file (the next free number is taken when
// that name is in use). The copy is keyed as the source is, or with newKey when one is given:
// the program's password, or sqlite::newPassphraseKey's raw key for a file of its own passphrase.
CompactResult compactInPlace(const QString& source, const QString& password, int number, const QString& newKey = {});
// The same with the set-aside file's number taken at random, as the commands do.
CompactResult compactInPlace(const QString& source, const QString& password, const QString& newKey = {});

} // namespace db
