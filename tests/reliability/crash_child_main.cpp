// The crash loop's child process (see crash_child.h).
#include "reliability/crash_child.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    return reliability::crashChildMain(QApplication::arguments().mid(1));
}
