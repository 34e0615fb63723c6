#pragma once
// Between the program's values and what the file stores: currency as ten-thousandths, dates as
// ISO text, texts within their column's size.
#include "platform/dao/sqlite.h"
#include "platform/jet/catalog.h"
#include "platform/jet/translator.h"
#include "platform/vb/value.h"

namespace dao {

// The value of a result column as the program sees it.
vb::Value readField(const sqlite::Statement& statement, int column, jet::FieldType type);
// The values of a statement's current row for the given result columns, which the statement
// returns in order from firstColumn on.
std::vector<vb::Value> readRow(const sqlite::Statement& statement, int firstColumn,
                               const std::vector<jet::ResultColumn>& columns);

// A value brought to a column's type before it is written. Throws DbError 3421 when it has no
// reading of that type, 3163 when a text is longer than the column holds.
vb::Value toColumnType(const vb::Value& value, const jet::Column& column);

// Binds a value already brought to the column's type.
void bindField(sqlite::Statement& statement, int index, const vb::Value& value);

} // namespace dao
