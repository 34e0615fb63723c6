#pragma once
// The program's top: it alone knows every subsystem. It makes one command object per subsystem
// and hands them to the main window's frame, which reaches them only through their seams.
class frmMain;

// Right after the window is made, before its load event.
void InstallCommands(frmMain& f);
