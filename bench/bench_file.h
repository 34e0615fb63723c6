#pragma once
// The file every benchmark measures against: 100,000 members and 1,000,000 donations, made once
// (a few seconds) and kept in /tmp, or wherever QUIL_BENCH_FILE says.
#include <QString>

namespace bench {

inline constexpr int kMembers = 100000;
inline constexpr int kDonations = 1000000;

QString benchFile();
// Makes the file when it is missing. Written under another name and renamed when complete, so
// that an interrupted run never leaves a half-filled file that later runs would take for it.
void ensureBenchFile(const QString& path);

} // namespace bench
