#pragma once
// What Clone and Clear writes into a fresh copy of the template: member 1's particulars, every
// other member renumbered in the source's order, the organization data and password of the first
// password entry, the other entries but "Administrator", the destinations in place of the
// template's first one, and the organisation's settings. Set-based statements over the source
// attached to the new file's connection, in one transaction: the new file is filled whole or not
// at all. The source is only read.
#include <QString>

namespace db {

// Throws jet::DbError when the source cannot be read or the new file refuses a write; the new
// file then holds the template's rows only (the caller removes it).
// The target (a template copy) takes `password`; the source is read with `sourceKey`, or with
// `password` when none is given (its own passphrase when it has one).
void fillClone(const QString& target, const QString& source, const QString& password, const QString& sourceKey = {});

} // namespace db
