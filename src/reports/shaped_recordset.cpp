#include "reports/shaped_recordset.h"

#include "platform/dao/database.h"
#include "platform/dao/field_codec.h"
#include "platform/dao/sqlite.h"
#include "platform/jet/db_error.h"
#include "platform/jet/tokenizer.h"
#include "platform/jet/translator.h"
#include "platform/report/memory_source.h"
#include "platform/vb/format.h"
#include "reports/recordset_rows.h"

#include <sqlcipher/sqlite3.h>

#include <QHash>
#include <cmath>
#include <optional>

namespace reports {

namespace {

[[noreturn]] void notFound(const QString& field, const QString& where)
{
    throw jet::DbError(jet::err::ItemNotFound, QStringLiteral("Item not found in this collection: the field '%1' of %2.").arg(field, where));
}

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The value of a relation as a key that the parent's and the child's side share: numbers of
// every type alike, texts with their letter case folded, as the database compares them.
QString keyOf(const std::vector<vb::Value>& values)
{
    QString key;
    for (const vb::Value& v : values) {
        switch (v.type()) {
        case vb::Type::Null: return {};  // a null relates to nothing
        case vb::Type::Text: key += u'T' + v.asText().toCaseFolded(); break;
        case vb::Type::Date: key += u'D' + v.asDate().toIso(); break;
        case vb::Type::Boolean: key += u'N' + QString::number(v.asBool() ? -1 : 0); break;
        case vb::Type::Long: key += u'N' + QString::number(v.asLong()); break;
        case vb::Type::Currency: key += u'N' + v.asCurrency().toString(); break;
        case vb::Type::Double: key += u'N' + QString::number(v.asDouble(), 'g', 17); break;
        }
        key += QChar(0x1F);
    }
    return key;
}

// A value as a literal of the dialect.
QString literalOf(const vb::Value& v)
{
    switch (v.type()) {
    case vb::Type::Null: break;
    case vb::Type::Boolean: return v.asBool() ? QStringLiteral("True") : QStringLiteral("False");
    case vb::Type::Long: return QString::number(v.asLong());
    case vb::Type::Currency: return v.asCurrency().toString();
    case vb::Type::Double: return QString::number(v.asDouble(), 'g', 17);
    case vb::Type::Date: return u'#' + vb::generalDate(v.asDate()) + u'#';
    case vb::Type::Text: return jet::quoted(v.asText());
    }
    return QStringLiteral("Null");
}

// The query with `condition` joined to its own, its order kept: the condition goes before the
// WHERE's own (both in parentheses), or becomes the WHERE before ORDER BY.
QString narrowed(const QString& query, const QString& condition)
{
    const std::vector<jet::Token> tokens = jet::tokenize(query);
    if (tokens.empty() || !tokens.front().isKeyword(u"SELECT"))
        return QStringLiteral("SELECT * FROM %1 WHERE %2").arg(query.trimmed(), condition);  // a table name
    const jet::Token* where = nullptr;
    qsizetype order = query.size();
    for (std::size_t i = 0; i + 1 < tokens.size(); ++i) {
        if (!where && tokens[i].isKeyword(u"WHERE"))
            where = &tokens[i];
        if (tokens[i].isKeyword(u"ORDER") && tokens[i + 1].isKeyword(u"BY")) {
            order = tokens[i].offset;
            break;
        }
    }
    const QString rest = query.mid(order);
    if (!where)
        return QStringLiteral("%1 WHERE %2 %3").arg(query.left(order).trimmed(), condition, rest).trimmed();
    const qsizetype own = where->offset + where->text.size();
    return QStringLiteral("%1WHERE (%2) AND (%3) %4")
        .arg(query.left(where->offset), condition, query.mid(own, order - own).trimmed(), rest)
        .trimmed();
}

} // namespace

struct ShapedRecordset::Child {
    ShapeChild shape;
    jet::SelectPlan plan;
    QStringList fields;
    std::vector<int> parentFields;   // of each relation, in the parent's fields
    std::vector<QString> columns;    // of each relation, the child table's column
    std::vector<int> counts;         // child rows of each parent
    struct Sum {
        std::size_t aggregate;       // in the command's aggregates
        QString column;
        jet::FieldType type;
        std::vector<vb::Value> totals;  // of each parent; null without child rows
    };
    std::vector<Sum> sums;
    std::vector<std::vector<vb::Value>> keys;  // the relation's values of each parent
};

ShapedRecordset::ShapedRecordset(std::shared_ptr<dao::Database> database, const QString& shapedCommand)
    : db_(std::move(database)), command_(parseShapeCommand(shapedCommand))
{
    parents_ = db_->openRecordset(command_.parent);
    parentFields_ = fieldNamesOf(*parents_);
    parentCount_ = parents_->positionCount();
    fields_ = parentFields_;
    for (const ShapeAggregate& a : command_.aggregates)
        fields_ << a.name;
    for (const ShapeChild& c : command_.children)
        openChild(c);
    readParentKeys();
    for (auto& c : children_)
        readGroups(*c);
}

ShapedRecordset::~ShapedRecordset() = default;

void ShapedRecordset::openChild(const ShapeChild& shape)
{
    auto c = std::make_unique<Child>();
    c->shape = shape;
    {
        // Opening checks the query and gives its translation; its rows are read per parent.
        std::unique_ptr<dao::Recordset> probe = db_->openRecordset(shape.command);
        c->plan = probe->plan();
        c->fields = fieldNamesOf(*probe);
    }
    const jet::Table* table = db_->catalog().find(c->plan.table);
    if (!table)
        throw jet::DbError(jet::err::TableNotFound, QStringLiteral("The table '%1' is not found.").arg(c->plan.table));
    auto columnOf = [&](const QString& field, const QString& what) {
        for (const jet::ResultColumn& rc : c->plan.columns)
            if (sameName(rc.name, field)) {
                if (rc.sourceIndex < 0)
                    throw jet::DbError(jet::err::SyntaxErrorInQuery,
                                       QStringLiteral("%1 '%2' of '%3' is computed; it must be a field of the table.").arg(what, field, shape.alias));
                return table->columns[static_cast<std::size_t>(rc.sourceIndex)];
            }
        notFound(field, QStringLiteral("the child rows '%1'").arg(shape.alias));
    };
    for (const ShapeRelation& r : shape.relations) {
        int index = -1;
        for (qsizetype i = 0; i < parentFields_.size() && index < 0; ++i)
            if (sameName(parentFields_[i], r.parentField))
                index = static_cast<int>(i);
        if (index < 0)
            notFound(r.parentField, QStringLiteral("the parent rows"));
        c->parentFields.push_back(index);
        c->columns.push_back(columnOf(r.childField, QStringLiteral("The related field")).name);
    }
    for (std::size_t a = 0; a < command_.aggregates.size(); ++a) {
        const ShapeAggregate& agg = command_.aggregates[a];
        if (!sameName(agg.member, shape.alias))
            continue;
        const jet::Column column = columnOf(agg.field, QStringLiteral("The summed field"));
        switch (column.type) {
        case jet::FieldType::Counter:
        case jet::FieldType::Long:
        case jet::FieldType::Currency:
        case jet::FieldType::Double:
        case jet::FieldType::Boolean:
            break;
        case jet::FieldType::Date:
        case jet::FieldType::Text:
        case jet::FieldType::Memo:
            throw jet::DbError(jet::err::TypeMismatch,
                               QStringLiteral("Type mismatch: SUM of '%1.%2', which holds no numbers.").arg(shape.alias, agg.field));
        }
        c->sums.push_back(Child::Sum{a, column.name, column.type, {}});
    }
    children_.push_back(std::move(c));
}

void ShapedRecordset::readParentKeys()
{
    for (auto& c : children_)
        c->keys.resize(static_cast<std::size_t>(parentCount_));
    for (int p = 0; p < parentCount_; ++p) {
        const std::optional<std::vector<vb::Value>> row = parents_->rowAt(p);
        for (auto& c : children_) {
            std::vector<vb::Value>& values = c->keys[static_cast<std::size_t>(p)];
            for (int f : c->parentFields)
                values.push_back(row ? (*row)[static_cast<std::size_t>(f)] : vb::Value());
        }
    }
}

namespace {

// The sum of one field over a parent's child rows, exact for money and whole numbers: they add
// in 128 bits, so no number of rows overflows on the way. A total beyond the column's range, or
// one over a value that is no number (a file changed by another tool), is "Not Available".
class FieldSum {
public:
    explicit FieldSum(jet::FieldType type) : type_(type) {}

    void add(const vb::Value& v)
    {
        if (v.isNull())
            return;
        any_ = true;
        switch (v.type()) {
        case vb::Type::Currency: whole_.addRaw(v.asCurrency().raw()); return;
        case vb::Type::Long: whole_.addRaw(v.asLong()); return;
        case vb::Type::Boolean: whole_.addRaw(v.asBool() ? -1 : 0); return;
        case vb::Type::Double: real_ += v.asDouble(); return;
        case vb::Type::Null:
        case vb::Type::Date:
        case vb::Type::Text: whole_.spoil(); return;
        }
    }

    // A whole number as the column stores it: ten-thousandths for currency.
    void addStored(std::int64_t n)
    {
        any_ = true;
        if (type_ == jet::FieldType::Double)
            real_ += static_cast<double>(n);
        else
            whole_.addRaw(n);
    }

    // Null when no child row had a value, as SUM gives.
    vb::Value value() const
    {
        if (!any_)
            return {};
        const std::optional<vb::Currency> whole = whole_.value();
        if (!whole)
            return vb::notAvailable();
        switch (type_) {
        case jet::FieldType::Currency: return *whole;
        case jet::FieldType::Double: return real_ + static_cast<double>(whole->raw());
        case jet::FieldType::Counter:
        case jet::FieldType::Long:
        case jet::FieldType::Boolean:
        case jet::FieldType::Date:
        case jet::FieldType::Text:
        case jet::FieldType::Memo: break;
        }
        return whole->raw();
    }

private:
    jet::FieldType type_;
    bool any_ = false;
    vb::CurrencySum whole_;  // whole numbers, or ten-thousandths for money
    double real_ = 0;
};

struct Group {
    int count = 0;
    std::vector<FieldSum> sums;
};

} // namespace

namespace {

// The whole number a relation value stands for, when it is one.
std::optional<std::int64_t> wholeNumber(const vb::Value& v)
{
    switch (v.type()) {
    case vb::Type::Long: return v.asLong();
    case vb::Type::Boolean: return v.asBool() ? -1 : 0;
    case vb::Type::Currency:
        if (v.asCurrency().raw() % vb::Currency::Scale == 0)
            return v.asCurrency().raw() / vb::Currency::Scale;
        break;
    case vb::Type::Double:
        if (std::trunc(v.asDouble()) == v.asDouble() && std::abs(v.asDouble()) < 9e18)
            return static_cast<std::int64_t>(v.asDouble());
        break;
    case vb::Type::Null:
    case vb::Type::Date:
    case vb::Type::Text: break;
    }
    return std::nullopt;
}

bool isWholeNumberColumn(jet::FieldType type)
{
    return type == jet::FieldType::Long || type == jet::FieldType::Counter || type == jet::FieldType::Boolean;
}

} // namespace

void ShapedRecordset::readGroups(Child& c)
{
    // One pass over the child query's rows (its own translation, without its order), counted and
    // summed by relation value here: the dialect has no GROUP BY, and a grouped SQLite query
    // would walk the relation's index and fetch every row by key, several times slower than a
    // scan of the table. A relation of one whole-number field (MemberID) is grouped by the
    // number itself; any other by a key text of its values.
    QStringList columns;
    for (const QString& column : c.columns)
        columns << jet::quotedName(column);
    for (const Child::Sum& s : c.sums)
        columns << jet::quotedName(s.column);
    QString sql = QStringLiteral("SELECT %1 FROM %2").arg(columns.join(QStringLiteral(", ")), jet::quotedName(c.plan.table));
    if (!c.plan.where.isEmpty())
        sql += QStringLiteral(" WHERE ") + c.plan.where;

    const jet::Table* table = db_->catalog().find(c.plan.table);
    std::vector<jet::FieldType> keyTypes;
    for (const QString& column : c.columns)
        keyTypes.push_back(table->find(column)->type);
    const int keyCount = static_cast<int>(c.columns.size());
    const bool byNumber = keyCount == 1 && isWholeNumberColumn(keyTypes.front());
    Group empty;
    for (const Child::Sum& s : c.sums)
        empty.sums.emplace_back(s.type);

    QHash<std::int64_t, Group> byWhole;
    QHash<QString, Group> byText;
    sqlite::Statement statement = db_->connection().prepare(sql);
    std::vector<vb::Value> key(static_cast<std::size_t>(keyCount));
    while (statement.step()) {
        Group* g = nullptr;
        if (byNumber) {
            if (statement.isNull(0))
                continue;
            auto it = byWhole.find(statement.int64(0));
            if (it == byWhole.end())
                it = byWhole.insert(statement.int64(0), empty);
            g = &*it;
        } else {
            for (int k = 0; k < keyCount; ++k)
                key[static_cast<std::size_t>(k)] = dao::readField(statement, k, keyTypes[static_cast<std::size_t>(k)]);
            const QString text = keyOf(key);
            if (text.isEmpty())
                continue;
            auto it = byText.find(text);
            if (it == byText.end())
                it = byText.insert(text, empty);
            g = &*it;
        }
        ++g->count;
        for (std::size_t s = 0; s < c.sums.size(); ++s) {
            const int column = keyCount + static_cast<int>(s);
            if (statement.columnType(column) == SQLITE_INTEGER)
                g->sums[s].addStored(statement.int64(column));
            else
                g->sums[s].add(dao::readField(statement, column, c.sums[s].type));
        }
    }

    c.counts.assign(static_cast<std::size_t>(parentCount_), 0);
    for (Child::Sum& s : c.sums)
        s.totals.assign(static_cast<std::size_t>(parentCount_), vb::Value());
    for (int p = 0; p < parentCount_; ++p) {
        const std::vector<vb::Value>& values = c.keys[static_cast<std::size_t>(p)];
        const Group* g = nullptr;
        if (byNumber) {
            if (const std::optional<std::int64_t> n = wholeNumber(values.front()))
                if (auto it = byWhole.constFind(*n); it != byWhole.constEnd())
                    g = &*it;
        } else if (const QString text = keyOf(values); !text.isEmpty()) {
            if (auto it = byText.constFind(text); it != byText.constEnd())
                g = &*it;
        }
        if (!g)
            continue;
        c.counts[static_cast<std::size_t>(p)] = g->count;
        for (std::size_t s = 0; s < c.sums.size(); ++s)
            c.sums[s].totals[static_cast<std::size_t>(p)] = g->sums[s].value();
    }
}

std::vector<vb::Value> ShapedRecordset::row(int index)
{
    if (index < 0 || index >= parentCount_)
        throw jet::DbError(jet::err::NoCurrentRecord, QStringLiteral("No current record."));
    std::optional<std::vector<vb::Value>> parent = parents_->rowAt(index);
    std::vector<vb::Value> values = parent ? std::move(*parent) : std::vector<vb::Value>(static_cast<std::size_t>(parentFields_.size()));
    values.resize(static_cast<std::size_t>(fields_.size()));
    for (const auto& c : children_)
        for (const Child::Sum& s : c->sums)
            values[static_cast<std::size_t>(parentFields_.size()) + s.aggregate] = s.totals[static_cast<std::size_t>(index)];
    return values;
}

ShapedRecordset::Child& ShapedRecordset::child(const QString& member)
{
    return const_cast<Child&>(static_cast<const ShapedRecordset*>(this)->child(member));
}

const ShapedRecordset::Child& ShapedRecordset::child(const QString& member) const
{
    for (const auto& c : children_)
        if (sameName(c->shape.alias, member))
            return *c;
    throw jet::DbError(jet::err::ItemNotFound, QStringLiteral("Item not found in this collection: the child rows '%1'.").arg(member));
}

QStringList ShapedRecordset::memberNames() const
{
    QStringList names;
    for (const auto& c : children_)
        names << c->shape.alias;
    return names;
}

QStringList ShapedRecordset::memberFieldNames(const QString& member) const
{
    return child(member).fields;
}

int ShapedRecordset::childCount(int parent, const QString& member)
{
    const Child& c = child(member);
    if (parent < 0 || parent >= parentCount_)
        return 0;
    return c.counts[static_cast<std::size_t>(parent)];
}

QString ShapedRecordset::childQuery(int parent, const QString& member)
{
    Child& c = child(member);
    std::optional<std::vector<vb::Value>> row = parents_->rowAt(parent);
    QStringList conditions;
    for (std::size_t r = 0; r < c.columns.size(); ++r) {
        const vb::Value value = row ? (*row)[static_cast<std::size_t>(c.parentFields[r])] : vb::Value();
        if (value.isNull())
            return {};
        conditions << QStringLiteral("[%1] = %2").arg(c.columns[r], literalOf(value));
    }
    return narrowed(c.shape.command, conditions.join(QStringLiteral(" AND ")));
}

std::unique_ptr<report::Rows> ShapedRecordset::children(int parent, const QString& member)
{
    const Child& c = child(member);
    if (parent < 0 || parent >= parentCount_ || c.counts[static_cast<std::size_t>(parent)] == 0)
        return std::make_unique<report::MemoryRows>(c.fields, std::vector<std::vector<vb::Value>>{});
    const QString query = childQuery(parent, member);
    if (query.isEmpty())
        return std::make_unique<report::MemoryRows>(c.fields, std::vector<std::vector<vb::Value>>{});
    return std::make_unique<RecordsetRows>(db_->openRecordset(query));
}

} // namespace reports
