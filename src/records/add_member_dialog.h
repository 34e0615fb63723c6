#pragma once
// The Add a New Member dialog. OK writes the new member row and leaves its criterion in the
// text it was given (the records commands' NewMemberCriteria); the Add Member command then shows
// that member.
#include <QDialog>
#include <QString>
#include <array>
#include <memory>

class QGroupBox;
class QLabel;
class QPushButton;
struct MainState;

namespace dao { class Database; }

class AddMember : public QDialog {
    Q_OBJECT

public:
    static constexpr int kNotes = 7;

    // newMemberCriteria: receives "MemberID = " and the new member's number at OK.
    AddMember(MainState& S, QString& newMemberCriteria, std::shared_ptr<dao::Database> database,
              QWidget* parent = nullptr);

    // The text of box NewMem(index), 0..7.
    QString text(int index) const;

    QGroupBox* Frame1 = nullptr;
    std::array<QLabel*, 8> Label1{};  // captions of the boxes
    std::array<QWidget*, 8> NewMem{};  // 0..6 one-line boxes, 7 the taller Notes box
    QLabel* Label2 = nullptr;          // the hint about NONE
    QPushButton* Command1 = nullptr;   // OK
    QPushButton* Command2 = nullptr;   // Cancel

    void Command1_Click();
    void Command2_Click();

    // Escape and the close box cancel as the Cancel button does.
    void reject() override;

private:
    // True when the file can still number a new member; false after telling the user why not.
    bool numberLeft();
    // True when no member with the same names and address is on file, or the user adds anyway.
    bool confirmIfOnFile();
    // Writes the new row; false (after telling the user) when the database refused it.
    bool addRow();

    MainState& S;
    QString& newMemberCriteria_;
    std::shared_ptr<dao::Database> database_;
};
