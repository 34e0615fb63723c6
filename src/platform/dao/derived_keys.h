#pragma once
// The key a connection is given. SQLCipher derives a file's key from the password and the
// file's salt (its first 16 bytes) by 64,000 rounds of PBKDF2 every time a connection is keyed,
// and the program keys several connections to one file (the window's, the page check's, the
// backup's check, the clone's attach): the key derived for a password and a salt is kept for
// the life of the program and given to the next connection as SQLCipher's raw key, which it
// uses as it stands. A file without a first page yet gets the password, so that SQLCipher
// chooses its salt.
#include <QByteArray>
#include <QString>

namespace sqlite {

// What to key a connection to `path` with: the raw key "x'<64 hex digits>'" derived from
// `password` and the file's salt, or the password itself when the file has no first page (or
// cannot be read: the connection then meets the same failure). Empty stays empty (no key).
QByteArray connectionKey(const QString& path, const QByteArray& password);

} // namespace sqlite
