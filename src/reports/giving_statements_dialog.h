#pragma once
// Giving Statements ("GivingStatements"): the period, who gets a statement, the organisation's
// wording, and the output. The wording and the month the organisation's year begins with are
// kept in the file, so next year's run offers them again.
#include "frame/main_state.h"
#include "reports/statement_donors.h"

#include <QDialog>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace dao { class Database; }

class GivingStatements : public QDialog {
    Q_OBJECT

public:
    enum class Output { Preview, CombinedPdf, PerMemberPdf };

    GivingStatements(MainState& S, std::shared_ptr<dao::Database> db, QWidget* parent = nullptr);

    QLineEdit* txtFrom = nullptr;
    QLineEdit* txtTo = nullptr;
    QComboBox* cboYearStart = nullptr;  // the month the organisation's year begins with
    QRadioButton* optEveryDonor = nullptr;
    QRadioButton* optChosen = nullptr;
    QLineEdit* txtSearch = nullptr;
    QListWidget* lstMembers = nullptr;  // filled when first wanted; the entries keep the member's id
    QCheckBox* chkAnonymous = nullptr;  // member 1, the gifts of unknown donors
    QPlainTextEdit* txtWording = nullptr;
    QPushButton* cmdPreview = nullptr;
    QPushButton* cmdCombinedPdf = nullptr;
    QPushButton* cmdPerMemberPdf = nullptr;
    QPushButton* cmdCancel = nullptr;

    void cmdPreview_Click() { finish(Output::Preview); }
    void cmdCombinedPdf_Click() { finish(Output::CombinedPdf); }
    void cmdPerMemberPdf_Click() { finish(Output::PerMemberPdf); }
    void cmdCancel_Click();
    void reject() override;
    // A new first month of the year offers that year's last whole year as the period.
    void cboYearStart_Change();
    void txtSearch_Change();
    void optChosen_Click();

    // What the output buttons read, for the command.
    Output output = Output::Preview;
    reports::StatementPeriod period;
    reports::DonorChoice choice;
    QString wording;

    // Longest wording kept: a letter has room for it above the signature.
    static constexpr int kWordingMostChars = 1000;

private:
    void finish(Output chosen);
    bool readPeriod();
    bool readChoice();
    bool readWording();
    bool saveSettings();
    void refuse(const QString& prompt, QWidget* focus);
    void fillMembers();

    MainState& S;
    std::shared_ptr<dao::Database> db_;
    int storedYearStart_ = 1;
    QString storedWording_;
};
