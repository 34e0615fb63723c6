#pragma once
// The files the program keeps beside a database file, by name: the lock file that says the file
// is open, and the work files of its commands (repair and compress, restore, backups, new files).
// The commands name their work files here, and the open reads the same rules to clear what a
// stopped run left behind, so a name is never written by one rule and cleared by another.
#include "schema/own_files.h"

#include <QString>
#include <QStringList>

namespace db {

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

// The work files in a database's folder that a stopped run of the program left: the names above
// that exist, with their journals. The restore's copies and the unfinished backups belong to this
// database by their names. folderWide adds the repair's and the new files' work names, which do
// not say which database they were made for: only right when no program works in the folder.
// A file of a name the program does not write is never among them.
QStringList leftoversBeside(const QString& database, bool folderWide);

// Clears the leftovers of a database the program has just locked as the first holder: the
// database's own always, the folder-wide ones only when no lock of another database in the folder
// is held by anyone. A name that cannot be removed stays; nothing is reported.
void removeLeftovers(const QString& database);

} // namespace db
