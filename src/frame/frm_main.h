#pragma once
// The main window's frame: every control of the window, the state the program's commands share
// (S), the menus and toolbar, start-up and shutdown, and the seams through which the subsystems
// reach each other (seams.h). The subsystems' command objects are made by the program's top
// library and handed over; the menu handlers forward to them.
// Controls carry the program's names, as members and as Qt objectNames ("txtFields(3)").
#include "frame/client_area.h"
#include "frame/main_state.h"
#include "frame/match_list.h"
#include "frame/seams.h"
#include "frame/text_fields.h"
#include "frame/wait_one_second.h"

#include <QHash>
#include <QMainWindow>
#include <QMargins>
#include <QRect>
#include <QPixmap>
#include <array>
#include <memory>

class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QTableView;
class QToolBar;

class QuitSignals;
class SecondCopy;

namespace data {
class DataControl;
}

class frmMain : public QMainWindow {
    Q_OBJECT

public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    MainState S;

    // ---- Controls ----------------------------------------------------------------------------
    // The client area: everything below the menu bar, toolbar included. Design positions are
    // twips in this widget.
    ClientArea* client = nullptr;
    QToolBar* tbToolBar = nullptr;

    std::array<QLabel*, 9> lblLabels{};
    TextFields txtFields{};

    QLabel* WhichViewT = nullptr;
    QLabel* Label1 = nullptr;  // help text of the rapid search
    QLabel* Label2 = nullptr;  // donation count
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;  // sort field name
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;  // donation total
    QLabel* Label8 = nullptr;  // "Rapid Search"
    QLabel* lblBatch = nullptr;  // the running batch's figures; hidden without a batch
    QFrame* Shape1 = nullptr;
    QFrame* Shape2 = nullptr;
    QFrame* Shape3 = nullptr;
    QLineEdit* EntNme = nullptr;
    MatchList* C_List = nullptr;   // the names found by the rapid search
    MatchList* ID_list = nullptr;  // their member numbers, line for line; never shown
    QTableView* grdDataGrid = nullptr;

    data::DataControl* datPrimaryRS = nullptr;
    data::DataControl* datSecondaryRS = nullptr;
    data::DataControl* datScratchRS = nullptr;

    QLabel* Picture1 = nullptr;  // holds the report logo; never shown
    QFrame* Picture2 = nullptr;  // busy panel
    QProgressBar* AniNumOne = nullptr;
    QLabel* Label9 = nullptr;    // "Querying Database..."

    // ---- Menus (top-level menus and submenus are their menu actions) -------------------------
    QAction* mnuFile = nullptr;
    QAction* mnuFileNew = nullptr;
    QAction* mnuFileNewBlank = nullptr;
    QAction* mnuFileNewClone = nullptr;
    QAction* mnuFileOpen = nullptr;
    QAction* mnuFileClose = nullptr;
    QAction* mnuCompact = nullptr;
    QAction* mnuFileBar0 = nullptr;
    QAction* mnuQuilProperties = nullptr;
    QAction* mnuFileBar2 = nullptr;
    QAction* mnuFilePrint = nullptr;
    QAction* mnuFileBar3 = nullptr;
    QAction* mnuFileExit = nullptr;
    QAction* mnuFileBar4 = nullptr;
    QAction* mnuFileExport = nullptr;  // submenu; Executive mode only
    QAction* mnuFileExportMembers = nullptr;
    QAction* mnuFileExportDonations = nullptr;
    QAction* mnuFileExportFunds = nullptr;
    QAction* mnuFileBackupTo = nullptr;  // Executive mode only
    QAction* mnuFileRestore = nullptr;  // Executive mode only
    QAction* mnuFileSetPassword = nullptr;  // Executive mode only
    QAction* mnuFileGivingStatements = nullptr;  // Executive mode only
    QAction* mnuFileImport = nullptr;  // submenu; Executive mode only
    QAction* mnuFileImportMembers = nullptr;
    QAction* mnuFileImportDonations = nullptr;
    QAction* mnuFileFundTotals = nullptr;  // Executive mode only
    QAction* mnuEdit = nullptr;
    QAction* mnuEditAddPay = nullptr;
    QAction* mnuEditDelPay = nullptr;
    QAction* mnuEditAddMem = nullptr;
    QAction* mnuEditDelMem = nullptr;
    QAction* mnuEditBar0 = nullptr;
    QAction* mnuEditMergeMem = nullptr;  // Executive mode only
    QAction* mnuEditBatch = nullptr;
    QAction* mnuView = nullptr;
    QAction* mnuViewToolbar = nullptr;
    QAction* mnuViewBar0 = nullptr;
    QAction* Sort = nullptr;
    QAction* mnuSortPayID = nullptr;
    QAction* mnuSortAmount = nullptr;
    QAction* mnuSortCheck = nullptr;
    QAction* mnuSortDest = nullptr;
    QAction* mnuSortDate = nullptr;
    QAction* mnuData = nullptr;
    QAction* mnuStandard = nullptr;
    QAction* mnuExecMode = nullptr;
    QAction* mnuAdminMode = nullptr;
    QAction* mnuFilter = nullptr;
    QAction* mnuFilterMem = nullptr;
    QAction* mnuFilterDonat = nullptr;
    QAction* mnuMemView = nullptr;
    QAction* mnuListView = nullptr;
    QAction* mnuHelpAbout = nullptr;

    // A toolbar button by its key ("Open", "Exec", ...); throws std::out_of_range for a key the
    // toolbar does not have.
    QAction* Button(const QString& key) const;
    // The keys in the toolbar's order.
    QStringList ButtonKeys() const;

    // ---- The subsystems, through their seams --------------------------------------------------
    // Set once, by the program's top library (InstallCommands), right after the window is made.
    std::unique_ptr<seam::Files> files;        // src/db
    std::unique_ptr<seam::Records> records;    // src/records
    std::unique_ptr<seam::Filters> filters;    // src/filters
    std::unique_ptr<seam::Reports> reports;    // src/reports
    std::unique_ptr<seam::Access> access;      // src/access
    std::unique_ptr<seam::Administration> administration;  // src/access
    std::unique_ptr<seam::Export> exports;     // src/reports: the CSV exports

    // How many handlers are running, one inside another (frame::RunHandler keeps it).
    int handlerDepth = 0;

    // ---- Start-up and shutdown ---------------------------------------------------------------
    // The load event. Returns false when another copy was running: it has been told to exit and
    // this copy must end at once, without showing the window and without unload processing.
    bool Form_Load(const QString& commandLine);
    // The unload event (closing the window runs it; it never cancels).
    void Form_Unload();
    // Writes a change typed into the member fields and not yet written, as moving to another
    // member would. False when the file refused it (the member source's error event has said
    // so; the boxes keep the typed text).
    bool WriteTypedMemberChange();
    // Before the program ends: the typed change written, or, when the file refused it and the
    // user may be asked, the user's leave to end without it. False: the user keeps the program.
    bool KeepTypedChangeBeforeQuitting(bool mayAsk);
    // The system ends the program (a shutdown, a kill, the end of the desktop session): what was
    // typed is written and the window closes without a question.
    void QuitOnRequest();
    // While QuitOnRequest closes the window: nothing that waits for the user may be offered.
    bool QuittingOnRequest() const { return quittingOnRequest_; }

    void OpenFromCommandLine(const QString& commandLine);
    void WaitOneSecond();
    // The seconds-since-midnight timer WaitOneSecond reads; tests put a fake one here.
    SecondsTimer timer = Timer;
    // Per-user name under which the first copy waits for later ones (derived from the settings
    // store, so that separate stores never see each other).
    QString instanceName;

    // ---- Layout ------------------------------------------------------------------------------
    void ArrangeStatusLabels();
    // Places the batch line (lblBatch) for its text and the window's width.
    void ArrangeBatchLabel();
    // Places the grid and the rapid search group for a client area of W x H twips.
    void ApplyResizeRule(double W, double H);

    // The busy panel shown around long queries: it shows and paints before the query runs.
    void ShowBusyPanel();
    void HideBusyPanel();

    // One line of news that asks for no answer (a backup folder away from the computer that is
    // not there), in the status area at the window's foot; an empty text clears it. The area
    // shows only while it has a line, so the window's design stays as it is otherwise.
    void ShowStatusNote(const QString& text);
    QString StatusNote() const;

    // The window's background picture, drawn at the client area's top left behind the controls.
    void SetBackgroundPicture(const QPixmap& picture);
    const QPixmap& BackgroundPicture() const;

public slots:
    // ---- Menu handlers -----------------------------------------------------------------------
    // Virtual so that behaviour tests can see which command a click or a key ran.
    virtual void mnuFileNewBlank_Click();
    virtual void mnuFileNewClone_Click();
    virtual void mnuFileOpen_Click();
    virtual void mnuFileClose_Click();
    virtual void mnuCompact_Click();
    virtual void mnuQuilProperties_Click();
    virtual void mnuFilePrint_Click();
    virtual void mnuFileExit_Click();
    virtual void mnuEditAddPay_Click();
    virtual void mnuEditDelPay_Click();
    virtual void mnuEditAddMem_Click();
    virtual void mnuEditDelMem_Click();
    virtual void mnuEditMergeMem_Click();
    virtual void mnuEditBatch_Click();
    virtual void mnuViewToolbar_Click();
    virtual void mnuSortPayID_Click();
    virtual void mnuSortAmount_Click();
    virtual void mnuSortCheck_Click();
    virtual void mnuSortDest_Click();
    virtual void mnuSortDate_Click();
    virtual void mnuStandard_Click();
    virtual void mnuExecMode_Click();
    virtual void mnuAdminMode_Click();
    virtual void mnuFilterMem_Click();
    virtual void mnuFilterDonat_Click();
    virtual void mnuMemView_Click();
    virtual void mnuListView_Click();
    virtual void mnuHelpAbout_Click();
    virtual void mnuFileExportMembers_Click();
    virtual void mnuFileExportDonations_Click();
    virtual void mnuFileExportFunds_Click();
    virtual void mnuFileBackupTo_Click();
    virtual void mnuFileRestore_Click();
    virtual void mnuFileSetPassword_Click();
    virtual void mnuFileGivingStatements_Click();
    virtual void mnuFileImportMembers_Click();
    virtual void mnuFileImportDonations_Click();
    virtual void mnuFileFundTotals_Click();

    // Runs the command of a toolbar button, as the button's click does.
    void tbToolBar_ButtonClick(const QString& key);

    // The grid focus rule: menus and toolbar are withdrawn while the grid has the focus.
    void grdDataGrid_GotFocus();
    void grdDataGrid_LostFocus();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void placeControls();
    void createMenus();
    void createToolbar();
    void placeAlignedControls();
    void Form_Resize();
    bool shortcutWinsOverEditing(QObject* watched, QEvent* event) const;
    void applyPlacement();
    // The client size that shows every control at its design place.
    QSize designClientSize();
    // The first start's outer placement for a frame of this thickness: the window that shows
    // that client area, inside the screen's available area and centred on it.
    QRect wholeWindowPlacement(const QMargins& frame);
    QMargins frameMargins() const;
    void storePlacement();
    void closeOtherWindows();

    QHash<QString, QAction*> buttons_;
    QStringList buttonKeys_;
    std::unique_ptr<SecondCopy> secondCopy_;
    std::unique_ptr<QuitSignals> quitSignals_;
    bool quittingOnRequest_ = false;
    QRect placement_;  // outer placement in pixels, as read at start
    QMargins placementFrame_;
    bool placementPending_ = false;
    bool placementIsFirstStart_ = false;  // no stored placement: placement_ follows the frame
};
