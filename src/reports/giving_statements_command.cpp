// File > Giving Statements: the dialog, then the period's statements in the preview, in one PDF,
// or in a PDF per donor.
#include "frame/frm_main.h"
#include "platform/report/preview.h"
#include "platform/report/render.h"
#include "platform/report/report_error.h"
#include "platform/ui/save_target.h"
#include "platform/ui/ui.h"
#include "platform/ui/work_progress.h"
#include "reports/letterhead.h"
#include "reports/giving_statements_dialog.h"
#include "reports/report_commands.h"
#include "reports/statement_files.h"
#include "reports/statement_pages.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString kTitle = QStringLiteral("Giving Statements");
// How many names a message lists before it says how many more there are.
constexpr int kNamesListed = 12;

QString listed(const QStringList& names)
{
    QString text = names.mid(0, kNamesListed).join(u'\n');
    if (names.size() > kNamesListed)
        text += QStringLiteral("\n... and %1 more").arg(names.size() - kNamesListed);
    return text;
}

} // namespace

void ReportCommands::mnuFileGivingStatements_Click()
{
    if (!f.S.db)
        return;
    GivingStatements::Output output = GivingStatements::Output::Preview;
    reports::StatementRequest request;
    reports::DonorChoice choice;
    {
        GivingStatements dialog(f.S, f.S.db, &f);
        ui::current().runModal(dialog);
        if (f.S.DialogCancelled) {
            f.S.DialogCancelled = false;
            return;
        }
        output = dialog.output;
        request.period = dialog.period;
        request.wording = dialog.wording;
        choice = dialog.choice;
    }
    request.letterhead = reports::letterheadOf(f.S);
    request.printed = QDate::currentDate();

    ui::current().setBusyPointer(true);
    std::vector<reports::StatementDonor> donors =
        reports::statementDonors(*f.S.db, request.period, choice, reports::GivingStatementPages::paging(request.wording));
    ui::current().setBusyPointer(false);
    if (donors.empty()) {
        f.S.LastAnswer = ui::message(ui::Beep::Yes,
                                     QStringLiteral("There are no gifts%1 from %2. No statement has been made.")
                                         .arg(choice.members ? QStringLiteral(" of the chosen members") : QString(),
                                              request.period.inWords().replace(QStringLiteral(" - "), QStringLiteral(" to "))),
                                     ui::Buttons::OKOnly, ui::Icon::Information, kTitle);
        return;
    }
    reports::GivingStatementPages pages(*f.S.db, std::move(request), std::move(donors));
    if (!OfferAddressList(pages))
        return;
    switch (output) {
    case GivingStatements::Output::Preview: {
        report::ReportPreview window(pages, kTitle, f.frameGeometry(), &f);
        ui::current().runModal(window);
        break;
    }
    case GivingStatements::Output::CombinedPdf:
        WriteCombinedStatements(pages);
        break;
    case GivingStatements::Output::PerMemberPdf:
        WriteStatementPerDonor(pages);
        break;
    }
}

bool ReportCommands::OfferAddressList(const reports::GivingStatementPages& pages)
{
    std::vector<reports::DonorListPages::Entry> entries;
    QStringList names;
    for (const reports::StatementDonor& d : pages.donors()) {
        // Member 1 stands for unknown donors: no letter of it is ever mailed.
        if (d.hasAddress || d.memberId == 1)
            continue;
        const QString name = pages.namesOf(d.memberId).full;
        entries.push_back({name, d.memberId});
        names << QStringLiteral("%1 (%2)").arg(name).arg(d.memberId);
    }
    if (entries.empty())
        return true;
    const int answer = f.S.LastAnswer = ui::message(
        ui::Beep::No,
        QStringLiteral("%1 of the donors have no usable address (blank or NONE):\n\n%2\n\nPrint this list before the statements?")
            .arg(entries.size())
            .arg(listed(names)),
        ui::Buttons::YesNoCancel, ui::Icon::Question, kTitle);
    if (answer == ui::Cancel)
        return false;
    if (answer == ui::Yes) {
        const reports::DonorListPages list(QStringLiteral("Donors Without a Usable Address"),
                                           QStringLiteral("Gifts from %1").arg(pages.request().period.inWords()), std::move(entries));
        report::ReportPreview window(list, list.caption(), f.frameGeometry(), &f);
        ui::current().runModal(window);
    }
    return true;
}

void ReportCommands::WriteCombinedStatements(const reports::GivingStatementPages& pages)
{
    ui::SaveRequest request{kTitle, QStringLiteral("Giving Statements %1.pdf").arg(pages.request().period.shortName()),
                            QStringLiteral("PDF Files|*.pdf"), report::withPdfExtension};
    request.askBeforeReplacing = true;
    const QString path = ui::chooseSaveTarget(request);
    if (path.isEmpty())
        return;
    ui::WorkProgress progress(&f, QStringLiteral("StatementProgress"), kTitle,
                              QStringLiteral("Writing %1").arg(QFileInfo(path).fileName()),
                              [](std::int64_t done, std::int64_t total) { return QStringLiteral("Page %1 of %2").arg(done).arg(total); });
    report::ExportResult result = report::ExportResult::Cancelled;
    try {
        result = report::exportPdf(pages, path, {1, pages.pageCount()}, kTitle,
                                   [&](int done, int total) { return progress.tell(done, total); });
    } catch (const report::ReportError& e) {
        progress.close();
        f.S.LastAnswer = ui::message(ui::Beep::Yes, e.message() + QStringLiteral("\n\nNo file has been written."), ui::Buttons::OKOnly,
                                     ui::Icon::Critical, QStringLiteral("File Error"));
        return;
    }
    progress.close();
    if (result == report::ExportResult::Written)
        f.S.LastAnswer = ui::message(ui::Beep::No,
                                     QStringLiteral("%1 statements (%2 pages) written to '%3'.")
                                         .arg(pages.donors().size())
                                         .arg(pages.pageCount())
                                         .arg(path),
                                     ui::Buttons::OKOnly, ui::Icon::Information, QStringLiteral("QUIL"));
}

void ReportCommands::WriteStatementPerDonor(const reports::GivingStatementPages& pages)
{
    bool cancelled = false;
    const QString folder = ui::current().folderDialog(QStringLiteral("Folder for the Giving Statements"), {}, &cancelled);
    if (folder.isEmpty())
        return;
    const QStringList names = reports::statementFileNames(pages);
    const QDir dir(folder);
    QStringList existing;
    for (const QString& name : names)
        if (QFileInfo::exists(dir.filePath(name)))
            existing << name;
    if (!existing.isEmpty()) {
        f.S.LastAnswer = ui::message(ui::Beep::No,
                                     QStringLiteral("%1 of the statements' files are in '%2' already:\n\n%3\n\nReplace them?")
                                         .arg(existing.size())
                                         .arg(folder, listed(existing)),
                                     ui::Buttons::YesNo, ui::Icon::Question, kTitle);
        if (f.S.LastAnswer != ui::Yes)
            return;
    }

    ui::WorkProgress progress(&f, QStringLiteral("StatementProgress"), kTitle, QStringLiteral("Writing the statements"),
                              [](std::int64_t done, std::int64_t total) { return QStringLiteral("%1 of %2 statements").arg(done).arg(total); });
    const reports::StatementFilesResult result =
        reports::writeStatementFiles(pages, folder, names, [&](int done, int total) { return progress.tell(done, total); });
    progress.close();

    QStringList written;
    for (const QString& path : result.written)
        written << QFileInfo(path).fileName();
    if (!result.failure.isEmpty()) {
        f.S.LastAnswer = ui::message(
            ui::Beep::Yes,
            QStringLiteral("%1\n\n%2 of the %3 statements were written to '%4' before it%5")
                .arg(result.failure)
                .arg(written.size())
                .arg(names.size())
                .arg(folder, written.isEmpty() ? QStringLiteral(".") : QStringLiteral(":\n\n") + listed(written)),
            ui::Buttons::OKOnly, ui::Icon::Critical, QStringLiteral("File Error"));
        return;
    }
    if (result.cancelled) {
        f.S.LastAnswer = ui::message(ui::Beep::No,
                                     QStringLiteral("Cancelled: %1 of the %2 statements were written to '%3'.")
                                         .arg(written.size())
                                         .arg(names.size())
                                         .arg(folder),
                                     ui::Buttons::OKOnly, ui::Icon::Information, kTitle);
        return;
    }
    f.S.LastAnswer = ui::message(ui::Beep::No, QStringLiteral("%1 statements written to '%2'.").arg(written.size()).arg(folder),
                                 ui::Buttons::OKOnly, ui::Icon::Information, QStringLiteral("QUIL"));
}
