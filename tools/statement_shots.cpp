// The user guide's pictures of giving statements: File > Giving Statements run through the real
// window on a copy of the demo file for last year, the dialog drawn to a PNG file as it stands
// before Preview, and the letters written as one PDF, which the guide's picture of a letter is
// drawn from (pdftoppm -png).
//
//   statement_shots <demo.qdb> <out.pdf> <dialog.png>   (run under the offscreen platform or Xvfb)
#include "app/install_commands.h"
#include "frame/frm_main.h"
#include "platform/ui/scripted_ui.h"
#include "schema/connect_key.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: statement_shots <demo.qdb> <out.pdf> <dialog.png>\n");
        return 2;
    }
    QTemporaryDir temp;
    const QString file = temp.filePath(QStringLiteral("demo.qdb"));
    if (!QFile::copy(QString::fromLocal8Bit(argv[1]), file)) {
        std::fprintf(stderr, "cannot copy %s\n", argv[1]);
        return 1;
    }
    ui::ScopedScriptedUi script;
    frmMain f;
    InstallCommands(f);
    f.S.AppDir = QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/");
    f.S.ViewName = QStringLiteral("Member View");
    f.S.DbConnect = db::DescrambleConnect(db::kScrambledConnect);
    f.resize(1024, 768);
    f.S.DbFileName = file;
    f.files->mnuFileOpen_Click();
    if (f.S.OpenDbPath != file) {
        std::fprintf(stderr, "the demo file did not open\n");
        return 1;
    }
    script->queueDialog([](QDialog& d) {
        ui::child<QLineEdit>(d, "txtPassword").setText(QStringLiteral("admin"));
        ui::click(d, "cmdOK");
    });
    f.mnuExecMode_Click();

    // Last year's statements, with the wording an organisation would give.
    const QString dialogPicture = QString::fromLocal8Bit(argv[3]);
    script->queueDialog([dialogPicture](QDialog& d) {
        ui::child<QPlainTextEdit>(d, "txtWording")
            .setPlainText(QStringLiteral("No goods or services were provided in exchange for these contributions. "
                                         "Thank you for your generous support."));
        d.adjustSize();
        d.grab().save(dialogPicture);
        ui::click(d, "cmdCombinedPdf");
    });
    script->queueAnswer(ui::No);
    script->queueFile(QString::fromLocal8Bit(argv[2]));
    f.mnuFileGivingStatements_Click();
    for (const ui::Message& m : script->messages())
        std::printf("%s\n", qPrintable(m.prompt.left(300)));
    return QFile::exists(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
}
