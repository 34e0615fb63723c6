#include "snapshot_rows.h"

#include "database.h"
#include "field_codec.h"
#include "platform/jet/db_error.h"

namespace dao {

namespace {

[[noreturn]] void readOnly()
{
    throw jet::DbError(jet::err::NotUpdatable, QStringLiteral("Operation is not supported for this type of object."));
}

} // namespace

void SnapshotRows::requery()
{
    rows_.clear();
    auto s = db_.connection().prepare(plan_.sql());
    while (s.step())
        rows_.push_back(readRow(s, 0, plan_.columns));
}

int SnapshotRows::firstMatch(const Condition&, int)
{
    readOnly();
}

std::int64_t SnapshotRows::keyAt(int) const
{
    readOnly();
}

void SnapshotRows::added(std::int64_t)
{
    readOnly();
}

void SnapshotRows::markDeleted(int)
{
    readOnly();
}

} // namespace dao
