#include "db/csv_import.h"

#include "db/import_texts.h"
#include "db/import_values.h"
#include "platform/dao/database.h"
#include "platform/dao/sqlite.h"
#include "platform/dao/write_unit.h"
#include "platform/jet/db_error.h"
#include "schema/counters.h"
#include "schema/csv_text.h"
#include "schema/schema.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <sqlcipher/sqlite3.h>

namespace db::import {

namespace {

// Progress is told this often: enough for a moving bar, too seldom to cost anything.
constexpr std::int64_t kProgressEvery = 4096;

constexpr int kMemberTexts = 8;  // FirstName .. Notes

Field memberText(int index)
{
    return static_cast<Field>(static_cast<int>(Field::FirstName) + index);
}

QString nameKey(const QString& last, const QString& first, const QString& address)
{
    return last.trimmed().toCaseFolded() + u'\x1f' + first.trimmed().toCaseFolded() + u'\x1f' + address.trimmed().toCaseFolded();
}

// The reasons of one line, joined into the one entry the user reads.
class LineCheck {
public:
    void refuse(const QString& reason) { reasons_ << reason; }
    bool ok() const { return reasons_.isEmpty(); }
    void report(std::vector<Problem>& problems, std::int64_t line) const
    {
        if (!ok())
            problems.push_back({line, reasons_.join(QStringLiteral("; "))});
    }

private:
    QStringList reasons_;
};

// A text longer than its field is refused, never cut: the user decides what to keep.
void checkLength(LineCheck& check, const QString& text, Field field, int size)
{
    if (size > 0 && text.size() > size)
        check.refuse(QStringLiteral("over-long text: %1 has %2 characters, the field holds %3")
                         .arg(fieldCaption(field))
                         .arg(text.size())
                         .arg(size));
}

// A text to be stored holds only what its box lets a user type.
void checkCharacters(LineCheck& check, const QString& text, Field field)
{
    if (const auto refusal = controlCharacter(text, field))
        check.refuse(refusal->reason);
}

class Analysis {
public:
    Analysis(dao::Database& db, Plan& plan) : db_(db), plan_(plan) {}

    void prepare()
    {
        if (plan_.kind == Kind::Members) {
            for (int i = 0; i < kMemberTexts; ++i)
                memberSizes_[static_cast<std::size_t>(i)] = textFieldSize(u"Members", QString::fromLatin1(memberColumn(memberText(i))));
            sqlite::Statement ids = db_.connection().prepare(QStringLiteral("SELECT MemberID FROM Members"));
            while (ids.step())
                existingIds_.insert(ids.int64(0));
            counter_ = counterState(db_.connection(), u"Members");
            return;
        }
        counter_ = counterState(db_.connection(), u"Payments");
        const bool byId = plan_.columns.has(Field::MemberId);
        const bool byName = plan_.columns.has(Field::FirstName) && plan_.columns.has(Field::LastName)
                            && plan_.columns.has(Field::Address);
        sqlite::Statement members = db_.connection().prepare(
            QStringLiteral("SELECT MemberID, LastName, FirstName, Address FROM Members"));
        while (members.step()) {
            const std::int64_t id = members.int64(0);
            if (byId)
                existingIds_.insert(id);
            if (byName) {
                const QString key = nameKey(members.text(1), members.text(2), members.text(3));
                auto found = byName_.find(key);
                if (found == byName_.end())
                    byName_.insert(key, id);
                else
                    *found = 0;  // more than one member answers to it
            }
        }
        sqlite::Statement dest = db_.connection().prepare(QStringLiteral("SELECT DestItem FROM Dest"));
        while (dest.step())
            if (!dest.isNull(0))
                knownDestinations_.insert(dest.text(0).toCaseFolded());
        destinationSize_ = textFieldSize(u"Payments", u"Destination");
    }

    void line(const csv::Record& record)
    {
        LineCheck check;
        if (record.unclosedQuote)
            check.refuse(QStringLiteral("a quoted field is not closed before the end of the file"));
        else if (plan_.kind == Kind::Members)
            member(record, check);
        else
            donation(record, check);
        check.report(plan_.problems, record.line);
    }

    // Once every line is read: the lines that would take a new number past the last one the
    // file can give are refused, in the file's order, so the lines before them still go in.
    void finish()
    {
        std::int64_t left = counter_.numbersLeft();
        const QString table = plan_.kind == Kind::Members ? QStringLiteral("Members") : QStringLiteral("Payments");
        std::vector<bool> refused(lines_.size(), false);
        bool any = false;
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            const bool takesNumber = plan_.kind == Kind::Donations || plan_.members[i].id == 0;
            if (!takesNumber)
                continue;
            if (left > 0) {
                --left;
                continue;
            }
            refused[i] = true;
            any = true;
            plan_.problems.push_back({lines_[i], noNumberLeft(table)});
        }
        if (!any)
            return;
        const auto keep = [&](auto& lines) {
            std::size_t at = 0;
            for (std::size_t i = 0; i < lines.size(); ++i) {
                if (refused[i])
                    continue;
                if (at != i)
                    lines[at] = std::move(lines[i]);
                ++at;
            }
            lines.resize(at);
        };
        if (plan_.kind == Kind::Members)
            keep(plan_.members);
        else
            keep(plan_.donations);
        std::stable_sort(plan_.problems.begin(), plan_.problems.end(),
                         [](const Problem& a, const Problem& b) { return a.line < b.line; });
    }

private:
    // A text field as stored: the apostrophe the export puts in front of a text a spreadsheet
    // would run comes off again (and one that a hand-written file begins with).
    QString value(const csv::Record& record, Field field) const
    {
        const int column = plan_.columns.of(field);
        if (column < 0)
            return QString();
        return holdsText(field) ? csvtext::stored(record.fields.value(column)) : record.fields.value(column);
    }

    void member(const csv::Record& record, LineCheck& check)
    {
        MemberLine m;
        for (int i = 0; i < kMemberTexts; ++i) {
            const Field field = memberText(i);
            m.text[static_cast<std::size_t>(i)] = value(record, field);
            checkLength(check, m.text[static_cast<std::size_t>(i)], field, memberSizes_[static_cast<std::size_t>(i)]);
            checkCharacters(check, m.text[static_cast<std::size_t>(i)], field);
        }
        // The three boxes Add a New Member will not do without.
        if (m.text[0].trimmed().isEmpty())
            check.refuse(QStringLiteral("missing first name"));
        if (m.text[1].trimmed().isEmpty())
            check.refuse(QStringLiteral("missing last name"));
        if (m.text[2].trimmed().isEmpty())
            check.refuse(QStringLiteral("missing address (NONE when it is not known)"));
        const QString idText = value(record, Field::MemberId);
        if (!idText.trimmed().isEmpty()) {
            const auto id = readMemberId(idText);
            if (const auto* refusal = std::get_if<Refusal>(&id)) {
                check.refuse(refusal->reason);
            } else {
                m.id = std::get<std::int64_t>(id);
                if (existingIds_.contains(m.id))
                    check.refuse(QStringLiteral("Member ID %1 is already on file").arg(m.id));
                else if (const auto earlier = idsInFile_.constFind(m.id); earlier != idsInFile_.cend())
                    check.refuse(QStringLiteral("Member ID %1 is also on line %2").arg(m.id).arg(*earlier));
            }
        }
        if (!check.ok())
            return;
        if (m.id > 0)
            idsInFile_.insert(m.id, record.line);
        // Numbers the file gives are written first and move the counter on.
        counter_.highestKey = std::max(counter_.highestKey, m.id);
        lines_.push_back(record.line);
        plan_.members.push_back(std::move(m));
    }

    void donation(const csv::Record& record, LineCheck& check)
    {
        DonationLine d;
        const auto amount = readAmount(value(record, Field::Amount));
        if (const auto* refusal = std::get_if<Refusal>(&amount))
            check.refuse(refusal->reason);
        else
            d.amount = std::get<vb::Currency>(amount);
        const auto date = readDate(value(record, Field::Date));
        if (const auto* refusal = std::get_if<Refusal>(&date))
            check.refuse(refusal->reason);
        else
            d.date = std::get<vb::DateTime>(date);
        const auto checkNumber = readCheck(value(record, Field::Check));
        if (const auto* refusal = std::get_if<Refusal>(&checkNumber))
            check.refuse(refusal->reason);
        else if (const auto& n = std::get<std::optional<std::int32_t>>(checkNumber))
            d.check = *n;

        const QString destination = value(record, Field::Destination);
        if (destination.trimmed().isEmpty())
            check.refuse(QStringLiteral("missing fund"));
        checkLength(check, destination, Field::Destination, destinationSize_);
        checkCharacters(check, destination, Field::Destination);

        d.member = findMember(record, check);
        if (!check.ok())
            return;
        d.destination = spelling(destination);
        lines_.push_back(record.line);
        plan_.donations.push_back(d);
    }

    std::int64_t findMember(const csv::Record& record, LineCheck& check)
    {
        const QString idText = value(record, Field::MemberId).trimmed();
        if (!idText.isEmpty()) {
            const auto id = readMemberId(idText);
            if (const auto* refusal = std::get_if<Refusal>(&id)) {
                check.refuse(refusal->reason);
                return 0;
            }
            const std::int64_t n = std::get<std::int64_t>(id);
            if (!existingIds_.contains(n))
                check.refuse(QStringLiteral("no such member: Member ID %1").arg(n));
            return n;
        }
        const bool byName = plan_.columns.has(Field::FirstName) && plan_.columns.has(Field::LastName)
                            && plan_.columns.has(Field::Address);
        if (!byName) {
            check.refuse(QStringLiteral("no such member: the Member ID is blank"));
            return 0;
        }
        // Only looked up, never stored: no character check, so a member whose stored name
        // holds one is still found.
        const QString first = value(record, Field::FirstName);
        const QString last = value(record, Field::LastName);
        const QString address = value(record, Field::Address);
        if (first.trimmed().isEmpty() && last.trimmed().isEmpty()) {
            check.refuse(QStringLiteral("missing name"));
            return 0;
        }
        const QString who = (QStringList{first.trimmed(), last.trimmed()}.filter(QRegularExpression(QStringLiteral("."))).join(u' '))
                            + QStringLiteral(", ") + address.trimmed();
        const auto found = byName_.constFind(nameKey(last, first, address));
        if (found == byName_.cend()) {
            check.refuse(QStringLiteral("no such member: %1").arg(who));
            return 0;
        }
        if (*found == 0) {
            check.refuse(QStringLiteral("more than one member is %1: give the Member ID").arg(who));
            return 0;
        }
        return *found;
    }

    int spelling(const QString& text)
    {
        const auto known = spellingIndex_.constFind(text);
        if (known != spellingIndex_.cend())
            return *known;
        const int index = static_cast<int>(plan_.spellings.size());
        plan_.spellings << text;
        spellingIndex_.insert(text, index);
        const QString folded = text.toCaseFolded();
        if (!knownDestinations_.contains(folded)) {
            knownDestinations_.insert(folded);
            plan_.newDestinations << text;
        }
        return index;
    }

    dao::Database& db_;
    Plan& plan_;
    QSet<std::int64_t> existingIds_;
    QHash<std::int64_t, std::int64_t> idsInFile_;  // number -> line
    QHash<QString, std::int64_t> byName_;           // 0: more than one member
    QSet<QString> knownDestinations_;               // case-folded
    QHash<QString, int> spellingIndex_;
    int destinationSize_ = 0;
    std::array<int, kMemberTexts> memberSizes_{};
    CounterState counter_;             // the table's counter, moved on by the numbers the file gives
    std::vector<std::int64_t> lines_;  // the file's line of each accepted line, in order
};

void bindText(sqlite::Statement& s, int index, const QString& text, bool always)
{
    if (text.isEmpty() && !always)
        s.bindNull(index);
    else
        s.bind(index, text);
}

} // namespace

Outcome analyse(dao::Database& db, const QString& path, Kind kind, Plan& plan, const Progress& progress)
{
    plan = Plan();
    plan.kind = kind;
    plan.path = path;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw csv::ReadError(file.errorString());
    plan.encoding = csv::detectEncoding(file);
    const std::int64_t total = file.size();
    csv::Reader reader(file, plan.encoding);
    csv::Record record;
    if (!reader.next(record)) {
        plan.columns.column.fill(-1);
        plan.columns.missing = QStringLiteral("The file is empty: it has no header line naming its columns.");
        return Outcome::Done;
    }
    plan.header = record.fields;
    plan.columns = mapColumns(plan.header, kind);
    if (!plan.columns.missing.isEmpty())
        return Outcome::Done;

    Analysis analysis(db, plan);
    analysis.prepare();
    if (progress && !progress(0, total))
        return Outcome::Cancelled;
    while (reader.next(record)) {
        ++plan.lines;
        if (plan.firstRows.size() < static_cast<std::size_t>(kPreviewRows))
            plan.firstRows.push_back(record.fields);
        analysis.line(record);
        if (plan.lines % kProgressEvery == 0 && progress && !progress(reader.position(), total))
            return Outcome::Cancelled;
    }
    analysis.finish();
    if (progress && !progress(total, total))
        return Outcome::Cancelled;
    return Outcome::Done;
}

Outcome write(dao::Database& db, const Plan& plan, const Progress& progress, Written& written)
{
    written = Written();
    const std::int64_t total = plan.importable();
    std::int64_t done = 0;
    auto tell = [&] { return !progress || ++done % kProgressEvery != 0 || progress(done, total); };

    dao::WriteUnit unit(db);
    Written counted;
    if (plan.kind == Kind::Members) {
        sqlite::Statement insert = unit.connection().prepare(QStringLiteral(
            "INSERT INTO Members (MemberID, FirstName, LastName, Address, City, State, PostalCode, HomePhone, Notes) "
            "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)"));
        // Numbers the file gives first: a new number is above every number in the table.
        for (const bool ownNumber : {true, false}) {
            for (const MemberLine& m : plan.members) {
                if ((m.id > 0) != ownNumber)
                    continue;
                if (m.id > 0)
                    insert.bind(1, m.id);
                else
                    insert.bindNull(1);
                // Names are always written; an empty optional field is left without a value.
                for (int i = 0; i < kMemberTexts; ++i)
                    bindText(insert, i + 2, m.text[static_cast<std::size_t>(i)], i < 2);
                insert.step();
                insert.reset();
                ++counted.members;
                if (!tell())
                    return Outcome::Cancelled;
            }
        }
    } else {
        sqlite::Statement dest = unit.connection().prepare(QStringLiteral("INSERT INTO Dest (DestItem) VALUES (?1)"));
        for (const QString& name : plan.newDestinations) {
            dest.bind(1, name);
            dest.step();
            dest.reset();
            ++counted.destinations;
        }
        std::vector<QByteArray> spellings;
        spellings.reserve(static_cast<std::size_t>(plan.spellings.size()));
        for (const QString& s : plan.spellings)
            spellings.push_back(s.toUtf8());
        sqlite::Statement insert = unit.connection().prepare(QStringLiteral(
            "INSERT INTO Payments (PaymentAmount, CheckNumber, Destination, PaymentDate, MemberID) VALUES (?1, ?2, ?3, ?4, ?5)"));
        for (const DonationLine& d : plan.donations) {
            insert.bind(1, d.amount.raw());
            if (d.check >= 0)
                insert.bind(2, d.check);
            else
                insert.bindNull(2);
            const QByteArray& destination = spellings[static_cast<std::size_t>(d.destination)];
            sqlite3_bind_text(insert.handle(), 3, destination.constData(), static_cast<int>(destination.size()), SQLITE_STATIC);
            insert.bind(4, d.date.toIso());
            insert.bind(5, d.member);
            insert.step();
            insert.reset();
            ++counted.donations;
            if (!tell())
                return Outcome::Cancelled;
        }
    }
    if (progress && !progress(total, total))
        return Outcome::Cancelled;
    unit.commit();
    written = counted;
    return Outcome::Done;
}

} // namespace db::import
