// Which command lines are answered on the terminal, and which start the program on a file.
#include "app/terminal_options.h"
#include "frame/about_box.h"

#include <QLabel>
#include <gtest/gtest.h>

namespace {

struct Case {
    std::vector<std::string> arguments;
    bool answered;
    const char* begins;  // the answer's first characters
};

TEST(TerminalOptions, HelpAndVersionStandingAloneAreAnsweredEverythingElseStartsTheProgram)
{
    const std::string version = std::string("QUIL ") + QUIL_VERSION + "\n";
    const std::vector<Case> cases = {
        {{"--help"}, true, "Usage: quil [FILE.qdb]\n"},
        {{"-h"}, true, "Usage: quil [FILE.qdb]\n"},
        {{"--version"}, true, version.c_str()},
        {{}, false, ""},
        {{"Club.qdb"}, false, ""},
        {{"\"/home/ann/My", "Club.qdb\""}, false, ""},  // a quoted path with a blank
        {{"--help", "Club.qdb"}, false, ""},
        {{"/tmp/--help"}, false, ""},
        {{"--HELP"}, false, ""},
        {{"-v"}, false, ""},
    };
    for (const Case& c : cases) {
        std::string shown;
        for (const auto& a : c.arguments)
            shown += "[" + a + "]";
        SCOPED_TRACE(shown);
        const auto answer = QuilModule::AnswerOnTerminal(c.arguments);
        ASSERT_EQ(answer.has_value(), c.answered);
        if (answer) {
            EXPECT_EQ(answer->exitCode, 0);
            EXPECT_EQ(answer->text.rfind(c.begins, 0), 0u) << answer->text;
        }
    }
}

// The version the terminal and the package report is the one the About box shows.
TEST(TerminalOptions, TheVersionIsTheOneAboutShows)
{
    const auto answer = QuilModule::AnswerOnTerminal({"--version"});
    ASSERT_TRUE(answer);
    const QString version = QString::fromStdString(answer->text).trimmed().section(u' ', 1);
    const AboutBox about(QString{});
    EXPECT_TRUE(about.Version->text().contains(QStringLiteral(" v%1 ").arg(version)))
        << "--version: " << answer->text << "About: " << about.Version->text().toStdString();
}

} // namespace
