// Draws the user guide's pictures of Edit > Merge Members and Edit > Batch Totals into PNG files
// in the folder given: merge-members.png (two records of one donor, ready to merge) and
// batch-totals.png (a batch under way, about to be ended).
// Run it on a real display or under Xvfb, so that the dialogs are drawn as a user sees them:
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/tools/merge_batch_shots docs/images
#include "frame/main_state.h"
#include "platform/dao/database.h"
#include "platform/dao/engine.h"
#include "platform/dao/sqlite.h"
#include "records/batch_dialog.h"
#include "records/batch_totals.h"
#include "records/merge_members_dialog.h"
#include "schema/connect_key.h"
#include "schema/template.h"
#include "shots.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const std::optional<QDir> argument = shots::folderArgument(argc, argv, "merge_batch_shots");
    if (!argument)
        return 2;
    const QDir& folder = *argument;
    QTemporaryDir temp;
    const QString file = temp.filePath(QStringLiteral("Club.qdb"));
    db::writeTemplate(file);
    {
        sqlite::Connection c(file, db::databasePassword().toUtf8(), sqlite::Connection::Mode::ReadWrite);
        for (const char* sql : {
                 "INSERT INTO Members (MemberID, FirstName, LastName, Address, City) VALUES (17, 'John', 'Smith', '12 Oak St', 'Troy')",
                 "INSERT INTO Members (MemberID, FirstName, LastName, Address, City) VALUES (512, 'Jon', 'Smith', '12 Oak Street', 'Troy')",
                 "INSERT INTO Payments VALUES (1, 250000, 1041, 'General Fund', '2026-03-01 00:00:00', 17)",
                 "INSERT INTO Payments VALUES (2, 400000, 1052, 'Roof Repair', '2026-03-08 00:00:00', 17)",
                 "INSERT INTO Payments VALUES (3, 250000, 1066, 'General Fund', '2026-03-15 00:00:00', 512)",
                 "INSERT INTO Payments VALUES (4, 150000, 1071, 'Youth Choir', '2026-03-22 00:00:00', 512)",
                 "INSERT INTO Payments VALUES (5, 250000, 1080, 'General Fund', '2026-03-29 00:00:00', 512)",
             })
            c.exec(QString::fromLatin1(sql));
    }
    auto database = dao::Engine::instance().defaultWorkspace().openDatabase(file, false, true,
                                                                            db::DescrambleConnect(db::kScrambledConnect));
    MainState S;
    bool ok = true;
    {
        MergeMembers merge(S, database, 17);
        merge.show();
        merge.txtMerge->setText(QStringLiteral("512"));
        ok = shots::save(merge, folder.filePath(QStringLiteral("merge-members.png"))) && ok;
    }
    {
        std::optional<records::BatchTotals> batch(std::in_place, 40, vb::Currency::fromUnits(1275));
        for (std::int64_t id = 1; id <= 12; ++id)
            batch->add(id, vb::Currency::fromUnits(id == 12 ? 35 : 25));
        BatchTotalsDialog dialog(S, batch);
        dialog.show();
        ok = shots::save(dialog, folder.filePath(QStringLiteral("batch-totals.png"))) && ok;
    }
    return ok ? 0 : 1;
}
