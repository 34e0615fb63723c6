#pragma once
// The secret the open file is keyed with, for every connection, copy and backup made of it.
#include <QByteArray>

struct MainState;

namespace db {

// The open file's passphrase when it has one, the program's own database password otherwise.
QByteArray fileKey(const MainState& S);

} // namespace db
