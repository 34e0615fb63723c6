// Draws the user guide's picture of the CSV import preview into a PNG file in the folder given:
// import-preview.png (a donation file over a small file of members, three lines left out).
// Run it on a real display or under Xvfb, so that the dialog is drawn as a user sees it:
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/tools/import_shots docs/images
#include "db/csv_import.h"
#include "db/import_preview.h"
#include "frame/main_state.h"
#include "platform/dao/database.h"
#include "platform/dao/engine.h"
#include "platform/dao/sqlite.h"
#include "schema/connect_key.h"
#include "schema/template.h"
#include "shots.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const std::optional<QDir> argument = shots::folderArgument(argc, argv, "import_shots");
    if (!argument)
        return 2;
    const QDir& folder = *argument;
    QTemporaryDir temp;
    const QString file = temp.filePath(QStringLiteral("Club.qdb"));
    db::writeTemplate(file);
    {
        sqlite::Connection c(file, db::databasePassword().toUtf8(), sqlite::Connection::Mode::ReadWrite);
        for (const char* sql : {
                 "INSERT INTO Members (MemberID, FirstName, LastName, Address) VALUES (2, 'Jane', 'Smith', '12 Oak St')",
                 "INSERT INTO Members (MemberID, FirstName, LastName, Address) VALUES (3, 'Tom', 'Brown', '4 Elm Rd')",
                 "INSERT INTO Members (MemberID, FirstName, LastName, Address) VALUES (4, 'Ana', 'Ruiz', '9 Bay Ave')",
                 "INSERT INTO Dest (DestItem) VALUES ('Roof Repair')",
             })
            c.exec(QString::fromLatin1(sql));
    }
    const QString csv = temp.filePath(QStringLiteral("gifts.csv"));
    {
        QFile out(csv);
        out.open(QIODevice::WriteOnly);
        out.write("First Name,Last Name,Address,Gift,Fund,Gift Date,Cheque,Entered By\r\n"
                  "Jane,Smith,12 Oak St,$25.00,General Fund,3/1/2026,1041,Pat\r\n"
                  "Tom,Brown,4 Elm Rd,\"1,200.00\",Roof Repair,3/1/2026,877,Pat\r\n"
                  "Ana,Ruiz,9 Bay Ave,40,Youth Choir,2026-03-08,,Pat\r\n"
                  "jane,SMITH,12 Oak St,25,General Fund,8 Mar 2026,1052,Pat\r\n"
                  "Tom,Brown,4 Elm Rd,ten,Roof Repair,3/8/2026,,Pat\r\n"
                  "Ann,Lee,7 Pine Ct,50,General Fund,3/8/2026,310,Pat\r\n"
                  "Ana,Ruiz,9 Bay Ave,15,Youth Choir,3/32/2026,,Pat\r\n"
                  "Jane,Smith,12 Oak St,30,Roof Repair,3/15/2026,1066,Pat\r\n");
    }
    auto database = dao::Engine::instance().defaultWorkspace().openDatabase(file, false, true,
                                                                            db::DescrambleConnect(db::kScrambledConnect));
    db::import::Plan plan;
    db::import::analyse(*database, csv, db::import::Kind::Donations, plan);

    MainState S;
    ImportPreview preview(S, plan);
    preview.resize(900, 560);
    preview.show();
    return shots::save(preview, folder.filePath(QStringLiteral("import-preview.png"))) ? 0 : 1;
}
