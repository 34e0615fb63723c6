#pragma once
// The Administrator Mode dialog (Admin): the administrator's password first, then the password
// list in the grid Grid1 for editing in place, Add New and Delete. The administrator entry is
// kept: its name cannot change, it cannot be deleted, and no other entry may take its name.
// Cell rules and the deletion safeguard are in admin_grid_rules.cpp.
#include "frame/main_state.h"
#include "platform/vb/value.h"

#include <QDialog>
#include <QTableView>
#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;

namespace dao { class Database; class Recordset; }
namespace data { class DataControl; class GridModel; }

// The list's grid; it can write the cell being typed into, as leaving the row would.
class AdminGrid : public QTableView {
    Q_OBJECT

public:
    using QTableView::QTableView;
    void commitPendingEdit();
};

class Admin : public QDialog {
    Q_OBJECT

public:
    // Loads at once (Form_Load); AdminFound tells whether the file has the administrator entry.
    Admin(MainState& S, std::shared_ptr<dao::Database> database, QWidget* parent = nullptr);
    ~Admin() override;

    // ---- Controls ------------------------------------------------------------------------------
    QLabel* Label1 = nullptr;       // heading: "Enter Administrator Password", then "Executive Password List"
    QLineEdit* Text1 = nullptr;     // the password, shown as "*"
    AdminGrid* Grid1 = nullptr;     // the list, columns " Name" and " Password"
    QLabel* Label2 = nullptr;       // "Use at least 4 characters for password"
    QPushButton* Command1 = nullptr;  // "&OK"
    QPushButton* Command2 = nullptr;  // "&Add New"
    QPushButton* Command3 = nullptr;  // "&Delete"
    data::DataControl* AdminDat = nullptr;
    data::GridModel* Grid1Model = nullptr;

    // ---- State ---------------------------------------------------------------------------------
    QString SavedAdminName;
    QString SavedAdminPassword;
    bool AdminRowDeleted = false;
    bool AdminFound = false;  // the load found the administrator entry

    // ---- Handlers ------------------------------------------------------------------------------
    void Form_Load();
    void Command1_Click();  // OK, and Enter in Text1
    void Command2_Click();  // Add New
    void Command3_Click();  // Delete
    // Before an edited cell is written: Cancel keeps the old value; NewValue may be replaced.
    void Grid1_BeforeColUpdate(int ColIndex, const vb::Value& OldValue, vb::Value& NewValue, bool& Cancel);
    // Around a row deleted through the grid: the administrator entry is put back.
    void Grid1_BeforeDelete(bool& Cancel);
    void Grid1_AfterDelete();

    bool inListPhase() const;
    // Escape and the close box close the dialog as OK does in the password phase.
    void reject() override;

private:
    void createControls();
    void showList();
    void closeDialog();
    // Adds an entry, writes it and makes it current; false (the user told) when the file refuses.
    bool addEntry(const QString& name, const QString& password);
    void writeFailed(const QString& what, const QString& reason);
    dao::Recordset* list() const;

    MainState& S;
    std::shared_ptr<dao::Database> database_;
};
