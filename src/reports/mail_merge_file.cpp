// Create Mail Merge Data File: the names and postal addresses of the members chosen in Select
// Report, in the list's order, as the RTF table a word processor merges from. The file appears
// whole or not at all: it is written through QSaveFile, so a failed write leaves no half file
// (and an older file of that name as it was) and says so.
#include "reports/report_commands.h"

#include "frame/frm_main.h"
#include "platform/dao/database.h"
#include "platform/dao/recordset.h"
#include "platform/ui/save_target.h"
#include "platform/ui/ui.h"
#include "reports/mail_merge_rtf.h"

#include <QDir>
#include <QSaveFile>

namespace reports {

// The name chosen, with ".rtf" added unless it already ends so in any letter case.
QString mailMergePath(const QString& chosen)
{
    return chosen.right(4).toUpper() == QStringLiteral(".RTF") ? chosen : chosen + QStringLiteral(".rtf");
}

} // namespace reports

namespace {

QString text(const dao::Recordset& rs, const char* field)
{
    return rs.field(QLatin1String(field)).toText();
}

} // namespace

void ReportCommands::WriteMailMergeFile()
{
    auto& S = f.S;
    const QString folder = QDir::currentPath();
    struct Finally {
        frmMain& f;
        QString folder;
        ~Finally()
        {
            QDir::setCurrent(folder);
            f.HideBusyPanel();
        }
    } finally{f, folder};

    // An existing file is replaced without a question, unless it is one the program keeps.
    const QString path = ui::chooseSaveTarget({QStringLiteral("Create Mail Merge Data File"), QStringLiteral("Default Merge.rtf"),
                                               QStringLiteral("*.rtf"), reports::mailMergePath});
    if (path.isEmpty())
        return;

    // The members by the ids the entries keep; one deleted meanwhile is left out.
    std::vector<reports::MailMergeRow> rows;
    rows.reserve(Selection.memberIds.size());
    auto members = S.db->openRecordset(S.ReportMemberSource);
    for (const std::int64_t id : Selection.memberIds) {
        members->findFirst(QStringLiteral("memberid = ") + QString::number(id));
        if (members->noMatch())
            continue;
        rows.push_back({text(*members, "FirstName") + u' ' + text(*members, "LastName"), text(*members, "Address"),
                        text(*members, "City"), text(*members, "State"), text(*members, "PostalCode")});
    }
    const QByteArray bytes = MailMergeWriter(rows);

    QSaveFile file(path);
    const bool written = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
    if (!written) {
        const QString reason = file.errorString();
        file.cancelWriting();
        S.LastAnswer = ui::message(ui::Beep::Yes,
                                   QStringLiteral("The mail merge file was not written:\n%1\n\n%2").arg(QDir::toNativeSeparators(path), reason),
                                   ui::Buttons::OKOnly, ui::Icon::Critical, QStringLiteral("File Creation Error"));
    }
}
