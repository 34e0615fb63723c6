#pragma once
// The main window's commands for views and filters. One class for the subsystem; its handlers
// are defined in the file of their job: the member filter (member_filter.cpp), the donation
// filter (donation_filter.cpp), the two views (views.cpp).
#include "frame/seams.h"

class frmMain;

class FiltersCommands final : public seam::Filters {
public:
    explicit FiltersCommands(frmMain& f);

    // Filter Members. With members shown it asks for the criteria first; with none (the
    // fall-back after a member query that found nobody) it applies the filter in force.
    void mnuFilterMem_Click() override;

    // Filter Donations: asks for the criteria, then shows the donations of the view that pass.
    void mnuFilterDonat_Click() override;

    // Member View: every member, no filter, the donations of the current member; the navigator
    // moves from member to member. Also run by Standard and by Close Database.
    void mnuMemView_Click() override;
    // List View: every donation of every member, no filter; the member fields follow the
    // highlighted donation's donor and the navigator is hidden.
    void mnuListView_Click() override;

private:
    // Gives the member data source the query for the filter in force, colours the member
    // fields by it and requeries the view.
    void applyMemberFilter();
    // Sets the donation query's state for the filter in force, colours the grid's text by it
    // and requeries the view.
    void applyDonationFilter();

    frmMain& f;
};
