// Writes a demonstration database with realistic members and donations.
//   make_demo <out.qdb> [--members N] [--donations M] [--seed S] [--years Y] [--last-year YYYY]
//   make_demo --help
// The same arguments give the same rows. An existing file is never overwritten.
#include "demo/demo_data.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <cstring>
#include <optional>

namespace {

// On stdout when asked for, on stderr after a command line that cannot be read.
void usage(std::FILE* to)
{
    std::fprintf(to,
                 "usage: make_demo <out.qdb> [--members N] [--donations M] [--seed S] [--years Y] [--last-year YYYY]\n"
                 "  defaults: 300 members (member 1 included), 3000 donations, seed 1,\n"
                 "            5 calendar years ending with the current year\n");
}

std::optional<long long> number(const char* text, long long low, long long high)
{
    bool ok = false;
    const long long value = QString::fromLocal8Bit(text).toLongLong(&ok);
    if (!ok || value < low || value > high)
        return std::nullopt;
    return value;
}

} // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            usage(stdout);
            return 0;
        }
    if (argc < 2 || argv[1][0] == '-') {
        usage(stderr);
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    db::DemoOptions options;
    for (int i = 2; i < argc; i += 2) {
        const char* name = argv[i];
        const std::optional<long long> value = i + 1 < argc ? number(argv[i + 1], 0, 1LL << 40) : std::nullopt;
        if (!value) {
            usage(stderr);
            return 2;
        }
        if (std::strcmp(name, "--members") == 0 && *value >= 1 && *value <= 10'000'000)
            options.members = static_cast<int>(*value);
        else if (std::strcmp(name, "--donations") == 0 && *value <= 100'000'000)
            options.donations = static_cast<int>(*value);
        else if (std::strcmp(name, "--seed") == 0)
            options.seed = static_cast<std::uint64_t>(*value);
        else if (std::strcmp(name, "--years") == 0 && *value >= 1 && *value <= 100)
            options.years = static_cast<int>(*value);
        else if (std::strcmp(name, "--last-year") == 0 && *value >= 1900 && *value <= 9999)
            options.lastYear = static_cast<int>(*value);
        else {
            usage(stderr);
            return 2;
        }
    }

    if (QFileInfo::exists(path)) {
        std::fprintf(stderr, "make_demo: %s exists already; not overwriting it\n", argv[1]);
        return 1;
    }
    // Written under another name and renamed at the end, so that a failed run leaves no
    // half-filled file behind and a file that appeared meanwhile is not overwritten.
    const QString partial = path + QStringLiteral(".partial");
    QFile::remove(partial);
    QElapsedTimer timer;
    timer.start();
    try {
        db::writeDemo(partial, options);
    } catch (const std::exception& e) {
        QFile::remove(partial);
        std::fprintf(stderr, "make_demo: %s\n", e.what());
        return 1;
    }
    if (!QFile::rename(partial, path)) {
        QFile::remove(partial);
        std::fprintf(stderr, "make_demo: cannot write %s\n", argv[1]);
        return 1;
    }
    std::printf("%s: %d members, %d donations in %.1f s\n", argv[1], options.members, options.donations,
                static_cast<double>(timer.elapsed()) / 1000.0);
    return 0;
}
