#pragma once
// The texts of an imported line: which fields are texts (they come in through the program's CSV
// text rule, db::csvtext, and are checked for what a stored text may hold) and which characters
// a typed record could never hold.
#include "db/import_columns.h"
#include "db/import_values.h"

#include <QString>
#include <optional>

namespace db::import {

// Names, address, city, state, zip code, phone, notes and fund; the member number, amount, date
// and check number are not.
bool holdsText(Field field);

// Refuses a text that holds a control character (U+0000..U+001F, U+007F..U+009F), as no box of
// the program lets one be typed; only Notes, the one box of several lines, may hold tabs and
// line breaks. The reason names the field, the character and where it stands.
std::optional<Refusal> controlCharacter(const QString& text, Field field);

} // namespace db::import
