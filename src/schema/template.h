#pragma once
// The template database "Base.dat" from which New Blank Database and Clone and Clear copy every
// new file: the tables, member 1, the administrator entry with the organization data, and one
// destination.
#include <QString>

namespace sqlite { class Connection; }

namespace db {

inline constexpr const char* kTemplateFileName = "Base.dat";

// What the template's special rows hold.
namespace templ {
inline constexpr const char* AdminName = "Administrator";
inline constexpr const char* AdminPassword = "admin";
inline constexpr const char* OrgName = "Your Organization";
inline constexpr const char* OrgAdd = "Street, City, State ZIP";
inline constexpr const char* OrgPhone = "(000) 000-0000";
inline constexpr const char* OrgEmail = "office@example.org";
inline constexpr const char* OrgLogo = "quil.jpg";  // stands for the logo in the program folder
inline constexpr const char* Destination = "General Fund";
} // namespace templ

// Creates a new database file at path, keyed with the program's database password, holding the
// schema and the template rows. Throws jet::DbError when path exists already or cannot be written.
void writeTemplate(const QString& path);

// Writes the template rows into a connection whose schema is freshly created.
void insertTemplateRows(sqlite::Connection& connection);

} // namespace db
