#pragma once
// A tiny keyed database for tests, made from plain SQL statements before any template exists,
// and opened through the engine's default workspace as the program opens its files.
#include "platform/dao/database.h"

#include <QString>
#include <QStringList>
#include <memory>

namespace quiltest {

class FixtureDatabase {
public:
    // Creates (or extends) the file at `path`, keyed with `password`.
    explicit FixtureDatabase(QString path, QString password = QStringLiteral("fixture"));

    // Runs statements at once, in one transaction.
    FixtureDatabase& exec(const QStringList& statements);
    FixtureDatabase& exec(const QString& statement) { return exec(QStringList{statement}); }

    const QString& path() const { return path_; }
    QString connect() const { return QStringLiteral("pwd=") + password_; }
    // Opens the file in the default workspace (not exclusive, not read-only).
    std::shared_ptr<dao::Database> open() const;

private:
    QString path_;
    QString password_;
};

// Runs statements on an open file in one write unit, as a command writes: for a test's own rows
// and its temporary triggers that refuse a command's write.
void write(dao::Database& db, const QStringList& statements);
inline void write(dao::Database& db, const QString& statement) { write(db, QStringList{statement}); }

// The members table as the program declares it: a counter key, case-blind texts, memo notes.
QString membersTableSql();
// An INSERT of one member with the given names and address; the other fields stay null.
QString insertMemberSql(const QString& first, const QString& last, const QString& address);

} // namespace quiltest
