// The one guarded way into the handlers: a database error thrown by a command started from a menu
// item, its shortcut, a toolbar button or a control event ends that command with one "QUIL Data
// Error" message, and the window is usable afterwards.
#include "frame/dispatch.h"
#include "support/window_fixture.h"

#include "platform/jet/db_error.h"

#include <QAction>
#include <QFrame>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QToolBar>
#include <functional>

namespace {

const jet::DbError kDiskFull(jet::err::DiskOrNetworkError, QStringLiteral("Disk or network error."));

// Print and Add Donation fail as a full disk would make them fail, half-way: the busy pointer
// and panel are up and repositions are suppressed when the error leaves the handler.
class FailingMain : public frmMain {
public:
    int printsStarted = 0;
    void mnuFilePrint_Click() override
    {
        ++printsStarted;
        failHalfway();
    }
    void mnuEditAddPay_Click() override { failHalfway(); }

private:
    void failHalfway()
    {
        ui::current().setBusyPointer(true);
        ShowBusyPanel();
        S.SuppressReposition = true;
        throw kDiskFull;
    }
};

class DispatchTest : public quiltest::WindowTest<FailingMain> {
protected:
    FailingMain& shown()
    {
        FailingMain& f = open();
        f.mnuFilePrint->setEnabled(true);
        f.Button(QStringLiteral("Print"))->setEnabled(true);
        f.show();
        f.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&f));
        return f;
    }
};

TEST_F(DispatchTest, ADatabaseErrorFromAnyPathIsOneMessageAndTheWindowStaysUsable)
{
    struct Path {
        const char* name;
        std::function<void(FailingMain&)> fire;
    };
    const Path paths[] = {
        {"menu item", [](FailingMain& f) { f.mnuFilePrint->trigger(); }},
        {"menu shortcut", [](FailingMain& f) { QTest::keyClick(f.EntNme, Qt::Key_P, Qt::ControlModifier); }},
        {"toolbar button", [](FailingMain& f) { f.Button(QStringLiteral("Print"))->trigger(); }},
        // Enter on the one match of the rapid search runs Add Donation from the box's key event.
        {"control event",
         [](FailingMain& f) {
             f.EntNme->setFocus();
             f.EntNme->setText(QStringLiteral("donors"));
             QTest::keyClick(f.EntNme, Qt::Key_Return);
         }},
    };
    FailingMain& f = shown();
    for (const Path& path : paths) {
        SCOPED_TRACE(path.name);
        ui().clearLog();
        ASSERT_NO_THROW(path.fire(f));

        const auto messages = ui().messages();
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].title, QStringLiteral("QUIL Data Error"));
        EXPECT_EQ(messages[0].icon, ui::Icon::Critical);
        EXPECT_TRUE(messages[0].prompt.contains(QStringLiteral("Disk or network error.")));
        EXPECT_TRUE(messages[0].prompt.contains(QStringLiteral("3043")));
        EXPECT_EQ(ui().beepCount(), 1);
        EXPECT_EQ(ui().trace().first(), QStringLiteral("beep")) << "the beep comes before the message";

        EXPECT_FALSE(ui::current().isBusyPointer());
        EXPECT_TRUE(f.Picture2->isHidden()) << "the busy panel is gone";
        EXPECT_FALSE(f.S.SuppressReposition);
        EXPECT_EQ(f.handlerDepth, 0);
    }
    EXPECT_EQ(f.printsStarted, 3);

    // Usable: the next command runs normally, with no message.
    ui().clearLog();
    f.mnuSortCheck->trigger();
    EXPECT_EQ(f.S.SortIndex, 3);
    EXPECT_TRUE(ui().messages().empty());
}

// An event raised inside a command is guarded where it is handled: its failure is the one
// message, and the command that raised it goes on.
TEST_F(DispatchTest, AFailingEventInsideACommandGivesOneMessageAndTheCommandGoesOn)
{
    FailingMain& f = shown();
    QAction signal;
    QObject::connect(&signal, &QAction::triggered, &f, frame::AsEvent(f, [](bool) { throw kDiskFull; }));
    bool wentOn = false;
    frame::RunHandler(f, frame::Origin::Menu, [&] {
        signal.trigger();
        wentOn = true;
    });
    EXPECT_TRUE(wentOn);
    EXPECT_EQ(ui().messages().size(), 1u);
    EXPECT_EQ(f.handlerDepth, 0);
}

// Another failure is reported the same way from a menu; from a toolbar button it ends the command
// silently, as the program's buttons always have.
TEST_F(DispatchTest, OtherFailuresAreShownFromMenusAndSilentFromButtons)
{
    FailingMain& f = shown();
    const auto fail = [] { throw std::runtime_error("no printer"); };
    frame::RunHandler(f, frame::Origin::Menu, fail);
    ASSERT_EQ(ui().messages().size(), 1u);
    EXPECT_EQ(ui().messages()[0].prompt, QStringLiteral("no printer"));
    frame::RunHandler(f, frame::Origin::Toolbar, fail);
    EXPECT_EQ(ui().messages().size(), 1u);
}

} // namespace
