#include "reports/fund_totals_report.h"

#include "platform/report/memory_source.h"
#include "platform/vb/format.h"
#include "platform/vb/value.h"
#include "reports/report_layouts.h"

namespace reports {

QString fundName(const FundTotal& fund)
{
    return fund.name.isEmpty() ? QStringLiteral("(no destination)") : fund.name;
}

QString giftCount(std::int64_t count)
{
    // The program's count format shows nothing for zero.
    return count == 0 ? QStringLiteral("0") : vb::format(vb::Value(count), u"##,###");
}

QString fundAmount(const FundTotal& fund)
{
    return fund.anyAmount ? vb::formatTotal(fund.total.value(), u"$##,##0.00") : QString();
}

std::unique_ptr<report::Report> fundTotalsReport(const std::vector<FundTotal>& funds, const Period& period,
                                                 const Letterhead& letterhead, report::ReportOptions options)
{
    std::vector<std::vector<vb::Value>> lines;
    lines.reserve(funds.size());
    for (const FundTotal& fund : funds)
        lines.push_back({vb::Value(fundName(fund)), vb::Value(giftCount(fund.count)), vb::Value(fundAmount(fund))});
    auto rows = std::make_shared<report::MemorySource>(
        QStringList{QStringLiteral("Destination"), QStringLiteral("Gifts"), QStringLiteral("Total")}, std::move(lines));

    report::Layout layout = FundTotalsRPT();
    fillLetterhead(layout, letterhead, true);
    const QString words = periodInWords(period);
    layout.control(u"lblPeriod").caption = words;
    layout.control(u"lblFooter").caption = QStringLiteral("Fund Totals, ") + words;
    const FundTotal all = grandTotal(funds);
    layout.control(u"lblAllGifts").caption = giftCount(all.count);
    layout.control(u"lblAllTotal").caption = fundAmount(all);
    return std::make_unique<report::Report>(std::move(layout), std::move(rows), options);
}

} // namespace reports
