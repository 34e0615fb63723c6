#include "vfs_file.h"

#include <sqlcipher/sqlite3.h>

#include <new>

namespace sqlite {

void VfsFile::Free::operator()(sqlite3_file* f) const
{
    ::operator delete(f);
}

VfsFile::VfsFile(const QString& path, Mode mode)
    : vfs_(sqlite3_vfs_find(nullptr)), name_(path.toUtf8() + QByteArray(2, '\0'))
{
    file_.reset(static_cast<sqlite3_file*>(::operator new(static_cast<std::size_t>(vfs_->szOsFile))));
    file_->pMethods = nullptr;
    const int flags = mode == Mode::Read
                          ? SQLITE_OPEN_READONLY | SQLITE_OPEN_MAIN_DB
                          : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_EXCLUSIVE | SQLITE_OPEN_MAIN_DB;
    int outFlags = 0;
    rc_ = vfs_->xOpen(vfs_, name_.constData(), file_.get(), flags, &outFlags);
}

VfsFile::~VfsFile()
{
    close();
}

int VfsFile::close()
{
    // A file whose open failed may still have methods to close it with.
    int rc = SQLITE_OK;
    if (file_->pMethods)
        rc = file_->pMethods->xClose(file_.get());
    file_->pMethods = nullptr;
    return rc;
}

std::optional<std::int64_t> VfsFile::size() const
{
    sqlite3_int64 n = 0;
    if (rc_ != SQLITE_OK || file_->pMethods->xFileSize(file_.get(), &n) != SQLITE_OK)
        return std::nullopt;
    return n;
}

int VfsFile::read(char* buffer, int amount, std::int64_t offset) const
{
    return rc_ != SQLITE_OK ? rc_ : file_->pMethods->xRead(file_.get(), buffer, amount, offset);
}

int VfsFile::write(const char* buffer, int amount, std::int64_t offset)
{
    return rc_ != SQLITE_OK ? rc_ : file_->pMethods->xWrite(file_.get(), buffer, amount, offset);
}

int VfsFile::sync()
{
    return rc_ != SQLITE_OK ? rc_ : file_->pMethods->xSync(file_.get(), SQLITE_SYNC_NORMAL);
}

QString resultText(int rc)
{
    return QString::fromUtf8(sqlite3_errstr(rc));
}

} // namespace sqlite
