#include "recordset.h"

#include "recordset_impl.h"

namespace dao {


Recordset::Recordset(std::shared_ptr<Database> db, jet::SelectPlan plan)
    : impl_(std::make_unique<Impl>()), plan_(std::move(plan))
{
    impl_->db = std::move(db);
    if (const jet::Table* t = impl_->db->catalog().find(plan_.table))
        impl_->table = *t;
    impl_->snapshot = !plan_.updatable;
    requery();
}

Recordset::~Recordset() = default;

void Recordset::requery()
{
    editMode_ = EditMode::None;
    impl_->pending.clear();
    if (impl_->snapshot)
        impl_->readSnapshot(plan_);
    else
        impl_->readKeys(plan_);
    impl_->position = impl_->size() > 0 ? 0 : -1;
}

void Recordset::close()
{
    impl_->abandonRead();
    impl_->keys.assign({});
    impl_->rows.clear();
    impl_->blocks.clear();
    impl_->singles.clear();
    impl_->fetchStatement = StatementLease();
    impl_->singleStatement = StatementLease();
    impl_->position = -1;
}

bool Recordset::isBOF() const
{
    return impl_->size() == 0 || impl_->position < 0;
}

bool Recordset::isEOF() const
{
    return impl_->size() == 0 || impl_->position >= impl_->size();
}

int Recordset::recordCount() const
{
    impl_->finishRead();  // exact, whatever has been visited
    return impl_->snapshot ? impl_->size() : impl_->keys.size() - impl_->keys.deletedCount();
}

int Recordset::positionCount() const
{
    impl_->finishRead();
    return impl_->size();
}

bool Recordset::isDeletedAt(int position) const
{
    return !impl_->snapshot && position >= 0 && impl_->ensure(position) && impl_->keys.isDeleted(position);
}

int Recordset::absolutePosition() const
{
    return isBOF() || isEOF() ? -1 : impl_->position;
}

void Recordset::setAbsolutePosition(int position)
{
    if (position < 0 || !impl_->ensure(position))
        throw jet::DbError(jet::err::NoCurrentRecord, QStringLiteral("No current record."));
    editMode_ = EditMode::None;
    impl_->position = position;
}


void Recordset::moveFirst()
{
    if (impl_->size() == 0)
        rowcache::noCurrentRecord();
    editMode_ = EditMode::None;
    impl_->position = impl_->skipDeleted(0, 1);
}

void Recordset::moveLast()
{
    impl_->finishRead();
    if (impl_->size() == 0)
        rowcache::noCurrentRecord();
    editMode_ = EditMode::None;
    impl_->position = impl_->skipDeleted(impl_->size() - 1, -1);
}

void Recordset::moveNext()
{
    if (isEOF())
        rowcache::noCurrentRecord();
    editMode_ = EditMode::None;
    impl_->position = impl_->skipDeleted(impl_->position + 1, 1);
}

void Recordset::movePrevious()
{
    if (isBOF())
        rowcache::noCurrentRecord();
    editMode_ = EditMode::None;
    impl_->position = impl_->skipDeleted(impl_->position - 1, -1);
}

void Recordset::findFirst(const QString& criterion)
{
    findFrom(criterion, 0);
}

void Recordset::findNext(const QString& criterion)
{
    findFrom(criterion, isBOF() ? 0 : impl_->position + 1);
}

void Recordset::findFrom(const QString& criterion, int start)
{
    if (impl_->snapshot)
        throw jet::DbError(jet::err::NotUpdatable, QStringLiteral("Operation is not supported for this type of object."));
    // A find is often repeated with other numbers but as often with the same text (a walk with
    // findNext); translating costs as much as the look-up itself, so recent texts are kept.
    auto known = impl_->criteria.constFind(criterion);
    if (known == impl_->criteria.constEnd()) {
        if (impl_->criteria.size() >= 32)
            impl_->criteria.clear();
        known = impl_->criteria.insert(criterion, jet::translateCriterion(criterion, impl_->table));
    }
    const QString condition = *known;
    impl_->finishRead();
    noMatch_ = true;
    if (start >= impl_->size())
        return;
    const QString table = jet::quotedName(plan_.table);
    int found = -1;
    if (impl_->keys.isAscending()) {
        // Keyset order is key order: ask the engine for matching keys from the start key up,
        // in order, a batch at a time; an index on the criterion makes this a look-up.
        const QString sql =
            QStringLiteral("SELECT rowid FROM %1 WHERE rowid >= ? AND (%2) ORDER BY rowid LIMIT 256").arg(table, condition);
        StatementLease lease = impl_->db->lease(sql);
        sqlite::Statement& s = *lease;
        std::int64_t from = impl_->keys.key(start);
        for (;;) {
            s.bind(1, from);
            int n = 0;
            std::int64_t last = from;
            while (found < 0 && s.step()) {
                ++n;
                last = s.int64(0);
                const int p = impl_->keys.positionOf(last);
                if (p >= start && !impl_->keys.isDeleted(p))
                    found = p;
            }
            s.reset();
            if (found >= 0 || n < 256)
                break;
            from = last + 1;
        }
    } else {
        std::vector<std::int64_t> candidates;
        auto s = impl_->connection().prepare(QStringLiteral("SELECT rowid FROM %1 WHERE %2").arg(table, condition));
        while (s.step())
            candidates.push_back(s.int64(0));
        found = impl_->keys.firstOf(candidates, start);
    }
    if (found >= 0) {
        editMode_ = EditMode::None;
        impl_->position = found;
        noMatch_ = false;
    }
}

void Recordset::addNew()
{
    if (!plan_.updatable)
        throw jet::DbError(jet::err::NotUpdatable, QStringLiteral("Cannot update. Database or object is read-only."));
    if (impl_->db->isReadOnly())
        throw jet::DbError(jet::err::ReadOnlyDatabase, QStringLiteral("Cannot update. Database or object is read-only."));
    editMode_ = EditMode::AddNew;
    impl_->pending.assign(plan_.columns.size(), std::nullopt);
}

void Recordset::edit()
{
    if (!plan_.updatable)
        throw jet::DbError(jet::err::NotUpdatable, QStringLiteral("Cannot update. Database or object is read-only."));
    if (impl_->db->isReadOnly())
        throw jet::DbError(jet::err::ReadOnlyDatabase, QStringLiteral("Cannot update. Database or object is read-only."));
    currentRow();  // raises for no current or a deleted row
    editMode_ = EditMode::Edit;
    impl_->pending.assign(plan_.columns.size(), std::nullopt);
}

void Recordset::setField(const QString& name, const vb::Value& value)
{
    const int i = fieldIndex(name);
    if (i < 0)
        throw jet::DbError(jet::err::ItemNotFound, QStringLiteral("Item not found in this collection: '%1'.").arg(name));
    setField(i, value);
}

void Recordset::setField(int index, const vb::Value& value)
{
    if (editMode_ == EditMode::None)
        throw jet::DbError(jet::err::UpdateWithoutEdit, QStringLiteral("Update or CancelUpdate without AddNew or Edit."));
    if (index < 0 || index >= fieldCount())
        throw jet::DbError(jet::err::ItemNotFound, QStringLiteral("Item not found in this collection."));
    const jet::ResultColumn& rc = plan_.columns[static_cast<std::size_t>(index)];
    const jet::Column* column = rc.sourceIndex >= 0 ? &impl_->table.columns[static_cast<std::size_t>(rc.sourceIndex)] : nullptr;
    if (!column || column->type == jet::FieldType::Counter)
        throw jet::DbError(jet::err::NotUpdatable, QStringLiteral("Field '%1' cannot be updated.").arg(rc.name));
    impl_->pending[static_cast<std::size_t>(index)] = toColumnType(value, *column);
}

void Recordset::update()
{
    if (editMode_ == EditMode::None)
        throw jet::DbError(jet::err::UpdateWithoutEdit, QStringLiteral("Update or CancelUpdate without AddNew or Edit."));
    QStringList names;
    std::vector<const vb::Value*> values;
    for (std::size_t i = 0; i < impl_->pending.size(); ++i) {
        if (!impl_->pending[i])
            continue;
        const auto& column = impl_->table.columns[static_cast<std::size_t>(plan_.columns[i].sourceIndex)];
        names << jet::quotedName(column.name);
        values.push_back(&*impl_->pending[i]);
    }
    const QString table = jet::quotedName(plan_.table);
    auto& connection = impl_->connection();
    impl_->db->finishPendingReads();
    if (editMode_ == EditMode::AddNew) {
        QString sql = names.isEmpty() ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table)
                                      : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                            .arg(table, names.join(u", "), rowcache::placeholders(static_cast<int>(names.size())));
        auto s = connection.prepare(sql);
        for (std::size_t i = 0; i < values.size(); ++i)
            bindField(s, static_cast<int>(i) + 1, *values[i]);
        s.step();
        const std::int64_t key = connection.lastInsertRowid();
        // The current row stays the one it was; a set that stood after its last row stays there.
        const bool wasAfterLast = impl_->position >= impl_->size();
        impl_->keys.append(key);
        if (wasAfterLast)
            impl_->position = impl_->size();
        impl_->lastModified = key;
    } else {
        const std::int64_t key = impl_->keys.key(impl_->position);
        if (!names.isEmpty()) {
            QStringList sets;
            for (const QString& n : names)
                sets << n + QStringLiteral(" = ?");
            auto s = connection.prepare(QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?").arg(table, sets.join(u", ")));
            for (std::size_t i = 0; i < values.size(); ++i)
                bindField(s, static_cast<int>(i) + 1, *values[i]);
            s.bind(static_cast<int>(values.size()) + 1, key);
            s.step();
            if (connection.changes() == 0)
                throw jet::DbError(jet::err::RecordDeleted, QStringLiteral("Record is deleted."));
        }
        impl_->lastModified = key;
    }
    impl_->db->noteWrite();
    editMode_ = EditMode::None;
    impl_->pending.clear();
}

void Recordset::cancelUpdate()
{
    editMode_ = EditMode::None;
    impl_->pending.clear();
}

void Recordset::deleteCurrent()
{
    if (!plan_.updatable)
        throw jet::DbError(jet::err::NotUpdatable, QStringLiteral("Cannot update. Database or object is read-only."));
    if (impl_->db->isReadOnly())
        throw jet::DbError(jet::err::ReadOnlyDatabase, QStringLiteral("Cannot update. Database or object is read-only."));
    currentRow();
    const std::int64_t key = impl_->keys.key(impl_->position);
    impl_->db->finishPendingReads();
    auto s = impl_->connection().prepare(QStringLiteral("DELETE FROM %1 WHERE rowid = ?")
                                              .arg(jet::quotedName(plan_.table)));
    s.bind(1, key);
    s.step();
    impl_->keys.markDeleted(impl_->position);
    impl_->db->noteWrite();
    editMode_ = EditMode::None;
}

Bookmark Recordset::bookmark() const
{
    if (isBOF() || isEOF())
        rowcache::noCurrentRecord();
    return impl_->snapshot ? impl_->position : impl_->keys.key(impl_->position);
}

void Recordset::setBookmark(Bookmark bookmark)
{
    impl_->finishRead();
    const int p = impl_->snapshot ? static_cast<int>(bookmark) : impl_->keys.positionOf(bookmark);
    if (p < 0 || p >= impl_->size())
        throw jet::DbError(jet::err::NoCurrentRecord, QStringLiteral("Not a valid bookmark."));
    editMode_ = EditMode::None;
    impl_->position = p;
}

Bookmark Recordset::lastModified() const
{
    if (impl_->lastModified < 0)
        throw jet::DbError(jet::err::NoCurrentRecord, QStringLiteral("No current record."));
    return impl_->lastModified;
}

QString Recordset::fieldName(int index) const
{
    return plan_.columns.at(static_cast<std::size_t>(index)).name;
}

jet::FieldType Recordset::fieldType(int index) const
{
    return plan_.columns.at(static_cast<std::size_t>(index)).type;
}

int Recordset::fieldIndex(const QString& name) const
{
    for (std::size_t i = 0; i < plan_.columns.size(); ++i)
        if (plan_.columns[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    return -1;
}

vb::Value Recordset::field(const QString& name) const
{
    const int i = fieldIndex(name);
    if (i < 0)
        throw jet::DbError(jet::err::ItemNotFound, QStringLiteral("Item not found in this collection: '%1'.").arg(name));
    return field(i);
}

vb::Value Recordset::field(int index) const
{
    if (index < 0 || index >= fieldCount())
        throw jet::DbError(jet::err::ItemNotFound, QStringLiteral("Item not found in this collection."));
    if (editMode_ != EditMode::None) {
        if (const auto& p = impl_->pending[static_cast<std::size_t>(index)])
            return *p;
        if (editMode_ == EditMode::AddNew)
            return {};
    }
    return currentRow()[static_cast<std::size_t>(index)];
}

const std::vector<vb::Value>& Recordset::currentRow() const
{
    impl_->connection();
    if (isBOF() || isEOF())
        rowcache::noCurrentRecord();
    const Row* row = impl_->rowAt(impl_->position, plan_);
    if (!row)
        throw jet::DbError(jet::err::RecordDeleted, QStringLiteral("Record is deleted."));
    return *row;
}

std::optional<std::vector<vb::Value>> Recordset::rowAt(int position)
{
    if (position < 0 || !impl_->ensure(position))
        return std::nullopt;
    impl_->connection();
    const Row* row = impl_->rowAt(position, plan_);
    return row ? std::optional<Row>(*row) : std::nullopt;
}

bool Recordset::hasCurrentRow() const
{
    if (isBOF() || isEOF() || !impl_->db->isOpen())
        return false;
    return impl_->rowAt(impl_->position, plan_) != nullptr;
}

} // namespace dao
