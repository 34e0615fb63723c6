// Opening the 100,000-member, 1,000,000-donation file written by a program of format 1, through
// the real main window under the offscreen platform: from the Open command to the window showing
// the file up to date, its copy in Backups made and checked, the busy panel shown meanwhile.
// Against, in the same rounds: the open of the same file already up to date (what the upgrade
// adds), and raw SQLCipher doing the upgrade's work by hand (the backup API's copy, then the
// new index and table in one transaction).
//
//   upgrade_bench [rounds]        (default 3)      QUIL_BENCH_FILE=/path/file.qdb names the demo file
#include "app/install_commands.h"
#include "db/backup_file.h"
#include "frame/frm_main.h"
#include "platform/dao/sqlite.h"
#include "platform/ui/scripted_ui.h"
#include "schema/connect_key.h"
#include "schema/schema.h"
#include "support/file_formats.h"
#include "timing.h"
#include "window_bench.h"

#include <sqlcipher/sqlite3.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

namespace {

using bench::Timing;

const QByteArray& password()
{
    static const QByteArray key = db::databasePassword().toUtf8();
    return key;
}

// The upgrade's work without the program: a page copy of the file, then the later steps.
void rawUpgrade(const QString& file, const QString& copy)
{
    sqlite::Connection source(file, password(), sqlite::Connection::Mode::ReadWrite);
    {
        sqlite::Connection target(copy, password(), sqlite::Connection::Mode::Create);
        sqlite3_backup* backup = sqlite3_backup_init(target.handle(), "main", source.handle(), "main");
        sqlite3_backup_step(backup, -1);
        sqlite3_backup_finish(backup);
    }
    sqlite::Transaction t(source);
    source.exec(QStringLiteral("CREATE TABLE Settings (SettingName TEXT(50) NOT NULL PRIMARY KEY, SettingValue LONGTEXT)"));
    source.exec(QStringLiteral("CREATE INDEX PaymentsAmount ON Payments (PaymentAmount)"));
    source.exec(QStringLiteral("PRAGMA user_version = 2"));
    t.commit();
}

bool place(const QString& from, const QString& to)
{
    QFile::remove(to);
    QDir(QFileInfo(to).absolutePath() + QStringLiteral("/Backups")).removeRecursively();
    return QFile::copy(from, to);
}

} // namespace

int main(int argc, char** argv)
{
    const bench::WindowBench run(argc, argv, 3);
    const int rounds = run.rounds();
    ui::ScriptedUi& script = run.scripted();

    // The file as a program of format 1 wrote it.
    const QString format1 = run.tempFile(QStringLiteral("Format1.qdb"));
    QFile::copy(run.file(), format1);
    quiltest::takeBackToFormat(format1, 1);
    const QString work = run.tempFile(QStringLiteral("Club.qdb"));
    const QString rawCopy = run.tempFile(QStringLiteral("RawCopy.qdb"));

    frmMain f;
    InstallCommands(f);
    if (!f.Form_Load(QString()))
        return 1;
    const QString programDir = qEnvironmentVariable("QUIL_PROGRAM_DIR", QStringLiteral(QUIL_PROGRAM_DIR));
    f.S.AppDir = programDir + u'/';
    f.resize(1024, 768);
    f.show();
    QApplication::processEvents();
    std::printf("file: %s (%lld bytes), %d rounds\n", qPrintable(run.file()), static_cast<long long>(QFileInfo(format1).size()),
                rounds);

    Timing upgrade, current, raw, backup, steps;
    for (int round = 0; round < rounds; ++round) {
        if (!place(format1, work))
            return 1;
        script.clearLog();
        upgrade.measure([&] {
            f.S.DbFileName = work;
            f.files->mnuFileOpen_Click();
        });
        if (f.S.OpenDbPath != work || !script.trace().join('\n').contains(QStringLiteral("brought up to date"))) {
            std::fprintf(stderr, "the upgrade failed: %s\n", qPrintable(script.trace().join('\n')));
            return 1;
        }
        f.files->mnuFileClose_Click();

        // The same file, now up to date, opened again (the copy made today serves as the day's backup).
        current.measure([&] {
            f.S.DbFileName = work;
            f.files->mnuFileOpen_Click();
        });
        f.files->mnuFileClose_Click();

        if (!place(format1, work))
            return 1;
        QFile::remove(rawCopy);
        raw.measure([&] { rawUpgrade(work, rawCopy); });

        // Where the upgrade's time goes: the checked copy, then the steps.
        if (!place(format1, work))
            return 1;
        {
            sqlite::Connection c(work, password(), sqlite::Connection::Mode::ReadWrite);
            QString made;
            backup.measure([&] { made = db::writeBackup(c, work, password(), db::formatBackupLabel(db::kSchemaVersion)); });
            QFile::remove(made);
            steps.measure([&] {
                c.exec(QStringLiteral("PRAGMA threads = 4"));  // as the upgrade sorts
                sqlite::Transaction t(c);
                db::upgradeSchema(c, 1);
                t.commit();
            });
        }
    }
    QFile::remove(rawCopy);

    const auto line = [](const char* what, const Timing& t) {
        std::printf("  %-56s wall %9.2f ms (worst %9.2f)   cpu %9.2f ms\n", what, t.wall.median(), t.wall.worst(), t.cpu.median());
    };
    std::printf("\nOpening a file of format 1 (100,000 members, 1,000,000 donations)\n");
    line("Open with the upgrade (copy, check, steps, window shown)", upgrade);
    line("Open of the same file up to date", current);
    line("raw: backup API copy + new table and index", raw);
    line("  of ours: the checked copy in Backups", backup);
    line("  of ours: the steps in one transaction", steps);
    std::printf("  %-56s %s (target < 3000 ms)\n", "upgrade", upgrade.wall.median() < 3000 ? "met" : "MISSED");
    std::printf("  %-56s %.2fx\n", "upgrade against the raw work", upgrade.wall.median() / raw.wall.median());
    return 0;
}
