#include "reports/letterhead.h"

#include "frame/main_state.h"
#include "frame/report_logo.h"
#include "reports/layout_controls.h"

namespace reports {

Letterhead letterheadOf(const MainState& S)
{
    return Letterhead{S.OrgName, S.OrgAdd, S.OrgPhone, S.OrgEmail, ReportLogo(S)};
}

std::vector<report::Control> letterheadControls(int width, bool withEmail)
{
    using namespace controls;
    constexpr int left = 1700;
    std::vector<report::Control> c{
        image("Image1", 0, 0, 1440, 1440),
        label("lblOrgName", left, 60, width - left, 420, {}, times(18, true)),
        label("lblOrgAddress", left, 600, width - left, 240, {}, arial(10)),
        label("lblOrgPhone", left, 860, width - left, 240, {}, arial(10)),
    };
    if (withEmail)
        c.push_back(label("lblOrgEmail", left, 1120, width - left, 240, {}, arial(10)));
    return c;
}

void fillLetterhead(report::Layout& layout, const Letterhead& letterhead, bool withEmail)
{
    using controls::literally;
    layout.control(u"Image1").picture = letterhead.logo;
    layout.control(u"lblOrgName").caption = literally(letterhead.name);
    layout.control(u"lblOrgAddress").caption = literally(letterhead.address);
    layout.control(u"lblOrgPhone").caption = literally(letterhead.phone);
    if (withEmail)
        layout.control(u"lblOrgEmail").caption = literally(letterhead.email);
}

} // namespace reports
