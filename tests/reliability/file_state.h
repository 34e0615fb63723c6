#pragma once
// What a database file holds, as text that compares exactly: every table's rows in key order with
// their stored types, and the schema. Read through a connection of its own, as a fresh start of
// the program would read the file (a journal left by a stopped write is rolled back first).
#include <QByteArray>
#include <QString>

namespace sqlite { class Connection; }

namespace reliability {

// The passphrase the loops give a file of their own (Set File Password); a file whose salt says
// it has one is read with it, any other with the program's password.
inline const QByteArray kFilePassphrase = "reliability passphrase";

struct FileState {
    QString integrity;  // PRAGMA integrity_check's answer, lines joined ("ok"), or the error met
    QString dump;       // the canonical dump; empty when the file could not be read
};

// Both through one connection (keying a connection costs more than reading a small file).
FileState readFileState(const QString& path);
// The canonical dump alone; throws jet::DbError when the file cannot be read.
QString canonicalDump(const QString& path);
// The canonical dump through a connection already open, without the key line.
QString dumpOf(sqlite::Connection& connection);
// The dumps by path begin with the key the file takes (the program's, or a passphrase of its
// own): a file written again under a new key has changed, though it holds the same rows.
QString keyLine(const QString& path);

} // namespace reliability
