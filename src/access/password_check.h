#pragma once
// Whether a typed password opens Executive mode: it must equal the password of an entry of the
// password list, the administrator's included, with letter case ignored in every alphabet (the
// column compares that way).
#include <QString>

namespace dao { class Database; }

namespace modes {

// The look-up goes through the dialect with the typed text as a quoted literal, so an
// apostrophe is part of the password and cannot end the literal. An empty password, or one
// holding a character no stored password can hold (NUL), matches nothing without a query.
bool isExecutivePassword(dao::Database& db, const QString& typed);

} // namespace modes
