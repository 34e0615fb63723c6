#include "app/terminal_options.h"

namespace QuilModule {

namespace {

const char* const kUsage =
    "Usage: quil [FILE.qdb]\n"
    "Keeps an organisation's member list and records the donations its members give.\n"
    "\n"
    "  FILE.qdb     the database file to open at start (the open dialog asks when none is given)\n"
    "  --help       show this help and end\n"
    "  --version    show the version and end\n"
    "\n"
    "The program folder holds the template Base.dat that new files start from.\n";

} // namespace

std::optional<TerminalAnswer> AnswerOnTerminal(const std::vector<std::string>& arguments)
{
    // Only an option standing alone: a path that happens to contain "--help" is still a path.
    if (arguments.size() != 1)
        return std::nullopt;
    const std::string& a = arguments.front();
    if (a == "--help" || a == "-h")
        return TerminalAnswer{kUsage, 0};
    if (a == "--version")
        return TerminalAnswer{std::string("QUIL ") + QUIL_VERSION + "\n", 0};
    return std::nullopt;
}

} // namespace QuilModule
