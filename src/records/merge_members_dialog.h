#pragma once
// The Merge Members dialog: the member to keep and the member to merge into it, each typed as
// a member number and shown with its name, address and donation count. Merge asks once, naming
// both and the donations that move, then writes while the dialog is still open: a write the
// file refuses is one message, and the dialog keeps both numbers for another try or Cancel.
#include "records/member_merge.h"

#include <QDialog>
#include <cstdint>
#include <memory>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
struct MainState;

namespace dao { class Database; }

class MergeMembers : public QDialog {
    Q_OBJECT

public:
    // current: the member the window stands on, offered as the one to keep (0: none).
    MergeMembers(MainState& S, std::shared_ptr<dao::Database> database, std::int64_t current, QWidget* parent = nullptr);

    QLabel* lblKeep = nullptr;
    QLineEdit* txtKeep = nullptr;   // the member to keep: its number
    QLabel* lblKeepName = nullptr;
    QLabel* lblKeepAddress = nullptr;
    QLabel* lblKeepDonations = nullptr;
    QLabel* lblMerge = nullptr;
    QLineEdit* txtMerge = nullptr;  // the member to merge away: its number
    QLabel* lblMergeName = nullptr;
    QLabel* lblMergeAddress = nullptr;
    QLabel* lblMergeDonations = nullptr;
    QPushButton* cmdOK = nullptr;      // "Merge"
    QPushButton* cmdCancel = nullptr;

    // A number typed: the member it names is shown beside it.
    void txtKeep_Change();
    void txtMerge_Change();
    // Merge: both members read again, the rules, the question, the write.
    void cmdOK_Click();
    void cmdCancel_Click();
    void reject() override;

    // After a merge: the kept member and the donations moved.
    std::int64_t keptMember = 0;
    std::int64_t movedDonations = 0;

private:
    struct Side {
        QLineEdit* box;
        QLabel* name;
        QLabel* address;
        QLabel* donations;
    };
    void showMember(const Side& side);
    bool readMembers();
    bool allowed();
    bool confirmed();
    bool writeMerge();

    MainState& S;
    std::shared_ptr<dao::Database> database_;
    std::optional<records::MemberSummary> keep_;
    std::optional<records::MemberSummary> merge_;
};
