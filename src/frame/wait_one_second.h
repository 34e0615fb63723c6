#pragma once
// The pause after an open from the command line: a busy wait on the seconds-since-midnight timer
// that yields to nothing, so the window does not repaint meanwhile.
#include <functional>

// Seconds since local midnight, in single precision like the classic Timer function.
float Timer();

using SecondsTimer = std::function<float()>;

// Returns as soon as one second has passed on the given timer. A start just before midnight
// still ends one second later: the timer's wrap to zero counts as a full day.
void WaitOneSecond(const SecondsTimer& timer = Timer);
