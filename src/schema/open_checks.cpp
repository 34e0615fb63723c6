#include "schema/open_checks.h"

#include "platform/dao/engine.h"
#include "platform/dao/recordset.h"
#include "platform/jet/db_error.h"
#include "schema/schema.h"

namespace db {

const QString kOrganizationQuery = QStringLiteral("SELECT OrgName, OrgAdd, OrgPhone, OrgEmail, OrgLogo FROM Passwords");

CheckedFile openCheckedDatabase(const QString& path, const QString& connect)
{
    auto& workspace = dao::Engine::instance().defaultWorkspace();
    CheckedFile result;
    result.database = workspace.openDatabase(path, false, false, connect);
    try {
        verifySchema(result.database->connection(), path);
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
