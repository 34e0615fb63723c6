#pragma once
// Everything that must hold before the main window trusts a file: it opens with the program's
// password, it carries the program's schema, every page reads back, and its organization data is
// complete. Nothing is written to the file until all of it has passed.
#include <QString>
#include <array>
#include <memory>

namespace dao { class Database; }
namespace sqlite { class Connection; }

namespace db {

struct OrganizationData {
    QString name, address, phone, email, logo;
};

struct CheckedFile {
    std::shared_ptr<dao::Database> database;
    OrganizationData organization;
    int format = 0;  // as the file carries it: the current one, or an earlier one to bring up to date
};

// Reading every page costs time in proportion to the file (half a second on a large one), so the
// Open command leaves it to a thread of its own (db::FileJobs) that every write waits for.
enum class PageCheck { Now, Later };

// Throws jet::DbError with a number and a reason that names what is wrong. With PageCheck::Later
// the caller must run checkEveryPage before anything is written.
CheckedFile openCheckedDatabase(const QString& path, const QString& connect, PageCheck pages = PageCheck::Now);

// Reads every page of every table and index once (PRAGMA quick_check); throws jet::DbError
// DatabaseCorrupt "'<path>' is damaged (...)", or the read error of the disk as what it is.
void checkEveryPage(sqlite::Connection& connection, const QString& path);

// The text "SELECT OrgName, OrgAdd, OrgPhone, OrgEmail, OrgLogo FROM Passwords".
extern const QString kOrganizationQuery;

} // namespace db
