// Opening and closing files through the real main window with the scripted UI: the two window
// states, the file dialog's name rules, the logo rewrite, an empty member table, and every file
// that cannot be opened leaving the program usable and the file unchanged.
#include "db/file_commands.h"
#include "frame/frm_main.h"
#include "platform/dao/engine.h"
#include "platform/dao/recordset.h"
#include "platform/dao/sqlite.h"
#include "platform/data/data_control.h"
#include "platform/ui/scripted_ui.h"
#include "records/records_commands.h"
#include "schema/connect_key.h"
#include "schema/template.h"
#include "support/window_fixture.h"

#include <QAction>
#include <QCryptographicHash>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTableView>
#include <gtest/gtest.h>

namespace {

QByteArray digest(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

// Every test starts from the window built and no file open.
class FileCommandsTest : public quiltest::WindowTest<> {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        if (HasFatalFailure())
            return;
        build();
    }

    void expectNoFileState()
    {
        frmMain& f = *window_;
        EXPECT_TRUE(f.S.OpenDbPath.isEmpty());
        EXPECT_EQ(f.S.db, nullptr);
        EXPECT_TRUE(f.mnuFileOpen->isEnabled());
        EXPECT_TRUE(f.Button("Open")->isEnabled());
        for (QAction* a : {f.mnuEdit, f.mnuData, f.mnuFileClose, f.mnuFileNewClone})
            EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
        for (const char* key : {"Exec", "Donat", "AddGuy", "MemView", "ListView"})
            EXPECT_FALSE(f.Button(key)->isEnabled()) << key;
        for (QWidget* w : {static_cast<QWidget*>(f.EntNme), static_cast<QWidget*>(f.C_List), static_cast<QWidget*>(f.Label1),
                           static_cast<QWidget*>(f.grdDataGrid)})
            EXPECT_TRUE(w->isHidden()) << w->objectName().toStdString();
        EXPECT_EQ(dao::Engine::instance().defaultWorkspace().databaseCount(), 0);
    }
};

TEST_F(FileCommandsTest, OpenThenCloseWalksBothWindowStates)
{
    frmMain& f = *window_;
    open(file_);
    EXPECT_EQ(f.windowTitle(), " QUIL    " + file_);
    EXPECT_EQ(f.S.OpenDbPath, file_);
    EXPECT_TRUE(f.S.DbFileName.isEmpty());
    EXPECT_EQ(f.S.GridQueryState, 5);
    EXPECT_EQ(f.S.SortIndex, 5);
    for (QAction* a : {f.mnuEdit, f.mnuData, f.mnuFileClose, f.mnuEditAddMem})
        EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();
    EXPECT_FALSE(f.mnuFileOpen->isEnabled());
    for (const char* key : {"Exec", "Donat", "AddGuy"})
        EXPECT_TRUE(f.Button(key)->isEnabled()) << key;
    EXPECT_FALSE(f.Button("Open")->isEnabled());
    EXPECT_EQ(f.Label7->text(), "Not Available");
    EXPECT_FALSE(f.EntNme->isHidden());
    EXPECT_FALSE(f.C_List->isHidden());
    EXPECT_TRUE(f.grdDataGrid->isHidden());
    EXPECT_EQ(f.S.OrgName, QString::fromLatin1(db::templ::OrgName));
    for (const QString& caption : f.S.FilterCaptions)
        EXPECT_EQ(caption, " ");
    // The template's only member is shown, and the navigator says where it stands.
    QStringList shown;
    for (int i = 0; i < 9; ++i)
        shown << f.txtFields.text(i);
    EXPECT_TRUE(shown.contains("Donors")) << shown.join('|').toStdString();
    EXPECT_EQ(f.datPrimaryRS->caption(), "Record: 1");
    EXPECT_EQ(f.WhichViewT->text(), "Member View");
    EXPECT_EQ(f.datScratchRS->recordset(), nullptr);
    EXPECT_TRUE(static_cast<ui::ScriptedUi&>(ui::current()).messages().empty());

    f.files->mnuFileClose_Click();
    expectNoFileState();
    EXPECT_EQ(f.windowTitle(), " QUIL    ");
    for (int i = 0; i < 9; ++i)
        EXPECT_TRUE(f.txtFields.text(i).isEmpty()) << i;
    EXPECT_EQ(f.Label2->text(), "0");
    EXPECT_EQ(f.datPrimaryRS->caption(), "Members");
}

TEST_F(FileCommandsTest, TheDefaultLogoIsRewrittenToTheProgramFolder)
{
    open(file_);
    EXPECT_EQ(window_->S.OrgLogo, "quil.jpg");  // in memory until the next open
    EXPECT_FALSE(window_->Picture1->pixmap().isNull());
    window_->files->mnuFileClose_Click();
    sqlite::Connection c(file_, db::databasePassword().toUtf8(), sqlite::Connection::Mode::ReadOnly);
    auto s = c.prepare("SELECT OrgLogo FROM Passwords ORDER BY rowid LIMIT 1");
    ASSERT_TRUE(s.step());
    EXPECT_EQ(s.text(0), program_ + "quil.jpg");
}

TEST_F(FileCommandsTest, ABadLogoIsReportedAndTheFileStillOpens)
{
    {
        sqlite::Connection c = keyed();
        c.exec("UPDATE Passwords SET OrgLogo = '/nowhere/logo.jpg'");
    }
    open(file_);
    auto& script = static_cast<ui::ScriptedUi&>(ui::current());
    ASSERT_EQ(script.messages().size(), 1u);
    EXPECT_EQ(script.messages()[0].prompt, "Bad Print Logo Picture File");
    EXPECT_EQ(script.messages()[0].title, "Unreadable File");
    EXPECT_EQ(script.messages()[0].icon, ui::Icon::Critical);
    EXPECT_EQ(script.beepCount(), 1);
    EXPECT_TRUE(window_->S.OrgLogo.isEmpty());
    EXPECT_EQ(window_->S.OpenDbPath, file_);
}

TEST_F(FileCommandsTest, TheFileDialogNameRules)
{
    auto& script = static_cast<ui::ScriptedUi&>(ui::current());
    const std::pair<QString, QString> cases[] = {
        {"/data/club", "/data/club.qdb"},
        {"/data/club.QDB", "/data/club.QDB"},
        {"/data/club.Qdb", "/data/club.Qdb"},
        {"/data/club.dat", "/data/club.dat.qdb"},
    };
    for (const auto& [chosen, expected] : cases) {
        script.queueFile(chosen);
        EXPECT_EQ(window_->files->ChooseDatabaseFile("Open Data Base File"), expected);
    }
    ASSERT_FALSE(script.fileRequests().empty());
    EXPECT_EQ(script.fileRequests()[0].title, "Open Data Base File");
    EXPECT_EQ(script.fileRequests()[0].filter, "*.qdb");

    // Cancelling opens nothing and leaves the state as it was.
    script.queueFileCancel();
    window_->files->mnuFileOpen_Click();
    EXPECT_FALSE(window_->S.DialogCancelled);
    expectNoFileState();
}

TEST_F(FileCommandsTest, AnEmptyMemberTableShowsAnEmptyRecord)
{
    {
        sqlite::Connection c = keyed();
        c.exec("DELETE FROM Members");
    }
    open(file_);
    auto& script = static_cast<ui::ScriptedUi&>(ui::current());
    // One "no records" message, no endless retry, and a usable window.
    ASSERT_EQ(script.messages().size(), 1u);
    EXPECT_EQ(script.messages()[0].prompt, "No Records Found For Current Filter");
    EXPECT_EQ(script.messages()[0].title, "Bad Query");
    EXPECT_EQ(window_->S.OpenDbPath, file_);
    EXPECT_TRUE(window_->S.MemberFilter.isEmpty());
    EXPECT_EQ(window_->datPrimaryRS->recordset()->editMode(), dao::Recordset::EditMode::AddNew);
}

TEST_F(FileCommandsTest, AMemberFilterThatFindsNobodyFallsBackToAllMembers)
{
    open(file_);
    frmMain& f = *window_;
    f.S.MemberFilter = "[MemberID] = 0 ";
    f.datPrimaryRS->setRecordSource(
        "select [memberID],[firstname],[lastname], [address],[city],[state],[postalcode],[homephone], [notes] FROM [members] WHERE [MemberID] = 0 ");
    f.records->RequeryView();
    auto& script = static_cast<ui::ScriptedUi&>(ui::current());
    ASSERT_EQ(script.messages().size(), 1u);
    EXPECT_EQ(script.beepCount(), 1);
    EXPECT_TRUE(f.S.MemberFilter.isEmpty());
    EXPECT_EQ(f.datPrimaryRS->recordSource(),
              "select [memberID],[firstname],[lastname], [address],[city],[state],[postalcode],[homephone], [notes] FROM [members] ");
    EXPECT_EQ(f.datPrimaryRS->recordset()->recordCount(), 1);
    EXPECT_EQ(f.txtFields[1]->palette().color(QPalette::Text), f.palette().color(QPalette::WindowText));
}

TEST_F(FileCommandsTest, UnopenableFilesLeaveTheProgramUsableAndTheFileUnchanged)
{
    auto& script = static_cast<ui::ScriptedUi&>(ui::current());
    QFile(dir_.file("empty.qdb")).open(QIODevice::WriteOnly);
    {
        QFile text(dir_.file("letter.qdb"));
        ASSERT_TRUE(text.open(QIODevice::WriteOnly));
        text.write(QByteArray(5000, 'L'));
    }
    {
        sqlite::Connection other(dir_.file("other.qdb"), "another password", sqlite::Connection::Mode::Create);
        other.exec("CREATE TABLE Things (x)");
    }
    QFile::copy(file_, dir_.file("nulls.qdb"));
    {
        sqlite::Connection c(dir_.file("nulls.qdb"), db::databasePassword().toUtf8(), sqlite::Connection::Mode::ReadWrite);
        c.exec("UPDATE Passwords SET OrgPhone = NULL");
    }
    QFile::copy(file_, dir_.file("damaged.qdb"));
    {
        QFile d(dir_.file("damaged.qdb"));
        ASSERT_TRUE(d.open(QIODevice::ReadWrite));
        d.seek(1024);
        d.write(QByteArray(int(d.size()) - 1024, '\x33'));
    }
    const QString files[] = {dir_.file("missing.qdb"), dir_.file("empty.qdb"), dir_.file("letter.qdb"),
                             dir_.file("other.qdb"), dir_.file("nulls.qdb"), dir_.file("damaged.qdb")};
    for (const QString& path : files) {
        SCOPED_TRACE(path.toStdString());
        script.clearLog();
        const QByteArray before = digest(path);
        open(path);
        ASSERT_EQ(script.messages().size(), 1u);
        EXPECT_TRUE(script.messages()[0].prompt.contains(path));
        EXPECT_EQ(script.messages()[0].icon, ui::Icon::Critical);
        EXPECT_EQ(script.beepCount(), 1);
        expectNoFileState();
        EXPECT_EQ(digest(path), before);
    }
    // And a good file still opens afterwards.
    script.clearLog();
    open(file_);
    EXPECT_EQ(window_->S.OpenDbPath, file_);
}

} // namespace
