#include "recordset.h"

#include "recordset_impl.h"
#include "field_codec.h"
#include "write_unit.h"
#include "platform/jet/db_error.h"

#include <algorithm>
#include <atomic>

namespace dao {

namespace {

std::uint64_t nextSerial()
{
    static std::atomic<std::uint64_t> last{0};
    return ++last;
}

[[noreturn]] void noCurrentRecord()
{
    throw jet::DbError(jet::err::NoCurrentRecord, QStringLiteral("No current record."));
}

} // namespace

Recordset::Recordset(std::shared_ptr<Database> db, jet::SelectPlan plan)
    : plan_(std::move(plan)), impl_(std::make_unique<Impl>(std::move(db), plan_)), serial_(nextSerial())
{
    requery();
}

Recordset::~Recordset()
{
    impl_->db->forgetUndo(this);
}

const std::shared_ptr<Database>& Recordset::database() const
{
    return impl_->db;
}

void Recordset::requery()
{
    impl_->db->forgetUndo(this);  // the rows are read afresh: nothing of the old ones to put back
    editMode_ = EditMode::None;
    impl_->pending.clear();
    impl_->rows->requery();
    impl_->position = impl_->rows->size() > 0 ? 0 : -1;
}

void Recordset::close()
{
    impl_->db->forgetUndo(this);
    impl_->rows->close();
    impl_->position = -1;
}

bool Recordset::isBOF() const
{
    return impl_->rows->size() == 0 || impl_->position < 0;
}

bool Recordset::isEOF() const
{
    return impl_->rows->size() == 0 || impl_->position >= impl_->rows->size();
}

int Recordset::recordCount() const
{
    impl_->rows->readAll();  // exact, whatever has been visited
    return impl_->rows->size() - impl_->rows->deletedCount();
}

int Recordset::positionCount() const
{
    impl_->rows->readAll();
    return impl_->rows->size();
}

bool Recordset::isDeletedAt(int position) const
{
    return position >= 0 && impl_->rows->reach(position) && impl_->rows->isDeleted(position);
}

int Recordset::absolutePosition() const
{
    return impl_->onRow() ? impl_->position : -1;
}

void Recordset::setAbsolutePosition(int position)
{
    if (position < 0 || !impl_->rows->reach(position))
        noCurrentRecord();
    editMode_ = EditMode::None;
    impl_->position = position;
}


void Recordset::moveFirst()
{
    if (impl_->rows->size() == 0)
        noCurrentRecord();
    editMode_ = EditMode::None;
    impl_->position = impl_->skipDeleted(0, 1);
}

void Recordset::moveLast()
{
    impl_->rows->readAll();
    if (impl_->rows->size() == 0)
        noCurrentRecord();
    editMode_ = EditMode::None;
    impl_->position = impl_->skipDeleted(impl_->rows->size() - 1, -1);
}

void Recordset::moveNext()
{
    if (isEOF())
        noCurrentRecord();
    editMode_ = EditMode::None;
    impl_->position = impl_->skipDeleted(impl_->position + 1, 1);
}

void Recordset::movePrevious()
{
    if (isBOF())
        noCurrentRecord();
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
    // Refused before the criterion is read: a find on a snapshot fails alike whatever it says.
    if (!isUpdatable())
        throw jet::DbError(jet::err::NotUpdatable, QStringLiteral("Operation is not supported for this type of object."));
    const Condition condition = impl_->condition(criterion);
    impl_->rows->readAll();
    noMatch_ = true;
    if (start >= impl_->rows->size())
        return;
    const int found = impl_->rows->firstMatch(condition, start);
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
    WriteUnit unit(*impl_->db);
    auto& connection = unit.connection();
    if (editMode_ == EditMode::AddNew) {
        QString sql = names.isEmpty() ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table)
                                      : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                            .arg(table, names.join(u", "), sqlite::placeholders(static_cast<int>(names.size())));
        auto s = connection.prepare(sql);
        for (std::size_t i = 0; i < values.size(); ++i)
            bindField(s, static_cast<int>(i) + 1, *values[i]);
        s.step();
        const std::int64_t key = connection.lastInsertRowid();
        // The current row stays the one it was; a set that stood after its last row stays there.
        const bool wasAfterLast = impl_->position >= impl_->rows->size();
        impl_->rows->added(key);
        impl_->db->logUndo(this, [impl = impl_.get()] {
            impl->rows->undoAdded();
            impl->position = std::min(impl->position, impl->rows->size());
        });
        if (wasAfterLast)
            impl_->position = impl_->rows->size();
        impl_->lastModified = key;
    } else {
        const std::int64_t key = impl_->rows->keyAt(impl_->position);
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
    unit.commit();
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
    const std::int64_t key = impl_->rows->keyAt(impl_->position);
    WriteUnit unit(*impl_->db);
    auto s = unit.connection().prepare(QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(jet::quotedName(plan_.table)));
    s.bind(1, key);
    s.step();
    const int position = impl_->position;
    impl_->rows->markDeleted(position);
    impl_->db->logUndo(this, [impl = impl_.get(), position] { impl->rows->undoDeleted(position); });
    unit.commit();
    editMode_ = EditMode::None;
}

Bookmark Recordset::bookmark() const
{
    if (!impl_->onRow())
        noCurrentRecord();
    return impl_->rows->bookmarkAt(impl_->position);
}

void Recordset::setBookmark(Bookmark bookmark)
{
    impl_->rows->readAll();
    const int p = impl_->rows->positionOf(bookmark);
    if (p < 0 || p >= impl_->rows->size())
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
    if (!impl_->onRow())
        noCurrentRecord();
    const Row* row = impl_->rows->rowAt(impl_->position);
    if (!row)
        throw jet::DbError(jet::err::RecordDeleted, QStringLiteral("Record is deleted."));
    return *row;
}

std::optional<std::vector<vb::Value>> Recordset::rowAt(int position)
{
    if (position < 0 || !impl_->rows->reach(position))
        return std::nullopt;
    impl_->connection();
    const Row* row = impl_->rows->rowAt(position);
    return row ? std::optional<Row>(*row) : std::nullopt;
}

bool Recordset::hasCurrentRow() const
{
    if (!impl_->onRow() || !impl_->db->isOpen())
        return false;
    return impl_->rows->rowAt(impl_->position) != nullptr;
}

} // namespace dao
