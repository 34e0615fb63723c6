// The load and unload events on the real main window: placement from and to the settings store,
// the splash picture by client width, the shared state set at start, the command-line open.
#include "app_fixture.h"

#include "frame/match_list.h"
#include "frame/startup.h"
#include "frame/twips.h"
#include "platform/data/data_control.h"
#include "schema/connect_key.h"

#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QScreen>
#include <QTableView>
#include <cstdlib>

namespace apptest {
namespace {

QRect px(int left, int top, int width, int height)
{
    return TwipsToPixels(left, top, width, height);
}

using StartupTest = AppTest;

settings::WindowPlacement inTwips(const QRect& r)
{
    return {r.x() * 15, r.y() * 15, r.width() * 15, r.height() * 15};
}

// The classic default of 6500 x 6500 twips cut off the Notes box, the status lines and the help
// text; a first start shows the whole design instead, inside the screen and centred on it.
TEST_F(StartupTest, FirstStartShowsEveryControlAtItsDesignPlaceCentredOnTheScreen)
{
    frmMain& f = started();
    f.txtFields[8]->show();  // Notes shows in Executive mode, in the same window
    f.show();
    const QRect available = f.screen()->availableGeometry();
    const QRect outer = f.frameGeometry();
    EXPECT_TRUE(available.contains(outer)) << "window " << outer.x() << "," << outer.y() << " " << outer.width()
                                           << "x" << outer.height();
    EXPECT_LE(std::abs(outer.center().x() - available.center().x()), 1);
    EXPECT_LE(std::abs(outer.center().y() - available.center().y()), 1);

    // Between the toolbar's row and the member navigator, every control whole.
    const QRect room(0, 0, f.client->width(), f.datPrimaryRS->y());
    std::vector<QWidget*> controls{f.WhichViewT, f.Label1, f.Label2, f.Label3, f.Label4, f.Label5, f.Label6,
                                   f.Label7,     f.Label8, f.Shape1, f.Shape2, f.Shape3, f.EntNme, f.C_List,
                                   f.grdDataGrid};
    for (int i = 0; i < 9; ++i) {
        controls.push_back(f.txtFields[i]);
        controls.push_back(f.lblLabels[i]);
    }
    for (QWidget* w : controls)
        EXPECT_TRUE(room.contains(w->geometry())) << w->objectName().toStdString();
    // The grid and the search group stand where the design has them, not where a smaller
    // window's resize rule would push them.
    EXPECT_EQ(f.Shape2->geometry(), px(1080, 3720, 1455, 495));
    EXPECT_EQ(f.grdDataGrid->geometry().topLeft(), px(240, 3200, 0, 0).topLeft());
    EXPECT_EQ(f.grdDataGrid->width(), px(0, 0, 9000, 0).width());
    EXPECT_FALSE(settings::storedPlacement()) << "nothing is stored before the window closes";
}

TEST_F(StartupTest, StoredPlacementIsRestoredAndTheClosingPlacementStored)
{
    settings::writePlacement({1500, 2250, 9000, 7500});
    frmMain& f = started();
    EXPECT_EQ(f.frameGeometry(), QRect(100, 150, 600, 500));

    f.show();
    f.move(120, 90);
    f.resize(700, 520);
    const QRect outer = f.frameGeometry();
    ASSERT_EQ(outer.topLeft(), QPoint(120, 90));
    f.close();
    EXPECT_EQ(settings::readPlacement(), inTwips(outer));

    frmMain& again = started();
    again.show();
    EXPECT_EQ(again.frameGeometry(), outer);
}

TEST_F(StartupTest, ClosingMinimizedLeavesTheStoredPlacement)
{
    const settings::WindowPlacement stored{1500, 1500, 9000, 9000};
    settings::writePlacement(stored);
    frmMain& f = started();
    f.show();
    f.showMinimized();
    ASSERT_TRUE(f.isMinimized());
    f.close();
    EXPECT_EQ(settings::readPlacement(), stored);
}

TEST_F(StartupTest, ClosingMaximizedStoresTheMaximizedExtents)
{
    settings::writePlacement({1500, 1500, 6000, 6000});
    frmMain& f = started();
    f.showMaximized();
    ASSERT_TRUE(f.isMaximized());
    const QRect maximized = f.frameGeometry();
    ASSERT_NE(maximized, QRect(100, 100, 400, 400));
    f.close();
    EXPECT_EQ(settings::readPlacement(), inTwips(maximized));
}

struct SplashCase {
    int innerWidth;   // pixels
    int pictureWidth; // 0: no background picture
};

class SplashTest : public AppTest, public ::testing::WithParamInterface<SplashCase> {};

TEST_P(SplashTest, PictureFitsTheClientWidthExactlyOrThereIsNone)
{
    settings::writePlacement({1000, 1000, GetParam().innerWidth * 15, 9000});
    frmMain& f = started();
    ASSERT_EQ(f.width(), GetParam().innerWidth);
    if (GetParam().pictureWidth == 0) {
        EXPECT_TRUE(f.BackgroundPicture().isNull());
    } else {
        EXPECT_EQ(f.BackgroundPicture().width(), GetParam().pictureWidth);
    }
}

INSTANTIATE_TEST_SUITE_P(Widths, SplashTest,
                         ::testing::Values(SplashCase{640, 640}, SplashCase{800, 800}, SplashCase{801, 0},
                                           SplashCase{799, 0}, SplashCase{1024, 1024}, SplashCase{433, 0}));

TEST_F(StartupTest, MissingSplashIsSkippedAndStartUpGoesOn)
{
    ASSERT_TRUE(QFile::remove(programFile(QStringLiteral("splash 800.jpg"))));
    settings::writePlacement({1000, 1000, 12000, 9000});
    frmMain& f = started();
    EXPECT_TRUE(f.BackgroundPicture().isNull());
    EXPECT_EQ(f.S.ViewName, QStringLiteral("Member View"));
    EXPECT_FALSE(f.S.DbConnect.isEmpty());
    EXPECT_TRUE(f.WhichViewT->isHidden());
}

TEST_F(StartupTest, SharedStateAfterStart)
{
    frmMain& f = make();
    f.S.OpenDbPath = QStringLiteral("left over");
    f.S.StandardMode = false;
    f.WhichViewT->show();
    ASSERT_TRUE(f.Form_Load({}));

    EXPECT_TRUE(f.S.StandardMode);
    EXPECT_EQ(f.S.AppDir, QDir(program_).absolutePath() + u'/');
    EXPECT_EQ(f.S.DbConnect, db::DescrambleConnect(db::kScrambledConnect));
    EXPECT_EQ(f.S.DbConnect.size(), 10);
    const QStringList sortFields{f.S.SortFields[1], f.S.SortFields[2], f.S.SortFields[3], f.S.SortFields[4],
                                 f.S.SortFields[5]};
    EXPECT_EQ(sortFields, (QStringList{" PaymentID", " PaymentAmount", " CheckNumber", " Destination", " PaymentDate"}));
    EXPECT_TRUE(f.S.OpenDbPath.isEmpty());
    EXPECT_EQ(f.S.ViewName, QStringLiteral("Member View"));
    EXPECT_TRUE(f.WhichViewT->isHidden());
    EXPECT_EQ(f.windowTitle(), QStringLiteral("QUIL"));
    EXPECT_EQ(dao::Engine::instance().defaultType(), dao::WorkspaceType::Jet);
}

// ---- Command line ------------------------------------------------------------------------------

struct CommandLineCase {
    const char* name;
    QString (*commandLine)(const QString& existing, const QString& folder);
    bool opens;
};

class CommandLineTest : public AppTest, public ::testing::WithParamInterface<CommandLineCase> {};

TEST_P(CommandLineTest, OpensOnlyAnExistingFileNamedWithItsQuotesDropped)
{
    const QString existing = dir_.file(QStringLiteral("Club Members.qdb"));
    QFile file(existing);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    QFile shortFile(dir_.file(QStringLiteral("abcd")));
    ASSERT_TRUE(shortFile.open(QIODevice::WriteOnly));
    shortFile.close();
    const QString saved = QDir::currentPath();
    QDir::setCurrent(dir_.path());

    auto& f = started<ProbeMain>(GetParam().commandLine(existing, dir_.path()));
    QDir::setCurrent(saved);

    if (GetParam().opens) {
        EXPECT_EQ(f.ran, QStringList{"mnuFileOpen"});
        EXPECT_EQ(f.openedWith, QStringList{existing});
        EXPECT_EQ(f.openedFromCommandLine, QList<bool>{true});
    } else {
        EXPECT_TRUE(f.ran.isEmpty());
        EXPECT_TRUE(f.S.DbFileName.isEmpty());
        EXPECT_FALSE(f.S.OpenedFromCommandLine);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rules, CommandLineTest,
    ::testing::Values(
        CommandLineCase{"Empty", [](const QString&, const QString&) { return QString(); }, false},
        CommandLineCase{"FourCharactersNamingAFile", [](const QString&, const QString&) { return QStringLiteral("abcd"); },
                        false},
        CommandLineCase{"Plain", [](const QString& e, const QString&) { return e; }, true},
        CommandLineCase{"Quoted", [](const QString& e, const QString&) { return '"' + e + '"'; }, true},
        CommandLineCase{"QuoteOnlyAtStart", [](const QString& e, const QString&) { return '"' + e; }, true},
        CommandLineCase{"QuoteOnlyAtEnd", [](const QString& e, const QString&) { return e + '"'; }, true},
        CommandLineCase{"MissingFile",
                        [](const QString&, const QString& d) { return '"' + d + QStringLiteral("/Gone.qdb\""); },
                        false},
        CommandLineCase{"Folder", [](const QString&, const QString& d) { return d; }, false},
        CommandLineCase{"InnerQuotesStay",
                        [](const QString& e, const QString&) { return QStringLiteral("\"\"") + e + '"'; }, false}),
    [](const ::testing::TestParamInfo<CommandLineCase>& info) { return std::string(info.param.name); });

TEST(CommandLineFileName, DropsOneQuoteAtEachEndIndependently)
{
    EXPECT_EQ(CommandLineFileName(QStringLiteral("\"a.qdb\"")), QStringLiteral("a.qdb"));
    EXPECT_EQ(CommandLineFileName(QStringLiteral("\"a.qdb")), QStringLiteral("a.qdb"));
    EXPECT_EQ(CommandLineFileName(QStringLiteral("\"\"a.qdb\"\"")), QStringLiteral("\"a.qdb\""));
    // The length rule looks at the command line as given, quotes included.
    EXPECT_EQ(CommandLineFileName(QStringLiteral("\"abc\"")), QStringLiteral("abc"));
    EXPECT_EQ(CommandLineFileName(QStringLiteral("\"ab\"")), QString());
}

// ---- Shutdown ----------------------------------------------------------------------------------

// A dialog that notes, in a list shared by the test, when it is closed.
class NotingDialog : public QDialog {
public:
    NotingDialog(QString name, QStringList& log, QWidget* parent) : QDialog(parent), name_(std::move(name)), log_(log) {}

protected:
    void closeEvent(QCloseEvent* event) override
    {
        log_ << name_;
        QDialog::closeEvent(event);
    }

private:
    QString name_;
    QStringList& log_;
};

TEST_F(StartupTest, UnloadClosesTheOtherWindowsLastFirstAndResetsThePointer)
{
    frmMain& f = started();
    f.show();
    QStringList closed;
    auto* first = new NotingDialog(QStringLiteral("first"), closed, &f);
    auto* second = new NotingDialog(QStringLiteral("second"), closed, &f);
    auto* hidden = new NotingDialog(QStringLiteral("hidden"), closed, &f);
    first->show();
    second->show();
    ui_->setBusyPointer(true);

    f.close();

    EXPECT_EQ(closed, (QStringList{"hidden", "second", "first"}));
    EXPECT_FALSE(first->isVisible());
    EXPECT_FALSE(second->isVisible());
    EXPECT_FALSE(hidden->isVisible());
    EXPECT_FALSE(ui_->isBusyPointer());
}

TEST_F(StartupTest, UnloadClosesTheWorkspaceHoldingADatabase)
{
    frmMain& f = started();
    const QString base = programFile(QStringLiteral("Base.dat"));
    ASSERT_TRUE(QFile::exists(base));
    const QString copy = dir_.file(QStringLiteral("Open.qdb"));
    ASSERT_TRUE(QFile::copy(base, copy));
    auto database = dao::Engine::instance().defaultWorkspace().openDatabase(copy, false, false, f.S.DbConnect);
    ASSERT_EQ(dao::Engine::instance().defaultWorkspace().databaseCount(), 1);
    f.show();
    f.close();
    EXPECT_EQ(dao::Engine::instance().defaultWorkspace().databaseCount(), 0);
    EXPECT_FALSE(database->isOpen());
}

} // namespace
} // namespace apptest
