#pragma once
// The main window's commands for views and filters.
#include "frame/seams.h"

class frmMain;

class FiltersCommands final : public seam::Filters {
public:
    explicit FiltersCommands(frmMain& f);

    // Filter Members. With members shown it asks for the criteria first; with none (the
    // fall-back after a member query that found nobody) it applies the filter in force.
    void mnuFilterMem_Click() override;

private:
    // Gives the member data source the query for the filter in force, colours the member
    // fields by it and requeries the view.
    void applyMemberFilter();

    frmMain& f;
};
