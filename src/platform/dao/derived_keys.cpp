#include "derived_keys.h"

#include "vfs_file.h"

#include <sqlcipher/sqlite3.h>

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

#include <algorithm>
#include <deque>
#include <mutex>
#include <stdexcept>
#include <utility>

namespace sqlite {

namespace {

// SQLCipher 3's defaults, which every file keyed with the program's password was written with.
constexpr int kSaltBytes = 16;
constexpr int kKeyBytes = 32;
constexpr int kKdfRounds = 64000;
// A file's own passphrase takes SQLCipher 4's derivation, PBKDF2-HMAC-SHA512 at 256,000 rounds
// (this SQLCipher only knows the older one, so the key is derived here and handed to it raw).
// Such a file's salt begins with this mark: it says which derivation the key takes, and the
// open asks for the passphrase instead of calling the file damaged. The rest of the salt (64
// bits) is random; a random salt begins with the mark once in 2^64 files.
constexpr char kPassphraseMark[] = {'Q', 'U', 'I', 'L', 'k', 'e', 'y', '1'};
constexpr int kPassphraseRounds = 256000;
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

bool isMarked(const QByteArray& salt)
{
    return salt.startsWith(QByteArrayView(kPassphraseMark, sizeof kPassphraseMark));
}

// The key of a password and a salt: SQLCipher 3's own derivation, or the passphrase's for a
// marked salt (32 bytes either way).
QByteArray deriveKey(const QByteArray& password, const QByteArray& salt)
{
    QByteArray key(kKeyBytes, '\0');
    const auto* saltBytes = reinterpret_cast<const unsigned char*>(salt.constData());
    auto* keyBytes = reinterpret_cast<unsigned char*>(key.data());
    if (isMarked(salt))
        PKCS5_PBKDF2_HMAC(password.constData(), static_cast<int>(password.size()), saltBytes, static_cast<int>(salt.size()),
                          kPassphraseRounds, EVP_sha512(), kKeyBytes, keyBytes);
    else
        PKCS5_PBKDF2_HMAC_SHA1(password.constData(), static_cast<int>(password.size()), saltBytes,
                               static_cast<int>(salt.size()), kKdfRounds, kKeyBytes, keyBytes);
    return key;
}

void wipe(QByteArray& bytes)
{
    OPENSSL_cleanse(bytes.data(), static_cast<std::size_t>(bytes.size()));
    bytes.clear();
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
    if (kept.size() > kKept) {
        wipe(kept.front().password);
        wipe(kept.front().rawKey);
        kept.pop_front();
    }
    return rawKey;
}

bool carriesPassphrase(const QString& path)
{
    return isMarked(saltOf(path));
}

QByteArray newPassphraseKey(const QByteArray& passphrase)
{
    QByteArray salt(kSaltBytes, '\0');
    std::copy(std::begin(kPassphraseMark), std::end(kPassphraseMark), salt.begin());
    if (RAND_bytes(reinterpret_cast<unsigned char*>(salt.data()) + sizeof kPassphraseMark,
                   kSaltBytes - static_cast<int>(sizeof kPassphraseMark)) != 1)
        throw std::runtime_error("The system gave no random numbers for the file's salt.");
    QByteArray key = deriveKey(passphrase, salt);
    const QByteArray raw = "x'" + key.toHex() + salt.toHex() + '\'';
    wipe(key);
    return raw;
}

void forgetKeysOf(const QByteArray& password)
{
    std::lock_guard lock(mutex);
    for (Derived& d : kept)
        if (d.password == password) {
            wipe(d.password);
            wipe(d.rawKey);
        }
    std::erase_if(kept, [](const Derived& d) { return d.rawKey.isEmpty(); });
}

void forgetPassphrase(QByteArray& passphrase)
{
    if (passphrase.isEmpty())
        return;
    forgetKeysOf(passphrase);
    wipe(passphrase);
}

} // namespace sqlite
