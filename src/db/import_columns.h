#pragma once
// Which column of an imported file feeds which field: headers are matched by name with letter
// case, blanks and punctuation ignored ("First Name", "first_name", "FIRSTNAME") and with the
// names other programs commonly give the same field ("Surname", "Postcode", "Cheque").
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace db::import {

// The fields an import can fill. The member fields are the Members columns after MemberID, in
// their order; the donation fields follow.
enum class Field {
    MemberId,
    FirstName,
    LastName,
    Address,
    City,
    State,
    PostalCode,
    Phone,
    Notes,
    Amount,
    Destination,
    Date,
    Check,
};
inline constexpr int kFieldCount = 13;

enum class Kind { Members, Donations };

// A header as compared: letters and digits only, case-folded.
QString headerKey(const QString& header);
// The field a header names, whatever the kind of import; nullopt for a name it does not know.
std::optional<Field> fieldOfHeader(const QString& header);
// The field's name as the user reads it ("First Name").
QString fieldCaption(Field field);
// The schema column a member field writes; empty for the donation fields and MemberId.
const char* memberColumn(Field field);

struct ColumnMap {
    std::array<int, kFieldCount> column{};  // the file's column for each field, -1 when none
    QStringList ignored;                    // headers that feed nothing, as the file spells them
    QString missing;                        // empty when the required columns are there

    int of(Field f) const { return column[static_cast<std::size_t>(f)]; }
    bool has(Field f) const { return of(f) >= 0; }
};

// Matches a header row for one kind of import. Members need first name, last name and address;
// donations an amount, a date, a fund and the member: a member ID, or first name, last name and
// address. A second column for a field that already has one is ignored.
ColumnMap mapColumns(const QStringList& header, Kind kind);

} // namespace db::import
