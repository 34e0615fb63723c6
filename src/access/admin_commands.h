#pragma once
// The main window's commands for administration: the password list behind the administrator's
// password (Mode > Aministrator) and the organization data (File > Properties).
#include "frame/seams.h"

class frmMain;

class AdminCommands final : public seam::Administration {
public:
    explicit AdminCommands(frmMain& f);

    // Mode > Aministrator: the Administrator Mode dialog, modal.
    void mnuAdminMode_Click() override;
    // File > Properties: the Organization Data dialog, modal, with the current folder kept.
    void mnuQuilProperties_Click() override;

private:
    frmMain& f;
};
