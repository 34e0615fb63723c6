#pragma once
// Many of the program's procedures skip a failing step and go on with the next one, without a
// message, as the classic runtime's "resume next" did. Each such step goes through this helper,
// so that a reader sees exactly which steps may fail quietly and which may not.
//
// Only failures are skipped: a database error or another std::exception. Anything else thrown
// is not a failure of the step but a fault of the program, and goes on up.
#include <exception>
#include <utility>

// Runs one step; returns false when it failed (the failure is deliberately dropped).
template <class Step>
bool skipOnFailure(Step&& step)
{
    try {
        std::forward<Step>(step)();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}
