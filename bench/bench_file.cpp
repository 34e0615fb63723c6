#include "bench_file.h"

#include "demo/demo_data.h"
#include "schema/schema.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace bench {

QString benchFile()
{
    const char* env = std::getenv("QUIL_BENCH_FILE");
    // Named by its format, so that a file an earlier build wrote is never taken for it.
    return env && *env ? QString::fromLocal8Bit(env) : QStringLiteral("/tmp/quil-bench-100k-format%1.qdb").arg(db::kSchemaVersion);
}

void ensureBenchFile(const QString& path)
{
    if (QFileInfo::exists(path))
        return;
    const QString partial = path + QStringLiteral(".partial");
    QFile::remove(partial);
    std::printf("Writing %s (%d members, %d donations) ...\n", qPrintable(path), kMembers, kDonations);
    std::fflush(stdout);
    QElapsedTimer timer;
    timer.start();
    db::DemoOptions options;
    options.members = kMembers;
    options.donations = kDonations;
    db::writeDemo(partial, options);
    if (!QFile::rename(partial, path))
        throw std::runtime_error("cannot rename the benchmark file into place");
    std::printf("  written in %.1f s\n", static_cast<double>(timer.elapsed()) / 1000.0);
}

} // namespace bench
