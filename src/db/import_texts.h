#pragma once
// The texts of an imported line: which fields are texts (they come in through the program's CSV
// text rule, db::csvtext).
#include "db/import_columns.h"

namespace db::import {

// Names, address, city, state, zip code, phone, notes and fund; the member number, amount, date
// and check number are not.
bool holdsText(Field field);

} // namespace db::import
