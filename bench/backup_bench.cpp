// Backups of the file of 100,000 members and 1,000,000 donations, through the real main window
// under the offscreen platform:
//   - the backup a command makes first (db::BackupBeforeCommand) right after an open: the wait for
//     the page check, then the copy of the file's bytes, its compare and check (a fresh keyed
//     connection, the schema check) and the rename, against a raw sqlite3_backup of the same
//     connection alone (maintenance_bench times the backup without the page check before it);
//   - what the day's first backup adds to Open Database before the window is shown again (the
//     decision and the scheduling), open with a backup due against open with today's backup there;
//   - the day's backup made by its thread: the longest single step of the window's event loop
//     meanwhile (what a keystroke may wait for) and the time until it is complete;
//   - a reading command right after the open (with and without the day's backup due), which does
//     not wait for the background work, and a writing command then, which does;
//   - File > Back Up To's backup (db::writeBackupTo) into another folder, the same copy, compare,
//     check and rename, against the same raw sqlite3_backup.
// The commands work on a copy of the demo file in a temporary folder, where its Backups folder is
// made.
//
//   backup_bench [rounds]        (default 3)      QUIL_BENCH_FILE=/path/file.qdb names the demo file
#include "app/install_commands.h"
#include "db/backup.h"
#include "db/backup_file.h"
#include "db/file_commands.h"
#include "frame/dispatch.h"
#include "frame/frm_main.h"
#include "platform/dao/database.h"
#include "platform/dao/engine.h"
#include "platform/dao/write_unit.h"
#include "schema/connect_key.h"
#include "timing.h"
#include "window_bench.h"

#include <sqlcipher/sqlite3.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTimer>
#include <cstdio>
#include <memory>

namespace {

void printFigure(const char* what, const bench::Figures& f, double targetMs)
{
    if (targetMs > 0)
        std::printf("  %-58s median %9.2f ms, worst %9.2f ms   target < %.0f ms  %s\n", what, f.median(), f.worst(), targetMs,
                    f.median() < targetMs ? "met" : "MISSED");
    else
        std::printf("  %-58s median %9.2f ms, worst %9.2f ms\n", what, f.median(), f.worst());
}

std::unique_ptr<frmMain> openWindow(const QString& file)
{
    auto window = std::make_unique<frmMain>();
    InstallCommands(*window);
    window->S.AppDir = QFileInfo(file).absolutePath() + u'/';
    window->S.DbConnect = db::DescrambleConnect(db::kScrambledConnect);
    window->S.ViewName = QStringLiteral("Member View");
    window->S.SortFields = {QString(), QStringLiteral(" PaymentID"), QStringLiteral(" PaymentAmount"),
                            QStringLiteral(" CheckNumber"), QStringLiteral(" Destination"), QStringLiteral(" PaymentDate")};
    window->show();
    return window;
}

void openFile(frmMain& f, const QString& file)
{
    // From the menu, as a user opens it: through the guarded dispatch.
    f.S.DbFileName = file;
    frame::RunHandler(f, frame::Origin::Menu, [&f] { f.mnuFileOpen_Click(); });
    if (f.S.OpenDbPath != file) {
        std::fprintf(stderr, "the file did not open\n");
        std::exit(1);
    }
}

// A reading command from the menu: the member view's requery.
void readingCommand(frmMain& f)
{
    frame::RunHandler(f, frame::Origin::Menu, [&f] { f.records->RequeryView(); });
}

// A writing command: one member added through the window's connection.
void writingCommand(frmMain& f)
{
    frame::RunHandler(f, frame::Origin::Menu, [&f] {
        dao::WriteUnit unit(*f.S.db);
        unit.connection().exec(QStringLiteral("INSERT INTO Members (FirstName, LastName) VALUES ('Bench', 'Written')"));
        unit.commit();
    });
}

} // namespace

int main(int argc, char** argv)
{
    const bench::WindowBench run(argc, argv, 3);
    const QString file = run.tempFile(QStringLiteral("Bench.qdb"));
    if (!QFile::copy(run.file(), file)) {
        std::fprintf(stderr, "cannot copy the bench file\n");
        return 1;
    }
    // The logo the file names, so that opening it shows no message: the copy names ours, wherever
    // an earlier run left the shared file's logo path.
    {
        sqlite::Connection c(file, db::databasePassword().toUtf8(), sqlite::Connection::Mode::ReadWrite);
        auto set = c.prepare(QStringLiteral("UPDATE Passwords SET OrgLogo = ?"));
        set.bind(1, run.tempFile(QStringLiteral("quil.jpg")));
        set.step();
    }
    QImage logo(40, 20, QImage::Format_RGB32);
    logo.fill(Qt::darkBlue);
    logo.save(run.tempFile(QStringLiteral("quil.jpg")));
    const QString folder = db::backupFolder(file);
    const QByteArray key = db::databasePassword().toUtf8();
    {
        // The copy's first open writes the logo's full path, with its backup made at once;
        // what the rounds measure are the opens after it.
        auto window = openWindow(file);
        openFile(*window, file);
        window->files->mnuFileClose_Click();
        window.reset();
        dao::Engine::instance().defaultWorkspace().close();
    }

    bench::Figures command, backupTo, raw, openDue, openDone, longestStep, dailyTotal, readDone, readDue, writeDue;
    for (int i = 0; i < run.rounds(); ++i) {
        auto window = openWindow(file);
        frmMain& f = *window;
        auto& files = static_cast<FileCommands&>(*f.files);

        // Open with a backup due, then with today's backup there: the open's own cost aside,
        // the difference is what the day's backup adds before the window shows the file.
        QDir(folder).removeRecursively();
        openDue.add(bench::timed([&] { openFile(f, file); }));
        if (!files.DailyBackupPending()) {
            std::fprintf(stderr, "no daily backup was due\n");
            return 1;
        }

        // The idle window makes it, a step per event-loop pass.
        double longest = 0;
        int longestAt = 0, steps = 0;
        QElapsedTimer total;
        total.start();
        // The copy is made on its own thread: the window's loop sleeps between events, and a
        // timer of 5 ms stands for the user's keys. The longest turn, less that wait, is what a
        // key may wait for.
        QTimer keys;
        keys.start(5);
        while (files.DailyBackupPending()) {
            const double ms = bench::timed([] { QApplication::processEvents(QEventLoop::WaitForMoreEvents); });
            ++steps;
            if (ms > longest) {
                longest = ms;
                longestAt = steps;
            }
        }
        keys.stop();
        std::printf("  (round %d: %d steps, the longest the %dth)\n", i + 1, steps, longestAt);
        dailyTotal.add(bench::msSince(total));
        longestStep.add(longest);
        if (db::listBackups(file).size() != 1 || !run.scripted().messages().empty()) {
            for (const ui::Message& m : run.scripted().messages())
                std::fprintf(stderr, "%s: %s\n", qPrintable(m.title), qPrintable(m.prompt));
            std::fprintf(stderr, "the daily backup was not made\n");
            return 1;
        }
        f.files->mnuFileClose_Click();
        openDone.add(bench::timed([&] { openFile(f, file); }));
        // A reading command at once: the page check runs meanwhile, no backup is due.
        readDone.add(bench::timed([&] { readingCommand(f); }));
        files.WaitForFileJobs();

        // Right after the day's first open: a reading command goes on beside the copy; a write
        // waits for the check and the copy (not for the copy's own check).
        f.files->mnuFileClose_Click();
        QDir(folder).removeRecursively();
        openFile(f, file);
        readDue.add(bench::timed([&] { readingCommand(f); }));
        writeDue.add(bench::timed([&] { writingCommand(f); }));
        files.WaitForFileJobs();
        if (db::listBackups(file).size() != 1 || !run.scripted().messages().empty()) {
            std::fprintf(stderr, "the daily backup raced by a write was not made\n");
            return 1;
        }

        // The backup before a command: the one of the day serves while nothing changed, so the
        // folder starts empty and the window's record of it is forgotten by a reopen.
        f.files->mnuFileClose_Click();
        QDir(folder).removeRecursively();
        openFile(f, file);
        files.WaitForFileJobs();
        QDir(folder).removeRecursively();
        f.files->mnuFileClose_Click();
        openFile(f, file);
        QDir(folder).removeRecursively();  // the pending daily one is taken over by the command
        command.add(bench::timed([&] {
            if (!db::BackupBeforeCommand(f)) {
                std::fprintf(stderr, "the backup failed\n");
                std::exit(1);
            }
        }));

        // Back Up To's backup into a folder of its own, the file as warm as for the command's.
        const QString away = run.tempFile(QStringLiteral("Away"));
        QDir(away).removeRecursively();
        QDir().mkpath(away);
        backupTo.add(bench::timed([&] {
            try {
                db::writeBackupTo(f.S.db->connection(), file, key, away);
            } catch (const db::BackupError& e) {
                std::fprintf(stderr, "the backup away failed: %s\n", qPrintable(e.reason));
                std::exit(1);
            }
        }));
        QDir(away).removeRecursively();

        // The copy alone, from the same warm connection, nothing checked.
        const QString rawTarget = run.tempFile(QStringLiteral("raw.qdb"));
        QFile::remove(rawTarget);
        raw.add(bench::timed([&] {
            sqlite3* dest = nullptr;
            sqlite3_open_v2(rawTarget.toUtf8().constData(), &dest, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
            sqlite3_key(dest, key.constData(), static_cast<int>(key.size()));
            sqlite3_backup* b = sqlite3_backup_init(dest, "main", f.S.db->connection().handle(), "main");
            sqlite3_backup_step(b, -1);
            sqlite3_backup_finish(b);
            sqlite3_close(dest);
        }));
        QFile::remove(rawTarget);
        f.files->mnuFileClose_Click();
        window.reset();
        dao::Engine::instance().defaultWorkspace().close();
    }
    // What the open adds itself: the newest backup's name read from a folder of ten and more.
    bench::Figures decision;
    QDir().mkpath(folder);
    for (int i = 0; i < 12; ++i)
        QFile(QDir(folder).filePath(db::backupFileName(QStringLiteral("Bench"), QDateTime::currentDateTime().addDays(-i - 1))))
            .open(QIODevice::WriteOnly);
    for (int i = 0; i < 200; ++i)
        decision.add(bench::timed([&] {
            if (db::listBackups(file).empty())
                std::exit(1);
        }));
    QDir(folder).removeRecursively();

    std::printf("Backups of 100,000 members / 1,000,000 donations (%lld bytes), %d rounds\n",
                static_cast<long long>(QFileInfo(run.file()).size()), run.rounds());
    printFigure("backup before a command (copy, check, rename)", command, 2000);
    printFigure("Back Up To: backup in another folder (copy, check, rename)", backupTo, 0);
    printFigure("raw sqlite3_backup of the same connection", raw, 0);
    printFigure("Open Database, the day's backup due", openDue, 0);
    printFigure("Open Database, today's backup there", openDone, 0);
    std::printf("  %-58s %+9.2f ms   (the difference of two opens: noise on a busy machine)\n",
                "added before the window shows the file", openDue.median() - openDone.median());
    printFigure("the open's decision: the Backups folder read (12 backups)", decision, 100);
    printFigure("the day's backup: longest event-loop turn (5 ms timer)", longestStep, 100);
    printFigure("the day's backup: open to complete, idle window", dailyTotal, 0);
    printFigure("reading command right after an open, no backup due", readDone, 0);
    printFigure("reading command right after the day's first open", readDue, 100);
    printFigure("then a writing command (waits for the check and the copy)", writeDue, 0);
    return 0;
}
