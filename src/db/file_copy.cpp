#include "db/file_copy.h"

#include "platform/dao/vfs_file.h"

#include <sqlcipher/sqlite3.h>

#include <QByteArray>
#include <algorithm>
#include <cstring>

namespace db {

using sqlite::VfsFile;

std::optional<QString> copyFileBytes(const QString& from, const QString& to, const CopyProgress& progress)
{
    VfsFile in(from, VfsFile::Mode::Read);
    if (in.openResult() != SQLITE_OK)
        return sqlite::resultText(in.openResult());
    VfsFile out(to, VfsFile::Mode::CreateNew);
    if (out.openResult() != SQLITE_OK)
        return sqlite::resultText(out.openResult());
    const std::optional<std::int64_t> size = in.size();
    if (!size)
        return QStringLiteral("the file's size cannot be read");
    QByteArray buffer(VfsFile::kMaxChunk, Qt::Uninitialized);
    for (std::int64_t at = 0; at < *size; at += VfsFile::kMaxChunk) {
        const int n = static_cast<int>(std::min<std::int64_t>(VfsFile::kMaxChunk, *size - at));
        if (const int rc = in.read(buffer.data(), n, at); rc != SQLITE_OK)
            return sqlite::resultText(rc);
        if (const int rc = out.write(buffer.constData(), n, at); rc != SQLITE_OK)
            return sqlite::resultText(rc);
        if (progress && !progress(at + n, *size))
            return QStringLiteral("the copy was stopped");
    }
    if (const int rc = out.sync(); rc != SQLITE_OK)
        return sqlite::resultText(rc);
    if (const int rc = out.close(); rc != SQLITE_OK)
        return sqlite::resultText(rc);
    return std::nullopt;
}

bool sameFileBytes(const QString& a, const QString& b)
{
    const VfsFile fa(a, VfsFile::Mode::Read);
    const VfsFile fb(b, VfsFile::Mode::Read);
    const std::optional<std::int64_t> size = fa.size();
    if (!size || fb.size() != size)
        return false;
    QByteArray x(VfsFile::kMaxChunk, Qt::Uninitialized);
    QByteArray y(VfsFile::kMaxChunk, Qt::Uninitialized);
    for (std::int64_t at = 0; at < *size; at += VfsFile::kMaxChunk) {
        const int n = static_cast<int>(std::min<std::int64_t>(VfsFile::kMaxChunk, *size - at));
        if (fa.read(x.data(), n, at) != SQLITE_OK || fb.read(y.data(), n, at) != SQLITE_OK
            || std::memcmp(x.constData(), y.constData(), static_cast<std::size_t>(n)) != 0)
            return false;
    }
    return true;
}

} // namespace db
