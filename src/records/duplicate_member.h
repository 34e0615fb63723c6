#pragma once
// The look-up Add Member runs before it writes: is a member with the same last name, first name
// and address already on file, letter case and accents ignored?
#include <QString>
#include <cstdint>

namespace dao { class Database; }

namespace records {

// The text as the duplicate check compares it: accents dropped, letter case folded.
QString foldForDuplicates(const QString& text);

// The number of such a member, or -1. Walks only the ranges of the name index that a last name
// with the same first letter (in any of its accented forms) and the same length can sit in.
std::int64_t findSameMember(dao::Database& database, const QString& last, const QString& first, const QString& address);

} // namespace records
