// Draws the user guide's pictures of keyboard entry and the CSV export into PNG files in the
// folder given: add-donations-keyboard.png (Add Donations as the keys leave it just before the
// last Enter) and fund-totals.png (the date range of the fund totals export).
// Run it on a real display or under Xvfb, so that the dialogs are drawn as a user sees them:
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/tools/export_shots docs/images
#include "frame/main_state.h"
#include "records/add_payment_dialog.h"
#include "records/donation_entry.h"
#include "reports/fund_range_dialog.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <cstdio>

namespace {

bool save(QDialog& dialog, QWidget* focus, const QString& path)
{
    dialog.show();
    dialog.raise();
    dialog.activateWindow();
    for (int i = 0; i < 10; ++i)
        QApplication::processEvents();
    if (focus)
        focus->setFocus();
    for (int i = 0; i < 10; ++i)
        QApplication::processEvents();
    const bool saved = dialog.grab().save(path);
    std::printf("%s %s\n", saved ? "wrote" : "could not write", qPrintable(path));
    dialog.hide();
    return saved;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: export_shots <folder>\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
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
