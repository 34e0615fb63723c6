// The password list's cell rules and the safeguard around a row deleted through the grid. Both
// keep the administrator entry: one, named "Administrator" exactly, never renamed or lost.
#include "access/admin.h"

#include "platform/dao/recordset.h"
#include "platform/data/data_control.h"
#include "platform/jet/db_error.h"
#include "platform/ui/ui.h"
#include "schema/schema.h"

namespace {

const QString kAdministrator = QStringLiteral("Administrator");

} // namespace

void Admin::Grid1_BeforeColUpdate(int ColIndex, const vb::Value& OldValue, vb::Value& NewValue, bool& Cancel)
{
    auto refuse = [&](const QString& prompt) {
        ui::current().beep();
        Cancel = true;
        if (!prompt.isEmpty())
            S.LastAnswer = ui::message(ui::Beep::No, prompt, ui::Buttons::OKOnly, ui::Icon::Critical, QStringLiteral("QUIL"));
    };
    const QString typed = NewValue.isNull() ? QString() : NewValue.toText();
    // The file keeps no more than its fields hold; a longer text would fail at the write.
    auto tooLong = [&](const char* field, const QString& what) {
        const int size = db::textFieldSize(u"Passwords", QString::fromLatin1(field));
        if (size > 0 && typed.size() > size) {
            refuse(QStringLiteral("%1 can have at most %2 characters.").arg(what).arg(size));
            return true;
        }
        return false;
    };

    if (ColIndex == 0) {
        if (!OldValue.isNull() && OldValue.toText() == kAdministrator) {
            refuse(QStringLiteral("You Cannot Edit This Name."));
            return;
        }
        if (typed.toUpper() == kAdministrator.toUpper()) {
            ui::current().beep();
            NewValue = vb::Value(QStringLiteral("User"));
            S.LastAnswer = ui::message(ui::Beep::No, QStringLiteral("You Cannot Have Another Administrator."),
                                       ui::Buttons::OKOnly, ui::Icon::Critical, QStringLiteral("QUIL"));
            return;
        }
        if (typed.isEmpty()) {
            refuse({});
            return;
        }
        tooLong("PassName", QStringLiteral("A name"));
        return;
    }
    if (ColIndex == 1) {
        if (typed.size() < 4) {
            refuse({});
            return;
        }
        tooLong("MyPassWord", QStringLiteral("A password"));
    }
}

void Admin::Grid1_BeforeDelete(bool& Cancel)
{
    (void)Cancel;  // a deletion is never cancelled: the entry is put back afterwards instead
    dao::Recordset* rs = list();
    if (!rs || !rs->hasCurrentRow())
        return;
    const vb::Value name = rs->field(QStringLiteral("PassName"));
    if (!name.isNull() && name.toText().toUpper() == kAdministrator.toUpper()) {
        SavedAdminName = name.toText();
        SavedAdminPassword = rs->field(QStringLiteral("MyPassWord")).toText();
        AdminRowDeleted = true;
    }
}

void Admin::Grid1_AfterDelete()
{
    auto putBack = [&](ui::Beep beep) {
        if (addEntry(SavedAdminName, SavedAdminPassword))
            S.LastAnswer = ui::message(beep, QStringLiteral("You Cannot Delete Administrator."), ui::Buttons::OKOnly,
                                       ui::Icon::Critical, QStringLiteral("QUIL"));
    };
    if (AdminRowDeleted)
        putBack(ui::Beep::No);
    if (dao::Recordset* rs = list()) {
        rs->findFirst(QStringLiteral("PassName = 'Administrator'"));
        if (rs->noMatch())
            putBack(ui::Beep::Yes);
    }
    AdminRowDeleted = false;
}
