#pragma once
// The program's three report layouts, declared once as data. Each call gives a fresh copy, which
// a report run fills (organization lines, title, count and total, logo, filter captions) before
// it hands it to the engine.
//
// - ListRPT: one line per donation of ListTable (Accountant, Category and List View filtered
//   statements); a cover page, then a page header with the column captions on every page.
// - MemberRPT: one block per MemFullName row on a page of its own, the member's donations
//   (the child rows "QuilPay") under it and their total; a cover page first.
// - CurFltRpt: the one page that lists the current filter's criteria.
// - FundTotalsRPT: one line per fund of a period (File > Fund Totals), under the letterhead,
//   with the count and total of every gift at the end.
// - DepositRPT: a batch's gifts for the bank deposit, checks and cash apart with their counts
//   and subtotals (parent rows), the gifts under them (the child rows "DepositGifts").
//
// Sizes and positions are twips. The layouts name the fonts Arial and Times New Roman; which
// control uses which and at what size follows from the heights of the controls: 195 to 225
// twips hold Arial 8, 240 to 255 Arial 10, 300 Times New Roman 12 and 420 Times New Roman 18.
#include "platform/report/layout.h"

namespace reports {

report::Layout ListRPT();
report::Layout MemberRPT();
report::Layout CurFltRpt();
report::Layout FundTotalsRPT();
report::Layout DepositRPT();

// The data member the member report's detail lines and total read.
inline const QString kMemberPayments = QStringLiteral("QuilPay");
// The data member of the deposit list's gifts.
inline const QString kDepositGifts = QStringLiteral("DepositGifts");

} // namespace reports
