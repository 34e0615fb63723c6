#pragma once
// Bringing a file of an earlier format up to the current one, without the window: a checked backup
// of the file as it is, named for the purpose ("Club before format 2 <time>.qdb"), then every step
// of the later formats and the new version in one write. The file holds either format, never a
// mix: a failure of the write rolls it all back.
#include <QString>
#include <optional>

namespace dao { class Database; }

namespace db {

// Upgrades the open database of `file`, of `format`, keyed with `key`. Gives the backup's path,
// or why the file could not be brought up to date (with the error number, for the one message
// that refuses it); no backup is left behind then, the file holds what it held.
struct UpgradeResult {
    QString backup;
    std::optional<QString> failure;
};
UpgradeResult upgradeFile(dao::Database& database, const QString& file, int format, const QByteArray& key);

// The note after an upgrade, and the reason given when one failed.
QString upgradedNote();
QString upgradeRefusal(int format, const QString& reason);

} // namespace db
