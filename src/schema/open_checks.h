#pragma once
// Everything that must hold before the main window trusts a file: it opens with the program's
// password, it carries the program's schema, and its organization data is complete. Nothing is
// written to the file until all of it has passed.
#include <QString>
#include <array>
#include <memory>

namespace dao { class Database; }

namespace db {

struct OrganizationData {
    QString name, address, phone, email, logo;
};

struct CheckedFile {
    std::shared_ptr<dao::Database> database;
    OrganizationData organization;
    int format = 0;  // as the file carries it: the current one, or an earlier one to bring up to date
};

// Throws jet::DbError with a number and a reason that names what is wrong.
CheckedFile openCheckedDatabase(const QString& path, const QString& connect);

// The text "SELECT OrgName, OrgAdd, OrgPhone, OrgEmail, OrgLogo FROM Passwords".
extern const QString kOrganizationQuery;

} // namespace db
