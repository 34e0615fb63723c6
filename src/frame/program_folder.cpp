#include "frame/program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>

QString ProgramFolder()
{
    QString folder = qEnvironmentVariable("QUIL_PROGRAM_DIR");
    if (folder.isEmpty())
        folder = QCoreApplication::applicationDirPath();
    folder = QDir::cleanPath(QDir(folder).absolutePath());
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

QString ProcessCommandLine()
{
    return QCoreApplication::arguments().mid(1).join(QLatin1Char(' '));
}
