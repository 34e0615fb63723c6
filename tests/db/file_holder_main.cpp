// Another running QUIL for the lock tests: the real main window in a process of its own, driven
// line by line on stdin, one answer line each on stdout.
//   open <file>  the Open command: "open", or "refused <title>|<prompt, lines joined by |>"
//   add          a donation written through the open file's connection: "added"
//   count        "count <donations>"
//   close        the Close command: "closed"
//   quit         ends the process normally
// Arguments: the program folder (with the template and the logo).
#include "platform/dao/write_unit.h"
#include "app/install_commands.h"
#include "db/file_commands.h"
#include "frame/frm_main.h"
#include "platform/dao/database.h"
#include "platform/dao/engine.h"
#include "platform/dao/sqlite.h"
#include "platform/ui/scripted_ui.h"
#include "schema/connect_key.h"

#include <QApplication>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>

namespace {

void answer(const QString& line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

QString lastMessage(const ui::ScriptedUi& ui)
{
    const auto messages = ui.messages();
    if (messages.empty())
        return QStringLiteral("(no message)");
    return messages.back().title + u'|' + QString(messages.back().prompt).replace(u'\n', u'|');
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    if (argc != 2) {
        std::fprintf(stderr, "usage: db_file_holder <program folder>\n");
        return 2;
    }
    ui::ScopedScriptedUi scripted;
    auto f = std::make_unique<frmMain>();
    InstallCommands(*f);
    f->S.AppDir = QString::fromLocal8Bit(argv[1]) + u'/';
    f->S.DbConnect = db::DescrambleConnect(db::kScrambledConnect);
    f->S.ViewName = QStringLiteral("Member View");

    for (std::string input; std::getline(std::cin, input);) {
        const QString line = QString::fromStdString(input);
        if (line.startsWith(QStringLiteral("open "))) {
            scripted->clearLog();
            f->S.DbFileName = line.mid(5);
            f->files->mnuFileOpen_Click();
            answer(f->S.OpenDbPath.isEmpty() ? QStringLiteral("refused ") + lastMessage(*scripted) : QStringLiteral("open"));
        } else if (line == u"add") {
            dao::WriteUnit unit(*f->S.db);
            unit.connection().exec(QStringLiteral("INSERT INTO Payments (PaymentAmount, Destination, PaymentDate, MemberID) "
                                                  "VALUES (5000000, 'Roof', '2026-01-15 00:00:00', 1)"));
            unit.commit();
            answer(QStringLiteral("added"));
        } else if (line == u"count") {
            sqlite::Statement count = f->S.db->connection().prepare(QStringLiteral("SELECT count(*) FROM Payments"));
            count.step();
            answer(QStringLiteral("count %1").arg(count.int64(0)));
        } else if (line == u"close") {
            f->files->mnuFileClose_Click();
            answer(QStringLiteral("closed"));
        } else if (line == u"quit") {
            break;
        } else {
            answer(QStringLiteral("unknown ") + line);
        }
    }
    f.reset();
    dao::Engine::instance().defaultWorkspace().close();
    return 0;
}
