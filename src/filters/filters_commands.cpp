#include "filters/filters_commands.h"

#include "app/frm_main.h"
#include "platform/dao/recordset.h"
#include "platform/data/data_control.h"
#include "records/records_commands.h"

#include <QPalette>
#include <QWidget>

namespace {

const QString kAllMembers = QStringLiteral(
    "select [memberID],[firstname],[lastname], [address],[city],[state],[postalcode],[homephone], [notes] FROM [members] ");

} // namespace

FiltersCommands::FiltersCommands(frmMain& f) : f(f) {}

void FiltersCommands::mnuFilterMem_Click()
{
    dao::Recordset* members = f.datPrimaryRS->recordset();
    const bool anyMember = members && members->recordCount() > 0;
    // The criteria dialog belongs to the member filter feature; without it, a click with
    // members shown keeps the filter in force.
    if (!anyMember && !f.S.DialogCancelled)
        applyMemberFilter();
    f.S.DialogCancelled = false;
}

void FiltersCommands::applyMemberFilter()
{
    QString query = kAllMembers;
    QColor colour = f.palette().color(QPalette::WindowText);
    if (!f.S.MemberFilter.isEmpty()) {
        query += QStringLiteral("WHERE ") + f.S.MemberFilter;
        colour = Qt::blue;
    }
    for (QWidget* field : f.txtFields) {
        QPalette p = field->palette();
        p.setColor(QPalette::Text, colour);
        field->setPalette(p);
    }
    f.datPrimaryRS->setRecordSource(query);
    f.records->RequeryView();
}
