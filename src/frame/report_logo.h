#pragma once
// The report logo as the in-memory OrgLogo names it now. The reports read the picture each time
// one is made, so a logo changed in File > Properties prints with the next report, and a picture
// loaded for an earlier file or an earlier logo never stands in for the current one.
#include <QImage>
#include <QString>

struct MainState;

// The file OrgLogo stands for: the default logo's short name is the program folder's picture,
// whatever the process's current folder; any other name is taken as it is (a relative one from
// the current folder).
QString ReportLogoPath(const MainState& S);

// The picture of a report's page header: none for a name of 0 or 1 character, none for a file
// that is not a picture.
QImage ReportLogo(const MainState& S);
