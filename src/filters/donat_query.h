#pragma once
// The Filter Donations dialog (DonatQuery): amount, check number, destination and date, each
// with its operator. OK makes the donation filter's clause (DonationFilter) and keeps the
// criteria as typed (FilterCaptions 9..22); a value it cannot use keeps the dialog open and the
// filter in force. Cancel changes nothing. Made empty every time it is shown.
#include "filters/donation_clause.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
struct MainState;

class DonatQuery : public QDialog {
    Q_OBJECT

public:
    explicit DonatQuery(MainState& S, QWidget* parent = nullptr);

    // ---- Controls ------------------------------------------------------------------------------
    QGroupBox* Frame1 = nullptr;          // "Instructions"
    std::array<QLabel*, 6> Label1{};      // its six lines
    std::array<QLabel*, 4> Label5{};      // "Payment Amount", "Check Number", "Destination", "Payment Date"
    std::array<QComboBox*, 4> CB{};       // the operator of each row; pick only
    std::array<QLineEdit*, 7> TB{};       // 0, 1 amount; 2, 3 check number; 4 destination; 5, 6 date
    std::array<QCheckBox*, 4> CK{};       // "<" of amount (0) and check number (1), "To" of the date (3); 2 none
    QPushButton* Command1 = nullptr;      // OK
    QPushButton* Command2 = nullptr;      // Cancel

    // ---- Handlers ------------------------------------------------------------------------------
    void Form_Load();
    // An operator chosen in CB(Index): the row's range controls follow it.
    void CB_Click(int Index);
    // CK(Index) clicked: unticking the date's "To" turns the range into "later than From".
    void CK_Click(int Index);
    void Command1_Click();  // OK
    void Command2_Click();  // Cancel

    // Escape and the close box cancel, as Cancel does.
    void reject() override;

private:
    void createControls();
    void layOutControls();
    void connectHandlers();

    // OK's steps.
    bool buildClause();
    void keepCriteria();

    MainState& S;
    filters::DonationClause clause_;
};
