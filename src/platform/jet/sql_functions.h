#pragma once
// The collation and functions that give SQLite the dialect's text semantics: comparison and
// sorting blind to letter case in every alphabet, and the dialect's Like wildcards.
struct sqlite3;

namespace jet {

// Name of the collation every text column of a QUIL file is declared with.
inline constexpr const char* kCollation = "JETNOCASE";
// jet_like(value, pattern): 1 when value matches the whole pattern (* ? # [abc] [!abc] [a-z]),
// letter case ignored; NULL when either is NULL, so a null never matches.
inline constexpr const char* kLikeFunction = "jet_like";

// Registers the collation and functions on a connection. Every connection that reads a QUIL
// file must do this before its first statement, because the file's indexes use the collation.
void registerSqlFunctions(sqlite3* db);

} // namespace jet
