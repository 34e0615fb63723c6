// The donation filter's clause from any criteria: either a refusal, or a clause (" WHERE ...",
// one blank at its end) that the dialect translates and the file runs, never both and never a
// database error; captions are texts of their own for every row.
#include "fuzz_support.h"
#include "filters/donation_clause.h"
#include "platform/jet/db_error.h"
#include "platform/jet/translator.h"

namespace {

const QString kSelect = QStringLiteral(
    "select [PaymentID],[PaymentAmount],[CheckNumber],[Destination],[PaymentDate], [MemberID] from [Payments] ");

QString anOperator(FuzzedDataProvider& in, std::initializer_list<const char*> items)
{
    const int pick = in.ConsumeIntegralInRange<int>(0, static_cast<int>(items.size()));
    if (pick == static_cast<int>(items.size()))
        return fuzzing::text(in, 12);  // what no list offers
    return QString::fromLatin1(items.begin()[pick]);
}

// Typed values, and now and then the kind the row reads, so that clauses get past their rows.
QString aValue(FuzzedDataProvider& in, int row)
{
    switch (in.ConsumeIntegralInRange<int>(0, 3)) {
    case 0: return QString::number(in.ConsumeIntegral<std::int64_t>());
    case 1:
        if (row >= 5)
            return QStringLiteral("%1/%2/%3")
                .arg(in.ConsumeIntegralInRange<int>(0, 13)).arg(in.ConsumeIntegralInRange<int>(0, 32))
                .arg(in.ConsumeIntegralInRange<int>(0, 10000));
        return QString::number(in.ConsumeFloatingPoint<double>(), 'g', in.ConsumeIntegralInRange<int>(1, 20));
    default: return fuzzing::text(in, 40);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static fuzzing::ProgramFile file;
    FuzzedDataProvider in(data, size);
    filters::DonationCriteria c;
    c.operators = {anOperator(in, {"", "=", ">", "<"}), anOperator(in, {"", "=", ">", "<"}),
                   anOperator(in, {"", "Exactly", "Contains"}), anOperator(in, {"", "=", ">", "<", "From"})};
    for (int i = 0; i < 7; ++i)
        c.values[static_cast<std::size_t>(i)] = in.ConsumeBool() ? aValue(in, i) : QString();
    c.ranges = {in.ConsumeBool(), in.ConsumeBool()};
    QString shown = c.operators[0] + u'|' + c.operators[1] + u'|' + c.operators[2] + u'|' + c.operators[3];
    for (const QString& v : c.values)
        shown += u'|' + v;

    const filters::DonationClause d = filters::donationClause(c);
    fuzzing::require(d.refusal.isEmpty() || d.filter.isEmpty(), "a refusal with a clause", shown);
    if (!d.refusal.isEmpty() || d.filter.isEmpty())
        return 0;
    fuzzing::require(d.filter.startsWith(QStringLiteral(" WHERE ")) && d.filter.endsWith(u' ')
                         && !d.filter.endsWith(QStringLiteral("  ")),
                     "the clause is not \" WHERE ...\" with one blank at its end", d.filter);
    const QString query = kSelect + d.filter + QStringLiteral(" Order by  PaymentDate");
    try {
        const jet::SelectPlan plan = jet::translateSelect(query, file.catalog);
        file.run(plan.updatable ? plan.keySql() : plan.sql());
    } catch (const jet::DbError& e) {
        fuzzing::broken("the clause does not run", query + QStringLiteral(" -> ") + e.reason());
    }
    return 0;
}
