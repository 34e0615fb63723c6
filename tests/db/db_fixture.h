#pragma once
// The window over a template copy, with the template itself in the program folder (as "Base.dat"
// and, for the copy, "base.dat"), and helpers to write rows into a file and read them back.
#include "db/beside_files.h"
#include "support/qstring_printer.h"
#include "support/window_fixture.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <csignal>
#include <sys/resource.h>

namespace dbtest {

inline QByteArray digest(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

inline sqlite::Connection keyedFile(const QString& path)
{
    return sqlite::Connection(path, db::databasePassword().toUtf8(), sqlite::Connection::Mode::ReadWrite);
}

// The rows of a query, one text a row with the fields joined by "|" (null as "<null>").
inline QStringList rowsOf(const QString& path, const QString& sql)
{
    sqlite::Connection c(path, db::databasePassword().toUtf8(), sqlite::Connection::Mode::ReadOnly);
    sqlite::Statement s = c.prepare(sql);
    QStringList rows;
    while (s.step()) {
        QStringList fields;
        for (int i = 0; i < s.columnCount(); ++i)
            fields << (s.isNull(i) ? QStringLiteral("<null>") : s.text(i));
        rows << fields.join(u'|');
    }
    return rows;
}

// Makes every write past `bytes` of any file fail (EFBIG), as a full disk would, for the life of
// the object. The signal the kernel sends with it is ignored, so the write only fails.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit limit = previous_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit previous_{};
    void (*previousHandler_)(int) = nullptr;
};

class NewFilesTest : public quiltest::WindowTest<> {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        if (HasFatalFailure())
            return;
        templatePath_ = program_ + QStringLiteral("Base.dat");
        db::writeTemplate(templatePath_);
        ASSERT_TRUE(QFile::link(QStringLiteral("Base.dat"), program_ + QStringLiteral("base.dat")));
    }

    // The names in the test folder, the program's own files aside: the lock file of a file open
    // stands beside it as long as it is open (file_lock_test.cpp has its own rules).
    QStringList folderFiles() const
    {
        QStringList names = QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
        names.removeIf([](const QString& name) { return db::isLockFileName(name); });
        names.removeAll(QStringLiteral("quil.jpg"));
        names.removeAll(QStringLiteral("Base.dat"));
        names.removeAll(QStringLiteral("base.dat"));
        return names;
    }

    QString templatePath_;
};

} // namespace dbtest
