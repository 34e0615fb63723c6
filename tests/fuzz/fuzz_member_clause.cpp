// The member filter's condition from any nine box texts: either a refusal, or a condition that
// the dialect translates and the file runs, never both and never a database error. Boxes that
// are all empty remove the filter.
#include "fuzz_support.h"
#include "filters/member_clause.h"
#include "platform/jet/db_error.h"
#include "platform/jet/translator.h"
#include "schema/queries.h"

#include <exception>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static fuzzing::ProgramFile file;
    FuzzedDataProvider in(data, size);
    std::array<QString, filters::kMemberBoxes> boxes;
    bool allEmpty = true;
    for (QString& box : boxes) {
        box = in.ConsumeBool() ? fuzzing::text(in) : QString();
        allEmpty = allEmpty && box.isEmpty();
    }
    QString shown;
    for (const QString& box : boxes)
        shown += box + u'|';

    const filters::MemberCondition m = filters::memberCondition(boxes);
    fuzzing::require(m.refusal.isEmpty() || m.condition.isEmpty(), "a refusal with a condition", shown);
    if (allEmpty)
        fuzzing::require(m.refusal.isEmpty() && m.condition.isEmpty(), "empty boxes do not remove the filter", shown);
    if (!m.refusal.isEmpty() || m.condition.isEmpty())
        return 0;
    fuzzing::require(m.condition.endsWith(u' ') && !m.condition.endsWith(QStringLiteral("  ")),
                     "the condition does not end with one blank", m.condition);
    const QString query = db::kAllMembersQuery + QStringLiteral("WHERE ") + m.condition;
    try {
        const jet::SelectPlan plan = jet::translateSelect(query, file.catalog);
        file.run(plan.updatable ? plan.keySql() : plan.sql());
    } catch (const jet::DbError& e) {
        fuzzing::broken("the condition does not run", query + QStringLiteral(" -> ") + e.reason());
    }
    return 0;
}
