#pragma once
// Query texts that more than one subsystem issues. They are the program's own texts, as written;
// the dialect's query tests run them against the schema.
#include <QString>

namespace db {

// Every member (one trailing blank): a member filter or a member number follows it as
// "WHERE ...".
inline const QString kAllMembersQuery = QStringLiteral(
    "select [memberID],[firstname],[lastname], [address],[city],[state],[postalcode],[homephone], [notes] FROM [members] ");

} // namespace db
