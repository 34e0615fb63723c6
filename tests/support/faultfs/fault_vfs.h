#pragma once
// A fault-injecting file layer for tests and the soak tool: an SQLite VFS laid over the default
// one (SQLCipher's codec sits above both, so it sees the encrypted pages the engine writes). It
// counts the reads, writes, syncs and truncates made on the files it watches and, when armed,
// makes the n-th of one kind fail with an I/O error or "disk full", or stops the process there
// as a crash or a power cut would.
//
// install() registers it as the process's default VFS, so every connection the program opens
// goes through it. Only tests and the soak tool call it; the program never does.
#include <QString>
#include <cstdint>

namespace faultfs {

enum class Op { Read, Write, Sync, Truncate };
constexpr int kOpCount = 4;

enum class Fault {
    IoError,   // SQLITE_IOERR_READ / _WRITE / _FSYNC / _TRUNCATE
    DiskFull,  // SQLITE_FULL for a write that grows its file (in-place writes still find room)
    Kill,      // raise(SIGKILL) before the operation is done
};

struct Counts {
    std::int64_t ops[kOpCount] = {0, 0, 0, 0};
    std::int64_t operator[](Op op) const { return ops[static_cast<int>(op)]; }
    std::int64_t total() const { return ops[0] + ops[1] + ops[2] + ops[3]; }
};

struct Plan {
    Op op = Op::Write;
    std::int64_t n = 0;        // the n-th operation of that kind, counted from arm(); 0: none
    Fault fault = Fault::IoError;
    bool persistent = false;   // every operation of that kind from the n-th on fails, not only it
};

// Registers the layer as the default VFS once; later calls do nothing.
void install();
// Only files whose path begins with this text are counted and failed (a database and its
// journal share the database's path as prefix). Empty: every file.
void watch(const QString& pathPrefix);
// Starts counting from zero with the given plan (n = 0: count only).
void arm(const Plan& plan);
// Stops failing; the counts stay readable.
void disarm();
Counts counts();
// Whether the armed fault was met since arm().
bool fired();

const char* opName(Op op);
const char* faultName(Fault fault);

} // namespace faultfs
