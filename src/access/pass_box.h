#pragma once
// The password dialog (PassBox, "Enter Password"): one masked box. OK (Enter) and Cancel
// (Escape, the close box) hide it and set DialogCancelled; the command reads txtPassword from
// the still living dialog and lets it go, so it opens empty every time.
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
struct MainState;

class PassBox : public QDialog {
    Q_OBJECT

public:
    explicit PassBox(MainState& S, QWidget* parent = nullptr);

    QLabel* lblLabels = nullptr;  // "&Password:"
    QLineEdit* txtPassword = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

    void cmdOK_Click();
    void cmdCancel_Click();

    // Escape and the close box cancel, as Cancel does.
    void reject() override;

private:
    MainState& S;
};
