#pragma once
// The Filter Members dialog (MemQuery): one box per member field. OK makes the member filter's
// condition (MemberFilter) and keeps the criteria as typed (FilterCaptions 0..8) for the
// current-filter report; Cancel changes nothing. Made empty every time it is shown.
#include "filters/member_clause.h"

#include <QDialog>
#include <QString>
#include <array>

class QGroupBox;
class QLabel;
class QPushButton;
struct MainState;

class MemQuery : public QDialog {
    Q_OBJECT

public:
    static constexpr int kMemberId = 0;
    static constexpr int kNotes = 8;

    explicit MemQuery(MainState& S, QWidget* parent = nullptr);

    // The text of TF(index); TF(8), the notes, has several lines.
    QString text(int index) const;
    void setText(int index, const QString& text);

    // ---- Controls ------------------------------------------------------------------------------
    QGroupBox* Frame1 = nullptr;                          // "Instructions"
    std::array<QLabel*, 5> Label1{};                      // its five lines
    std::array<QLabel*, filters::kMemberBoxes> lblLabels{};  // "MemberID:", "First Name:", ...
    std::array<QWidget*, filters::kMemberBoxes> TF{};      // 0..7 one-line boxes, 8 the notes
    QPushButton* Command1 = nullptr;                      // OK
    QPushButton* Command2 = nullptr;                      // Cancel

    // ---- Handlers ------------------------------------------------------------------------------
    void Form_Load();
    void Command1_Click();  // OK
    void Command2_Click();  // Cancel

    // Escape and the close box cancel, as Cancel does.
    void reject() override;

private:
    void createControls();
    void layOutControls();

    // OK's steps.
    bool buildCondition();
    void keepCriteria();

    MainState& S;
    filters::MemberCondition condition_;
};
