// Draws the user guide's pictures of keyboard entry and the CSV export into PNG files in the
// folder given: add-donations-keyboard.png (Add Donations as the keys leave it just before the
// last Enter) and fund-totals.png (the date range of the fund totals export).
// Run it on a real display or under Xvfb, so that the dialogs are drawn as a user sees them:
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/tools/export_shots docs/images
#include "frame/main_state.h"
#include "records/add_payment_dialog.h"
#include "records/donation_entry.h"
#include "reports/fund_range_dialog.h"
#include "shots.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <cstdio>

namespace {

bool save(QDialog& dialog, QWidget* focus, const QString& path)
{
    shots::present(dialog);
    if (focus)
        focus->setFocus();
    const bool saved = shots::save(dialog, path);
    dialog.hide();
    return saved;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const std::optional<QDir> argument = shots::folderArgument(argc, argv, "export_shots");
    if (!argument)
        return 2;
    const QDir& folder = *argument;
    MainState S;
    S.DonorName = QStringLiteral("Jane Smith");
    DonationEntry entry;

    AddPayment donation(S, entry, nullptr);
    donation.Combo1->addItem(QStringLiteral("General Fund"));  // Roof Repair is a new destination
    donation.Text1[0]->setText(QStringLiteral("25"));
    donation.Text1[3]->setText(QStringLiteral("6/1/2026"));
    donation.Combo1->setCurrentIndex(-1);
    donation.Combo1->setEditText(QStringLiteral("Roof Repair"));
    donation.Combo1_Change();  // what typing runs
    bool ok = save(donation, donation.Combo1, folder.filePath(QStringLiteral("add-donations-keyboard.png")));

    FundRange range(S);
    range.txtFrom->setText(QStringLiteral("1/1/2026"));
    range.txtTo->setText(QStringLiteral("12/31/2026"));
    ok &= save(range, range.txtFrom, folder.filePath(QStringLiteral("fund-totals.png")));
    return ok ? 0 : 1;
}
