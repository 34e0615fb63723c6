#include "access/password_check.h"

#include "platform/dao/database.h"
#include "platform/dao/recordset.h"
#include "platform/jet/translator.h"

namespace modes {

bool isExecutivePassword(dao::Database& db, const QString& typed)
{
    if (typed.isEmpty() || typed.contains(QChar(0)))
        return false;
    auto passwords = db.openRecordset(QStringLiteral("SELECT [MyPassWord] from [Passwords]"));
    if (passwords->recordCount() == 0)
        return false;
    passwords->moveLast();
    passwords->findFirst(QStringLiteral("MyPassWord = ") + jet::quoted(typed));
    return !passwords->noMatch();
}

} // namespace modes
