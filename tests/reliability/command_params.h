#pragma once
// The writing commands as the parameters of a loop test, one test per row, named after it.
#include "reliability/writing_commands.h"
#include "support/qstring_printer.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <algorithm>
#include <cstdint>
#include <string>

namespace reliability {

inline QStringList commandNames()
{
    QStringList names;
    for (const WritingCommand& c : writingCommands())
        names << c.name;
    return names;
}

inline std::string testName(const ::testing::TestParamInfo<QString>& info)
{
    std::string name;
    for (QChar c : info.param)
        name += c.isLetterOrNumber() ? static_cast<char>(c.toLatin1()) : '_';
    return name;
}

// Whether a loop tries fault point n of `made`. Every point with QUIL_RELIABILITY_FULL=1 (how
// the figures in docs/ARCHITECTURE.md were taken); otherwise the first and last `edge` and
// about `between` points spread over the rest, to keep the suite fast. The soak tool
// (tools/soak.sh) picks points at random for as long as it runs.
inline bool tried(std::int64_t n, std::int64_t made, std::int64_t edge, std::int64_t between)
{
    static const bool full = qEnvironmentVariableIntValue("QUIL_RELIABILITY_FULL") != 0;
    const std::int64_t stride = std::max<std::int64_t>(1, made / (between + 1));
    return full || n <= edge || n > made - edge || n % stride == 0;
}

} // namespace reliability
