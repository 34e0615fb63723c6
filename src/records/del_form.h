#pragma once
// The Delete Member confirmation (DelForm, "Delete Member"): the member's name and what deleting
// means. OK is disabled until a key event comes whose modifiers are exactly Alt (Shift and Ctrl
// not held); holding Alt alone makes one. Once enabled it stays so. The dialog sees every key
// before its controls do. OK leaves DialogCancelled False; Cancel, Escape and the close box
// leave it True.
#include <QDialog>
#include <array>

class QLabel;
class QPushButton;
struct MainState;

class DelForm : public QDialog {
    Q_OBJECT

public:
    explicit DelForm(MainState& S, QWidget* parent = nullptr);
    ~DelForm() override;

    // Whether a key event with these modifiers enables OK.
    static bool enablesOk(Qt::KeyboardModifiers modifiers);

    std::array<QLabel*, 6> Label{};  // the texts from top to bottom; Label[1] is Label2, the name
    QLabel* Label2 = nullptr;
    QPushButton* Command1 = nullptr;  // "&OK"
    QPushButton* Command2 = nullptr;  // "&Cancel"

    void Form_Load();
    void Command1_Click();  // OK
    void Command2_Click();  // Cancel

    // Escape and the close box cancel, as Cancel does.
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The dialog's key preview: on for the dialog and every control in it, off before it closes.
    void previewKeys(bool on);

    MainState& S;
    bool previewing_ = false;
};
