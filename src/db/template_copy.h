#pragma once
// The file work behind New Blank Database and Clone and Clear, without the window: testing a new
// file's name, checking the template and copying it. Errors carry the classic file error numbers
// the program's messages show ("Error 76 - Path not found").
#include <QString>
#include <optional>

namespace db {

struct FileError {
    int number;
    QString description;
};

struct NameTest {
    bool exists = false;              // a file (or folder) of that name is there
    std::optional<FileError> error;   // the name cannot be tested: no such folder, too long, ...
};

// Tries to open the name for reading, as the program has always tested for an existing file.
NameTest testNewFileName(const QString& path);

// Whether the template "Base.dat" is in the program folder (appDir ends with a separator).
bool templateExists(const QString& appDir);

// Why the template cannot serve as a database file (wrong key, not a database, another schema,
// no password list), or nothing when it can.
std::optional<QString> templateDamage(const QString& appDir, const QString& connect);

// Copies the template ("base.dat", the name the copy has always read) to target. The bytes go to
// a temporary file in target's folder first, which takes target's name only when complete and
// never replaces a file, so a failure leaves nothing behind. A template of an earlier format (a
// program folder an update left alone) gives a copy brought up to the current one before it is
// named: a new file is always of the current format. With unnamed given, the complete copy stays
// under its temporary name, returned there, for the caller to fill and then name.
std::optional<FileError> copyTemplate(const QString& appDir, const QString& target, const QString& connect,
                                      QString* unnamed = nullptr);

// Removes a database file that was made and could not be completed, with its journal.
void removeUnfinishedFile(const QString& path);

} // namespace db
