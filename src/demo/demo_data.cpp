#include "demo/demo_data.h"

#include "demo/demo_names.h"
#include "platform/dao/sqlite.h"
#include "schema/connect_key.h"
#include "schema/schema.h"
#include "schema/template.h"

#include <QDate>
#include <QSet>
#include <algorithm>
#include <array>
#include <stdexcept>
#include <vector>

namespace db {

namespace {

// xoshiro256** seeded through splitmix64: the same sequence on every platform and library, which
// the standard distributions do not promise.
class Random {
public:
    explicit Random(std::uint64_t seed)
    {
        for (auto& word : state_) {
            seed += 0x9E3779B97F4A7C15ULL;
            std::uint64_t z = seed;
            z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
            z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
            word = z ^ (z >> 31);
        }
    }

    std::uint64_t next()
    {
        const std::uint64_t result = rotl(state_[1] * 5, 7) * 9;
        const std::uint64_t t = state_[1] << 17;
        state_[2] ^= state_[0];
        state_[3] ^= state_[1];
        state_[1] ^= state_[2];
        state_[0] ^= state_[3];
        state_[2] ^= t;
        state_[3] = rotl(state_[3], 45);
        return result;
    }

    double unit() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }
    int below(int n) { return static_cast<int>(unit() * n); }
    bool chance(double p) { return unit() < p; }
    template <typename T> const T& pick(const std::vector<T>& items) { return items[static_cast<std::size_t>(below(static_cast<int>(items.size())))]; }

private:
    static std::uint64_t rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
    std::array<std::uint64_t, 4> state_{};
};

class WeightedPick {
public:
    void add(double weight) { total_ += weight; cumulative_.push_back(total_); }
    int pick(Random& random) const
    {
        const double target = random.unit() * total_;
        const auto it = std::upper_bound(cumulative_.begin(), cumulative_.end(), target);
        return static_cast<int>(std::min<std::ptrdiff_t>(it - cumulative_.begin(), std::ssize(cumulative_) - 1));
    }

private:
    std::vector<double> cumulative_;
    double total_ = 0;
};

std::vector<QString> toStrings(std::span<const char* const> words)
{
    std::vector<QString> result;
    result.reserve(words.size());
    for (const char* word : words)
        result.push_back(QString::fromUtf8(word));
    return result;
}

// Names that begin with one letter are drawn with a fixed share, independent of how many such
// names the list holds, so that an initials search finds a predictable number of members
// (8% of last names with S and 5% of first names with J: "s j" finds 0.4% of the members).
class NamePool {
public:
    NamePool(std::span<const char* const> words, QChar letter, double share) : share_(share)
    {
        for (const QString& name : toStrings(words))
            (name.startsWith(letter) ? favoured_ : others_).push_back(name);
    }
    const QString& pick(Random& random)
    {
        return random.chance(share_) ? random.pick(favoured_) : random.pick(others_);
    }

private:
    std::vector<QString> favoured_;
    std::vector<QString> others_;
    double share_;
};

constexpr std::int64_t kScale = 10000;  // currency is stored in ten-thousandths

// Gifts people give in round figures, and how often each is chosen.
constexpr std::pair<int, int> kRoundAmounts[] = {
    {5, 4}, {10, 10}, {15, 2}, {20, 14}, {25, 12}, {30, 5}, {40, 5}, {50, 14}, {60, 2}, {75, 4},
    {100, 12}, {120, 2}, {150, 3}, {200, 4}, {250, 2}, {300, 1}, {500, 1},
};
constexpr int kLargeAmounts[] = {750, 1000, 1000, 1500, 2000, 2500, 5000, 10000};

class AmountMaker {
public:
    AmountMaker()
    {
        for (const auto& [dollars, weight] : kRoundAmounts)
            round_.add(weight);
    }

    std::int64_t round(Random& random) const { return kRoundAmounts[round_.pick(random)].first * kScale; }

    std::int64_t any(Random& random) const
    {
        const double kind = random.unit();
        if (kind < 0.60)
            return round(random);
        if (kind < 0.82) {  // cents: a sum counted from an envelope, a percentage of a pay check
            static constexpr int kCents[] = {25, 50, 75, 0};
            const int dollars = 5 + static_cast<int>(245 * random.unit() * random.unit());
            const int cents = random.chance(0.5) ? kCents[random.below(4)] : random.below(100);
            return dollars * kScale + cents * (kScale / 100);
        }
        if (kind < 0.97)
            return (1 + random.below(100)) * 5 * kScale;
        return kLargeAmounts[random.below(std::ssize(kLargeAmounts))] * kScale;
    }

private:
    WeightedPick round_;
};

void insertMembers(sqlite::Connection& connection, const DemoOptions& options, Random& random)
{
    NamePool first(demo::firstNames(), QLatin1Char('J'), 0.05);
    NamePool last(demo::lastNames(), QLatin1Char('S'), 0.08);
    const std::vector<QString> streets = toStrings(demo::streetNames());
    const std::vector<QString> kinds = toStrings(demo::streetKinds());
    const std::vector<QString> notes = toStrings(demo::memberNotes());
    WeightedPick townPick;
    for (const demo::Town& town : demo::towns())
        townPick.add(town.weight);

    sqlite::Statement insert = connection.prepare(QStringLiteral(
        "INSERT INTO Members (FirstName, LastName, Address, City, State, PostalCode, HomePhone, Notes) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?)"));
    for (int id = 2; id <= options.members; ++id) {
        // A few entries are households or businesses kept under the last name alone.
        const auto showcase = demo::showcaseMembers();
        const auto nth = static_cast<std::size_t>(id - 2);
        QString firstName = random.chance(0.005) ? QString() : first.pick(random);
        QString lastName = last.pick(random);
        if (nth < showcase.size()) {
            firstName = QString::fromUtf8(showcase[nth].first);
            lastName = QString::fromUtf8(showcase[nth].last);
        }

        QString address;
        if (random.chance(0.02)) {
            address = QStringLiteral("NONE");
        } else {
            address = QStringLiteral("%1 %2 %3").arg(1 + random.below(9999)).arg(random.pick(streets), random.pick(kinds));
            if (random.chance(0.06))
                address += QStringLiteral(", Apt %1").arg(1 + random.below(40));
        }

        const demo::Town& town = demo::towns()[static_cast<std::size_t>(townPick.pick(random))];
        QString zip = QStringLiteral("%1").arg(town.zipBase + random.below(8), 5, 10, QLatin1Char('0'));
        if (random.chance(0.1))
            zip += QStringLiteral("-%1").arg(random.below(10000), 4, 10, QLatin1Char('0'));
        const QString phone = random.chance(0.08)
            ? QString()
            : QStringLiteral("(%1) %2-%3").arg(QLatin1String(town.area)).arg(200 + random.below(800)).arg(random.below(10000), 4, 10, QLatin1Char('0'));
        const QString note = random.chance(0.12) ? random.pick(notes) : QString();

        insert.bind(1, firstName).bind(2, lastName).bind(3, address)
            .bind(4, QString::fromUtf8(town.city)).bind(5, QString::fromUtf8(town.state))
            .bind(6, zip).bind(7, phone).bind(8, note);
        insert.step();
        insert.reset();
    }
}

struct Gift {
    int day;        // index into the list of dates
    int visit;      // the gifts of one visit share member, date and check
    int member;
    int fund;
    std::int64_t amount;
    bool cash;
};

// One gift per visit mostly; one check split over two or three funds now and then.
std::vector<Gift> makeGifts(const DemoOptions& options, int dayCount, const std::vector<int>& sundays, Random& random)
{
    const AmountMaker amounts;
    WeightedPick fundPick;
    for (const demo::Fund& fund : demo::funds())
        fundPick.add(fund.weight);

    // Some members give every week, others a few times a year; each has a usual gift.
    WeightedPick donor;
    std::vector<std::int64_t> usual(static_cast<std::size_t>(options.members) + 1, 0);
    for (int id = 2; id <= options.members; ++id) {
        const double habit = random.unit();
        donor.add(habit < 0.35 ? 12.0 : habit < 0.70 ? 4.0 : 1.0);
        usual[static_cast<std::size_t>(id)] = amounts.round(random);
    }

    std::vector<Gift> gifts;
    gifts.reserve(static_cast<std::size_t>(options.donations));
    for (int visit = 0; std::ssize(gifts) < options.donations; ++visit) {
        // Member 1 collects the loose offering whose donor is not known.
        const bool anonymous = options.members < 2 || random.chance(0.03);
        const int member = anonymous ? 1 : 2 + donor.pick(random);
        const int day = random.chance(0.75) && !sundays.empty() ? random.pick(sundays) : random.below(dayCount);
        const bool cash = random.chance(anonymous ? 0.8 : 0.2);
        const int parts = std::min<int>(random.chance(0.05) ? 2 + random.below(2) : 1,
                                        options.donations - static_cast<int>(gifts.size()));
        int fund = fundPick.pick(random);
        for (int part = 0; part < parts; ++part) {
            const std::int64_t amount = !anonymous && random.chance(0.55) ? usual[static_cast<std::size_t>(member)] : amounts.any(random);
            gifts.push_back({day, visit, member, fund, amount, cash});
            fund = (fund + 1 + random.below(std::ssize(demo::funds()) - 1)) % static_cast<int>(std::ssize(demo::funds()));
        }
    }
    // Donations are entered as they come in: in date order.
    std::sort(gifts.begin(), gifts.end(), [](const Gift& a, const Gift& b) {
        return a.day != b.day ? a.day < b.day : a.visit < b.visit;
    });
    return gifts;
}

void insertDonations(sqlite::Connection& connection, const DemoOptions& options, Random& random)
{
    const int lastYear = options.lastYear > 0 ? options.lastYear : QDate::currentDate().year();
    const QDate firstDay(lastYear - std::max(options.years, 1) + 1, 1, 1);
    const QDate lastDay(lastYear, 12, 31);
    std::vector<QString> dates;
    std::vector<int> sundays;
    for (QDate d = firstDay; d <= lastDay; d = d.addDays(1)) {
        if (d.dayOfWeek() == Qt::Sunday)
            sundays.push_back(static_cast<int>(dates.size()));
        dates.push_back(d.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(" 00:00:00"));
    }

    const std::vector<Gift> gifts = makeGifts(options, static_cast<int>(dates.size()), sundays, random);
    const std::vector<QString> fundNames = [] {
        std::vector<QString> names;
        for (const demo::Fund& fund : demo::funds())
            names.push_back(QString::fromUtf8(fund.name));
        return names;
    }();

    // Each member writes checks from one checkbook, numbered upwards in date order.
    std::vector<std::int64_t> nextCheck(static_cast<std::size_t>(options.members) + 1);
    for (auto& number : nextCheck)
        number = 101 + random.below(4900);

    sqlite::Statement insert = connection.prepare(QStringLiteral(
        "INSERT INTO Payments (PaymentAmount, CheckNumber, Destination, PaymentDate, MemberID) VALUES (?, ?, ?, ?, ?)"));
    int lastVisit = -1;
    std::int64_t check = 0;
    for (const Gift& gift : gifts) {
        if (gift.visit != lastVisit) {
            lastVisit = gift.visit;
            auto& book = nextCheck[static_cast<std::size_t>(gift.member)];
            check = gift.cash ? 0 : book;
            if (!gift.cash)
                book += random.chance(0.1) ? 2 + random.below(3) : 1;  // checks written elsewhere
        }
        insert.bind(1, gift.amount).bind(2, check)
            .bind(3, fundNames[static_cast<std::size_t>(gift.fund)])
            .bind(4, dates[static_cast<std::size_t>(gift.day)])
            .bind(5, static_cast<std::int64_t>(gift.member));
        insert.step();
        insert.reset();
    }
}

void insertFunds(sqlite::Connection& connection)
{
    QSet<QString> present;
    sqlite::Statement existing = connection.prepare(QStringLiteral("SELECT DestItem FROM Dest"));
    while (existing.step())
        present.insert(existing.text(0));
    sqlite::Statement insert = connection.prepare(QStringLiteral("INSERT INTO Dest (DestItem) VALUES (?)"));
    for (const demo::Fund& fund : demo::funds()) {
        const QString name = QString::fromUtf8(fund.name);
        if (present.contains(name))
            continue;
        insert.bind(1, name);
        insert.step();
        insert.reset();
    }
}

void checkOptions(const DemoOptions& options)
{
    if (options.members < 1 || options.donations < 0)
        throw std::invalid_argument("A demo database needs at least member 1 and no negative count.");
}

} // namespace

void fillDemo(sqlite::Connection& connection, const DemoOptions& options)
{
    checkOptions(options);

    // The file is new: if the run fails the caller deletes it, so neither a journal on disk nor
    // waiting for the disk buys anything.
    connection.exec(QStringLiteral("PRAGMA synchronous = OFF"));
    connection.exec(QStringLiteral("PRAGMA journal_mode = MEMORY"));

    Random random(options.seed);
    sqlite::Transaction transaction(connection);
    // Building each index once over the sorted rows beats updating it on every insert.
    dropIndexes(connection);
    insertMembers(connection, options, random);
    insertDonations(connection, options, random);
    insertFunds(connection);
    createIndexes(connection);
    transaction.commit();
}

void writeDemo(const QString& path, const DemoOptions& options)
{
    checkOptions(options);
    writeTemplate(path);
    sqlite::Connection connection(path, databasePassword().toUtf8(), sqlite::Connection::Mode::ReadWrite);
    verifySchema(connection, path);
    fillDemo(connection, options);
}

} // namespace db
