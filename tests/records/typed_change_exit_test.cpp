// A change typed into a member field and not yet written, through every way the program or the
// file can end: it is in the file afterwards. When the file refuses it, one message, and on Exit
// a question: No keeps the program with the typed text, Yes ends without it.
#include "member_fixture.h"
#include "support/event_wait.h"

#include "frame/dispatch.h"
#include "frame/quit_signals.h"
#include "schema/template.h"

#include <csignal>
#include <functional>

namespace {

using namespace membertest;

constexpr int kHomePhone = 7;

struct WayOut {
    const char* name;
    std::function<void(frmMain&)> take;
    bool programEnds;  // false: only the file closes
};

class TypedChangeTest : public MemberTest {
protected:
    void SetUp() override
    {
        MemberTest::SetUp();
        member_ = addRows({{"Ann", "Lee", "12 Oak Rd", "Albany"}}).front();
    }

    // A fresh window on the member, with a phone number typed and not written.
    frmMain& typed(const QString& phone)
    {
        frmMain& f = open();
        enableFields();
        standOn(member_);
        f.txtFields.setText(kHomePhone, phone);
        ui().clearLog();
        return f;
    }

    std::int64_t member_ = 0;
};

TEST_F(TypedChangeTest, EveryWayOutWritesTheTypedChange)
{
    const QString other = dir_.file("Other.qdb");
    db::writeTemplate(other);
    const std::vector<WayOut> ways{
        {"File > Exit", [](frmMain& f) { frame::RunHandler(f, frame::Origin::Menu, [&] { f.mnuFileExit_Click(); }); }, true},
        {"the window's close box", [](frmMain& f) { f.close(); }, true},
        {"Close Database", [](frmMain& f) { f.files->mnuFileClose_Click(); }, false},
        {"opening another file",
         [&](frmMain& f) {
             f.S.DbFileName = other;
             f.files->mnuFileOpen_Click();
         },
         false},
        {"the end of the desktop session", [](frmMain& f) { EXPECT_TRUE(f.KeepTypedChangeBeforeQuitting(true)); }, false},
        {"a termination signal",
         [](frmMain& f) {
             QuitSignals quit;
             QObject::connect(&quit, &QuitSignals::quitRequested, &f, [&f] { f.QuitOnRequest(); });
             ASSERT_EQ(std::raise(SIGTERM), 0);
             EXPECT_TRUE(quiltest::runEventsUntil([&] { return !f.S.db || !f.S.db->isOpen(); }));
         },
         true},
    };
    int n = 0;
    for (const WayOut& way : ways) {
        SCOPED_TRACE(way.name);
        const QString phone = QStringLiteral("555-01%1").arg(++n, 2, 10, QLatin1Char('0'));
        frmMain& f = typed(phone);
        way.take(f);
        EXPECT_EQ(stored(member_, "HomePhone"), phone);
        EXPECT_TRUE(ui().messages().empty()) << ui().trace().join('\n').toStdString();
        if (way.programEnds) {
            EXPECT_EQ(dao::Engine::instance().defaultWorkspace().databaseCount(), 0);
        }
    }
}

TEST_F(TypedChangeTest, ARefusedWriteOnExitAsksWhetherToQuitWithoutIt)
{
    frmMain& f = typed(QStringLiteral("555-0199"));
    exec("CREATE TRIGGER refuse_edits BEFORE UPDATE ON Members BEGIN SELECT RAISE(ABORT, 'disk says no'); END");

    // No: the program stays, the file open, the typed text still there to be written later.
    ui().queueAnswers({ui::OK, ui::No});
    frame::RunHandler(f, frame::Origin::Menu, [&] { f.mnuFileExit_Click(); });
    ASSERT_EQ(ui().messages().size(), 2u) << ui().trace().join('\n').toStdString();
    EXPECT_EQ(ui().messages()[0].title, "QUIL Data Error");
    EXPECT_EQ(ui().messages()[1].buttons, ui::Buttons::YesNo);
    EXPECT_TRUE(ui().messages()[1].prompt.contains("Quit QUIL without it?"));
    EXPECT_EQ(dao::Engine::instance().defaultWorkspace().databaseCount(), 1);
    EXPECT_EQ(f.txtFields.text(kHomePhone), "555-0199");
    EXPECT_EQ(stored(member_, "HomePhone"), std::nullopt);

    ui().clearLog();

    // Yes: the program ends without it, and the file is whole.
    ui().queueAnswers({ui::OK, ui::Yes});
    frame::RunHandler(f, frame::Origin::Menu, [&] { f.mnuFileExit_Click(); });
    EXPECT_EQ(ui().messages().size(), 2u) << ui().trace().join('\n').toStdString();
    EXPECT_EQ(dao::Engine::instance().defaultWorkspace().databaseCount(), 0);
    EXPECT_EQ(stored(member_, "HomePhone"), std::nullopt);
    EXPECT_EQ(stored(member_, "City"), "Albany");
}

} // namespace
