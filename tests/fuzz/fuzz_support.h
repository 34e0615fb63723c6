#pragma once
// What the fuzz programs share: texts drawn from the input (as UTF-8, or now and then as raw
// UTF-16 units, so that lone surrogates and NUL reach the code under test), a report of a
// broken promise that stops the run, and a file of the program's schema in memory on which the
// texts the program builds are run.
#include "platform/dao/sqlite.h"
#include "platform/jet/catalog.h"
#include "schema/schema.h"
#include "schema/template.h"

#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>

namespace fuzzing {

[[noreturn]] inline void broken(const char* promise, const QString& detail)
{
    std::fprintf(stderr, "%s: \"%s\"\n", promise, qUtf8Printable(detail));
    std::abort();
}

inline void require(bool condition, const char* promise, const QString& detail)
{
    if (!condition)
        broken(promise, detail);
}

inline QString text(FuzzedDataProvider& in, std::size_t maxBytes = 64)
{
    const bool utf16 = in.ConsumeIntegralInRange<int>(0, 7) == 0;
    const std::string bytes = in.ConsumeRandomLengthString(maxBytes);
    if (utf16)
        return QString(reinterpret_cast<const QChar*>(bytes.data()), static_cast<qsizetype>(bytes.size() / 2));
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// The program's tables in memory, with the template's rows and a few members, donations and
// work-table rows whose texts hold what the filters quote and escape.
inline sqlite::Connection programConnection()
{
    sqlite::Connection c(QStringLiteral(":memory:"), {}, sqlite::Connection::Mode::Create);
    db::createSchema(c);
    db::insertTemplateRows(c);
    c.exec(QStringLiteral(
        "INSERT INTO Members (FirstName, LastName, Address, City, State, PostalCode, HomePhone, Notes) VALUES "
        "('Seán', 'O''Brien', '7 [Oak] #2 * ?', 'Montréal', 'QC', 'H2X 1Y4', '555', 'a%b_c'), "
        "('小龍', '李', NULL, '', 'ΣΑ', NULL, NULL, NULL)"));
    c.exec(QStringLiteral(
        "INSERT INTO Payments (PaymentAmount, CheckNumber, Destination, PaymentDate, MemberID) VALUES "
        "(1000000, 12, 'Roof [#2]', '2001-01-01 00:00:00', 2), (5, 0, 'O''Brien''s *', '2001-12-31 23:59:59', 3), "
        "(25000, 7, 'Roof [#2]', '2001-06-01 00:00:00', 2), (NULL, NULL, NULL, NULL, 1), (-30000, 1, 'x', NULL, 9)"));
    c.exec(QStringLiteral(
        "INSERT INTO MemFullName (MemberID, FullName, Address, CityStateZip, HomePhone, FirstName) VALUES "
        "(2, 'Seán O''Brien', '7 [Oak]', 'Montréal, QC   H2X', '555', 'Seán'), (3, '小龍 李', NULL, NULL, NULL, '小龍'), "
        "(4, 'Nobody', '', '', '', ''), (NULL, NULL, NULL, NULL, NULL, NULL)"));
    c.exec(QStringLiteral(
        "INSERT INTO ListTable (MemberID, PaymentID, PaymentAmount, PaymentDate, CheckNumber, Destination, FullName) "
        "SELECT p.MemberID, p.PaymentID, p.PaymentAmount, p.PaymentDate, p.CheckNumber, p.Destination, "
        "m.FirstName || ' ' || m.LastName FROM Payments p LEFT JOIN Members m ON m.MemberID = p.MemberID"));
    return c;
}

struct ProgramFile {
    sqlite::Connection connection = programConnection();
    jet::Catalog catalog = jet::Catalog::read(connection.handle());

    // Runs a query to its end; a statement SQLite refuses throws as the program would see it.
    void run(const QString& sql)
    {
        auto s = connection.prepare(sql);
        while (s.step()) {
        }
    }
};

} // namespace fuzzing
