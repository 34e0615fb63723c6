#pragma once
// Many of the program's procedures skip a failing step and go on with the next one, without a
// message. Each such step goes through this helper, so that a reader sees exactly which steps
// may fail quietly and which may not.
#include <utility>

// Runs one step; returns false when it threw (the failure is deliberately dropped).
template <class Step>
bool skipOnFailure(Step&& step) noexcept
{
    try {
        std::forward<Step>(step)();
        return true;
    } catch (...) {
        return false;
    }
}
