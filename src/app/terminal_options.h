#pragma once
// `quil --help` and `quil --version` answer on the terminal and end, before anything graphical
// exists: no window, no display needed, and no second-copy check (a running copy is not asked
// to exit because someone looked up the version).
#include <optional>
#include <string>
#include <vector>

namespace QuilModule {

struct TerminalAnswer {
    std::string text;  // written to standard output
    int exitCode = 0;
};

// The answer for these arguments (argv without the program's name), or nullopt when the program
// is to start as usual: anything else is the database path the program opens.
std::optional<TerminalAnswer> AnswerOnTerminal(const std::vector<std::string>& arguments);

} // namespace QuilModule
