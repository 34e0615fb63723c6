// Any text given to the dialect translator (as a query, a criterion or a statement) either
// translates or raises the engine's numbered error; whatever translates must be SQL that SQLite
// accepts, run against a file with the program's column types.
#include "platform/dao/sqlite.h"
#include "platform/jet/catalog.h"
#include "platform/jet/db_error.h"
#include "platform/jet/translator.h"

#include <cstdint>
#include <cstdlib>

namespace {

struct Fixture {
    sqlite::Connection connection{":memory:", {}, sqlite::Connection::Mode::Create};
    jet::Catalog catalog;
    Fixture()
    {
        connection.exec("CREATE TABLE Members (MemberID INTEGER PRIMARY KEY AUTOINCREMENT, FirstName TEXT(50) COLLATE JETNOCASE, "
                        "LastName TEXT(50) COLLATE JETNOCASE, Notes LONGTEXT COLLATE JETNOCASE)");
        connection.exec("CREATE INDEX MembersName ON Members(LastName, FirstName)");
        connection.exec("CREATE TABLE Payments (PaymentID INTEGER PRIMARY KEY AUTOINCREMENT, PaymentAmount CURRENCY, "
                        "CheckNumber INTEGER, Destination TEXT(50) COLLATE JETNOCASE, PaymentDate DATETIME, MemberID INTEGER)");
        connection.exec("INSERT INTO Members (FirstName, LastName) VALUES ('Jürgen', 'Müller'), ('Ann', 'O''Brien'), (NULL, 'Smith')");
        connection.exec("INSERT INTO Payments (PaymentAmount, CheckNumber, Destination, PaymentDate, MemberID) "
                        "VALUES (1000000, 12, 'Roof', '2001-01-01 00:00:00', 1), (5, 0, NULL, NULL, 2)");
        catalog = jet::Catalog::read(connection.handle());
    }
};

void runAll(sqlite::Connection& c, const QString& sql)
{
    auto s = c.prepare(sql);  // a translation SQLite refuses is a translator fault: let it crash
    while (s.step()) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static Fixture fixture;
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    try {
        const auto plan = jet::translateSelect(text, fixture.catalog);
        runAll(fixture.connection, plan.updatable ? plan.keySql() : plan.sql());
    } catch (const jet::DbError& e) {
        if (e.number() == jet::err::EngineError)
            std::abort();  // SQLite refused what the translator wrote
    }
    try {
        const QString where = jet::translateCriterion(text, *fixture.catalog.find(u"Payments"));
        runAll(fixture.connection, "SELECT rowid FROM Payments WHERE " + where);
    } catch (const jet::DbError& e) {
        if (e.number() == jet::err::EngineError)
            std::abort();
    }
    return 0;
}
