#include "app/quil_module.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("QUIL"));
    return QuilModule::Main();
}
