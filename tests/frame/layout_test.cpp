// The window's controls: names, captions, design positions, input limits, tab order, start
// visibility, the status-label arrangement, the resize rule and the busy panel.
#include "app_fixture.h"

#include "frame/twips.h"
#include "platform/data/bound_text_box.h"
#include "platform/data/data_control.h"

#include <QApplication>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTableView>
#include <QTest>
#include <QToolBar>

namespace apptest {
namespace {

using LayoutTest = AppTest;

TEST_F(LayoutTest, EveryControlCarriesItsProgramName)
{
    frmMain& f = started();
    std::vector<std::pair<QString, QWidget*>> controls = {
        {"tbToolBar", f.tbToolBar},         {"WhichViewT", f.WhichViewT},     {"Label1", f.Label1},
        {"Label2", f.Label2},               {"Label3", f.Label3},             {"Label4", f.Label4},
        {"Label5", f.Label5},               {"Label6", f.Label6},             {"Label7", f.Label7},
        {"Label8", f.Label8},               {"Label9", f.Label9},             {"Shape1", f.Shape1},
        {"Shape2", f.Shape2},               {"Shape3", f.Shape3},             {"EntNme", f.EntNme},
        {"C_List", f.C_List},               {"ID_list", f.ID_list},           {"grdDataGrid", f.grdDataGrid},
        {"datPrimaryRS", f.datPrimaryRS},   {"datSecondaryRS", f.datSecondaryRS},
        {"datScratchRS", f.datScratchRS},   {"Picture1", f.Picture1},         {"Picture2", f.Picture2},
        {"AniNumOne", f.AniNumOne},
    };
    for (int i = 0; i < 9; ++i) {
        controls.emplace_back(QStringLiteral("txtFields(%1)").arg(i), f.txtFields[i]);
        controls.emplace_back(QStringLiteral("lblLabels(%1)").arg(i), f.lblLabels[i]);
    }
    for (const auto& [name, widget] : controls) {
        ASSERT_NE(widget, nullptr) << name.toStdString();
        EXPECT_EQ(f.findChild<QWidget*>(name), widget) << name.toStdString();
    }
    EXPECT_EQ(f.objectName(), QStringLiteral("frmMain"));
}

struct FieldCase {
    const char* caption;
    int top;
    int width;
    int limit;  // 0: none
};

const FieldCase kFields[8] = {
    {"Member ID", 600, 975, 0},    {"First Name", 915, 3135, 50}, {"Last Name", 1245, 3135, 50},
    {"Address", 1560, 3135, 255},  {"City", 1875, 3135, 50},      {"State", 2205, 3135, 50},
    {"Zip Code", 2520, 3135, 20},  {"Home Phone", 2835, 3135, 30},
};

TEST_F(LayoutTest, MemberFieldsAtTheirDesignPlacesWithLimitsAndTabOrder)
{
    frmMain& f = started();
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(kFields[i].caption);
        EXPECT_EQ(f.lblLabels[i]->text(), QLatin1String(kFields[i].caption));
        EXPECT_EQ(f.lblLabels[i]->pos(), TwipsToPixels(240, kFields[i].top, 0, 0).topLeft());
        EXPECT_EQ(f.lblLabels[i]->width(), TwipsToPixels(i == 7 ? 1215 : 975));
        EXPECT_EQ(f.txtFields[i]->geometry(), TwipsToPixels(1440, kFields[i].top, kFields[i].width, 285));
        auto* box = f.txtFields.line(i);
        EXPECT_EQ(box->maxLength(), kFields[i].limit ? kFields[i].limit : QLineEdit().maxLength());
        EXPECT_EQ(box->dataSource(), f.datPrimaryRS);
    }
    EXPECT_EQ(f.lblLabels[8]->text(), QStringLiteral("Notes:"));
    EXPECT_EQ(f.lblLabels[8]->pos(), TwipsToPixels(5040, 720, 0, 0).topLeft());
    EXPECT_EQ(f.txtFields[8]->geometry(), TwipsToPixels(4920, 960, 4455, 1485));
    EXPECT_EQ(f.txtFields.notes()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(f.txtFields.notes()->dataField(), QStringLiteral("Notes"));
    const QStringList fields{"MemberID", "FirstName", "LastName", "Address", "City", "State", "PostalCode", "HomePhone"};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(f.txtFields.line(i)->dataField(), fields[i]);
}

TEST_F(LayoutTest, TabFollowsTheFieldOrder)
{
    frmMain& f = started();
    for (int i = 0; i < 9; ++i)
        f.txtFields[i]->setEnabled(true);  // as Executive mode has them
    f.txtFields[8]->show();
    f.show();
    f.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    f.txtFields[0]->setFocus(Qt::TabFocusReason);
    for (int i = 1; i < 9; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), f.txtFields[i]) << i;
    }
}

TEST_F(LayoutTest, OtherControlsCaptionsAndDesignPlaces)
{
    frmMain& f = started();
    struct Case {
        QWidget* widget;
        QString caption;
        QRect twips;
    };
    const Case cases[] = {
        {f.Label8, QStringLiteral("Rapid Search"), {1200, 3840, 1215, 255}},
        {f.EntNme, {}, {1200, 4320, 3975, 375}},
        {f.C_List, {}, {1200, 4920, 3975, 1035}},
        {f.ID_list, {}, {240, 5280, 495, 450}},
        {f.Shape1, {}, {960, 4080, 4455, 2175}},
        {f.Shape2, {}, {1080, 3720, 1455, 495}},
        {f.Shape3, {}, {5760, 4560, 3255, 1815}},
        {f.Label1, {}, {5880, 4680, 3015, 1695}},
        {f.WhichViewT, QStringLiteral("WhichMode"), {6840, 600, 2295, 255}},
    };
    // The search group's tops follow the resize rule; at start the window has its default size.
    f.ApplyResizeRule(6000 * 1.0, (3720 - 300) / 0.95 * 2);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.widget->objectName().toStdString());
        EXPECT_EQ(c.widget->geometry(), TwipsToPixels(c.twips.x(), c.twips.y(), c.twips.width(), c.twips.height()));
        if (auto* label = qobject_cast<QLabel*>(c.widget); label && !c.caption.isEmpty()) {
            EXPECT_EQ(label->text(), c.caption);
        }
    }
    EXPECT_EQ(f.Label6->text(), QStringLiteral("Total of viewable list is "));
    EXPECT_EQ(f.Label7->text(), QStringLiteral("Not Available"));
    EXPECT_EQ(f.Label2->text(), QStringLiteral("0"));
    EXPECT_EQ(f.Label3->text(), QStringLiteral("  Donation(s) "));
    EXPECT_EQ(f.Label4->text(), QStringLiteral("Sorted by "));
    EXPECT_EQ(f.Label5->text(), QStringLiteral("Sort?"));
    EXPECT_EQ(f.Label9->text(), QStringLiteral("Querying Database..."));
    EXPECT_TRUE(f.Label1->wordWrap());
    EXPECT_EQ(f.Label1->text(),
              QStringLiteral("To enter in new donations, type the initials of the donator.  Last initial first and "
                             "separated by a space.  Highlight a name in the list box and press Enter to add a "
                             "donation.  If there are no names listed after entering initials, then there are no "
                             "matches.  Press Enter to start a new member."));
    EXPECT_EQ(f.datPrimaryRS->caption(), QStringLiteral(" Members"));
    EXPECT_EQ(f.datSecondaryRS->caption(), QStringLiteral("Secondary"));
    EXPECT_EQ(f.datScratchRS->caption(), QStringLiteral("Scratch"));
}

TEST_F(LayoutTest, StartVisibility)
{
    frmMain& f = started();
    f.show();
    const QList<QWidget*> hidden{f.Label4, f.Label5, f.Shape1, f.Shape2, f.Shape3, f.Label1, f.Label8, f.EntNme,
                                 f.C_List, f.ID_list, f.Picture1, f.Picture2, f.WhichViewT, f.grdDataGrid,
                                 f.txtFields[8], f.datSecondaryRS, f.datScratchRS};
    for (QWidget* w : hidden)
        EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString();
    QList<QWidget*> shown{f.tbToolBar, f.Label6, f.Label7, f.Label2, f.Label3, f.datPrimaryRS};
    for (int i = 0; i < 9; ++i)
        shown << f.lblLabels[i];
    for (int i = 0; i < 8; ++i)
        shown << f.txtFields[i];
    for (QWidget* w : shown)
        EXPECT_TRUE(w->isVisible()) << w->objectName().toStdString();
    for (int i = 0; i < 9; ++i)
        EXPECT_FALSE(f.txtFields[i]->isEnabled()) << i;
}

TEST_F(LayoutTest, StatusLabelsFollowTheFieldsAndEachOther)
{
    frmMain& f = started();
    const auto gapTwips = [](QWidget* left, QWidget* right) { return LeftTw(right) - (LeftTw(left) + WidthTw(left)); };

    const auto check = [&] {
        EXPECT_EQ(f.Label6->y(), f.txtFields[6]->y());
        EXPECT_EQ(f.Label7->y(), f.txtFields[6]->y());
        for (QLabel* l : {f.Label2, f.Label3, f.Label4, f.Label5})
            EXPECT_EQ(l->y(), f.txtFields[7]->y()) << l->objectName().toStdString();
        // Twips fall on whole pixels, so each gap is the design gap give or take the rounding.
        EXPECT_NEAR(gapTwips(f.txtFields[6], f.Label6), 500, 8);
        EXPECT_NEAR(gapTwips(f.Label6, f.Label7), 5, 8);
        EXPECT_NEAR(gapTwips(f.txtFields[7], f.Label2), 500, 8);
        EXPECT_NEAR(gapTwips(f.Label2, f.Label3), 10, 8);
        EXPECT_NEAR(gapTwips(f.Label3, f.Label4), 5, 8);
        EXPECT_NEAR(gapTwips(f.Label4, f.Label5), 5, 8);
        EXPECT_EQ(WidthTw(f.Label6), 2055);
    };
    check();

    const int label7Left = f.Label7->x();
    const int label3Left = f.Label3->x();
    const int label7Width = f.Label7->width();
    f.Label7->setText(QStringLiteral("$12,345,678.90"));
    f.Label2->setText(QStringLiteral("12,345"));
    f.Label5->setText(QStringLiteral("Payment Date"));
    f.ArrangeStatusLabels();
    check();
    EXPECT_EQ(f.Label7->x(), label7Left);
    EXPECT_GT(f.Label7->width(), label7Width);
    EXPECT_GT(f.Label3->x(), label3Left);
}

struct ResizeCase {
    const char* name;
    double W, H;
    int gridLeft, gridWidth;
    int gridHeight;  // -1: unchanged
    int searchTop;   // Shape2's top; the group follows it
};

class ResizeRuleTest : public AppTest, public ::testing::WithParamInterface<ResizeCase> {};

TEST_P(ResizeRuleTest, PlacesGridAndSearchGroup)
{
    frmMain& f = started();
    const ResizeCase& c = GetParam();
    PlaceTw(f.grdDataGrid, 0, 0, 3000, 1500);
    f.ApplyResizeRule(c.W, c.H);
    const QRect grid = f.grdDataGrid->geometry();
    EXPECT_EQ(grid.x(), TwipsToPixels(c.gridLeft));
    EXPECT_EQ(grid.y(), TwipsToPixels(3200));
    EXPECT_EQ(grid.width(), TwipsToPixels(c.gridWidth));
    EXPECT_EQ(grid.height(), TwipsToPixels(c.gridHeight < 0 ? 1500 : c.gridHeight));
    EXPECT_EQ(f.grdDataGrid->horizontalHeader()->defaultSectionSize(), TwipsToPixels(WidthTw(f.grdDataGrid) / 6.4));
    const int t = c.searchTop;
    EXPECT_EQ(f.Shape2->y(), TwipsToPixels(t));
    EXPECT_EQ(f.Label8->y(), TwipsToPixels(t + 120));
    EXPECT_EQ(f.Shape1->y(), TwipsToPixels(t + 360));
    EXPECT_EQ(f.EntNme->y(), TwipsToPixels(t + 600));
    EXPECT_EQ(f.C_List->y(), TwipsToPixels(t + 1200));
    // Left edges and sizes stay as designed.
    EXPECT_EQ(f.EntNme->x(), TwipsToPixels(1200));
    EXPECT_EQ(f.C_List->size(), TwipsToPixels(0, 0, 3975, 1035).size());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ResizeRuleTest,
    ::testing::Values(ResizeCase{"Wide", 10000, 6000, 250, 9500, 2240, 3150},
                      ResizeCase{"Minimized", 10000, 0, 250, 9500, -1, 300},
                      ResizeCase{"BelowTheGridTop", 9000, 3000, 225, 8550, -1, 1725},
                      ResizeCase{"HalfRoundsToEven", 9000, 6000 + 2 * 0.5 / 0.95, 225, 8550, 2240, 3150}),
    [](const ::testing::TestParamInfo<ResizeCase>& info) { return std::string(info.param.name); });

TEST_F(LayoutTest, ResizingTheWindowRunsTheRuleAndKeepsBarsOnTheEdges)
{
    frmMain& f = started();
    f.show();
    f.resize(600, 480);
    const QWidget* client = f.centralWidget();
    const int W = PixelsToTwips(client->width());
    EXPECT_EQ(f.grdDataGrid->width(), TwipsToPixels(0.95 * W));
    EXPECT_EQ(f.tbToolBar->geometry().topLeft(), QPoint(0, 0));
    EXPECT_EQ(f.tbToolBar->width(), client->width());
    EXPECT_EQ(f.datPrimaryRS->geometry().bottom(), client->height() - 1);
    EXPECT_EQ(f.datPrimaryRS->width(), client->width());
    EXPECT_LE(f.tbToolBar->height(), TwipsToPixels(600));  // clear of the first field
}

TEST_F(LayoutTest, BusyPanelShowsAndPaintsBeforeTheQueryAndGoesAfter)
{
    frmMain& f = started();
    f.show();
    const int passes = ui_->processEventsCount();
    f.ShowBusyPanel();
    EXPECT_TRUE(f.Picture2->isVisible());
    EXPECT_TRUE(f.Label9->isVisible());
    EXPECT_EQ(f.AniNumOne->maximum(), 0);  // running
    EXPECT_EQ(ui_->processEventsCount(), passes + 1);
    f.HideBusyPanel();
    EXPECT_FALSE(f.Picture2->isVisible());
    EXPECT_NE(f.AniNumOne->maximum(), 0);
}

} // namespace
} // namespace apptest
