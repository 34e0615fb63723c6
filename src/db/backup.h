#pragma once
// A backup of the open file before a command that rewrites or replaces it (Repair / Compress,
// Clone and Clear, Restore Backup, the CSV import): a consistent, checked copy in the "Backups"
// folder beside the file, the last ten kept (backup_file.h has the rules).
class frmMain;

namespace db {

// True when the backup is made (or one of the file as it is now already exists). False when it
// could not be made: the user has had one message naming the folder and the reason, and the
// asking command must not run.
bool BackupBeforeCommand(frmMain& f);

} // namespace db
