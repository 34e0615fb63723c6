#include "reports/statement_donors.h"

#include "reports/fund_totals.h"

#include "platform/dao/database.h"
#include "platform/dao/sqlite.h"
#include "platform/vb/datetime.h"

#include <QHash>
#include <QLocale>
#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace reports {

QString StatementPeriod::inWords() const
{
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const QString pattern = QStringLiteral("MMMM d, yyyy");
    return english.toString(from, pattern) + QStringLiteral(" - ") + english.toString(to, pattern);
}

QString StatementPeriod::shortName() const
{
    if (from.year() == to.year() && from.month() == 1 && from.day() == 1 && to.month() == 12 && to.day() == 31)
        return QString::number(from.year());
    return from.toString(Qt::ISODate) + QStringLiteral(" to ") + to.toString(Qt::ISODate);
}

StatementPeriod lastWholeYear(QDate today, int startMonth)
{
    startMonth = std::clamp(startMonth, 1, 12);
    // The year now running began in startMonth of this year, or of the last when that is ahead.
    const int runningFrom = today.month() >= startMonth ? today.year() : today.year() - 1;
    const QDate running(runningFrom, startMonth, 1);
    return StatementPeriod{running.addYears(-1), running.addDays(-1)};
}

bool isUsableAddress(const QString& address)
{
    const QString trimmed = address.trimmed();
    return !trimmed.isEmpty() && trimmed.compare(QStringLiteral("NONE"), Qt::CaseInsensitive) != 0;
}

int StatementPaging::pages(int lines) const
{
    // The page the last line falls on, then one more when the closing block does not fit under it.
    int last = 0;
    if (lines > firstPageLines)
        last = 1 + (lines - firstPageLines - 1) / laterPageLines;
    const int used = lines - firstLine(last, lines);
    return used + closingLines <= lineCap(last) ? last + 1 : last + 2;
}

int StatementPaging::firstLine(int page, int lines) const
{
    if (page == 0)
        return 0;
    const std::int64_t first = firstPageLines + std::int64_t(page - 1) * laterPageLines;
    return static_cast<int>(std::min<std::int64_t>(first, lines));
}

namespace {

struct Tally {
    int gifts = 0;
    std::vector<int> funds;  // fund numbers, few a donor
};

} // namespace

std::vector<StatementDonor> statementDonors(dao::Database& db, const StatementPeriod& period, const DonorChoice& choice,
                                            const StatementPaging& paging)
{
    // One scan of the period's gifts. Grouping in SQL would sort the rows under the file's
    // collation; counting here costs the scan alone.
    sqlite::Statement gifts = db.connection().prepare(
        QStringLiteral("SELECT MemberID, Destination FROM Payments WHERE PaymentDate >= ?1 AND PaymentDate < ?2"));
    gifts.bind(1, vb::DateTime(period.from).toIso());
    // Up to the end of the last day: the first moment of the next one is outside.
    gifts.bind(2, vb::DateTime(period.to.addDays(1)).toIso());

    std::unordered_set<std::int64_t> chosen;
    if (choice.members)
        chosen.insert(choice.members->begin(), choice.members->end());
    std::unordered_map<std::int64_t, Tally> tallies;
    QHash<QString, int> spellings;  // a stored spelling to its fund's number
    QHash<QString, int> fundNumbers;  // a fund's key to its number
    while (gifts.step()) {
        const std::int64_t member = gifts.int64(0);
        if (member == 1 && !choice.includeAnonymous)
            continue;
        if (choice.members && !chosen.contains(member))
            continue;
        const QString spelling = gifts.isNull(1) ? QString() : gifts.text(1);
        auto known = spellings.constFind(spelling);
        if (known == spellings.constEnd()) {
            const QString key = fundKey(spelling);
            auto number = fundNumbers.constFind(key);
            if (number == fundNumbers.constEnd())
                number = fundNumbers.insert(key, static_cast<int>(fundNumbers.size()));
            known = spellings.insert(spelling, *number);
        }
        Tally& t = tallies[member];
        ++t.gifts;
        if (std::find(t.funds.begin(), t.funds.end(), *known) == t.funds.end())
            t.funds.push_back(*known);
    }

    std::vector<StatementDonor> donors;
    donors.reserve(tallies.size());
    if (tallies.empty())
        return donors;
    // In the order of the names index, so that printed letters come out sorted for the mail.
    sqlite::Statement members =
        db.connection().prepare(QStringLiteral("SELECT MemberID, Address FROM Members ORDER BY LastName, FirstName, MemberID"));
    int page = 0;
    while (members.step()) {
        const auto found = tallies.find(members.int64(0));
        if (found == tallies.end())
            continue;
        StatementDonor d;
        d.memberId = found->first;
        d.gifts = found->second.gifts;
        d.funds = static_cast<int>(found->second.funds.size());
        d.firstPage = page;
        d.pages = paging.pages(d.lines());
        d.hasAddress = isUsableAddress(members.isNull(1) ? QString() : members.text(1));
        page += d.pages;
        donors.push_back(d);
    }
    return donors;
}

} // namespace reports
