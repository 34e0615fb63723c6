#pragma once
// The rules of Set File Password, apart from the window: what the dialog's boxes may hold.
#include <QString>
#include <optional>

namespace dao { class Database; }

namespace db {

// A file password shorter than this is refused: it would be guessed in no time from a stolen file.
inline constexpr int kShortestFilePassword = 8;

struct FilePasswordEntry {
    bool administratorMatches = false;  // txtAdmin holds the Administrator's password
    QString typed;                      // txtNew
    QString again;                      // txtConfirm
    bool fileHasOne = false;            // the open file has a passphrase now
};

// Why the entry cannot be carried out, or nothing: the new password is then set (or removed
// when both boxes are empty). Every refusal's message is made here.
std::optional<QString> filePasswordRefusal(const FilePasswordEntry& entry);

// Whether `typed` is the password of the file's Administrator entry (letter case aside, as the
// password list compares).
bool isAdministratorPassword(dao::Database& db, const QString& typed);

} // namespace db
