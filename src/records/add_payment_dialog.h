#pragma once
// The Add Donations dialog (AddPayment): one donation, or one check split over several
// destinations with a running balance, and the upkeep of the destination list (table Dest).
// Accepted lines wait in the hidden lists A_List (amounts) and D_List (destinations) for the Add
// Donation command, which reads them from the hidden dialog before it destroys it.
#include "frame/main_state.h"
#include "records/donation_entry.h"

#include <QDialog>
#include <array>
#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace dao { class Database; class Recordset; }
namespace data { class DataControl; }

class AddPayment : public QDialog {
    Q_OBJECT

public:
    // Loads at once: the destination list from the database, the donor's name from
    // S.DonorName, the remembered date from `entry`.
    AddPayment(MainState& S, DonationEntry& entry, std::shared_ptr<dao::Database> database, QWidget* parent = nullptr);
    ~AddPayment() override;

    // ---- Controls ------------------------------------------------------------------------------
    QGroupBox* Frame1 = nullptr;            // "Enter Donation Info"
    QLabel* Label2 = nullptr;               // "Donation for " and the donor
    std::array<QLabel*, 4> Label1{};        // "Amount", "Check #" (later "Balance"), "Destination", "Donation Date"
    std::array<QLineEdit*, 4> Text1{};      // 0 amount, 1 check number or balance, 3 date; 2 is not used
    QComboBox* Combo1 = nullptr;            // destination, typed or chosen from the Dest list
    QCheckBox* Check1 = nullptr;            // "Remember &Date"
    QRadioButton* Option1 = nullptr;        // "&Single Donation"
    QRadioButton* Option2 = nullptr;        // "&Multiple Donation"
    QPushButton* Command1 = nullptr;        // "&OK"
    QPushButton* Command2 = nullptr;        // "&Cancel"
    QPushButton* Command3 = nullptr;        // add the typed destination to the list
    QPushButton* Command4 = nullptr;        // remove the chosen destination from the list
    QListWidget* A_List = nullptr;          // accepted amounts, as plain decimal text
    QListWidget* D_List = nullptr;          // their destinations
    data::DataControl* Data1 = nullptr;     // the Dest rows while the dialog is open

    // Set by the command that opens the dialog: writes the accepted lines while the dialog is
    // still open, and returns false when nothing could be written (it has told the user why).
    // The dialog then stays open with everything typed, for another OK or Cancel.
    std::function<bool()> WriteLines;

    // ---- Handlers ------------------------------------------------------------------------------
    void Form_Load();
    // The enabling rule, run after every change of a Text1 box, a click on an option button or
    // on an item of Combo1, and typing in Combo1.
    void RefreshDonationControls();
    void Combo1_Change();  // typing in Combo1
    void Combo1_Click();   // an item of Combo1's list chosen
    void Command1_Click(); // OK
    void Command2_Click(); // Cancel
    void Command3_Click(); // Add item to Destination
    void Command4_Click(); // Remove item from Destination

    // Escape and the window's close button cancel, as Cancel does.
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void layOutControls();
    void connectHandlers();

    // Combo1's text, changed by the program: the list selection goes, and typing's rule runs when
    // the text really changed.
    void setComboText(const QString& text);
    // Takes the list selection away from Combo1 and keeps its text.
    void clearComboSelection();
    void addComboItem(const QString& text);
    // Completes a typed beginning of a listed destination (letter case ignored) to that
    // destination, the completed part selected so that typing on replaces it.
    void completeTypedDestination();

    // Finds the Dest row of a destination (letter case ignored, apostrophes kept); null when there
    // is none or the list cannot be read.
    dao::Recordset* findDestination(const QString& item);

    // OK's steps.
    bool rememberDate();
    bool readAmount();
    bool readCheckNumber();
    void startSplit();
    bool takeLine();
    void finish();
    // After a failed write: the line that closed a multiple donation is typed again, unaccepted.
    void giveBackLastLine();
    void releaseDestinations();

    MainState& S;
    DonationEntry& entry;
    std::shared_ptr<dao::Database> database_;
    QString lastLineAmount_;  // the amount of the last accepted line as it was typed
    bool charTyped_ = false;  // the last key in Combo1 typed a character (not an erase or a paste)
};
