#pragma once
// The date condition the report queries apply (the work-table fills never do): empty for every
// date, else both dates inclusive, written month/day/year between # signs as the dialect reads
// them.
#include "platform/vb/datetime.h"

#include <QString>

namespace reports {

QString dateClause(bool allDates, const vb::DateTime& from, const vb::DateTime& to);

} // namespace reports
