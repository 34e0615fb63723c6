#include "reports/csv_export.h"

#include "platform/dao/database.h"
#include "platform/dao/sqlite.h"
#include "platform/jet/translator.h"
#include "platform/vb/format.h"
#include "reports/csv_writer.h"
#include "reports/fund_totals.h"
#include "schema/csv_text.h"
#include "schema/schema.h"

#include <QSaveFile>
#include <algorithm>
#include "platform/jet/db_error.h"
#include <sqlcipher/sqlite3.h>
#include <string_view>

namespace reports {

namespace {

// Progress is told this often: enough for a moving bar, too seldom to cost anything.
constexpr std::int64_t kProgressEvery = 4096;

std::string_view utf8Of(const sqlite::Statement& s, int column)
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(s.handle(), column));
    const int bytes = sqlite3_column_bytes(s.handle(), column);
    return text ? std::string_view(text, static_cast<std::size_t>(bytes)) : std::string_view();
}

// A value as its column's type shows it; what the file holds in another form (a number in a
// text column, a text in a number column) is written as it is stored.
void writeValue(csv::Writer& out, const sqlite::Statement& s, int column, jet::FieldType type)
{
    const int stored = sqlite3_column_type(s.handle(), column);
    if (stored == SQLITE_NULL) {
        out.empty();
        return;
    }
    switch (type) {
    case jet::FieldType::Currency:
        if (stored == SQLITE_INTEGER)
            return out.amount(s.int64(column));
        break;
    case jet::FieldType::Date:
        // A date never begins like a formula; a text that does (a damaged or crafted file) is
        // written as the text it is, guarded.
        if (stored == SQLITE_TEXT && !db::csvtext::needsGuard(utf8Of(s, column)))
            return out.date(utf8Of(s, column));
        break;
    case jet::FieldType::Counter:
    case jet::FieldType::Long:
    case jet::FieldType::Boolean:
        if (stored == SQLITE_INTEGER)
            return out.integer(s.int64(column));
        break;
    case jet::FieldType::Double:
        if (stored == SQLITE_FLOAT || stored == SQLITE_INTEGER)
            return out.real(s.real(column));
        break;
    case jet::FieldType::Text:
    case jet::FieldType::Memo:
        break;
    }
    if (stored == SQLITE_INTEGER)
        out.integer(s.int64(column));
    else if (stored == SQLITE_FLOAT)
        out.real(s.real(column));
    else
        out.text(utf8Of(s, column));
}

std::int64_t countOf(dao::Database& db, const QString& sql)
{
    sqlite::Statement count = db.connection().prepare(sql);
    return count.step() ? count.int64(0) : 0;
}

// The statement's columns are the plan's, in the order the plan lists them.
std::vector<CsvColumn> columnsOf(const jet::SelectPlan& plan)
{
    std::vector<CsvColumn> columns;
    for (const jet::ResultColumn& c : plan.columns)
        columns.push_back({c.name, c.type});
    return columns;
}

QString fromClause(const jet::SelectPlan& plan)
{
    QString s = QStringLiteral(" FROM ") + jet::quotedName(plan.table);
    if (!plan.where.isEmpty())
        s += QStringLiteral(" WHERE ") + plan.where;
    return s;
}

} // namespace

ExportResult writeCsvFile(const QString& path, const std::vector<CsvColumn>& columns, sqlite::Statement& rows,
                          std::int64_t total, const ExportProgress& progress, std::int64_t* written)
{
    if (written)
        *written = 0;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw csv::WriteError(file.errorString());
    csv::Writer out(file);
    out.byteOrderMark();
    for (const CsvColumn& c : columns)
        out.text(c.header);
    out.endLine();

    const int count = static_cast<int>(columns.size());
    std::vector<int> sources;
    for (int i = 0; i < count; ++i) {
        const int source = columns[static_cast<std::size_t>(i)].source;
        sources.push_back(source < 0 ? i : source);
    }
    std::int64_t done = 0;
    if (progress && !progress(0, total)) {
        file.cancelWriting();
        return ExportResult::Cancelled;
    }
    while (rows.step()) {
        for (int i = 0; i < count; ++i)
            writeValue(out, rows, sources[static_cast<std::size_t>(i)], columns[static_cast<std::size_t>(i)].type);
        out.endLine();
        if (++done % kProgressEvery == 0 && progress && !progress(done, total)) {
            file.cancelWriting();
            return ExportResult::Cancelled;
        }
    }
    out.flush();
    if (progress && !progress(done, total)) {
        file.cancelWriting();
        return ExportResult::Cancelled;
    }
    if (!file.commit())
        throw csv::WriteError(file.errorString());
    if (written)
        *written = done;
    return ExportResult::Written;
}

ExportResult exportMembers(dao::Database& db, const QString& path, const ExportProgress& progress, std::int64_t* written)
{
    std::vector<CsvColumn> columns;
    QStringList names;
    for (const db::ColumnDef& c : db::memberColumns()) {
        columns.push_back({QString::fromLatin1(c.name), c.type});
        names << jet::quotedName(QString::fromLatin1(c.name));
    }
    const std::int64_t total = countOf(db, QStringLiteral("SELECT count(*) FROM Members"));
    sqlite::Statement rows = db.connection().prepare(
        QStringLiteral("SELECT %1 FROM Members ORDER BY MemberID").arg(names.join(QStringLiteral(", "))));
    return writeCsvFile(path, columns, rows, total, progress, written);
}

ExportResult exportQuery(dao::Database& db, const jet::SelectPlan& plan, const QString& path,
                         const ExportProgress& progress, std::int64_t* written)
{
    const std::int64_t total = countOf(db, QStringLiteral("SELECT count(*)") + fromClause(plan));
    // Where the record set reads its keys after a scan and a sort, the rows are best read so too.
    const QString& order = plan.keysFirst ? plan.orderBySorting : plan.orderBy;
    QString sql = QStringLiteral("SELECT %1%2").arg(plan.distinct ? QStringLiteral("DISTINCT ") : QString(), plan.selectList)
                  + fromClause(plan);
    if (!order.isEmpty())
        sql += QStringLiteral(" ORDER BY ") + order;
    sqlite::Statement rows = db.connection().prepare(sql);
    return writeCsvFile(path, columnsOf(plan), rows, total, progress, written);
}

ExportResult exportDonations(dao::Database& db, const jet::SelectPlan& plan, const QString& path,
                             const ExportProgress& progress, std::int64_t* written)
{
    const auto member = std::find_if(plan.columns.begin(), plan.columns.end(), [](const jet::ResultColumn& c) {
        return c.sourceIndex >= 0 && c.name.compare(u"MemberID", Qt::CaseInsensitive) == 0;
    });
    // A Distinct query's rows would change with columns added to them.
    if (member == plan.columns.end() || plan.distinct || plan.table.compare(u"Payments", Qt::CaseInsensitive) != 0)
        return exportQuery(db, plan, path, progress, written);

    // The names come from a join that USING keeps out of the query's own terms: an unqualified
    // MemberID in its condition or order still means the donation's, and no other column is in
    // both tables. A donation whose member is gone gets empty names.
    const std::int64_t total = countOf(db, QStringLiteral("SELECT count(*)") + fromClause(plan));
    QString sql = QStringLiteral("SELECT %1, donor.FirstName, donor.LastName FROM %2 LEFT JOIN Members AS donor USING (MemberID)")
                      .arg(plan.selectList, jet::quotedName(plan.table));
    if (!plan.where.isEmpty())
        sql += QStringLiteral(" WHERE ") + plan.where;
    const QString& order = plan.keysFirst ? plan.orderBySorting : plan.orderBy;
    if (!order.isEmpty())
        sql += QStringLiteral(" ORDER BY ") + order;

    // The query's columns, then the two names, in the statement; in the file the names follow
    // the member number.
    std::vector<CsvColumn> columns;
    const int names = static_cast<int>(plan.columns.size());
    for (auto c = plan.columns.begin(); c != plan.columns.end(); ++c) {
        columns.push_back({c->name, c->type, static_cast<int>(c - plan.columns.begin())});
        if (c == member) {
            columns.push_back({QStringLiteral("FirstName"), jet::FieldType::Text, names});
            columns.push_back({QStringLiteral("LastName"), jet::FieldType::Text, names + 1});
        }
    }
    sqlite::Statement rows = db.connection().prepare(sql);
    return writeCsvFile(path, columns, rows, total, progress, written);
}

ExportResult exportFundTotals(dao::Database& db, std::optional<vb::DateTime> from, std::optional<vb::DateTime> to,
                              const QString& path, const ExportProgress& progress, std::int64_t* written)
{
    const std::optional<std::vector<FundTotal>> ordered =
        fundTotals(db, from, to, [&] { return !progress || progress(0, 0); });
    if (!ordered)
        return ExportResult::Cancelled;

    // The few lines go through the same writer and the same all-or-nothing file.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw csv::WriteError(file.errorString());
    csv::Writer out(file);
    out.byteOrderMark();
    out.text(QStringLiteral("Destination"));
    out.text(QStringLiteral("Count"));
    out.text(QStringLiteral("Total"));
    out.endLine();
    for (const FundTotal& fund : *ordered) {
        out.text(fund.name);
        out.integer(fund.count);
        if (!fund.anyAmount)
            out.empty();
        else if (const std::optional<vb::Currency> total = fund.total.value())
            out.amount(total->raw());
        else
            out.text(vb::notAvailable());
        out.endLine();
    }
    out.flush();
    if (progress && !progress(static_cast<std::int64_t>(ordered->size()), static_cast<std::int64_t>(ordered->size()))) {
        file.cancelWriting();
        return ExportResult::Cancelled;
    }
    if (!file.commit())
        throw csv::WriteError(file.errorString());
    if (written)
        *written = static_cast<std::int64_t>(ordered->size());
    return ExportResult::Written;
}

} // namespace reports
