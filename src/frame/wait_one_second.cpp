#include "frame/wait_one_second.h"

#include <QTime>

namespace {
constexpr float kSecondsPerDay = 86400.0f;
}

float Timer()
{
    return static_cast<float>(QTime::currentTime().msecsSinceStartOfDay()) / 1000.0f;
}

void WaitOneSecond(const SecondsTimer& timer)
{
    const float start = timer();
    for (;;) {
        float elapsed = timer() - start;
        if (elapsed < 0.0f)
            elapsed += kSecondsPerDay;  // passed midnight
        if (elapsed >= 1.0f)
            return;
    }
}
