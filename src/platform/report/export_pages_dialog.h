#pragma once
// Which pages an export writes: all, the page shown, or a range.
#include "render.h"

#include <QDialog>

class QPushButton;
class QRadioButton;
class QSpinBox;

namespace report {

class ExportPages : public QDialog {
    Q_OBJECT

public:
    ExportPages(int pageCount, int currentPage, QWidget* parent = nullptr);

    PageRange range() const;

    QRadioButton* optAll = nullptr;      // "&All pages"
    QRadioButton* optCurrent = nullptr;  // "C&urrent page"
    QRadioButton* optPages = nullptr;    // "&Pages"
    QSpinBox* txtFrom = nullptr;
    QSpinBox* txtTo = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

private:
    int pageCount_;
    int currentPage_;
};

} // namespace report
