// The shaped command's reader on any text: it reads it or raises its syntax error (3141, or the
// tokenizer's 3075), nothing else. What it reads, written again in plain form, reads the same. And a command that
// reads is run on the program's tables: it opens or raises a database error the engine did not
// make, and every parent's child count from the grouped pass equals the rows its narrowed child
// query gives.
#include "fuzz_support.h"
#include "platform/dao/database.h"
#include "platform/jet/db_error.h"
#include "reports/shape_command.h"
#include "reports/shaped_recordset.h"

#include <QStringList>
#include <exception>
#include <memory>

namespace {

QString bracketed(const QString& name)
{
    return u'[' + name + u']';
}

QString plainForm(const reports::ShapeCommand& s)
{
    QStringList appended;
    for (const reports::ShapeChild& c : s.children) {
        QStringList relations;
        for (const reports::ShapeRelation& r : c.relations)
            relations << bracketed(r.parentField) + QStringLiteral(" TO ") + bracketed(r.childField);
        appended << QStringLiteral("({%1} AS %2 RELATE %3)").arg(c.command, bracketed(c.alias), relations.join(QStringLiteral(", ")));
    }
    for (const reports::ShapeAggregate& a : s.aggregates)
        appended << QStringLiteral("%1(%2.%3) AS %4").arg(a.function, bracketed(a.member), bracketed(a.field), bracketed(a.name));
    return QStringLiteral("SHAPE {%1} APPEND %2").arg(s.parent, appended.join(QStringLiteral(", ")));
}

bool same(const reports::ShapeCommand& a, const reports::ShapeCommand& b)
{
    if (a.parent != b.parent || a.children.size() != b.children.size() || a.aggregates.size() != b.aggregates.size())
        return false;
    for (std::size_t i = 0; i < a.children.size(); ++i) {
        const auto &x = a.children[i], &y = b.children[i];
        if (x.command != y.command || x.alias != y.alias || x.relations.size() != y.relations.size())
            return false;
        for (std::size_t j = 0; j < x.relations.size(); ++j)
            if (x.relations[j].parentField != y.relations[j].parentField || x.relations[j].childField != y.relations[j].childField)
                return false;
    }
    for (std::size_t i = 0; i < a.aggregates.size(); ++i) {
        const auto &x = a.aggregates[i], &y = b.aggregates[i];
        if (x.function != y.function || x.member != y.member || x.field != y.field || x.name != y.name)
            return false;
    }
    return true;
}

void run(const std::shared_ptr<dao::Database>& db, const QString& text)
{
    try {
        reports::ShapedRecordset rows(db, text);
        const int parents = rows.count();
        const QStringList fields = rows.fieldNames();
        for (int p = 0; p < parents && p < 64; ++p) {
            fuzzing::require(rows.row(p).size() == static_cast<std::size_t>(fields.size()), "a parent row of the wrong width", text);
            for (const QString& member : rows.memberNames()) {
                const int counted = rows.childCount(p, member);
                const int read = rows.children(p, member)->count();
                if (counted != read)
                    fuzzing::broken("the grouped count differs from the child rows read", text + QStringLiteral(" parent %1: %2 vs %3")
                                                                                             .arg(p).arg(counted).arg(read));
            }
        }
    } catch (const jet::DbError& e) {
        if (e.number() == jet::err::EngineError)
            fuzzing::broken("the engine refused what the dialect wrote", text + QStringLiteral(" -> ") + e.reason());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const auto db = std::make_shared<dao::Database>(QStringLiteral(":memory:"), fuzzing::programConnection(), true);
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    reports::ShapeCommand read;
    try {
        read = reports::parseShapeCommand(text);
    } catch (const jet::DbError& e) {
        // 3141 from the reader, or the dialect tokenizer's 3075 for a character it cannot read
        // between the queries
        fuzzing::require(e.number() == jet::err::SyntaxErrorInQuery || e.number() == jet::err::SyntaxErrorInExpression,
                         "a refusal with another number", text + QStringLiteral(" -> ") + e.reason());
        return 0;
    }
    const QString plain = plainForm(read);
    try {
        fuzzing::require(same(reports::parseShapeCommand(plain), read), "the plain form reads otherwise", text + u'\n' + plain);
    } catch (const jet::DbError& e) {
        fuzzing::broken("the plain form does not read", text + u'\n' + plain + QStringLiteral(" -> ") + e.reason());
    }
    run(db, text);
    return 0;
}
