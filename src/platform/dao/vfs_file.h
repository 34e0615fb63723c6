#pragma once
// A file opened through the file layer SQLite itself uses (its default VFS). Whatever the
// program reads or writes of a database file outside a connection goes through here, so that
// it meets the same disk, the same faults and the same locks as the engine's own reads and
// writes: closing a descriptor of our own on a file a connection holds would drop that
// connection's locks (POSIX locks belong to the process and the file), while the VFS keeps
// such a descriptor open until the connection lets go.
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

struct sqlite3_file;
struct sqlite3_vfs;

namespace sqlite {

class VfsFile {
public:
    enum class Mode { Read, CreateNew };
    VfsFile(const QString& path, Mode mode);
    ~VfsFile();
    VfsFile(const VfsFile&) = delete;
    VfsFile& operator=(const VfsFile&) = delete;

    // SQLITE_OK when the file opened; each call below returns the engine's result code.
    int openResult() const { return rc_; }
    std::optional<std::int64_t> size() const;
    int read(char* buffer, int amount, std::int64_t offset) const;
    int write(const char* buffer, int amount, std::int64_t offset);
    int sync();
    int close();

    // The largest amount one read or write may move (the unix layer moves under 128 KiB).
    static constexpr int kMaxChunk = 1 << 16;

private:
    struct Free {
        void operator()(sqlite3_file* f) const;
    };
    sqlite3_vfs* vfs_;
    // The VFS keeps the name until the file is closed; a main database's name ends in two NULs
    // (where URI parameters would follow).
    QByteArray name_;
    std::unique_ptr<sqlite3_file, Free> file_;
    int rc_;
};

// A message for an engine result code.
QString resultText(int rc);

} // namespace sqlite
