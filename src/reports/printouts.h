#pragma once
// The Select Report dialog (Printouts): the report type, the entries it covers (members or
// destinations) and the date range. OK hides it and leaves its choices for the report run, which
// reads them from the still living dialog; Cancel, Escape and the close box cancel.
//
// Member entries read "Smith, John \12"; the member's id travels as the item's data
// (kMemberIdRole), so a name holding a backslash still names the right member.
#include <QDialog>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;
struct MainState;

namespace dao { class Database; }
namespace data { class DataControl; }

namespace reports {

// The report types, as the option buttons are numbered.
enum ReportKind : std::int16_t {
    MemberStatements = 0,
    AccountantStatement = 1,
    CategoryStatements = 2,
    CurrentFilteredStatement = 3,
    MailMergeFile = 4,
    NoReportChosen = 69,
};

inline constexpr int kMemberIdRole = Qt::UserRole;

// A member entry as the list shows it.
QString memberEntryText(const QString& lastName, const QString& firstName, std::int64_t memberId);

} // namespace reports

class Printouts : public QDialog {
    Q_OBJECT

public:
    Printouts(MainState& S, std::shared_ptr<dao::Database> db, QWidget* parent = nullptr);
    ~Printouts() override;

    // ---- What the report run reads --------------------------------------------------------------
    bool allDates() const;
    // The ids of the selected member entries, in the list's order.
    std::vector<std::int64_t> selectedMemberIds() const;
    // The selected destination entries, in the list's order.
    QStringList selectedDestinations() const;

    // ---- Controls ----------------------------------------------------------------------------------
    QGroupBox* Frame2 = nullptr;  // "Type of Report"
    std::array<QRadioButton*, 5> PrnOp{};
    QGroupBox* Frame1 = nullptr;  // "Select Items to Print"
    QListWidget* PrnList = nullptr;
    QCheckBox* Check1 = nullptr;  // "Select All &Entries"
    std::array<QLabel*, 2> Label1{};
    QGroupBox* Frame3 = nullptr;  // "Dates"
    QCheckBox* Check2 = nullptr;  // "&Select All Dates"
    std::array<QLabel*, 2> Label3{};
    std::array<QLineEdit*, 2> P_Date{};
    QPushButton* Command1 = nullptr;  // OK
    QPushButton* Command2 = nullptr;  // Cancel
    QFrame* Picture2 = nullptr;       // busy panel while destinations are queried
    QLabel* Label9 = nullptr;
    QProgressBar* AniNumOne = nullptr;
    QFrame* AddPic = nullptr;         // progress while member entries load
    QProgressBar* ProgressBar1 = nullptr;
    std::array<QLabel*, 2> Label2{};
    data::DataControl* datPRINTrs = nullptr;

    // ---- Handlers --------------------------------------------------------------------------------
    void Form_Load();
    void PrnOp_Click(int Index);
    void FillRs();
    void UpdateStatus(int percent);
    void PrnList_Click();
    void Check1_Click();
    void Check2_Click();
    void Command1_Click();  // OK
    void Command2_Click();  // Cancel

    // Escape and the close box cancel, as Cancel does.
    void reject() override;

private:
    void createControls();
    void layOutControls();
    void FillDestinations();
    // OK's step: the date range, when not all dates are chosen. Unreadable or reversed: refused.
    bool readDates();

    MainState& S;
    std::shared_ptr<dao::Database> db_;
    bool loading_ = false;  // selection changes while the list is refilled are not clicks
};
