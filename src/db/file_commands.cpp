#include "db/file_commands.h"

#include "db/backup_file.h"
#include "db/file_key.h"
#include "db/format_upgrade.h"
#include "db/passphrase_dialogs.h"
#include "db/beside_files.h"
#include "frame/dispatch.h"
#include "frame/frm_main.h"
#include "frame/report_logo.h"
#include "platform/dao/derived_keys.h"
#include "platform/dao/engine.h"
#include "platform/dao/recordset.h"
#include "platform/data/data_control.h"
#include "platform/jet/db_error.h"
#include "platform/ui/ui.h"
#include "platform/vb/skip_on_failure.h"
#include "schema/connect_key.h"
#include "schema/open_checks.h"
#include "schema/schema.h"
#include "schema/template.h"

#include <QAction>
#include <QDir>
#include <QFrame>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTableView>

namespace {

const QString kDefaultLogo = QLatin1String(db::templ::OrgLogo);

} // namespace

FileCommands::FileCommands(frmMain& f) : f(f) {}

FileCommands::~FileCommands()
{
    // The jobs' thread ends before what it posts its news to goes.
    stopFileJobs();
}

QString FileCommands::ChooseDatabaseFile(const QString& title)
{
    // The dialog opens centred over the window, where the picture box that held it stood.
    f.Picture1->move(f.client->width() / 2 - 3200 / 15, f.client->height() / 2 - 2500 / 15);
    bool cancelled = false;
    QString name = ui::current().openFileDialog(title, QStringLiteral("*.qdb"), QStringLiteral("*.qdb"), {}, &cancelled);
    if (cancelled) {
        f.S.DialogCancelled = true;
        name.clear();
    }
    if (name.right(4).toUpper() != u".QDB")
        name += QStringLiteral(".qdb");
    return name.size() > 4 ? name : QString();
}

void FileCommands::reportUnopenable(const QString& path, int number, const QString& reason, const QString& title)
{
    const QString why = number ? QStringLiteral("%1 (error %2)").arg(reason).arg(number) : reason;
    f.S.LastAnswer = ui::message(ui::Beep::Yes, QStringLiteral("QUIL cannot open the file\n%1\n\n%2").arg(path, why),
                                 ui::Buttons::OKOnly, ui::Icon::Critical, title);
}

void FileCommands::abandonOpen()
{
    auto& S = f.S;
    // The file goes first, so that nothing the window does on its way back reads it again.
    stopFileJobs();
    for (data::DataControl* control : {f.datPrimaryRS, f.datSecondaryRS, f.datScratchRS}) {
        skipOnFailure([&] { control->setRecordset(nullptr); });
        control->setDatabase(nullptr);
    }
    if (S.db)
        S.db->close();
    S.db.reset();
    dao::Engine::instance().defaultWorkspace().close();
    skipOnFailure([&] { mnuFileClose_Click(); });
    S.OpenDbPath.clear();
    S.DbFileName.clear();
    S.OpenedFromCommandLine = false;
    S.SuppressReposition = false;
    S.DialogCancelled = false;
    f.HideBusyPanel();
    ui::current().setBusyPointer(false);
}

void FileCommands::mnuFileOpen_Click()
{
    auto& S = f.S;
    if (S.DbFileName.isEmpty())
        S.DbFileName = ChooseDatabaseFile(QStringLiteral("Open Data Base File"));
    if (S.DbFileName.isEmpty() || S.DialogCancelled) {
        S.DbFileName = S.OpenDbPath;
        S.DialogCancelled = false;
        return;
    }

    // Every check runs before anything is bound or written, so a file that cannot be used
    // leaves the window in its no-file state and the file as it was. A file another program
    // holds is not even read: that program is not disturbed.
    const QString path = S.DbFileName;
    db::LockAttempt claim = db::lockDatabaseFile(path);
    if (claim.refusal) {
        S.DbFileName = S.OpenDbPath;
        S.OpenedFromCommandLine = false;
        reportUnopenable(path, db::kFileInUse, claim.refusal->reason(), QStringLiteral("File In Use"));
        return;
    }
    db::CheckedFile file;
    // The pages are read in the background while the window shows the file; a file about to be
    // brought up to date is read whole first, since the upgrade writes at once.
    bool pagesChecked = false;
    // A file with a passphrase of its own says so in its salt, before any page is read: it is
    // opened with what the user types (or what the command that reopens it kept), until it
    // opens or the user gives up. Its pages then read with that key or not at all, so a wrong
    // passphrase is told apart from a damaged file by the first read.
    const bool ownPassphrase = sqlite::carriesPassphrase(path);
    QByteArray passphrase = std::exchange(offeredPassphrase_, {});
    // A kept passphrase that does not open the file (a restored backup of another) is not the
    // user's mistake: the user is asked without a word about it.
    bool typed = false;
    try {
        for (;;) {
            QString connect = S.DbConnect;
            if (ownPassphrase) {
                if (passphrase.isEmpty()) {
                    if (!askFilePassword(path, passphrase)) {
                        S.DbFileName = S.OpenDbPath;
                        S.OpenedFromCommandLine = false;
                        return;
                    }
                    typed = true;
                }
                connect = QStringLiteral("pwd=") + QString::fromUtf8(passphrase);
            }
            try {
                file = db::openCheckedDatabase(path, connect, db::PageCheck::Later);
                break;
            } catch (const jet::DbError& e) {
                if (!ownPassphrase || e.number() != jet::err::NotValidPassword)
                    throw;
                sqlite::forgetPassphrase(passphrase);
                if (typed)
                    S.LastAnswer = tellFilePasswordNotCorrect(path);
            }
        }
        S.Passphrase = ownPassphrase ? std::exchange(passphrase, {}) : QByteArray();
        if (file.format < db::kSchemaVersion) {
            try {
                db::checkEveryPage(file.database->connection(), path);
            } catch (...) {
                file.database->close();
                throw;
            }
            pagesChecked = true;
        }
    } catch (const jet::DbError& e) {
        sqlite::forgetPassphrase(passphrase);
        sqlite::forgetPassphrase(S.Passphrase);
        S.DbFileName = S.OpenDbPath;
        S.OpenedFromCommandLine = false;
        if (e.number() == jet::err::NewerFileFormat)
            // The reason names the file and says all there is to say.
            S.LastAnswer = ui::message(ui::Beep::Yes, e.description(), ui::Buttons::OKOnly, ui::Icon::Critical,
                                       QStringLiteral("Unreadable File"));
        else
            reportUnopenable(path, e.number(), e.description());
        return;
    }
    // Nobody works on the file now: what a stopped run left beside it is nobody's work.
    if (claim.first)
        db::removeLeftovers(path);
    const bool upgrade = file.format < db::kSchemaVersion;
    if (upgrade && !bringUpToDate(file, path)) {
        S.DbFileName = S.OpenDbPath;
        S.OpenedFromCommandLine = false;
        return;
    }

    // A failure anywhere in the rest of the sequence, in an event it raises too, is one
    // message about the file and the window back in its no-file state: never a window bound to
    // half a file.
    frame::FailureScope failures(f);
    opening_ = true;
    try {
        bindOpenedFile(file, failures, pagesChecked);
    } catch (const jet::DbError& e) {
        failures.record(e.number(), e.description());
    } catch (const std::exception& e) {
        failures.record(0, QString::fromLocal8Bit(e.what()));
    }
    opening_ = false;
    if (jobs_)
        postSettle();
    if (!failures.failed()) {
        lock_ = std::move(claim.lock);
        if (upgrade)
            S.LastAnswer = ui::message(ui::Beep::No, db::upgradedNote(), ui::Buttons::OKOnly, ui::Icon::Information,
                                       QStringLiteral("QUIL"));
        return;
    }
    abandonOpen();
    reportUnopenable(path, failures.number(), failures.description());
}

bool FileCommands::bringUpToDate(const db::CheckedFile& file, const QString& path)
{
    f.ShowBusyPanel();
    ui::current().setBusyPointer(true);
    const db::UpgradeResult result =
        db::upgradeFile(*file.database, path, file.format, db::fileKey(f.S));
    f.HideBusyPanel();
    ui::current().setBusyPointer(false);
    if (!result.failure)
        return true;
    file.database->close();
    reportUnopenable(path, 0, db::upgradeRefusal(file.format, *result.failure));
    return false;
}

void FileCommands::bindOpenedFile(const db::CheckedFile& file, const frame::FailureScope& failures, bool pagesChecked)
{
    auto& S = f.S;
    // An event that failed has been noted, not shown; the sequence stops at the next step, and
    // before anything is written.
    const auto stopIfFailed = [&failures] {
        if (failures.failed())
            throw jet::DbError(failures.number(), failures.description());
    };
    S.db = file.database;
    startFileJobs(!pagesChecked);

    if (S.OpenedFromCommandLine) {
        f.WaitOneSecond();
        S.OpenedFromCommandLine = false;
    }
    f.datPrimaryRS->setDatabase(S.db);
    f.datPrimaryRS->setRecordSource(QStringLiteral("Members"));
    f.datPrimaryRS->setRecordset(S.db->openRecordset(QStringLiteral("Members")));
    stopIfFailed();
    f.datSecondaryRS->setDatabase(S.db);
    f.datSecondaryRS->setRecordSource(QStringLiteral("Payments"));
    f.datSecondaryRS->setRecordset(S.db->openRecordset(QStringLiteral("Payments")));
    stopIfFailed();
    f.setWindowTitle(QStringLiteral(" QUIL    ") + S.DbFileName);
    S.GridQueryState = GridQuery::SortedByDate;
    S.SortIndex = 5;

    f.datPrimaryRS->refresh();
    if (f.datPrimaryRS->recordset()->recordCount() == 0)
        f.datPrimaryRS->recordset()->addNew();
    stopIfFailed();

    for (const char* key : {"Exec", "Donat", "AddGuy"})
        f.Button(QString::fromLatin1(key))->setEnabled(true);
    f.Button(QStringLiteral("Open"))->setEnabled(false);
    for (QAction* a : {f.mnuEdit, f.mnuData, f.mnuFileClose, f.mnuEditAddMem})
        a->setEnabled(true);
    f.mnuFileOpen->setEnabled(false);
    f.Label7->setText(QStringLiteral("Not Available"));

    S.OpenDbPath = S.DbFileName;
    S.DbFileName.clear();
    f.datPrimaryRS->show();
    for (QWidget* w : std::initializer_list<QWidget*>{f.Shape2, f.Label8, f.Shape1, f.Shape3, f.Label1, f.EntNme, f.C_List})
        w->show();
    f.grdDataGrid->hide();

    f.datScratchRS->setDatabase(S.db);
    f.datScratchRS->setRecordSource(db::kOrganizationQuery);
    f.datScratchRS->setRecordset(S.db->openRecordset(db::kOrganizationQuery));
    stopIfFailed();
    S.OrgName = file.organization.name;
    S.OrgAdd = file.organization.address;
    S.OrgPhone = file.organization.phone;
    S.OrgEmail = file.organization.email;
    S.OrgLogo = file.organization.logo;
    if (S.OrgLogo == kDefaultLogo) {
        // This rewrite is a write: the page check's verdict and the day's backup, checked and
        // named, come first (a new file's, so a small one).
        waitForJobs(true);
        if (jobs_) {
            const db::FileJobs::State done = jobs_->state();
            jobs_.reset();
            if (done.refusal)
                throw jet::DbError(done.refusal->number, done.refusal->description);
            if (!done.backup.isEmpty())
                rememberBackup(done.backup, jobsChanges_);
            if (done.backupFailure)
                reportBackupFailure(QDir::toNativeSeparators(db::backupFolder(S.db->name())), *done.backupFailure, false);
        }
        // The stored default becomes the program folder's logo, so reports find it wherever the
        // program runs from. A folder path longer than the field holds keeps the short name,
        // which LoadReportLogo resolves the same way.
        try {
            auto* org = f.datScratchRS->recordset();
            org->moveFirst();
            org->edit();
            org->setField(QStringLiteral("OrgLogo"), S.AppDir + kDefaultLogo);
            org->update();
        } catch (const jet::DbError&) {
            skipOnFailure([&] { f.datScratchRS->recordset()->cancelUpdate(); });
        }
    }
    S.FilterCaptions.fill(QStringLiteral(" "));
    f.EntNme->setFocus();
    f.records->RequeryView();
    stopIfFailed();
    LoadReportLogo();
    f.datScratchRS->setRecordset(nullptr);
    launchFileJobs();
}

void FileCommands::LoadReportLogo()
{
    auto& S = f.S;
    // An earlier file's picture never stays behind this file's logo, loaded or not.
    f.Picture1->setPixmap(QPixmap());
    const QString path = ReportLogoPath(S);
    if (path.isEmpty())
        return;
    QImageReader reader(path);
    const QImage image = reader.read();
    if (image.isNull()) {
        S.LastAnswer = ui::message(ui::Beep::Yes, QStringLiteral("Bad Print Logo Picture File"), ui::Buttons::OKOnly,
                                   ui::Icon::Critical, QStringLiteral("Unreadable File"));
        S.OrgLogo.clear();
        return;
    }
    f.Picture1->setPixmap(QPixmap::fromImage(image));
}

void FileCommands::mnuFileClose_Click()
{
    auto& S = f.S;
    stopFileJobs();
    lastBackup_.clear();
    // A batch of gifts belongs to the file it was entered into.
    if (S.db)
        f.records->EndBatchOnClose();
    f.grdDataGrid->hide();
    f.mnuMemView_Click();
    f.mnuStandard_Click();
    for (const char* key : {"Exec", "Donat", "AddGuy", "MemView", "ListView"})
        f.Button(QString::fromLatin1(key))->setEnabled(false);
    f.Button(QStringLiteral("Open"))->setEnabled(true);
    f.datPrimaryRS->setRecordset(nullptr);
    f.datSecondaryRS->setRecordset(nullptr);
    f.datScratchRS->setRecordset(nullptr);
    f.datPrimaryRS->setDatabase(nullptr);
    f.datSecondaryRS->setDatabase(nullptr);
    f.datScratchRS->setDatabase(nullptr);
    S.db.reset();
    dao::Engine::instance().defaultWorkspace().close();
    // Only once every connection to the file is closed may another program open it.
    lock_.release();
    f.setWindowTitle(QStringLiteral(" QUIL    "));
    for (QAction* a : {f.mnuEdit, f.mnuData, f.mnuFileClose, f.mnuFileNewClone})
        a->setEnabled(false);
    f.mnuFileOpen->setEnabled(true);
    for (int i = 0; i < 9; ++i)
        f.txtFields.setText(i, QString());
    f.Label2->setText(QStringLiteral("0"));
    for (QWidget* w : std::initializer_list<QWidget*>{f.Shape2, f.Label8, f.Shape1, f.Shape3, f.Label1, f.EntNme, f.C_List})
        w->hide();
    f.datPrimaryRS->setCaption(QStringLiteral("Members"));
    S.OpenDbPath.clear();
    // Nothing of the file's passphrase outlives the file being open.
    sqlite::forgetPassphrase(S.Passphrase);
    ui::current().setBusyPointer(false);
}

bool FileCommands::askFilePassword(const QString& path, QByteArray& passphrase)
{
    auto& S = f.S;
    // An empty passphrase opens no file that has one: asked again.
    do {
        QString typed;
        {
            FilePassword dialog(S, path, &f);
            ui::current().runModal(dialog);
            typed = dialog.txtPassword->text();
            dialog.txtPassword->clear();
        }
        if (S.DialogCancelled) {
            S.DialogCancelled = false;
            return false;
        }
        passphrase = typed.toUtf8();
        typed.fill(u'\0');
    } while (passphrase.isEmpty());
    return true;
}
