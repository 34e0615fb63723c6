#pragma once
// The main window's commands for members and donations: the view requery and the handlers of
// the member data source.
class frmMain;

class RecordsCommands {
public:
    explicit RecordsCommands(frmMain& f);

    // Re-runs the member query the caller has set and stands on its last member.
    void RequeryView();

    // The member data source's reposition: the navigator caption shows the current position.
    void datPrimaryRS_Reposition();

private:
    frmMain& f;
    bool fallingBack_ = false;  // the retry after an empty member query runs once, never again
};
