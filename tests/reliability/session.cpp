#include "reliability/session.h"

#include "app/install_commands.h"
#include "db/backup_file.h"
#include "db/file_commands.h"
#include "platform/dao/derived_keys.h"
#include "platform/dao/engine.h"
#include "platform/dao/sqlite.h"
#include "records/records_commands.h"
#include "reliability/file_state.h"
#include "support/faultfs/fault_vfs.h"
#include "schema/connect_key.h"
#include "schema/template.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QTableView>
#include <stdexcept>

namespace reliability {

Session::Session(QString folder) : folder_(std::move(folder))
{
    QApplication::setQuitOnLastWindowClosed(false);
    db::setBackupClock([] { return backupTime(); });
}

QDateTime Session::backupTime()
{
    return QDateTime(QDate(2026, 1, 15), QTime(12, 0, 0));
}

QString Session::backupsFolder() const
{
    return db::backupFolder(file());
}

Session::~Session()
{
    closeWindow();
}

QString Session::file() const
{
    return QDir(folder_).filePath(QStringLiteral("Club.qdb"));
}

QString Session::watched() const
{
    return folder_ + u'/';
}

QString Session::pristine() const
{
    return QDir(folder_).filePath(QStringLiteral("pristine.qdb"));
}

void Session::makeFixture()
{
    QImage logo(40, 20, QImage::Format_RGB32);
    logo.fill(Qt::darkBlue);
    if (!logo.save(QDir(folder_).filePath(QStringLiteral("quil.jpg"))))
        throw std::runtime_error("cannot write the logo");
    const QDir dir(folder_);
    const QString templatePath = dir.filePath(QString::fromLatin1(db::kTemplateFileName));
    QFile::remove(templatePath);
    QFile::remove(dir.filePath(QStringLiteral("base.dat")));
    db::writeTemplate(templatePath);
    if (!QFile::link(QString::fromLatin1(db::kTemplateFileName), dir.filePath(QStringLiteral("base.dat"))))
        throw std::runtime_error("cannot link the template's second name");
    QFile::remove(pristine());
    db::writeTemplate(pristine());
    sqlite::Connection c(pristine(), db::databasePassword().toUtf8(), sqlite::Connection::Mode::ReadWrite);
    sqlite::Transaction t(c);
    for (const char* sql : {
             "INSERT INTO Members (MemberID, FirstName, LastName, Address, City) VALUES (2, 'Ann', 'Adams', '1 Elm St', 'Albany')",
             "INSERT INTO Members (MemberID, FirstName, LastName, Address, City) VALUES (3, 'Bob', 'Brown', '2 Oak Ave', 'Troy')",
             "INSERT INTO Members (MemberID, FirstName, LastName, Address, City) VALUES (4, 'Cy', 'Clark', '3 Pine Rd', 'Utica')",
             "INSERT INTO Payments VALUES (1, 250000, 101, 'General Fund', '2001-03-15 00:00:00', 4)",
             "INSERT INTO Payments VALUES (2, 12345000, 555, 'Roof', '2001-01-10 10:30:00', 4)",
             "INSERT INTO Payments VALUES (3, 100000, NULL, 'Youth', '2002-06-01 00:00:00', 3)",
             "INSERT INTO Payments VALUES (4, 5000000, 900, 'Roof', '2000-12-24 00:00:00', 3)",
             "INSERT INTO Payments VALUES (5, 72500, 300, 'Music', '2000-05-05 00:00:00', 2)",
             "INSERT INTO Dest (DestItem) VALUES ('Roof')",
             "INSERT INTO Dest (DestItem) VALUES ('Music')",
             "INSERT INTO Passwords (PassName, MyPassWord) VALUES ('Clerk', 'clerkpw')",
         })
        c.exec(QString::fromLatin1(sql));
    t.commit();
}

void Session::restoreFile()
{
    // A window an earlier round left open lets the file go first: the fixture takes its place
    // under no connection, and the lock file goes with nobody holding it.
    closeWindow();
    // Whatever a command left in the folder goes: its journal, a new file it made, work files.
    const QDir dir(folder_);
    const QStringList kept{QStringLiteral("pristine.qdb"), QString::fromLatin1(db::kTemplateFileName),
                           QStringLiteral("base.dat"), QStringLiteral("quil.jpg")};
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (!kept.contains(name))
            QFile::remove(dir.filePath(name));
    if (!QFile::copy(pristine(), file()))
        throw std::runtime_error("cannot copy the fixture");
    QFile(file()).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QDir backups(backupsFolder());
    backups.removeRecursively();
    if (!QDir().mkpath(backups.path()) ||
        !QFile::copy(pristine(), backups.filePath(db::backupFileName(QStringLiteral("Club"), backupTime().addSecs(-4 * 3600)))))
        throw std::runtime_error("cannot make the fixture's backup");
}

frmMain& Session::build()
{
    closeWindow();
    ui_->clearPending();
    window_ = std::make_unique<frmMain>();
    InstallCommands(*window_);
    auto& S = window_->S;
    S.AppDir = folder_ + u'/';
    S.DbConnect = db::DescrambleConnect(db::kScrambledConnect);
    S.ViewName = QStringLiteral("Member View");
    return *window_;
}

bool Session::open()
{
    // A file a run gave a passphrase of its own asks for it, as a user who knows it types it.
    if (sqlite::carriesPassphrase(file()))
        ui().queueDialog([](QDialog& d) {
            ui::child<QLineEdit>(d, QStringLiteral("txtPassword")).setText(QString::fromUtf8(kFilePassphrase));
            ui::click(d, QStringLiteral("cmdOK"));
        });
    window_->S.DbFileName = file();
    window_->files->mnuFileOpen_Click();
    settle();
    return !window_->S.OpenDbPath.isEmpty();
}

void Session::settle()
{
    if (window_ && window_->files)
        static_cast<FileCommands&>(*window_->files).WaitForFileJobs();
}

void Session::executive()
{
    frmMain& f = *window_;
    f.S.StandardMode = false;
    for (QWidget* field : f.txtFields)
        field->setEnabled(true);
    f.txtFields[8]->show();
    f.grdDataGrid->show();
    f.records->RequeryView();
}

void Session::recordStates(bool on)
{
    recording_ = on;
    noted_.clear();
}

void Session::noteState()
{
    if (!recording_)
        return;
    // A prefix no path has: the connection the dump opens is not counted.
    faultfs::watch(QStringLiteral("\x01"));
    try {
        noted_ << canonicalDump(file());
    } catch (...) {
        faultfs::watch(watched());
        throw;
    }
    faultfs::watch(watched());
}

void Session::closeWindow()
{
    window_.reset();
    dao::Engine::instance().defaultWorkspace().close();
}

} // namespace reliability
