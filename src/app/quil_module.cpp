#include "app/quil_module.h"

#include "app/install_commands.h"
#include "frame/frm_main.h"
#include "frame/program_folder.h"

#include <QApplication>
#include <memory>

namespace QuilModule {

int Main()
{
    auto MainForm = std::make_unique<frmMain>();
    InstallCommands(*MainForm);
    // A second copy has already handed over to the first one and ends without a window.
    if (!MainForm->Form_Load(ProcessCommandLine()))
        return 0;
    MainForm->show();
    return QApplication::exec();
}

} // namespace QuilModule
