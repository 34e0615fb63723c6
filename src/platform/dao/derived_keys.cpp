#include "derived_keys.h"

#include "vfs_file.h"

#include <sqlcipher/sqlite3.h>

#include <openssl/evp.h>

#include <deque>
#include <mutex>
#include <utility>

namespace sqlite {

namespace {

// SQLCipher 3's defaults, which every file of the program was written with.
constexpr int kSaltBytes = 16;
constexpr int kKeyBytes = 32;
constexpr int kKdfRounds = 64000;
// SQLCipher reads the salt only from a file with a whole first page; a shorter file is new to it.
constexpr qint64 kFirstPage = 1024;
// A handful of files are open in one run (the file, its backups, a clone, a compressed copy).
constexpr std::size_t kKept = 16;

struct Derived {
    QByteArray password;
    QByteArray salt;
    QByteArray rawKey;
};

std::mutex mutex;
std::deque<Derived> kept;

// Read through the engine's file layer: the file may be open on a connection whose locks a
// descriptor of our own would drop when closed.
QByteArray saltOf(const QString& path)
{
    const VfsFile file(path, VfsFile::Mode::Read);
    const std::optional<std::int64_t> size = file.size();
    if (!size || *size < kFirstPage)
        return {};
    QByteArray salt(kSaltBytes, Qt::Uninitialized);
    return file.read(salt.data(), kSaltBytes, 0) == SQLITE_OK ? salt : QByteArray();
}

// The key SQLCipher derives from a password and a salt (PBKDF2-HMAC-SHA1, 32 bytes).
QByteArray deriveKey(const QByteArray& password, const QByteArray& salt)
{
    QByteArray key(kKeyBytes, '\0');
    PKCS5_PBKDF2_HMAC_SHA1(password.constData(), static_cast<int>(password.size()),
                           reinterpret_cast<const unsigned char*>(salt.constData()), static_cast<int>(salt.size()),
                           kKdfRounds, kKeyBytes, reinterpret_cast<unsigned char*>(key.data()));
    return key;
}

} // namespace

QByteArray connectionKey(const QString& path, const QByteArray& password)
{
    if (password.isEmpty() || path.isEmpty() || path.startsWith(u':'))
        return password;
    const QByteArray salt = saltOf(path);
    if (salt.isEmpty())
        return password;
    {
        std::lock_guard lock(mutex);
        for (const Derived& d : kept)
            if (d.salt == salt && d.password == password)
                return d.rawKey;
    }
    // Derived outside the lock: two threads deriving the same key at once both get it right.
    const QByteArray rawKey = "x'" + deriveKey(password, salt).toHex() + '\'';
    std::lock_guard lock(mutex);
    kept.push_back({password, salt, rawKey});
    if (kept.size() > kKept)
        kept.pop_front();
    return rawKey;
}

} // namespace sqlite
