#include "engine.h"

#include "platform/jet/db_error.h"

#include <QFileInfo>

namespace dao {

QString passwordOf(const QString& connect)
{
    const auto eq = connect.indexOf(u'=');
    return eq < 0 ? QString() : connect.mid(eq + 1);
}

std::shared_ptr<Database> Workspace::openDatabase(const QString& path, bool exclusive, bool readOnly,
                                                  const QString& connect)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        throw jet::DbError(jet::err::FileNotFound, QStringLiteral("Could not find file '%1'.").arg(path));
    if (info.isDir())
        throw jet::DbError(jet::err::CannotOpenFile, QStringLiteral("'%1' is a folder, not a database file.").arg(path));
    if (!info.isReadable())
        throw jet::DbError(jet::err::CannotOpenFile,
                           QStringLiteral("The database engine cannot open the file '%1'. You need permission to read it.").arg(path));
    // SQLite would open a write-protected file read-only without a word and fail only at the
    // first change; the program writes as it goes, so say it at once.
    if (!readOnly && !info.isWritable())
        throw jet::DbError(jet::err::ReadOnlyDatabase,
                           QStringLiteral("The file '%1' is read-only; the database engine cannot open it for changes.").arg(path));

    sqlite::Connection connection(path, passwordOf(connect).toUtf8(),
                                  readOnly ? sqlite::Connection::Mode::ReadOnly : sqlite::Connection::Mode::ReadWrite);
    connection.verifyReadable(path);
    if (exclusive)
        connection.exec(QStringLiteral("PRAGMA locking_mode=EXCLUSIVE"));
    auto db = std::make_shared<Database>(path, std::move(connection), readOnly);

    std::erase_if(databases_, [](const std::weak_ptr<Database>& w) { return w.expired(); });
    databases_.push_back(db);
    return db;
}

int Workspace::databaseCount()
{
    int n = 0;
    for (const auto& w : databases_)
        if (auto db = w.lock(); db && db->isOpen())
            ++n;
    return n;
}

void Workspace::close()
{
    for (const auto& w : databases_)
        if (auto db = w.lock())
            db->close();
    databases_.clear();
}

Engine& Engine::instance()
{
    static Engine engine;
    return engine;
}

} // namespace dao
