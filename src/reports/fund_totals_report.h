#pragma once
// The Fund Totals page made from the sums of a period: FundTotalsRPT bound to one row per fund,
// its letterhead, period and totals filled in. A pure function of what it is given, so that the
// preview, the PDF and the tests all see the same page.
#include "platform/report/report.h"
#include "reports/fund_totals.h"
#include "reports/letterhead.h"
#include "reports/report_period.h"

#include <QImage>
#include <QString>
#include <memory>
#include <vector>

namespace reports {

// The texts a fund's line shows: its name ("(no destination)" for none), the count, the total
// ("Not Available" when it cannot be computed, empty when no gift has an amount).
QString fundName(const FundTotal& fund);
QString giftCount(std::int64_t count);
QString fundAmount(const FundTotal& fund);

std::unique_ptr<report::Report> fundTotalsReport(const std::vector<FundTotal>& funds, const Period& period,
                                                 const Letterhead& letterhead, report::ReportOptions options = {});

} // namespace reports
