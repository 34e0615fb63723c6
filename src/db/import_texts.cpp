#include "db/import_texts.h"

namespace db::import {

bool holdsText(Field field)
{
    switch (field) {
    case Field::MemberId:
    case Field::Amount:
    case Field::Date:
    case Field::Check:
        return false;
    case Field::FirstName:
    case Field::LastName:
    case Field::Address:
    case Field::City:
    case Field::State:
    case Field::PostalCode:
    case Field::Phone:
    case Field::Notes:
    case Field::Destination:
        return true;
    }
    return false;
}

} // namespace db::import
