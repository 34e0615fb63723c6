#pragma once
// The import's preview ("Import Members" / "Import Donations"): which column feeds which field
// and which are ignored, the file's first lines, and every line that cannot be imported with its
// line number and reason. Import accepts; Cancel, Escape and the close box cancel.
#include "db/csv_import.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTableView;
class QTableWidget;
struct MainState;

class ImportPreview : public QDialog {
    Q_OBJECT

public:
    ImportPreview(MainState& S, const db::import::Plan& plan, QWidget* parent = nullptr);

    QLabel* lblSummary = nullptr;     // how many lines can be imported, how many cannot
    QTableWidget* grdColumns = nullptr;  // the file's column, the field it feeds
    QTableWidget* grdRows = nullptr;     // the first lines as the file holds them
    QLabel* lblProblems = nullptr;
    QTableView* grdProblems = nullptr;   // line, reason (every refused line)
    QPushButton* cmdImport = nullptr;    // disabled when no line can be imported
    QPushButton* cmdCancel = nullptr;

    void cmdImport_Click();
    void cmdCancel_Click();
    void reject() override;

private:
    MainState& S;
};
