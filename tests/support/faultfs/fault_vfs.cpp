#include "support/faultfs/fault_vfs.h"

#include <sqlcipher/sqlite3.h>

#include <csignal>
#include <mutex>
#include <cstddef>
#include <cstring>
#include <string>

namespace faultfs {

namespace {

struct State {
    sqlite3_vfs* real = nullptr;
    std::string prefix;
    Plan plan;
    bool armed = false;
    bool fired = false;
    Counts counts;
};

State& state()
{
    static State s;
    return s;
}

// Our file handle; the real VFS's handle follows it in the same allocation.
struct File {
    sqlite3_file base;
    sqlite3_file* real;
    bool watched;
};

constexpr std::size_t kRealOffset = (sizeof(File) + alignof(std::max_align_t) - 1) / alignof(std::max_align_t)
                                    * alignof(std::max_align_t);

File* self(sqlite3_file* f)
{
    return reinterpret_cast<File*>(f);
}

// Whether a write reaches beyond the file's end: only such a write needs space that a full disk
// lacks (pages already in the file are overwritten in place, so a journal can still roll back).
bool grows(const File* f, sqlite3_int64 end)
{
    sqlite3_int64 size = 0;
    return f->real->pMethods->xFileSize(f->real, &size) != SQLITE_OK || end > size;
}

// Counts an operation on a watched file and says whether the plan makes it fail. end: where a
// write ends.
int check(const File* f, Op op, sqlite3_int64 end = 0)
{
    State& s = state();
    if (!f->watched)
        return SQLITE_OK;
    // The program reads a file on a second thread too (the page check, the day's backup).
    static std::mutex counting;
    const std::lock_guard lock(counting);
    const std::int64_t n = ++s.counts.ops[static_cast<int>(op)];
    if (!s.armed || s.plan.op != op || s.plan.n <= 0)
        return SQLITE_OK;
    if (n != s.plan.n && !(s.plan.persistent && n > s.plan.n))
        return SQLITE_OK;
    if (s.plan.fault == Fault::DiskFull && op == Op::Write && !grows(f, end))
        return SQLITE_OK;
    s.fired = true;
    switch (s.plan.fault) {
    case Fault::Kill:
        std::raise(SIGKILL);
        return SQLITE_IOERR;  // not reached
    case Fault::DiskFull:
        return SQLITE_FULL;
    case Fault::IoError:
        break;
    }
    switch (op) {
    case Op::Read: return SQLITE_IOERR_READ;
    case Op::Write: return SQLITE_IOERR_WRITE;
    case Op::Sync: return SQLITE_IOERR_FSYNC;
    case Op::Truncate: return SQLITE_IOERR_TRUNCATE;
    }
    return SQLITE_IOERR;
}

int xClose(sqlite3_file* f)
{
    sqlite3_file* real = self(f)->real;
    const int rc = real->pMethods ? real->pMethods->xClose(real) : SQLITE_OK;
    return rc;
}

int xRead(sqlite3_file* f, void* buffer, int amount, sqlite3_int64 offset)
{
    if (const int rc = check(self(f), Op::Read))
        return rc;
    return self(f)->real->pMethods->xRead(self(f)->real, buffer, amount, offset);
}

int xWrite(sqlite3_file* f, const void* buffer, int amount, sqlite3_int64 offset)
{
    if (const int rc = check(self(f), Op::Write, offset + amount))
        return rc;
    return self(f)->real->pMethods->xWrite(self(f)->real, buffer, amount, offset);
}

int xTruncate(sqlite3_file* f, sqlite3_int64 size)
{
    if (const int rc = check(self(f), Op::Truncate))
        return rc;
    return self(f)->real->pMethods->xTruncate(self(f)->real, size);
}

int xSync(sqlite3_file* f, int flags)
{
    if (const int rc = check(self(f), Op::Sync))
        return rc;
    return self(f)->real->pMethods->xSync(self(f)->real, flags);
}

int xFileSize(sqlite3_file* f, sqlite3_int64* size)
{
    return self(f)->real->pMethods->xFileSize(self(f)->real, size);
}

int xLock(sqlite3_file* f, int level)
{
    return self(f)->real->pMethods->xLock(self(f)->real, level);
}

int xUnlock(sqlite3_file* f, int level)
{
    return self(f)->real->pMethods->xUnlock(self(f)->real, level);
}

int xCheckReservedLock(sqlite3_file* f, int* out)
{
    return self(f)->real->pMethods->xCheckReservedLock(self(f)->real, out);
}

int xFileControl(sqlite3_file* f, int op, void* arg)
{
    return self(f)->real->pMethods->xFileControl(self(f)->real, op, arg);
}

int xSectorSize(sqlite3_file* f)
{
    return self(f)->real->pMethods->xSectorSize(self(f)->real);
}

int xDeviceCharacteristics(sqlite3_file* f)
{
    return self(f)->real->pMethods->xDeviceCharacteristics(self(f)->real);
}

int xShmMap(sqlite3_file* f, int region, int size, int extend, void volatile** out)
{
    return self(f)->real->pMethods->xShmMap(self(f)->real, region, size, extend, out);
}

int xShmLock(sqlite3_file* f, int offset, int n, int flags)
{
    return self(f)->real->pMethods->xShmLock(self(f)->real, offset, n, flags);
}

void xShmBarrier(sqlite3_file* f)
{
    self(f)->real->pMethods->xShmBarrier(self(f)->real);
}

int xShmUnmap(sqlite3_file* f, int deleteFlag)
{
    return self(f)->real->pMethods->xShmUnmap(self(f)->real, deleteFlag);
}

// Memory-mapped reads would pass by xRead; declining them keeps every read countable.
int xFetch(sqlite3_file*, sqlite3_int64, int, void** out)
{
    *out = nullptr;
    return SQLITE_OK;
}

int xUnfetch(sqlite3_file*, sqlite3_int64, void*)
{
    return SQLITE_OK;
}

const sqlite3_io_methods kMethods = {
    3,        xClose,     xRead,       xWrite,      xTruncate, xSync,  xFileSize,
    xLock,    xUnlock,    xCheckReservedLock,       xFileControl,      xSectorSize,
    xDeviceCharacteristics, xShmMap,   xShmLock,    xShmBarrier,       xShmUnmap, xFetch, xUnfetch,
};

int xOpen(sqlite3_vfs*, const char* name, sqlite3_file* file, int flags, int* outFlags)
{
    State& s = state();
    File* f = self(file);
    f->base.pMethods = nullptr;
    f->real = reinterpret_cast<sqlite3_file*>(reinterpret_cast<char*>(file) + kRealOffset);
    f->real->pMethods = nullptr;
    f->watched = s.prefix.empty() || (name && std::strncmp(name, s.prefix.c_str(), s.prefix.size()) == 0);
    const int rc = s.real->xOpen(s.real, name, f->real, flags, outFlags);
    if (rc != SQLITE_OK) {
        if (f->real->pMethods)
            f->real->pMethods->xClose(f->real);
        f->real->pMethods = nullptr;
        return rc;
    }
    f->base.pMethods = &kMethods;
    return SQLITE_OK;
}

sqlite3_vfs* real()
{
    return state().real;
}

int xDelete(sqlite3_vfs*, const char* name, int syncDir)
{
    return real()->xDelete(real(), name, syncDir);
}

int xAccess(sqlite3_vfs*, const char* name, int flags, int* out)
{
    return real()->xAccess(real(), name, flags, out);
}

int xFullPathname(sqlite3_vfs*, const char* name, int size, char* out)
{
    return real()->xFullPathname(real(), name, size, out);
}

void* xDlOpen(sqlite3_vfs*, const char* name)
{
    return real()->xDlOpen(real(), name);
}

void xDlError(sqlite3_vfs*, int size, char* out)
{
    real()->xDlError(real(), size, out);
}

void (*xDlSym(sqlite3_vfs*, void* handle, const char* symbol))(void)
{
    return real()->xDlSym(real(), handle, symbol);
}

void xDlClose(sqlite3_vfs*, void* handle)
{
    real()->xDlClose(real(), handle);
}

int xRandomness(sqlite3_vfs*, int size, char* out)
{
    return real()->xRandomness(real(), size, out);
}

int xSleep(sqlite3_vfs*, int microseconds)
{
    return real()->xSleep(real(), microseconds);
}

int xCurrentTime(sqlite3_vfs*, double* out)
{
    return real()->xCurrentTime(real(), out);
}

int xGetLastError(sqlite3_vfs*, int size, char* out)
{
    return real()->xGetLastError(real(), size, out);
}

int xCurrentTimeInt64(sqlite3_vfs*, sqlite3_int64* out)
{
    return real()->xCurrentTimeInt64(real(), out);
}

int xSetSystemCall(sqlite3_vfs*, const char* name, sqlite3_syscall_ptr call)
{
    return real()->xSetSystemCall(real(), name, call);
}

sqlite3_syscall_ptr xGetSystemCall(sqlite3_vfs*, const char* name)
{
    return real()->xGetSystemCall(real(), name);
}

const char* xNextSystemCall(sqlite3_vfs*, const char* name)
{
    return real()->xNextSystemCall(real(), name);
}

sqlite3_vfs vfs;

} // namespace

void install()
{
    State& s = state();
    if (s.real)
        return;
    sqlite3_initialize();
    s.real = sqlite3_vfs_find(nullptr);
    vfs = sqlite3_vfs{};
    vfs.iVersion = 3;
    vfs.szOsFile = static_cast<int>(kRealOffset) + s.real->szOsFile;
    vfs.mxPathname = s.real->mxPathname;
    vfs.zName = "quil-faultfs";
    vfs.xOpen = xOpen;
    vfs.xDelete = xDelete;
    vfs.xAccess = xAccess;
    vfs.xFullPathname = xFullPathname;
    vfs.xDlOpen = xDlOpen;
    vfs.xDlError = xDlError;
    vfs.xDlSym = xDlSym;
    vfs.xDlClose = xDlClose;
    vfs.xRandomness = xRandomness;
    vfs.xSleep = xSleep;
    vfs.xCurrentTime = xCurrentTime;
    vfs.xGetLastError = xGetLastError;
    vfs.xCurrentTimeInt64 = xCurrentTimeInt64;
    vfs.xSetSystemCall = xSetSystemCall;
    vfs.xGetSystemCall = xGetSystemCall;
    vfs.xNextSystemCall = xNextSystemCall;
    sqlite3_vfs_register(&vfs, 1);
}

void watch(const QString& pathPrefix)
{
    state().prefix = pathPrefix.toStdString();
}

void arm(const Plan& plan)
{
    State& s = state();
    s.plan = plan;
    s.armed = true;
    s.fired = false;
    s.counts = Counts{};
}

void disarm()
{
    state().armed = false;
}

Counts counts()
{
    return state().counts;
}

bool fired()
{
    return state().fired;
}

const char* opName(Op op)
{
    switch (op) {
    case Op::Read: return "read";
    case Op::Write: return "write";
    case Op::Sync: return "sync";
    case Op::Truncate: return "truncate";
    }
    return "?";
}

const char* faultName(Fault fault)
{
    switch (fault) {
    case Fault::IoError: return "I/O error";
    case Fault::DiskFull: return "disk full";
    case Fault::Kill: return "kill";
    }
    return "?";
}

} // namespace faultfs
