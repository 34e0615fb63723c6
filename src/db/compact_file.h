#pragma once
// Repair and compress of a closed database file, without the window. The file is set aside
// beside itself under "~QDB" + number + ".TMP" (a second name, a hard link, so it keeps its own
// path too), rewritten page by page into a new keyed file (sqlcipher_export, which also rebuilds
// every index from its table), and the new file replaces it under the source path in one rename
// only after it has passed the quick check with the same number of rows in every table. At every
// moment the source path names the complete original or the complete copy; where the file
// system has no hard links the original is renamed aside instead, and is complete under one of
// the two names.
#include "db/beside_files.h"

#include <QString>
#include <optional>

namespace db {

struct CompactFailure {
    int number;
    QString description;  // says where the data is when it is not back under its path
};

struct CompactResult {
    QString setAside;                       // the original, to be removed once the user was told
    std::optional<CompactFailure> failure;  // set: the original is under its source path again
};

// Compacts source in place with the given key; number names the set-aside file (the next free
// number is taken when that name is in use).
CompactResult compactInPlace(const QString& source, const QString& password, int number);

} // namespace db
