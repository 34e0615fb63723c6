// Draws the user guide's pictures of the two filter dialogs, filled in as the guide's examples
// fill them, into PNG files: filter-members.png and filter-donations.png in the folder given.
// Run it on a real display or under Xvfb, so that the dialogs are drawn as a user sees them:
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/tools/filter_dialog_shots docs/images
#include "filters/donat_query.h"
#include "filters/mem_query.h"
#include "frame/main_state.h"
#include "shots.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <cstdio>

namespace {

bool save(QDialog& dialog, const QString& path)
{
    shots::present(dialog);
    const bool saved = shots::save(dialog, path);
    dialog.hide();
    return saved;
}

void choose(DonatQuery& dialog, int row, const QString& item)
{
    QComboBox* box = dialog.CB[static_cast<std::size_t>(row)];
    box->setCurrentIndex(box->findText(item));
    dialog.CB_Click(row);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const std::optional<QDir> argument = shots::folderArgument(argc, argv, "filter_dialog_shots");
    if (!argument)
        return 2;
    const QDir& folder = *argument;
    MainState S;

    MemQuery members(S);
    members.setText(2, QStringLiteral("S*"));
    members.setText(4, QStringLiteral("Boston"));
    bool ok = save(members, folder.filePath(QStringLiteral("filter-members.png")));

    DonatQuery donations(S);
    choose(donations, 0, QStringLiteral(">"));
    donations.TB[0]->setText(QStringLiteral("100"));
    choose(donations, 2, QStringLiteral("Contains"));
    donations.TB[4]->setText(QStringLiteral("Roof"));
    choose(donations, 3, QStringLiteral("From"));
    donations.TB[5]->setText(QStringLiteral("1/1/2001"));
    donations.TB[6]->setText(QStringLiteral("12/31/2001"));
    ok = save(donations, folder.filePath(QStringLiteral("filter-donations.png"))) && ok;
    return ok ? 0 : 1;
}
