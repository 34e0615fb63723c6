#pragma once
// A temporary folder for one test, removed with everything in it when the test ends.
#include <QDir>
#include <QString>
#include <QTemporaryDir>
#include <stdexcept>

namespace quiltest {

class TempDir {
public:
    TempDir()
    {
        if (!dir_.isValid())
            throw std::runtime_error("cannot create a temporary folder");
    }
    QString path() const { return dir_.path(); }
    // The path of a file in the folder (not created).
    QString file(const QString& name) const { return QDir(dir_.path()).filePath(name); }

private:
    QTemporaryDir dir_;
};

} // namespace quiltest
