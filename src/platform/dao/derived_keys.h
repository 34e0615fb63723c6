#pragma once
// The key a connection is given. SQLCipher derives a file's key from the password and the
// file's salt (its first 16 bytes) by 64,000 rounds of PBKDF2 every time a connection is keyed,
// and the program keys several connections to one file (the window's, the page check's, the
// backup's check, the clone's attach): the key derived for a password and a salt is kept for
// the life of the program and given to the next connection as SQLCipher's raw key, which it
// uses as it stands. A file without a first page yet gets the password, so that SQLCipher
// chooses its salt.
//
// A file may carry a passphrase of its own instead of the program's password: its key is
// derived by PBKDF2-HMAC-SHA512 (256,000 rounds), and its salt begins with a mark that tells the
// two kinds apart before any page is decrypted. Keys derived from a passphrase are forgotten
// (their bytes overwritten) when the file closes.
#include <QByteArray>
#include <QString>

namespace sqlite {

// What to key a connection to `path` with: the raw key "x'<64 hex digits>'" derived from
// `password` and the file's salt, or the password itself when the file has no first page (or
// cannot be read: the connection then meets the same failure). Empty stays empty (no key).
QByteArray connectionKey(const QString& path, const QByteArray& password);

// Whether the file's salt carries the passphrase mark (false for a file without a first page).
bool carriesPassphrase(const QString& path);

// The raw key and a fresh marked salt ("x'<64 hex><32 hex>'") that make a new, empty file one
// keyed with `passphrase`, as an ATTACH ... KEY or the first key of a new connection.
QByteArray newPassphraseKey(const QByteArray& passphrase);

// Overwrites and drops every key kept for this password or passphrase.
void forgetKeysOf(const QByteArray& password);

// forgetKeysOf, then overwrites the passphrase itself and empties it.
void forgetPassphrase(QByteArray& passphrase);

} // namespace sqlite
