// The byte copy a backup is made of: what it copies and compares, and the lock on the file it
// copies. A copy made by descriptors of our own would drop the engine's lock when it closed one
// (POSIX locks belong to the process and file, not to the descriptor), letting a writer in
// while the backup is still being compared.
#include "db/file_copy.h"
#include "platform/dao/sqlite.h"
#include "support/file_bytes.h"
#include "support/temp_dir.h"

#include <sqlcipher/sqlite3.h>

#include <QFile>
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using quiltest::readBytes;
using quiltest::writeBytes;

// Bytes of every value, spanning several chunks and ending inside one. (Sizes are a database's:
// the unix file layer reports a file of one byte as empty.)
QByteArray pattern(int size)
{
    QByteArray b(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        b[i] = static_cast<char>((static_cast<unsigned>(i) * 7919u) >> 3);
    return b;
}

TEST(FileCopy, CopiesAndComparesByteForByteAndNeverWritesOverAFile)
{
    quiltest::TempDir dir;
    const QString source = dir.file(QStringLiteral("source"));
    for (const int size : {0, 1024, 65536, 65537, 300000}) {
        SCOPED_TRACE(size);
        writeBytes(source, pattern(size));
        const QString copy = dir.file(QStringLiteral("copy%1").arg(size));
        EXPECT_EQ(db::copyFileBytes(source, copy), std::nullopt);
        EXPECT_EQ(readBytes(copy), pattern(size));
        EXPECT_TRUE(db::sameFileBytes(source, copy));
    }
    const QString copy = dir.file(QStringLiteral("copy300000"));
    // A byte changed in the last chunk, one more byte, one fewer: each a difference.
    QByteArray changed = pattern(300000);
    changed[299999] = static_cast<char>(changed[299999] ^ 1);
    for (const QByteArray& other : {changed, pattern(300001), pattern(299999)}) {
        writeBytes(source, other);
        EXPECT_FALSE(db::sameFileBytes(source, copy));
    }
    EXPECT_FALSE(db::sameFileBytes(source, dir.file(QStringLiteral("missing"))));
    // A target that exists is refused and left as it was; a missing source is a reason.
    writeBytes(source, pattern(1000));
    EXPECT_NE(db::copyFileBytes(source, copy), std::nullopt);
    EXPECT_EQ(readBytes(copy), pattern(300000));
    EXPECT_NE(db::copyFileBytes(dir.file(QStringLiteral("missing")), dir.file(QStringLiteral("new"))), std::nullopt);
    EXPECT_FALSE(QFile::exists(dir.file(QStringLiteral("new"))));
}

// Whether another process could take the file for writing now: a write lock on the byte range
// where SQLite's readers hold their shared locks, asked by a forked child of the system itself
// (the engine's own records of locks, which a fork copies, are not asked).
bool anotherProcessCouldWrite(const QString& file)
{
    const QByteArray path = QFile::encodeName(file);
    const pid_t pid = fork();
    if (pid == 0) {
        const int fd = ::open(path.constData(), O_RDWR);
        struct flock lock {};
        lock.l_type = F_WRLCK;
        lock.l_whence = SEEK_SET;
        lock.l_start = 0x40000000 + 2;  // SQLite's shared range: after the pending and reserved bytes
        lock.l_len = 510;
        _exit(fd >= 0 && fcntl(fd, F_SETLK, &lock) == 0 ? 0 : 1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(FileCopy, TheReadLockOnTheFileHoldsThroughTheCopyAndTheCompare)
{
    quiltest::TempDir dir;
    const QString file = dir.file(QStringLiteral("Club.qdb"));
    sqlite::Connection reader(file, "file copy", sqlite::Connection::Mode::Create);
    reader.exec(QStringLiteral("CREATE TABLE Things (x INTEGER)"));
    reader.exec(QStringLiteral("INSERT INTO Things VALUES (1)"));
    reader.exec(QStringLiteral("BEGIN"));
    reader.prepare(QStringLiteral("SELECT count(*) FROM Things")).step();

    const QString copy = dir.file(QStringLiteral("copy.qdb"));
    ASSERT_EQ(db::copyFileBytes(file, copy), std::nullopt);
    ASSERT_TRUE(db::sameFileBytes(file, copy));

    EXPECT_FALSE(anotherProcessCouldWrite(file));
    reader.exec(QStringLiteral("COMMIT"));
    EXPECT_TRUE(anotherProcessCouldWrite(file));
}

} // namespace
