#include "db/import_columns.h"

#include "schema/schema.h"

#include <initializer_list>

namespace db::import {

namespace {

struct Synonyms {
    Field field;
    const char* caption;
    std::initializer_list<const char*> keys;  // as headerKey gives them
};

// The program's own column names come first, so that its exports read back.
const Synonyms kSynonyms[] = {
    {Field::MemberId, "Member ID", {"memberid", "id", "memberno", "membernumber"}},
    {Field::FirstName, "First Name", {"firstname", "givenname", "forename"}},
    {Field::LastName, "Last Name", {"lastname", "surname", "familyname"}},
    {Field::Address, "Address", {"address", "street", "streetaddress"}},
    {Field::City, "City", {"city", "town"}},
    {Field::State, "State", {"state", "province", "region"}},
    {Field::PostalCode, "Zip Code", {"postalcode", "zip", "zipcode", "postcode"}},
    {Field::Phone, "Phone", {"homephone", "phone", "telephone"}},
    {Field::Notes, "Notes", {"notes", "note", "comments", "comment"}},
    {Field::Amount, "Amount", {"paymentamount", "amount", "gift", "donation"}},
    {Field::Destination, "Fund", {"destination", "fund"}},
    {Field::Date, "Date", {"paymentdate", "date", "giftdate"}},
    {Field::Check, "Check Number", {"checknumber", "check", "cheque", "chequenumber", "checkno"}},
};

const Synonyms& entry(Field field)
{
    return kSynonyms[static_cast<std::size_t>(field)];
}

bool isMemberField(Field f)
{
    return f != Field::Amount && f != Field::Destination && f != Field::Date && f != Field::Check;
}

bool feeds(Field f, Kind kind)
{
    if (kind == Kind::Members)
        return isMemberField(f);
    // A donation finds its member by number or by names and address; the member's other fields
    // are not the donation's.
    return !isMemberField(f) || f == Field::MemberId || f == Field::FirstName || f == Field::LastName
           || f == Field::Address;
}

} // namespace

QString headerKey(const QString& header)
{
    QString key;
    key.reserve(header.size());
    for (QChar c : header)
        if (c.isLetterOrNumber())
            key += c;
    return key.toCaseFolded();
}

std::optional<Field> fieldOfHeader(const QString& header)
{
    const QString key = headerKey(header);
    for (const Synonyms& s : kSynonyms)
        for (const char* k : s.keys)
            if (key == QLatin1String(k))
                return s.field;
    return std::nullopt;
}

QString fieldCaption(Field field)
{
    return QLatin1String(entry(field).caption);
}

const char* memberColumn(Field field)
{
    const int index = static_cast<int>(field);
    if (index < static_cast<int>(Field::FirstName) || index > static_cast<int>(Field::Notes))
        return "";
    return db::memberColumns()[static_cast<std::size_t>(index)].name;
}

ColumnMap mapColumns(const QStringList& header, Kind kind)
{
    ColumnMap map;
    map.column.fill(-1);
    for (int i = 0; i < header.size(); ++i) {
        const std::optional<Field> field = fieldOfHeader(header[i]);
        if (!field || !feeds(*field, kind) || map.has(*field)) {
            map.ignored << header[i];
            continue;
        }
        map.column[static_cast<std::size_t>(*field)] = i;
    }

    QStringList absent;
    auto need = [&](Field f) {
        if (!map.has(f))
            absent << fieldCaption(f);
    };
    if (kind == Kind::Members) {
        for (Field f : {Field::FirstName, Field::LastName, Field::Address})
            need(f);
    } else {
        for (Field f : {Field::Amount, Field::Date, Field::Destination})
            need(f);
        if (!map.has(Field::MemberId)) {
            const bool byName = map.has(Field::FirstName) && map.has(Field::LastName) && map.has(Field::Address);
            if (!byName)
                absent << QStringLiteral("Member ID (or First Name, Last Name and Address)");
        }
    }
    if (!absent.isEmpty())
        map.missing = QStringLiteral("The file has no column for: %1.").arg(absent.join(QStringLiteral(", ")));
    return map;
}

} // namespace db::import
