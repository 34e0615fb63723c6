#include "export_pages_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace report {

ExportPages::ExportPages(int pageCount, int currentPage, QWidget* parent)
    : QDialog(parent), pageCount_(pageCount), currentPage_(currentPage)
{
    setObjectName(QStringLiteral("ExportPages"));
    setWindowTitle(QStringLiteral("Export to PDF"));
    optAll = new QRadioButton(QStringLiteral("&All pages (%1)").arg(pageCount), this);
    optAll->setObjectName(QStringLiteral("optAll"));
    optCurrent = new QRadioButton(QStringLiteral("C&urrent page (%1)").arg(currentPage), this);
    optCurrent->setObjectName(QStringLiteral("optCurrent"));
    optPages = new QRadioButton(QStringLiteral("&Pages"), this);
    optPages->setObjectName(QStringLiteral("optPages"));
    txtFrom = new QSpinBox(this);
    txtFrom->setObjectName(QStringLiteral("txtFrom"));
    txtTo = new QSpinBox(this);
    txtTo->setObjectName(QStringLiteral("txtTo"));
    for (QSpinBox* box : {txtFrom, txtTo}) {
        box->setRange(1, std::max(1, pageCount));
        box->setEnabled(false);
    }
    txtFrom->setValue(1);
    txtTo->setValue(pageCount);
    optAll->setChecked(true);
    connect(optPages, &QRadioButton::toggled, this, [this](bool on) {
        txtFrom->setEnabled(on);
        txtTo->setEnabled(on);
    });

    auto* buttons = new QDialogButtonBox(this);
    cmdOK = buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdCancel = buttons->addButton(QStringLiteral("&Cancel"), QDialogButtonBox::RejectRole);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* grid = new QGridLayout;
    grid->addWidget(optAll, 0, 0, 1, 4);
    grid->addWidget(optCurrent, 1, 0, 1, 4);
    grid->addWidget(optPages, 2, 0);
    grid->addWidget(txtFrom, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("to"), this), 2, 2);
    grid->addWidget(txtTo, 2, 3);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
}

PageRange ExportPages::range() const
{
    if (optCurrent->isChecked())
        return {currentPage_, currentPage_};
    if (optPages->isChecked())
        return {std::min(txtFrom->value(), txtTo->value()), std::max(txtFrom->value(), txtTo->value())};
    return {1, pageCount_};
}

} // namespace report
