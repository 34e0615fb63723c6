#pragma once
// How many characters a text field of Members holds, from the schema, so that every box that
// feeds a member field refuses input the field could not store.
#include <QString>

namespace records {

// 0 for a field without a limit (the memo, the number) or one Members does not have.
int memberFieldSize(const QString& field);

} // namespace records
