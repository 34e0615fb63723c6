#pragma once
// The About box: the program's picture, its version line and an OK button.
#include <QDialog>

class QLabel;
class QPushButton;

class AboutBox : public QDialog {
    Q_OBJECT

public:
    // appDir: the program folder (with its trailing separator), where the picture lies.
    explicit AboutBox(const QString& appDir, QWidget* parent = nullptr);

    QLabel* Picture = nullptr;
    QLabel* Version = nullptr;
    QPushButton* Command1 = nullptr;
};
