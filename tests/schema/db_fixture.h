#pragma once
// Helpers shared by the database-file tests: files keyed with the program's password in a
// temporary folder, and one-value queries.
#include "platform/dao/sqlite.h"
#include "schema/connect_key.h"
#include "support/temp_dir.h"

#include <QString>
#include <cstdint>
#include <gtest/gtest.h>

namespace dbtest {

inline sqlite::Connection openKeyed(const QString& path, sqlite::Connection::Mode mode = sqlite::Connection::Mode::ReadWrite)
{
    return sqlite::Connection(path, db::databasePassword().toUtf8(), mode);
}

inline std::int64_t scalar(sqlite::Connection& connection, const QString& sql)
{
    sqlite::Statement statement = connection.prepare(sql);
    if (!statement.step())
        ADD_FAILURE() << "no row from " << sql.toStdString();
    return statement.int64(0);
}

inline QString text(sqlite::Connection& connection, const QString& sql)
{
    sqlite::Statement statement = connection.prepare(sql);
    if (!statement.step())
        ADD_FAILURE() << "no row from " << sql.toStdString();
    return statement.text(0);
}

class TempFolder : public ::testing::Test {
protected:
    QString file(const QString& name) const { return dir_.file(name); }

private:
    quiltest::TempDir dir_;
};

} // namespace dbtest
