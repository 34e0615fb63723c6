#include "schema/open_checks.h"

#include "platform/dao/engine.h"
#include "platform/dao/recordset.h"
#include "platform/dao/sqlite.h"
#include "platform/jet/db_error.h"
#include "schema/schema.h"

namespace db {

// SQLCipher checks each page as it decrypts it, and the check walks the trees, so a changed byte,
// a cut-off file or a broken tree shows here and not later in the middle of browsing.
void checkEveryPage(sqlite::Connection& connection, const QString& path)
{
    QString problem;
    try {
        sqlite::Statement check = connection.prepare(QStringLiteral("PRAGMA quick_check"));
        // The check's answer is "ok" or a list of findings; the first finding says enough.
        while (check.step() && problem.isEmpty()) {
            const QString answer = check.text(0);
            if (answer == u"ok")
                continue;
            for (const QString& line : answer.split(u'\n', Qt::SkipEmptyParts))
                if (!line.startsWith(u"***")) {
                    problem = line;
                    break;
                }
            if (problem.isEmpty())
                problem = answer;
        }
    } catch (const jet::DbError& e) {
        // A page that fails its check; a read error of the disk is reported as what it is.
        if (e.number() != jet::err::DatabaseCorrupt && e.number() != jet::err::NotValidPassword)
            throw;
        problem = e.description();
    }
    if (!problem.isEmpty())
        throw jet::DbError(jet::err::DatabaseCorrupt, QStringLiteral("'%1' is damaged (%2).").arg(path, problem));
}

const QString kOrganizationQuery = QStringLiteral("SELECT OrgName, OrgAdd, OrgPhone, OrgEmail, OrgLogo FROM Passwords");

CheckedFile openCheckedDatabase(const QString& path, const QString& connect, PageCheck pages)
{
    auto& workspace = dao::Engine::instance().defaultWorkspace();
    CheckedFile result;
    result.database = workspace.openDatabase(path, false, false, connect);
    try {
        result.format = verifySchema(result.database->connection(), path);
        if (pages == PageCheck::Now)
            checkEveryPage(result.database->connection(), path);
        auto org = result.database->openRecordset(kOrganizationQuery);
        if (org->recordCount() == 0)
            throw jet::DbError(jet::err::NotQuilDatabase,
                               QStringLiteral("The file has no password list, so it has no organization data."));
        org->moveFirst();
        std::array<QString, 5> values;
        for (int i = 0; i < 5; ++i) {
            const vb::Value v = org->field(i);
            if (v.isNull())
                throw jet::DbError(jet::err::NotQuilDatabase,
                                   QStringLiteral("The organization data of the file is incomplete: %1 is empty.")
                                       .arg(org->fieldName(i)));
            values[static_cast<std::size_t>(i)] = v.toText();
        }
        result.organization = {values[0], values[1], values[2], values[3], values[4]};
    } catch (...) {
        result.database->close();
        throw;
    }
    return result;
}

} // namespace db
