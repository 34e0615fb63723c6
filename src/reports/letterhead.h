#pragma once
// The organisation as the program's own pages head them (the giving statements, Fund Totals, the
// deposit list): its name, address, phone, e-mail and logo from the organization data. One
// struct and one fill, so a page cannot show the organisation other than the rest.
#include "platform/report/layout.h"

#include <QImage>
#include <QString>
#include <vector>

struct MainState;

namespace reports {

struct Letterhead {
    QString name;
    QString address;
    QString phone;
    QString email;
    QImage logo;  // none: no picture
};

// The open file's organization data and the report logo.
Letterhead letterheadOf(const MainState& S);

// The logo at the top left and the organisation's lines beside it, 1700 twips in, over `width`
// twips of a section: "Image1", "lblOrgName", "lblOrgAddress", "lblOrgPhone" and, when asked
// for, "lblOrgEmail".
std::vector<report::Control> letterheadControls(int width, bool withEmail);

// Puts the organisation's texts and logo into the controls letterheadControls made, each text
// literally (controls::literally).
void fillLetterhead(report::Layout& layout, const Letterhead& letterhead, bool withEmail);

} // namespace reports
