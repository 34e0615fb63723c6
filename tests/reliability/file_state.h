#pragma once
// What a database file holds, as text that compares exactly: every table's rows in key order with
// their stored types, and the schema. Read through a connection of its own, as a fresh start of
// the program would read the file (a journal left by a stopped write is rolled back first).
#include <QString>

namespace sqlite { class Connection; }

namespace reliability {

struct FileState {
    QString integrity;  // PRAGMA integrity_check's answer, lines joined ("ok"), or the error met
    QString dump;       // the canonical dump; empty when the file could not be read
};

// Both through one connection (keying a connection costs more than reading a small file).
FileState readFileState(const QString& path);
// The canonical dump alone; throws jet::DbError when the file cannot be read.
QString canonicalDump(const QString& path);
// The canonical dump through a connection already open.
QString dumpOf(sqlite::Connection& connection);

} // namespace reliability
