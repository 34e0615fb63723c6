#include "field_codec.h"

#include "platform/jet/db_error.h"
#include "platform/vb/convert.h"

#include <sqlcipher/sqlite3.h>

#include <cmath>

namespace dao {

namespace {

[[noreturn]] void conversionError()
{
    throw jet::DbError(jet::err::DataTypeConversion, QStringLiteral("Data type conversion error."));
}

} // namespace

vb::Value readField(const sqlite::Statement& s, int column, jet::FieldType type)
{
    // The program writes each column in one stored form. A value in another form (a file
    // changed by some other tool) is handed out as it is stored, a text as a text, a number
    // as a number, so that it shows and the row can be read; whatever computes with it then
    // meets a value of the wrong type and says so.
    const int stored = s.columnType(column);
    if (stored == SQLITE_NULL)
        return {};
    if (stored == SQLITE_TEXT || stored == SQLITE_BLOB) {
        switch (type) {
        case jet::FieldType::Text:
        case jet::FieldType::Memo:
            return s.text(column);
        case jet::FieldType::Date:
            if (auto d = vb::DateTime::fromIso(s.text(column)))
                return *d;
            return s.text(column);
        default:
            return s.text(column);
        }
    }
    switch (type) {
    case jet::FieldType::Counter:
    case jet::FieldType::Long:
        if (stored == SQLITE_FLOAT)
            return s.real(column);
        return s.int64(column);
    case jet::FieldType::Currency:
        if (stored == SQLITE_INTEGER)
            return vb::Currency::fromRaw(s.int64(column));
        try {
            return vb::Currency::fromDouble(s.real(column) / vb::Currency::Scale);
        } catch (const std::overflow_error&) {
            return s.real(column) / vb::Currency::Scale;  // beyond the currency's range
        }
    case jet::FieldType::Date:
        // Dates are stored as text; a number here is not a date the program wrote.
        return stored == SQLITE_INTEGER ? vb::Value(s.int64(column)) : vb::Value(s.real(column));
    case jet::FieldType::Double:
        return s.real(column);
    case jet::FieldType::Boolean:
        return s.int64(column) != 0;
    case jet::FieldType::Text:
    case jet::FieldType::Memo:
        return s.text(column);
    }
    return s.text(column);
}

std::vector<vb::Value> readRow(const sqlite::Statement& statement, int firstColumn,
                               const std::vector<jet::ResultColumn>& columns)
{
    std::vector<vb::Value> row;
    row.reserve(columns.size());
    for (std::size_t c = 0; c < columns.size(); ++c)
        row.push_back(readField(statement, static_cast<int>(c) + firstColumn, columns[c].type));
    return row;
}

vb::Value toColumnType(const vb::Value& value, const jet::Column& column)
{
    if (value.isNull())
        return value;
    try {
        switch (column.type) {
        case jet::FieldType::Counter:
        case jet::FieldType::Long: {
            const std::int64_t n = value.toLong();
            if (n < INT32_MIN || n > INT32_MAX)
                throw jet::DbError(jet::err::DataTypeConversion, QStringLiteral("Overflow."));
            return n;
        }
        case jet::FieldType::Currency:
            return value.toCurrency();
        case jet::FieldType::Date:
            return value.toDate();
        case jet::FieldType::Double:
            return value.toDouble();
        case jet::FieldType::Boolean:
            return value.toDouble() != 0.0;
        case jet::FieldType::Text:
        case jet::FieldType::Memo: {
            QString text = value.toText();
            if (column.type == jet::FieldType::Text && text.size() > column.size)
                throw jet::DbError(jet::err::FieldTooSmall,
                                   QStringLiteral("The field is too small to accept the amount of data you attempted "
                                                  "to add. Try inserting or pasting less data."));
            return text;
        }
        }
    } catch (const vb::ConversionError&) {
        conversionError();
    } catch (const std::overflow_error&) {
        conversionError();
    }
    return value;
}

void bindField(sqlite::Statement& s, int index, const vb::Value& value)
{
    switch (value.type()) {
    case vb::Type::Null: s.bindNull(index); break;
    case vb::Type::Boolean: s.bind(index, std::int64_t{value.asBool() ? 1 : 0}); break;
    case vb::Type::Long: s.bind(index, value.asLong()); break;
    case vb::Type::Double: s.bind(index, value.asDouble()); break;
    case vb::Type::Currency: s.bind(index, value.asCurrency().raw()); break;
    case vb::Type::Date: s.bind(index, value.asDate().toIso()); break;
    case vb::Type::Text: s.bind(index, value.asText()); break;
    }
}

} // namespace dao
