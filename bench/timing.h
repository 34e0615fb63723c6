#pragma once
// What the benchmarks that drive the main window share: readings in milliseconds, the figures
// they report from many readings, and a clock that takes the program's own waits out.
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <cstddef>
#include <ctime>
#include <functional>
#include <vector>

namespace bench {

inline double msSince(const QElapsedTimer& started)
{
    return static_cast<double>(started.nsecsElapsed()) / 1e6;
}

// Milliseconds the work takes.
inline double timed(const std::function<void()>& work)
{
    QElapsedTimer t;
    t.start();
    work();
    return msSince(t);
}

// The readings of one operation, in milliseconds.
class Figures {
public:
    void add(double ms) { ms_.push_back(ms); }

    // The reading at `share` of the way from the fastest to the slowest: 0.5 the median (the
    // upper one of an even count), 1.0 the worst. There must be at least one reading.
    double at(double share) const
    {
        std::vector<double> sorted = ms_;
        std::sort(sorted.begin(), sorted.end());
        const auto i = static_cast<std::size_t>(share * static_cast<double>(sorted.size() - 1) + 0.5);
        return sorted[std::min(i, sorted.size() - 1)];
    }
    double median() const { return at(0.5); }
    double worst() const { return at(1.0); }

private:
    std::vector<double> ms_;
};

// The process's CPU time in milliseconds: on a machine shared with other work the wall clock
// also counts the time the program waited for a core.
inline double cpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// Wall and CPU time of one operation, over many rounds.
struct Timing {
    Figures wall, cpu;

    void measure(const std::function<void()>& work)
    {
        const double c0 = cpuMs();
        wall.add(timed(work));
        cpu.add(cpuMs() - c0);
    }
};

// A seconds-since-midnight clock that moves one second at each reading, so that the one-second
// wait of a file named on the command line does not count.
inline float jumpingTimer()
{
    static float now = 100.0F;
    now += 1.0F;
    return now;
}

// "  <what>  wall <median> ms (worst <worst>)   cpu <median> ms".
inline void printTiming(const char* what, const Timing& t)
{
    std::printf("  %-60s wall %9.2f ms (worst %9.2f)   cpu %9.2f ms\n", what, t.wall.median(), t.wall.worst(), t.cpu.median());
}

} // namespace bench
