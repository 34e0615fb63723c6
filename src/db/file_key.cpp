#include "db/file_key.h"

#include "frame/main_state.h"
#include "schema/connect_key.h"

namespace db {

QByteArray fileKey(const MainState& S)
{
    return S.Passphrase.isEmpty() ? passwordOfConnect(S.DbConnect).toUtf8() : S.Passphrase;
}

} // namespace db
