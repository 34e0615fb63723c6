#pragma once
// The files the program keeps for itself: a database, the backups and the lock file beside it,
// the template. A command that writes a file under a name the user picks must never land on one
// of them, by whatever path, link or spelling the name reaches it.
#include <QString>

namespace db {

// "Backups" in the file's folder.
QString backupFolder(const QString& file);

// ".Club.qdb.lock" beside Club.qdb (the folder's real path, symbolic links resolved): the file the
// program holds an operating-system lock on while the database is open, with who holds it inside.
QString lockPath(const QString& database);

// Whether a name in a folder is one of the program's lock files.
bool isLockFileName(const QString& fileName);

// Why nothing may be written at `path`, as a sentence for the user, or "" when it may: the open
// database (empty: none), a file in its Backups folder, a lock file, the template, any database
// of the program.
QString ownFileRefusal(const QString& path, const QString& openDatabase, const QString& templatePath);

} // namespace db
