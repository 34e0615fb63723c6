#pragma once
// The collation and functions that give SQLite the dialect's text semantics: comparison and
// sorting blind to letter case in every alphabet, the dialect's Like wildcards, and its exact Sum.
struct sqlite3;

namespace jet {

// Name of the collation every text column of a QUIL file is declared with.
inline constexpr const char* kCollation = "JETNOCASE";
// jet_like(value, pattern): 1 when value matches the whole pattern (* ? # [abc] [!abc] [a-z]),
// letter case ignored; NULL when either is NULL, so a null never matches.
inline constexpr const char* kLikeFunction = "jet_like";
// jet_sum(value): the exact total of whole numbers (amounts are ten-thousandths), NULL over no
// value, as SUM. It adds in 128 bits, so no count of rows makes it overflow on the way; a total
// beyond 64 bits fails with SQLITE_RANGE, and a value that is no whole number (a text, a real)
// fails with SQLITE_MISMATCH instead of counting as 0 or turning the total into a double, as
// SUM would. The dialect's Sum over whole numbers and money runs through it.
inline constexpr const char* kSumFunction = "jet_sum";

// Registers the collation and functions on a connection. Every connection that reads a QUIL
// file must do this before its first statement, because the file's indexes use the collation.
void registerSqlFunctions(sqlite3* db);

} // namespace jet
