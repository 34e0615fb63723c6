#pragma once
// Who gets a giving statement for a period, and how many pages each statement takes, worked out
// before any page is laid out: one scan of the period's gifts counts each donor's gifts and
// funds, and a statement's pages follow from those two counts alone. A run over a hundred
// thousand donors therefore holds a few numbers a donor, and reads a donor's gifts only when one
// of that donor's pages is laid out.
#include <QDate>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace dao { class Database; }

namespace reports {

// The first and last day of a statement's period, both included.
struct StatementPeriod {
    QDate from;
    QDate to;

    // "January 1, 2025 - December 31, 2025"
    QString inWords() const;
    // "2025" for a calendar year, else "2025-07-01 to 2026-06-30": what a file name carries.
    QString shortName() const;
};

// The last whole year before `today` of an organisation whose year begins in `startMonth` (1..12):
// the last calendar year for 1.
StatementPeriod lastWholeYear(QDate today, int startMonth);

// Whether an address line is one a letter can be sent to: not blank, not "NONE" in any case.
bool isUsableAddress(const QString& address);

// Where a statement's lines fall on its pages. The first page holds the letterhead and the
// address, so fewer lines; the closing block (total, wording, signature) stays whole on the
// last page.
struct StatementPaging {
    int firstPageLines = 0;  // gift and subtotal lines the first page holds
    int laterPageLines = 0;  // and every page after it
    int closingLines = 0;    // line heights the closing block takes

    int pages(int lines) const;
    int lineCap(int page) const { return page == 0 ? firstPageLines : laterPageLines; }
    // The first line of page `page` (from 0); lines past the end give `lines`.
    int firstLine(int page, int lines) const;
};

struct StatementDonor {
    std::int64_t memberId = 0;
    int gifts = 0;
    int funds = 0;       // destinations, letter case ignored
    int firstPage = 0;   // in the run, from 0
    int pages = 0;
    bool hasAddress = true;

    // A line per gift, and a subtotal line per fund when there is more than one.
    int lines() const { return gifts + (funds > 1 ? funds : 0); }
};

struct DonorChoice {
    bool includeAnonymous = false;            // member 1, the gifts of unknown donors
    std::optional<std::vector<std::int64_t>> members;  // none: every donor of the period
};

// The donors of the period in the order their statements print (last name, first name, number),
// each with its pages under `paging`.
std::vector<StatementDonor> statementDonors(dao::Database& db, const StatementPeriod& period, const DonorChoice& choice,
                                            const StatementPaging& paging);


} // namespace reports
