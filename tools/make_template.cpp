// Writes the template database from which the program makes every new file.
//   make_template <path>
// An existing file at path is replaced, but only once the new one is complete.
#include "platform/jet/db_error.h"
#include "schema/template.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_template <path>\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    const QString partial = path + QStringLiteral(".partial");
    QFile::remove(partial);
    try {
        db::writeTemplate(partial);
    } catch (const std::exception& e) {
        QFile::remove(partial);
        std::fprintf(stderr, "make_template: %s\n", e.what());
        return 1;
    }
    QFile::remove(path);
    if (!QFile::rename(partial, path)) {
        std::fprintf(stderr, "make_template: cannot write %s\n", qPrintable(QDir::toNativeSeparators(path)));
        return 1;
    }
    return 0;
}
