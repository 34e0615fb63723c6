#pragma once
// The real main window over a copy of the template, opened through the program's Open command
// with the scripted UI. The temporary folder is also the program folder, and it holds the logo
// the program looks for there, so an open shows no message about an unreadable logo.
#include "app/install_commands.h"
#include "db/file_commands.h"
#include "frame/frm_main.h"
#include "platform/dao/engine.h"
#include "platform/dao/sqlite.h"
#include "platform/ui/scripted_ui.h"
#include "records/records_commands.h"
#include "schema/connect_key.h"
#include "schema/template.h"
#include "support/temp_dir.h"

#include <QApplication>
#include <QImage>
#include <QString>
#include <gtest/gtest.h>
#include <memory>

namespace quiltest {

// The records commands behind the frame's seam, for tests that read their own state.
inline RecordsCommands& recordsOf(frmMain& f)
{
    return static_cast<RecordsCommands&>(*f.records);
}

// Window: frmMain, or a test's subclass of it that stands in for commands the test is not about.
template <class Window = frmMain>
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QApplication::setQuitOnLastWindowClosed(false);
        program_ = dir_.path() + u'/';
        QImage logo(40, 20, QImage::Format_RGB32);
        logo.fill(Qt::darkBlue);
        ASSERT_TRUE(logo.save(program_ + QStringLiteral("quil.jpg")));
        file_ = dir_.file(QStringLiteral("Club.qdb"));
        db::writeTemplate(file_);
    }

    // The workspace outlives every test, so the databases the window opened are closed with it.
    void TearDown() override
    {
        window_.reset();
        dao::Engine::instance().defaultWorkspace().close();
    }

    // The file as the program keys it, to write rows before an open and to read what it stored.
    sqlite::Connection keyed() const
    {
        return sqlite::Connection(file_, db::databasePassword().toUtf8(), sqlite::Connection::Mode::ReadWrite);
    }

    // A new window with what start-up settles before any file is open.
    Window& build()
    {
        window_ = std::make_unique<Window>();
        InstallCommands(*window_);
        window_->S.AppDir = program_;
        window_->S.DbConnect = db::DescrambleConnect(db::kScrambledConnect);
        window_->S.ViewName = QStringLiteral("Member View");
        return *window_;
    }

    // Opens a file on the window built, as the Open command does with a name already chosen.
    void open(const QString& path)
    {
        window_->S.DbFileName = path;
        window_->files->mnuFileOpen_Click();
    }

    // Opens the template copy on the window built; a failed open fails the test.
    Window& openCopy()
    {
        open(file_);
        EXPECT_FALSE(window_->S.OpenDbPath.isEmpty()) << "the file did not open";
        return *window_;
    }

    // A new window with the template copy open.
    Window& open()
    {
        build();
        return openCopy();
    }

    ui::ScriptedUi& ui() { return *ui_; }

    TempDir dir_;
    ui::ScopedScriptedUi ui_;
    QString program_;  // the program folder, with its trailing slash
    QString file_;     // the template copy
    std::unique_ptr<Window> window_;
};

} // namespace quiltest
