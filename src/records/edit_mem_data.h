#pragma once
// The Edit Member Data dialog: one box with the value of the member field being edited. OK and
// Enter hide it with the new text for the caller to read; Cancel also sets DialogCancelled.
#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;
struct MainState;

class EditMemData : public QDialog {
    Q_OBJECT

public:
    // value: the field's text as it stands (EditFieldValue); maxLength: characters the field
    // holds, 0 for no limit.
    EditMemData(MainState& S, const QString& value, int maxLength, QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;
    QLineEdit* Text1 = nullptr;
    QPushButton* OkBut = nullptr;
    QPushButton* CanBut = nullptr;

    void OkBut_Click();
    void CanBut_Click();

    // Escape and the close box cancel as the Cancel button does.
    void reject() override;

private:
    MainState& S;
};
