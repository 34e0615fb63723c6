#include "app/quil_module.h"
#include "app/terminal_options.h"

#include <QApplication>
#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    // Answered before the QApplication exists: it would need a display.
    if (const auto answer = QuilModule::AnswerOnTerminal(std::vector<std::string>(argv + 1, argv + argc))) {
        std::fputs(answer->text.c_str(), stdout);
        return answer->exitCode;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("QUIL"));
    return QuilModule::Main();
}
