// File > Import: members or donations from a CSV file. The file is read and checked first, the
// preview shows what will be imported and what cannot be, and Import writes every importable line
// in one transaction with a progress bar that can cancel. A failure or a cancel leaves the
// database exactly as it was; the view is re-run after a write.
#include "db/file_commands.h"

#include "db/csv_import.h"
#include "db/import_preview.h"
#include "frame/frm_main.h"
#include "platform/dao/database.h"
#include "platform/jet/db_error.h"
#include "platform/ui/ui.h"
#include "platform/ui/work_progress.h"
#include "platform/vb/format.h"
#include "platform/vb/value.h"

#include <QFileInfo>

namespace {

using db::import::Kind;

const QString kCsvFilter = QStringLiteral("CSV Files (comma-separated)|*.csv|All Files|*.*");
const QString kProgressName = QStringLiteral("ImportProgress");

db::import::Progress tellOf(ui::WorkProgress& progress)
{
    return [&progress](std::int64_t done, std::int64_t total) { return progress.tell(done, total); };
}

QString count(std::int64_t n)
{
    return n == 0 ? QStringLiteral("0") : vb::format(vb::Value(static_cast<double>(n)), u"##,###");
}

QString plural(std::int64_t n, const char* one, const char* many)
{
    return QStringLiteral("%1 %2").arg(count(n), QLatin1String(n == 1 ? one : many));
}

} // namespace

void FileCommands::mnuFileImportMembers_Click()
{
    importCsv(Kind::Members);
}

void FileCommands::mnuFileImportDonations_Click()
{
    importCsv(Kind::Donations);
}

void FileCommands::importCsv(Kind kind)
{
    auto& S = f.S;
    if (!S.db)
        return;
    const bool members = kind == Kind::Members;
    const QString title = members ? QStringLiteral("Import Members") : QStringLiteral("Import Donations");
    const QString path = ui::current().openFileDialog(title, QStringLiteral("*.csv"), kCsvFilter);
    if (path.isEmpty())
        return;

    db::import::Plan plan;
    ui::current().setBusyPointer(true);
    try {
        ui::WorkProgress progress(&f, kProgressName, title, QStringLiteral("Reading %1").arg(QFileInfo(path).fileName()));
        const db::import::Outcome read = db::import::analyse(*S.db, path, kind, plan, tellOf(progress));
        ui::current().setBusyPointer(false);
        if (read == db::import::Outcome::Cancelled)
            return;
    } catch (const db::csv::ReadError& e) {
        ui::current().setBusyPointer(false);
        S.LastAnswer = ui::message(ui::Beep::Yes, QStringLiteral("The file '%1' cannot be read: %2").arg(path, e.reason()),
                                   ui::Buttons::OKOnly, ui::Icon::Critical, QStringLiteral("File Error"));
        return;
    } catch (const jet::DbError& e) {
        ui::current().setBusyPointer(false);
        S.LastAnswer = ui::dataError(QStringLiteral("Nothing has been written: the database cannot be read.\n\n%1").arg(e.reason()));
        return;
    }
    if (!plan.columns.missing.isEmpty()) {
        S.LastAnswer = ui::message(ui::Beep::Yes,
                                   QStringLiteral("'%1' cannot be imported. %2\n\nNothing has been imported.").arg(path, plan.columns.missing),
                                   ui::Buttons::OKOnly, ui::Icon::Exclamation, title);
        return;
    }

    {
        ImportPreview preview(S, plan, &f);
        ui::current().runModal(preview);
    }
    if (S.DialogCancelled) {
        S.DialogCancelled = false;
        return;
    }
    // A copy of the file as it was, before thousands of rows arrive at once.
    if (!BackupBeforeCommand())
        return;

    db::import::Written written;
    db::import::Outcome outcome = db::import::Outcome::Cancelled;
    ui::current().setBusyPointer(true);
    try {
        ui::WorkProgress progress(&f, kProgressName, title, QStringLiteral("Importing %1").arg(QFileInfo(path).fileName()));
        outcome = db::import::write(*S.db, plan, tellOf(progress), written);
    } catch (const jet::DbError& e) {
        ui::current().setBusyPointer(false);
        S.LastAnswer = ui::dataError(QStringLiteral("The import could not be saved: nothing has been written.\n\n%1").arg(e.reason()));
        return;
    }
    ui::current().setBusyPointer(false);
    if (outcome == db::import::Outcome::Cancelled)
        return;

    QString done = members ? plural(written.members, "member", "members") : plural(written.donations, "donation", "donations");
    done += QStringLiteral(" imported");
    if (written.destinations > 0)
        done += QStringLiteral("; %1 added to the destination list").arg(plural(written.destinations, "new fund", "new funds"));
    if (!plan.problems.empty())
        done += QStringLiteral("; %1 left out").arg(plural(static_cast<std::int64_t>(plan.problems.size()), "line", "lines"));
    S.LastAnswer = ui::message(ui::Beep::No, done + u'.', ui::Buttons::OKOnly, ui::Icon::Information, QStringLiteral("QUIL"));
    f.records->RequeryView();
}
