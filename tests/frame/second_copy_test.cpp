// A second start while a copy runs: the running copy runs File > Exit (its normal shutdown, which
// stores its placement), the new copy beeps and ends without unload processing, and afterwards
// no copy runs.
#include "app_fixture.h"

#include "frame/second_copy.h"

#include <QDialog>
#include <QLineEdit>
#include <QSignalSpy>

namespace apptest {
namespace {

class SecondCopyTest : public AppTest {};

// Counts its unloads, and runs the real Exit.
class CountingMain : public frmMain {
public:
    int exits = 0;
    void mnuFileExit_Click() override
    {
        ++exits;
        frmMain::mnuFileExit_Click();
    }
};

TEST_F(SecondCopyTest, SecondStartMakesTheRunningCopyExitAndEndsItself)
{
    auto& first = started<CountingMain>();
    first.show();
    first.move(140, 160);
    first.resize(500, 420);
    const QRect outer = first.frameGeometry();

    auto& second = make<CountingMain>();
    second.setGeometry(10, 10, 300, 300);
    EXPECT_FALSE(second.Form_Load({}));

    EXPECT_EQ(first.exits, 1);
    EXPECT_FALSE(first.isVisible());
    EXPECT_EQ(settings::readPlacement(),
              (settings::WindowPlacement{outer.x() * 15, outer.y() * 15, outer.width() * 15, outer.height() * 15}));
    EXPECT_EQ(ui_->beepCount(), 1);
    EXPECT_EQ(second.exits, 0);
    EXPECT_FALSE(second.isVisible());
    EXPECT_EQ(second.windowTitle(), QStringLiteral("QUIL duplicate"));
    // The duplicate stopped before the rest of the start-up.
    EXPECT_TRUE(second.S.ViewName.isEmpty());
    EXPECT_TRUE(second.S.AppDir.isEmpty());

    // Nothing runs any more: the next start is a first copy.
    auto& third = make<CountingMain>();
    EXPECT_TRUE(third.Form_Load({}));
    EXPECT_EQ(ui_->beepCount(), 1);
}

TEST_F(SecondCopyTest, ARunningCopyWithADialogOpenKeepsItAndTheSecondCopyStillEnds)
{
    auto& first = started<CountingMain>();
    first.show();
    // A dialog of the running copy, open as a command opens one, with something typed in it.
    QDialog dialog(&first);
    dialog.setObjectName("HalfEntered");
    auto* typed = new QLineEdit(&dialog);
    bool sawIt = false;
    ui_->queueDialog([&](QDialog& d) {
        typed->setText("60 Roof, 40 ...");
        auto& second = make<CountingMain>();
        EXPECT_FALSE(second.Form_Load({}));
        EXPECT_EQ(second.windowTitle(), QStringLiteral("QUIL duplicate"));
        EXPECT_EQ(first.exits, 0);
        EXPECT_TRUE(first.isVisible());
        EXPECT_TRUE(d.isVisible()) << "the dialog and what was typed in it are gone";
        EXPECT_EQ(typed->text(), "60 Roof, 40 ...");
        sawIt = true;
        d.accept();
    });
    ui::current().runModal(dialog);
    ASSERT_TRUE(sawIt);
    EXPECT_EQ(ui_->beepCount(), 1);
    EXPECT_TRUE(first.isVisible());

    // At rest again, the running copy exits when the next copy starts.
    auto& third = make<CountingMain>();
    EXPECT_FALSE(third.Form_Load({}));
    EXPECT_EQ(first.exits, 1);
    EXPECT_FALSE(first.isVisible());
}

TEST_F(SecondCopyTest, SeparateSettingsStoresDoNotSeeEachOther)
{
    auto& first = started<CountingMain>();
    const QString firstName = first.instanceName;
    settings::ScopedFile other(dir_.file(QStringLiteral("other.ini")));
    auto& second = started<CountingMain>();
    EXPECT_NE(second.instanceName, firstName);
    EXPECT_EQ(first.exits, 0);
    EXPECT_EQ(ui_->beepCount(), 0);
}

TEST(SecondCopy, AskingWithNobodyListeningFindsNoCopy)
{
    SecondCopy copy(QStringLiteral("quil-test-nobody-%1").arg(QCoreApplication::applicationPid()));
    EXPECT_FALSE(copy.askRunningCopyToExit(500));
}

TEST(SecondCopy, ListeningCopyHearsOneRequestPerLaterCopy)
{
    const QString name = QStringLiteral("quil-test-listen-%1").arg(QCoreApplication::applicationPid());
    SecondCopy running(name);
    ASSERT_TRUE(running.listen());
    QSignalSpy requests(&running, &SecondCopy::exitRequested);
    EXPECT_TRUE(SecondCopy(name).askRunningCopyToExit());
    EXPECT_EQ(requests.count(), 1);
    EXPECT_TRUE(SecondCopy(name).askRunningCopyToExit());
    EXPECT_EQ(requests.count(), 2);
    running.stopListening();
    EXPECT_FALSE(SecondCopy(name).askRunningCopyToExit(500));
}

} // namespace
} // namespace apptest
