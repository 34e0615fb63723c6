#pragma once
// The Organization Data dialog (OrgData): the name, address, phone numbers, e-mail and logo that
// head every report, read from the first row of Passwords when it opens and written back, with
// the window's in-memory copies, by OK. Each box takes no more than its field holds.
#include "frame/main_state.h"

#include <QDialog>
#include <array>
#include <memory>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace dao { class Database; }
namespace data { class DataControl; }

class OrgData : public QDialog {
    Q_OBJECT

public:
    // Loads at once (Form_Load).
    OrgData(MainState& S, std::shared_ptr<dao::Database> database, QWidget* parent = nullptr);
    ~OrgData() override;

    static constexpr int kBoxes = 5;

    // ---- Controls ------------------------------------------------------------------------------
    QFrame* Shape1 = nullptr;                 // frames the heading
    QLabel* Heading = nullptr;
    std::array<QLabel*, kBoxes> Label1{};
    std::array<QLineEdit*, kBoxes> Text1{};   // OrgName, OrgAdd, OrgPhone, OrgEmail, OrgLogo
    QPushButton* Command1 = nullptr;          // "&Cancel"
    QPushButton* Command2 = nullptr;          // "&OK"
    QPushButton* Command3 = nullptr;          // "&Browse"
    data::DataControl* Data1 = nullptr;
    QLabel* Picture2 = nullptr;               // test-loads the chosen picture; never shown

    // ---- Handlers ------------------------------------------------------------------------------
    void Form_Load();
    void Command1_Click();  // Cancel
    void Command2_Click();  // OK
    void Command3_Click();  // Browse
    void reject() override;

    // The stored fields in the order of the boxes.
    static const std::array<const char*, kBoxes>& fields();

private:
    void createControls();
    // Whether the picture at path can serve as the logo; false after telling the user why.
    bool testLoad(const QString& path);

    MainState& S;
    std::shared_ptr<dao::Database> database_;
};
