#pragma once
// The files the program keeps beside a database file, by name: the lock file that says the file
// is open, and the work files of its commands (repair and compress, restore, backups, new files).
// The commands name their work files here, so that whatever has to know them reads the same rules.
#include <QString>

namespace db {

// ".Club.qdb.lock" beside Club.qdb (the folder's real path, symbolic links resolved): the file the
// program holds an operating-system lock on while the database is open, with who holds it inside.
QString lockPath(const QString& database);

// Repair and compress: the original's second name while it runs, "~QDB" + number + ".TMP", and
// the compacted copy being written, "~QDB" + number + ".NEW", both in the database's folder.
QString setAsidePath(const QString& database, int number);
QString compactWorkPath(const QString& database, int number);

// Restore: the chosen backup copied beside the file before it takes the file's place.
QString restoringPath(const QString& database);

// A copy (a backup, the restore's staged copy) is written under this name and renamed when
// checked.
QString partPathOf(const QString& target);

// The pattern of the temporary name a new file (New Blank, Clone and Clear) is made under in its
// folder, for QTemporaryFile.
QString newFileTemplate(const QString& folder);

// Whether a name in a folder is one of the program's lock files.
bool isLockFileName(const QString& fileName);

} // namespace db
