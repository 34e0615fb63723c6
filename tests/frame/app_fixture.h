#pragma once
// The main window over a temporary program folder (template and pictures copied from the built
// one), a temporary settings store and the scripted UI. ProbeMain records which command handler
// ran, and with what file name an open ran, instead of running the commands themselves.
#include "app/install_commands.h"
#include "frame/frm_main.h"
#include "platform/dao/engine.h"
#include "platform/settings/settings.h"
#include "platform/ui/scripted_ui.h"
#include "support/temp_dir.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

namespace apptest {

class ProbeMain : public frmMain {
public:
    QStringList ran;           // handler names, in the order they ran
    QStringList openedWith;    // DbFileName at each open
    QList<bool> openedFromCommandLine;

#define QUIL_PROBE(handler) \
    void handler##_Click() override { ran << QStringLiteral(#handler); }
    QUIL_PROBE(mnuFileNewBlank)
    QUIL_PROBE(mnuFileNewClone)
    QUIL_PROBE(mnuFileClose)
    QUIL_PROBE(mnuCompact)
    QUIL_PROBE(mnuQuilProperties)
    QUIL_PROBE(mnuFilePrint)
    QUIL_PROBE(mnuEditAddPay)
    QUIL_PROBE(mnuEditDelPay)
    QUIL_PROBE(mnuEditAddMem)
    QUIL_PROBE(mnuEditDelMem)
    QUIL_PROBE(mnuEditMergeMem)
    QUIL_PROBE(mnuEditBatch)
    QUIL_PROBE(mnuSortPayID)
    QUIL_PROBE(mnuSortAmount)
    QUIL_PROBE(mnuSortCheck)
    QUIL_PROBE(mnuSortDest)
    QUIL_PROBE(mnuSortDate)
    QUIL_PROBE(mnuStandard)
    QUIL_PROBE(mnuExecMode)
    QUIL_PROBE(mnuAdminMode)
    QUIL_PROBE(mnuFilterMem)
    QUIL_PROBE(mnuFilterDonat)
    QUIL_PROBE(mnuMemView)
    QUIL_PROBE(mnuListView)
#undef QUIL_PROBE

    void mnuFileOpen_Click() override
    {
        ran << QStringLiteral("mnuFileOpen");
        openedWith << S.DbFileName;
        openedFromCommandLine << S.OpenedFromCommandLine;
    }
    // Exit, Toolbar and About are the window's own and run for real.
};

class AppTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Windows close all the time here; none of that may end the test program's event loops.
        QApplication::setQuitOnLastWindowClosed(false);
        program_ = QDir(dir_.path()).filePath(QStringLiteral("program"));
        ASSERT_TRUE(QDir().mkpath(program_));
        const QDir built(qEnvironmentVariable("QUIL_PROGRAM_DIR"));
        for (const QString& name : {QStringLiteral("Base.dat"), QStringLiteral("splash 640.jpg"),
                                    QStringLiteral("splash 800.jpg"), QStringLiteral("splash 1024.jpg"),
                                    QStringLiteral("quil.jpg"), QStringLiteral("quil.png")})
            if (built.exists(name))
                QFile::copy(built.filePath(name), QDir(program_).filePath(name));
        savedProgramDir_ = qEnvironmentVariable("QUIL_PROGRAM_DIR");
        qputenv("QUIL_PROGRAM_DIR", program_.toLocal8Bit());
        settings_.emplace(dir_.file(QStringLiteral("settings.ini")));
    }

    void TearDown() override
    {
        for (auto& w : windows_)
            w.reset();
        dao::Engine::instance().defaultWorkspace().close();
        settings_.reset();
        qputenv("QUIL_PROGRAM_DIR", savedProgramDir_.toLocal8Bit());
    }

    // A window made the way the entry point makes it; the load event is the test's to run.
    template <class Window = ProbeMain>
    Window& make()
    {
        windows_.push_back(std::make_unique<Window>());
        InstallCommands(*windows_.back());
        return static_cast<Window&>(*windows_.back());
    }

    template <class Window = ProbeMain>
    Window& started(const QString& commandLine = {})
    {
        Window& w = make<Window>();
        EXPECT_TRUE(w.Form_Load(commandLine));
        return w;
    }

    QString programFile(const QString& name) const { return QDir(program_).filePath(name); }

    quiltest::TempDir dir_;
    QString program_;
    QString savedProgramDir_;
    std::optional<settings::ScopedFile> settings_;
    ui::ScopedScriptedUi ui_;
    std::vector<std::unique_ptr<frmMain>> windows_;
};

} // namespace apptest
