#include "reports/donation_rows.h"

#include "platform/dao/database.h"
#include "platform/dao/recordset.h"
#include "platform/jet/text_fold.h"
#include "platform/jet/translator.h"
#include "platform/report/data_source.h"
#include "reports/recordset_rows.h"

#include <QHash>
#include <algorithm>
#include <cstdint>
#include <optional>

namespace reports {

namespace {

// The full name as the list's work table composes it.
const QString kFullNameSql =
    QStringLiteral("SELECT ifnull(FirstName, '') || ' ' || ifnull(LastName, '') FROM Members WHERE MemberID = ?");
const QString kEveryNameSql = QStringLiteral("SELECT MemberID, ifnull(FirstName, '') || ' ' || ifnull(LastName, '') FROM Members");

// Rows in date order name their donors in no order: each name asked is a read of a page of
// Members somewhere in the file, 25 us a row on the benchmark file, which made exporting a
// thousand pages three times slower than reading the names from a work table. A report read
// past its first pages (scrolled through, exported, printed) reads every member's name once
// instead, in the table's order: 100,000 names in 30-60 ms and about 10 MB.
constexpr int kLookupsBeforeReadingAll = 1024;

class DonationRows final : public report::DataSource {
public:
    DonationRows(dao::Database& db, std::unique_ptr<dao::Recordset> donations)
        : db_(db), rows_(std::move(donations)), fields_(rows_.fieldNames() << QStringLiteral("FullName")),
          member_(report::indexOfName(fields_, u"MemberID"))
    {
    }

    QStringList fieldNames() const override { return fields_; }
    int count() override { return rows_.count(); }

    std::vector<vb::Value> row(int index) override
    {
        std::vector<vb::Value> values = rows_.row(index);
        values.emplace_back(fullName(values[static_cast<std::size_t>(member_)]));
        return values;
    }

private:
    QString fullName(const vb::Value& memberId)
    {
        if (memberId.isNull())
            return QStringLiteral(" ");
        if (memberId.type() == vb::Type::Long) {
            if (!everyName_ && ++lookups_ > kLookupsBeforeReadingAll)
                readEveryName();
            if (everyName_) {
                const auto found = everyName_->constFind(memberId.asLong());
                return found != everyName_->constEnd() ? *found : QStringLiteral(" ");
            }
        }
        const QString key = memberId.toText();
        if (const auto known = names_.constFind(key); known != names_.constEnd())
            return *known;
        QString name = QStringLiteral(" ");
        {
            dao::StatementLease s = db_.lease(kFullNameSql);
            if (memberId.type() == vb::Type::Long)
                s->bind(1, memberId.asLong());
            else
                s->bind(1, key);  // stored by another tool: as text, which the key turns into a number if it reads as one
            if (s->step())
                name = s->text(0);
        }
        // Names of a page's donors are asked again as neighbouring pages are laid out.
        if (names_.size() > 4096)
            names_.clear();
        names_.insert(key, name);
        return name;
    }

    void readEveryName()
    {
        QHash<std::int64_t, QString> all;
        dao::StatementLease s = db_.lease(kEveryNameSql);
        while (s->step())
            all.insert(s->int64(0), s->text(1));
        everyName_ = std::move(all);
        names_.clear();
    }

    dao::Database& db_;
    RecordsetRows rows_;
    QStringList fields_;
    int member_;
    QHash<QString, QString> names_;                        // asked one by one, by the key as text
    std::optional<QHash<std::int64_t, QString>> everyName_;  // every member's, once read
    int lookups_ = 0;
};

// The destinations once each, letter case aside, in the list's order.
QStringList distinct(const QStringList& destinations)
{
    QStringList kept;
    for (const QString& d : destinations)
        if (std::none_of(kept.cbegin(), kept.cend(), [&](const QString& k) { return jet::compareFolded(k, d) == 0; }))
            kept << d;
    return kept;
}

} // namespace

QString categoryWhere(const QStringList& destinations, const QString& dateClause)
{
    QStringList named;
    for (const QString& d : distinct(destinations))
        named << QStringLiteral("[Destination] = ") + jet::quoted(d);
    const QString chosen = named.isEmpty() ? QStringLiteral("False") : QStringLiteral("(%1)").arg(named.join(QStringLiteral(" OR ")));
    const QString range = dateClause.trimmed();
    if (range.isEmpty())
        return QStringLiteral(" WHERE ") + chosen;
    // The date clause begins with WHERE: the destinations join its condition.
    return QStringLiteral(" WHERE %1 AND (%2) ").arg(chosen, range.mid(5).trimmed());
}

std::shared_ptr<report::DataSource> openCategoryRows(dao::Database& db, const QStringList& destinations, const QString& dateClause)
{
    // Equal dates in the order the destinations stand in the list: each destination's place,
    // counted from 0, as the sum of the comparisons that hold (1 for true in the translation).
    const QStringList chosen = distinct(destinations);
    QStringList places;
    for (qsizetype i = 1; i < chosen.size(); ++i)
        places << QStringLiteral("([Destination] = %1) * %2").arg(jet::quoted(chosen[i])).arg(i);
    const QString order = places.isEmpty() ? QString() : QStringLiteral(", ") + places.join(QStringLiteral(" + "));
    // Equal dates and places keep record order: the key sort breaks ties by the key.
    return std::make_shared<DonationRows>(
        db, db.openRecordset(QStringLiteral("SELECT * FROM Payments") + categoryWhere(destinations, dateClause)
                             + QStringLiteral(" ORDER BY [PaymentDate]") + order));
}

std::shared_ptr<report::DataSource> openAccountantRows(dao::Database& db, const QString& dateClause)
{
    // Equal dates keep record order, the order the work table was written in.
    return std::make_shared<DonationRows>(
        db, db.openRecordset(QStringLiteral("SELECT * FROM Payments ") + dateClause + QStringLiteral(" ORDER BY [PaymentDate]")));
}

} // namespace reports
