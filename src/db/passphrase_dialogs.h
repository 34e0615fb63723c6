#pragma once
// The two dialogs of a file's own passphrase. FilePassword ("File Password") asks for it when a
// file that has one is opened: one masked box. SetFilePassword ("Set File Password") sets,
// changes or removes it: the Administrator password again, the new passphrase twice (both empty
// remove it). OK (Enter) and Cancel (Escape, the close box) hide them and set DialogCancelled;
// the command reads the boxes from the still living dialog, as PassBox's command does.
#include <QDialog>
#include <cstdint>

class QLabel;
class QLineEdit;
class QPushButton;
struct MainState;

// Tells "The password for <file> is not correct.", the one message of a wrong passphrase;
// returns the answer.
std::int16_t tellFilePasswordNotCorrect(const QString& path);

class FilePassword : public QDialog {
    Q_OBJECT

public:
    FilePassword(MainState& S, const QString& path, QWidget* parent = nullptr);

    QLabel* lblFile = nullptr;
    QLineEdit* txtPassword = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

    void reject() override;

private:
    MainState& S;
};

class SetFilePassword : public QDialog {
    Q_OBJECT

public:
    explicit SetFilePassword(MainState& S, QWidget* parent = nullptr);

    QLabel* lblWarning = nullptr;
    QLineEdit* txtAdmin = nullptr;
    QLineEdit* txtNew = nullptr;
    QLineEdit* txtConfirm = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

    void reject() override;

private:
    MainState& S;
};
