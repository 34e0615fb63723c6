#include "reliability/session.h"

#include "app/install_commands.h"
#include "db/file_commands.h"
#include "platform/dao/engine.h"
#include "platform/dao/sqlite.h"
#include "records/records_commands.h"
#include "schema/connect_key.h"
#include "schema/template.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTableView>
#include <stdexcept>

namespace reliability {

Session::Session(QString folder) : folder_(std::move(folder))
{
    QApplication::setQuitOnLastWindowClosed(false);
}

Session::~Session()
{
    closeWindow();
}

QString Session::file() const
{
    return QDir(folder_).filePath(QStringLiteral("Club.qdb"));
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
         })
        c.exec(QString::fromLatin1(sql));
    t.commit();
}

void Session::restoreFile()
{
    QFile::remove(file() + QStringLiteral("-journal"));
    QFile::remove(file());
    if (!QFile::copy(pristine(), file()))
        throw std::runtime_error("cannot copy the fixture");
    QFile(file()).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

frmMain& Session::build()
{
    closeWindow();
    window_ = std::make_unique<frmMain>();
    InstallCommands(*window_);
    auto& S = window_->S;
    S.AppDir = folder_ + u'/';
    S.DbConnect = db::DescrambleConnect(db::kScrambledConnect);
    S.ViewName = QStringLiteral("Member View");
    S.SortFields = {QString(), QStringLiteral(" PaymentID"), QStringLiteral(" PaymentAmount"),
                    QStringLiteral(" CheckNumber"), QStringLiteral(" Destination"), QStringLiteral(" PaymentDate")};
    return *window_;
}

bool Session::open()
{
    window_->S.DbFileName = file();
    window_->files->mnuFileOpen_Click();
    return !window_->S.OpenDbPath.isEmpty();
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

void Session::closeWindow()
{
    window_.reset();
    dao::Engine::instance().defaultWorkspace().close();
}

} // namespace reliability
