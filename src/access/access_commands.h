#pragma once
// The main window's commands for the access modes. One class for the subsystem; its handlers are
// defined in the file of their job: the two mode commands and what they switch (modes.cpp), the
// password look-up (password_check.cpp), the password dialog (pass_box.cpp).
#include "frame/seams.h"

class frmMain;

class AccessCommands final : public seam::Access {
public:
    explicit AccessCommands(frmMain& f);

    // Mode > Standard (F6, button "Stand"): Member View with every member and no filter, then
    // the rapid search only: no grid, no totals, member fields read-only.
    void mnuStandard_Click() override;
    // Mode > Executive (F7, button "Exec"): asks for a password; one of the password list opens
    // the grid, the totals and every command, and hides the rapid search.
    void mnuExecMode_Click() override;

private:
    // The Executive and the Standard column of the mode table, each in its own order.
    void applyExecutiveColumn();
    void applyStandardColumn();

    frmMain& f;
};
