#pragma once
// Files of the program's earlier formats for tests: the fixtures an earlier program wrote, and
// files taken back to an earlier format from the current one.
#include "platform/dao/sqlite.h"

#include <QString>

namespace quiltest {

// A copy of tests/fixtures/format-<format>/<name> in folder, writable; its path.
QString copyFormatFixture(int format, const QString& name, const QString& folder);

// Creates exactly the tables and indexes of that format on an empty file, with its version.
void createFormat(sqlite::Connection& connection, int format);

// Takes a file of the current format back to an earlier one: the tables and indexes the later
// steps added dropped, the version set. What an earlier program would have written, for the
// loops and files too large to keep as fixtures.
void takeBackToFormat(const QString& path, int format);

// Every row of every table of that format, in key order, as text: equal dumps hold equal data.
QString rowsOf(sqlite::Connection& connection, int format);

} // namespace quiltest
