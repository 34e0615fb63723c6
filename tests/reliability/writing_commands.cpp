#include "reliability/writing_commands.h"

#include "db/backup.h"
#include "db/backup_file.h"
#include "frame/dispatch.h"
#include "platform/dao/sqlite.h"
#include "schema/connect_key.h"
#include "platform/data/data_control.h"
#include "platform/data/grid_model.h"
#include "access/admin.h"
#include "platform/dao/recordset.h"
#include "platform/report/preview.h"
#include "records/records_commands.h"
#include "reports/printouts.h"
#include "reports/report_commands.h"
#include "reliability/file_state.h"
#include "support/executive.h"
#include "support/file_formats.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QTreeWidget>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableView>
#include <stdexcept>

namespace reliability {

namespace {

// ---- What a user does in the dialogs -------------------------------------------------------

void type(QWidget* widget, const QString& text)
{
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
    }
}

QLineEdit& text1(QDialog& d, int index)
{
    return ui::child<QLineEdit>(d, QStringLiteral("Text1(%1)").arg(index));
}

void typeDestination(QDialog& d, const QString& text)
{
    QLineEdit* box = ui::child<QComboBox>(d, QStringLiteral("Combo1")).lineEdit();
    box->selectAll();
    type(box, text);
}

// Picks the item from the list; when the list could not be read, the user types it instead.
void chooseDestination(QDialog& d, const QString& item)
{
    auto& combo = ui::child<QComboBox>(d, QStringLiteral("Combo1"));
    const int index = combo.findText(item);
    if (index < 0) {
        typeDestination(d, item);
        return;
    }
    combo.setCurrentIndex(index);
    emit combo.activated(index);
}

void menu(Session& s, const std::function<void(frmMain&)>& handler)
{
    frmMain& f = s.window();
    frame::RunHandler(f, frame::Origin::Menu, [&] { handler(f); });
}

void openFile(Session& s)
{
    if (!s.open())
        throw std::runtime_error("the fixture did not open");
}

void openExecutive(Session& s)
{
    openFile(s);
    s.executive();
}

// ---- Adding donations ----------------------------------------------------------------------

void addDonation(Session& s)
{
    s.ui().queueDialog([](QDialog& d) {
        text1(d, 0).setText(QStringLiteral("42.50"));
        text1(d, 1).setText(QStringLiteral("777"));
        chooseDestination(d, QStringLiteral("Roof"));
        text1(d, 3).setText(QStringLiteral("6/1/2004"));
        ui::click(d, QStringLiteral("Command1"));
    });
    menu(s, [](frmMain& f) { f.mnuEditAddPay_Click(); });
}

void addSplitDonation(Session& s)
{
    s.ui().queueDialog([](QDialog& d) {
        text1(d, 0).setText(QStringLiteral("150"));
        text1(d, 1).setText(QStringLiteral("900"));
        text1(d, 3).setText(QStringLiteral("6/2/2004"));
        ui::click(d, QStringLiteral("Option2"));
        ui::click(d, QStringLiteral("Command1"));
        const char* const lines[][2] = {
            {"10", "General Fund"}, {"20", "Roof"}, {"30", "Music"}, {"40", "Bell Tower"}, {"50", "O'Neil Fund"}};
        for (const auto& line : lines) {
            text1(d, 0).setText(QString::fromLatin1(line[0]));
            typeDestination(d, QString::fromLatin1(line[1]));
            ui::click(d, QStringLiteral("Command1"));
        }
    });
    menu(s, [](frmMain& f) { f.mnuEditAddPay_Click(); });
}

void addDestination(Session& s)
{
    s.ui().queueDialog([](QDialog& d) {
        typeDestination(d, QStringLiteral("Organ Fund"));
        ui::click(d, QStringLiteral("Command3"));
        ui::click(d, QStringLiteral("Command2"));
    });
    menu(s, [](frmMain& f) { f.mnuEditAddPay_Click(); });
}

void removeDestination(Session& s)
{
    s.ui().queueDialog([](QDialog& d) {
        chooseDestination(d, QStringLiteral("Music"));
        // A list that could not be read offers nothing to remove.
        if (ui::child<QWidget>(d, QStringLiteral("Command4")).isEnabled())
            ui::click(d, QStringLiteral("Command4"));
        ui::click(d, QStringLiteral("Command2"));
    });
    menu(s, [](frmMain& f) { f.mnuEditAddPay_Click(); });
}

// ---- Grid edits: payment 1 of member 4, the member current after the view's re-run ---------

std::function<void(Session&)> gridEdit(int column, QString typed)
{
    return [column, typed](Session& s) {
        frmMain& f = s.window();
        auto* model = qobject_cast<data::GridModel*>(f.grdDataGrid->model());
        if (!model)
            throw std::logic_error("the grid has no model");
        int row = -1;
        for (int r = 0; r < model->rowCount() && row < 0; ++r)
            if (model->data(model->index(r, 0)).toString() == u"1")
                row = r;
        if (row < 0)
            throw std::logic_error("the grid does not show payment 1");
        frame::RunHandler(f, frame::Origin::Event, [&] { model->setData(model->index(row, column), typed); });
    };
}

// ---- Members -------------------------------------------------------------------------------

void addMember(Session& s)
{
    s.ui().queueDialog([](QDialog& d) {
        const QStringList texts{"Dora", "D'Arcy", "4 Ash Ln", "Rome", "NY", "13440", "555-0100"};
        for (int i = 0; i < texts.size(); ++i)
            ui::child<QLineEdit>(d, QStringLiteral("NewMem(%1)").arg(i)).setText(texts[i]);
        ui::child<QPlainTextEdit>(d, QStringLiteral("NewMem(7)")).setPlainText(QStringLiteral("joined in June"));
        ui::click(d, QStringLiteral("Command1"));
    });
    menu(s, [](frmMain& f) { f.mnuEditAddMem_Click(); });
}

void editMemberCity(Session& s)
{
    s.ui().queueDialog([](QDialog& d) {
        ui::child<QLineEdit>(d, QStringLiteral("Text1")).setText(QStringLiteral("Schenectady"));
        ui::click(d, QStringLiteral("OkBut"));
    });
    frmMain& f = s.window();
    frame::RunHandler(f, frame::Origin::Event, [&] { static_cast<RecordsCommands&>(*f.records).txtFields_DblClick(4); });
}

// File > Exit with a change typed into a member field and not yet written: it is written on the
// way out. When the file refuses it, the question whether to quit without it is answered No.
void exitWithTypedChange(Session& s)
{
    frmMain& f = s.window();
    f.txtFields.setText(4, QStringLiteral("Schenectady"));
    s.ui().queueAnswers({ui::OK, ui::No});  // the refusal, then the question
    frame::RunHandler(f, frame::Origin::Menu, [&] { f.mnuFileExit_Click(); });
}

// ---- Deleting ------------------------------------------------------------------------------

// Makes the member of that number current, through the members' data control.
void goToMember(frmMain& f, std::int64_t id)
{
    data::DataControl& members = *f.datPrimaryRS;
    members.moveFirst();
    for (int i = 0; members.recordset() && i < members.recordset()->recordCount(); ++i) {
        if (members.recordset()->field(QStringLiteral("MemberID")).toLong() == id)
            return;
        members.moveNext();
    }
    throw std::logic_error("member not found");
}

// Executive mode on member 4, the member current after the view's re-run.
void openOnMember4(Session& s)
{
    openExecutive(s);
    frmMain& f = s.window();
    frame::RunHandler(f, frame::Origin::Event, [&] { goToMember(f, 4); });
}

// Payment 1 of member 4 highlighted in the grid (again: a failed delete moves to the first
// row); Yes to "Confirm Delete".
void deleteDonation(Session& s)
{
    frmMain& f = s.window();
    auto* model = qobject_cast<data::GridModel*>(f.grdDataGrid->model());
    if (!model)
        throw std::logic_error("the grid has no model");
    for (int r = 0; r < model->rowCount(); ++r)
        if (model->data(model->index(r, 0)).toString() == u"1")
            f.grdDataGrid->setCurrentIndex(model->index(r, 0));
    s.ui().queueAnswer(ui::Yes);
    menu(s, [](frmMain& w) { w.mnuEditDelPay_Click(); });
}

// Member 4 and the transfer of its two donations to member 1: Alt held, then OK in DelForm.
void deleteMember(Session& s)
{
    frmMain& f = s.window();
    frame::RunHandler(f, frame::Origin::Event, [&] { goToMember(f, 4); });
    s.ui().queueDialog([](QDialog& d) {
        QKeyEvent alt(QEvent::KeyPress, Qt::Key_Alt, Qt::NoModifier);  // reported with Alt held
        QApplication::sendEvent(QApplication::focusWidget() ? QApplication::focusWidget() : &d, &alt);
        ui::click(d, QStringLiteral("Command1"));
    });
    menu(s, [](frmMain& w) { w.mnuEditDelMem_Click(); });
}

// ---- Reports: Select Report, the preview closed; the work table filled and emptied ---------

// Open, without the run's one-second pause and without a printer.
void openForReports(Session& s)
{
    openFile(s);
    frmMain& f = s.window();
    f.timer = [] {
        static float now = 100.0F;
        return now += 1.0F;
    };
    static_cast<ReportCommands&>(*f.reports).PrintOnDefaultPrinter = [](const report::Report&) { return false; };
}

// The same, in the List View (Executive mode, then the view command).
void openForReportsInListView(Session& s)
{
    openForReports(s);
    s.executive();
    frmMain& f = s.window();
    f.mnuListView_Click();
    if (!f.S.ListViewActive)
        throw std::logic_error("the List View did not come");
}

std::function<void(Session&)> report(int type, QString memberFilter = {}, QString donationFilter = {})
{
    return [=](Session& s) {
        frmMain& f = s.window();
        f.S.MemberFilter = memberFilter;
        f.S.DonationFilter = donationFilter;
        s.ui().queueDialog([type](QDialog& d) {
            ui::click(d, QStringLiteral("PrnOp(%1)").arg(type));
            // Every entry the list offers (the member list, the destinations).
            auto& all = ui::child<QCheckBox>(d, QStringLiteral("Check1"));
            if (all.isVisible() && all.isEnabled() && !all.isChecked())
                ui::click(d, QStringLiteral("Check1"));
            ui::click(d, QStringLiteral("Command1"));
        });
        // The preview stands between the fill and the emptying of the work table.
        s.ui().queueDialog([&s](QDialog& d) {
            s.noteState();
            d.close();
        });
        if (type == 3)
            s.ui().queueAnswer(ui::No);  // "Print Filter Criteria ?"
        menu(s, [](frmMain& w) { w.mnuFilePrint_Click(); });
    };
}

// ---- Administration ------------------------------------------------------------------------

// The Administrator Mode dialog opened with the administrator's password, the action, OK.
// confirm: Yes to the question the action asks.
std::function<void(Session&)> admin(std::function<void(Admin&)> action, bool confirm = false)
{
    return [action, confirm](Session& s) {
        if (confirm)
            s.ui().queueAnswer(ui::Yes);
        s.ui().queueDialog([action](QDialog& d) {
            auto& a = static_cast<Admin&>(d);
            a.Text1->setText(QStringLiteral("ADMIN"));
            ui::click(a, QStringLiteral("Command1"));
            if (a.inListPhase())
                action(a);
            if (a.isVisible())
                ui::click(a, QStringLiteral("Command1"));
        });
        menu(s, [](frmMain& f) { f.mnuAdminMode_Click(); });
    };
}

void adminAdd(Admin& a)
{
    ui::click(a, QStringLiteral("Command2"));
}

// The clerk's password (the list's second row).
void adminEdit(Admin& a)
{
    if (a.Grid1Model->rowCount() > 1)
        a.Grid1Model->setData(a.Grid1Model->index(1, 1), QStringLiteral("ledger7"));
}

// The clerk's entry.
void adminDelete(Admin& a)
{
    if (a.Grid1Model->rowCount() < 2)
        return;
    a.Grid1->setCurrentIndex(a.Grid1Model->index(1, 0));
    ui::click(a, QStringLiteral("Command3"));
}

void organizationData(Session& s)
{
    s.ui().queueDialog([](QDialog& d) {
        text1(d, 0).setText(QStringLiteral("Grace & Truth"));
        text1(d, 2).setText(QStringLiteral("555-0199"));
        ui::click(d, QStringLiteral("Command2"));
    });
    menu(s, [](frmMain& f) { f.mnuQuilProperties_Click(); });
}

// ---- CSV import: a few lines, so that every loop stays short ---------------------------------

std::function<void(Session&)> importCsv(const char* name, QByteArray lines, bool members)
{
    return [name, lines, members](Session& s) {
        const QString path = QDir(s.folder()).filePath(QString::fromLatin1(name));
        QFile csv(path);
        if (!csv.open(QIODevice::WriteOnly) || csv.write(lines) != lines.size())
            throw std::runtime_error("cannot write the CSV file");
        csv.close();
        s.ui().queueFile(path);
        s.ui().queueDialog([](QDialog& d) { ui::click(d, QStringLiteral("cmdImport")); });
        menu(s, [members](frmMain& f) {
            if (members)
                f.mnuFileImportMembers_Click();
            else
                f.mnuFileImportDonations_Click();
        });
        // A fault while the file is read stops the command before its preview.
        s.ui().clearPending();
    };
}

// ---- Files ---------------------------------------------------------------------------------

void openWithLogoRewrite(Session& s)
{
    menu(s, [&s](frmMain& f) {
        f.S.DbFileName = s.file();
        f.mnuFileOpen_Click();
    });
}

// The session's file as an earlier program left it, its logo path stored as an open stores it:
// the open's one write is then the upgrade, after its copy in Backups.
void asFormat1(Session& s)
{
    {
        sqlite::Connection c(s.file(), db::databasePassword().toUtf8(), sqlite::Connection::Mode::ReadWrite);
        sqlite::Statement logo = c.prepare(QStringLiteral("UPDATE Passwords SET OrgLogo = ? WHERE OrgLogo = 'quil.jpg'"));
        logo.bind(1, s.window().S.AppDir + QStringLiteral("quil.jpg"));
        logo.step();
    }
    quiltest::takeBackToFormat(s.file(), 1);
}

QString newFile(Session& s)
{
    return QDir(s.folder()).filePath(QStringLiteral("New.qdb"));
}

QString cloneFile(Session& s)
{
    return QDir(s.folder()).filePath(QStringLiteral("Clone.qdb"));
}

void newBlank(Session& s)
{
    s.ui().queueFile(newFile(s));
    menu(s, [](frmMain& f) { f.mnuFileNewBlank_Click(); });
}

void cloneAndClear(Session& s)
{
    s.ui().queueFile(cloneFile(s));
    menu(s, [](frmMain& f) { f.mnuFileNewClone_Click(); });
}

void repairCompress(Session& s)
{
    menu(s, [](frmMain& f) { f.mnuCompact_Click(); });
}

// ---- The file's own passphrase ------------------------------------------------------------

void setFilePassword(Session& s)
{
    s.ui().queueDialog([](QDialog& d) {
        ui::child<QLineEdit>(d, QStringLiteral("txtAdmin")).setText(quiltest::kAdminPassword);
        ui::child<QLineEdit>(d, QStringLiteral("txtNew")).setText(QString::fromUtf8(kFilePassphrase));
        ui::child<QLineEdit>(d, QStringLiteral("txtConfirm")).setText(QString::fromUtf8(kFilePassphrase));
        ui::click(d, QStringLiteral("cmdOK"));
    });
    menu(s, [](frmMain& f) { f.mnuFileSetPassword_Click(); });
}

// ---- Backups -------------------------------------------------------------------------------

QString backupMadeNow(Session& s)
{
    return QDir(s.backupsFolder()).filePath(db::backupFileName(QStringLiteral("Club"), Session::backupTime()));
}

void backupBeforeCommand(Session& s)
{
    menu(s, [](frmMain& f) { db::BackupBeforeCommand(f); });
}

// An older backup that differs from the file: one more donation than the fixture.
const QDateTime kOlderBackup(QDate(2026, 1, 15), QTime(9, 0, 0));

void openWithOlderBackup(Session& s)
{
    openExecutive(s);
    const QString path = QDir(s.backupsFolder()).filePath(db::backupFileName(QStringLiteral("Club"), kOlderBackup));
    QFile::remove(path);
    // A copy of the file as the window holds it (its logo path already stored at the open, as
    // in any real backup), so that the open after the restore has nothing of its own to write.
    if (!QFile::copy(s.file(), path))
        throw std::runtime_error("cannot place the older backup");
    QFile(path).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    sqlite::Connection c(path, db::databasePassword().toUtf8(), sqlite::Connection::Mode::ReadWrite);
    c.exec(QStringLiteral("INSERT OR REPLACE INTO Payments VALUES (6, 990000, 4242, 'Music', '2003-03-03 00:00:00', 2)"));
}

void restoreOlderBackup(Session& s)
{
    s.ui().queueDialog([](QDialog& d) {
        auto& list = ui::child<QTreeWidget>(d, QStringLiteral("lstBackups"));
        const QString made = kOlderBackup.toString(QStringLiteral("yyyy-MM-dd  HH:mm:ss"));
        for (int i = 0; i < list.topLevelItemCount(); ++i)
            if (list.topLevelItem(i)->text(0) == made)
                list.setCurrentItem(list.topLevelItem(i));
        ui::click(d, QStringLiteral("cmdRestore"));
    });
    s.ui().queueAnswer(ui::Yes);
    menu(s, [](frmMain& f) { f.mnuFileRestore_Click(); });
}

std::vector<WritingCommand> makeTable()
{
    std::vector<WritingCommand> rows;
    rows.push_back({QStringLiteral("add donation"), openFile, addDonation});
    rows.push_back({QStringLiteral("add split donation (five lines)"), openFile, addSplitDonation});
    rows.push_back({QStringLiteral("add destination"), openFile, addDestination});
    rows.push_back({QStringLiteral("remove destination"), openFile, removeDestination});
    rows.push_back({QStringLiteral("grid edit: amount"), openExecutive, gridEdit(1, QStringLiteral("99.95"))});
    rows.push_back({QStringLiteral("grid edit: check number"), openExecutive, gridEdit(2, QStringLiteral("4321"))});
    rows.push_back({QStringLiteral("grid edit: destination"), openExecutive, gridEdit(3, QStringLiteral("Bell Tower"))});
    rows.push_back({QStringLiteral("grid edit: date"), openExecutive, gridEdit(4, QStringLiteral("7/4/2003"))});
    rows.push_back({QStringLiteral("grid edit: member"), openExecutive, gridEdit(5, QStringLiteral("2"))});
    rows.push_back({QStringLiteral("add member"), openFile, addMember});
    rows.push_back({QStringLiteral("edit member field"), openExecutive, editMemberCity});
    rows.push_back({.name = QStringLiteral("exit with a typed member change"), .prepare = openExecutive,
                    .run = exitWithTypedChange, .opensFile = true, .faultQuestions = {QStringLiteral("QUIL")}});
    rows.push_back({QStringLiteral("open (logo path rewrite)"), [](Session&) {}, openWithLogoRewrite, true, true});
    rows.push_back({.name = QStringLiteral("open a file of format 1 (upgrade)"), .prepare = asFormat1, .run = openWithLogoRewrite,
                    .opensFile = true, .expectedTitles = {QStringLiteral("QUIL")}});
    rows.push_back({.name = QStringLiteral("delete donation"), .prepare = openOnMember4, .run = deleteDonation,
                    .expectedTitles = {QStringLiteral("Confirm Delete")}});
    rows.push_back({.name = QStringLiteral("delete member (donations to member 1)"), .prepare = openExecutive,
                    .run = deleteMember, .expectedTitles = {QStringLiteral("Donation Transfer")}});
    rows.push_back({.name = QStringLiteral("report: member statements"), .prepare = openForReports, .run = report(0),
                    .keepsContent = true});
    // The Accountant Statement and Category Statements read the donations in place and write
    // nothing: no row here.
    rows.push_back({.name = QStringLiteral("report: current filtered, list view"), .prepare = openForReportsInListView,
                    .run = report(3, {}, QStringLiteral(" WHERE [PaymentAmount] >100 ")),
                    .expectedTitles = {QStringLiteral("QUIL")}, .keepsContent = true});
    rows.push_back({.name = QStringLiteral("report: current filtered, member view"), .prepare = openForReports,
                    .run = report(3, QStringLiteral("[City] Like 'Troy' OR [City] Like 'Utica' "),
                                  QStringLiteral(" WHERE [PaymentAmount] >100 ")),
                    .expectedTitles = {QStringLiteral("QUIL")}, .keepsContent = true});
    rows.push_back({.name = QStringLiteral("administrator: add entry"), .prepare = openFile, .run = admin(adminAdd)});
    rows.push_back({.name = QStringLiteral("administrator: edit password"), .prepare = openFile, .run = admin(adminEdit)});
    rows.push_back({.name = QStringLiteral("administrator: delete entry"), .prepare = openFile, .run = admin(adminDelete, true),
                    .expectedTitles = {QStringLiteral("Confirm Delete")}});
    rows.push_back({.name = QStringLiteral("organization data"), .prepare = openFile, .run = organizationData});
    rows.push_back({.name = QStringLiteral("new blank database"), .prepare = openFile, .run = newBlank, .silentSkip = true,
                    .opensFile = true, .target = newFile});
    rows.push_back({.name = QStringLiteral("clone and clear"), .prepare = openFile, .run = cloneAndClear, .silentSkip = true,
                    .opensFile = true, .target = cloneFile});
    rows.push_back({.name = QStringLiteral("repair / compress"), .prepare = openFile, .run = repairCompress,
                    .opensFile = true, .expectedTitles = {QStringLiteral("QUIL")}, .keepsContent = true});
    // The file written again under a passphrase of its own and opened with it.
    rows.push_back({.name = QStringLiteral("set file password"), .prepare = openExecutive, .run = setFilePassword,
                    .opensFile = true, .expectedTitles = {QStringLiteral("Set File Password")}});
    // The backup Repair / Compress, Clone and Clear and Restore make first: a new file in Backups.
    rows.push_back({QStringLiteral("backup before a command"), openExecutive, backupBeforeCommand, false, false, {},
                    backupMadeNow});
    // The file replaced by an older backup and opened again; the question is answered Yes.
    rows.push_back({QStringLiteral("restore backup"), openWithOlderBackup, restoreOlderBackup, false, true,
                    {QStringLiteral("Restore Backup")}});
    rows.push_back({QStringLiteral("import members"), openExecutive,
                    importCsv("members.csv", "First Name,Last Name,Address,City\r\nDora,Dee,4 Ash Ln,Rome\r\nEd,Eve,5 Ash Ln,\r\n", true),
                    false, false, {QStringLiteral("QUIL")}});
    rows.push_back({QStringLiteral("import donations (a new fund)"), openExecutive,
                    importCsv("donations.csv",
                              "Member ID,Amount,Fund,Date,Check\r\n2,10,Roof,6/1/2004,12\r\n3,20.50,Organ Fund,6/2/2004,\r\n", false),
                    false, false, {QStringLiteral("QUIL")}});
    return rows;
}

} // namespace

const std::vector<WritingCommand>& writingCommands()
{
    static const std::vector<WritingCommand> table = makeTable();
    return table;
}

const WritingCommand* findCommand(const QString& name)
{
    for (const WritingCommand& c : writingCommands())
        if (c.name == name)
            return &c;
    return nullptr;
}

} // namespace reliability
