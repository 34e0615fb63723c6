#pragma once
// A file's bytes read and written whole, for tests that compare or damage files.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <gtest/gtest.h>

namespace quiltest {

// The file's bytes; none when it cannot be read.
inline QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Replaces the file's bytes; a file that cannot be written fails the test.
inline void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(f.write(bytes), bytes.size()) << path.toStdString();
}

} // namespace quiltest
