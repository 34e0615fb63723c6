// The data layer at the scale of a large organisation (100,000 members, 1,000,000 donations):
// every query the program leans on, once through our record sets and once as the best
// hand-written SQLite over the same keyed file in the same process, so that the ratio between
// the two shows what the layer itself costs. The ratio table comes last.
//
//   data_layer_bench [google-benchmark flags]
//   QUIL_BENCH_FILE=/path/file.qdb   the demo file (written once when missing)
#include "bench_file.h"
#include "demo/demo_data.h"
#include "platform/dao/database.h"
#include "platform/dao/engine.h"
#include "platform/dao/field_codec.h"
#include "platform/dao/recordset.h"
#include "platform/dao/sqlite.h"
#include "platform/jet/translator.h"
#include "schema/connect_key.h"

#include <benchmark/benchmark.h>
#include <sqlcipher/sqlite3.h>

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <malloc.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

using bench::kMembers;
using bench::kDonations;
constexpr int kMember = 4242;
constexpr int kMiddle = 500'000;
constexpr int kMiddleRows = 50;
// A result of at most this many rows could be read whole in the pass that finds its keys.
constexpr int kProbeRows = 1024;

// The program's own texts, as it issues them.
const QString kRapidSearch = QStringLiteral(
    "SELECT [MemberID], [LastName], [FirstName], [Address] FROM [Members] "
    "WHERE [Lastname] Like 's*' And [FirstName] Like 'j*' And [Address] Like '*'");
const QString kOneMember = QStringLiteral(
    "select [PaymentID],[PaymentAmount],[CheckNumber],[Destination],[PaymentDate], [MemberID] from [Payments] "
    "WHERE [MemberID]= %1 Order by  PaymentDate").arg(kMember);
const QString kSumOne = QStringLiteral("SELECT Sum (PaymentAmount) AS [ListTotal] FROM Payments  WHERE [MemberID]= %1").arg(kMember);
const QString kSumAll = QStringLiteral("SELECT Sum (PaymentAmount) AS [ListTotal] FROM Payments ");
const QString kWholeList = QStringLiteral(
    "select [PaymentID],[PaymentAmount],[CheckNumber],[Destination],[PaymentDate], [MemberID] from [Payments] "
    "Order by  PaymentDate");
const QString kAllMembers = QStringLiteral("Members");
// The same members in key order: what a find in the dynaset above would cost if its keys ascended.
const QString kMembersByKey = QStringLiteral("SELECT * FROM [Members] ORDER BY [MemberID]");

// Hand-written SQLite. A prefix Like is a range on the columns' case-blind collation, which is
// what lets the (LastName, FirstName) index narrow the rapid search; SQLite's own LIKE cannot use
// an index on a column of a custom collation. U+10FFFF closes the range above every text with
// the prefix.
const char* const kRawRapidSearch =
    "SELECT MemberID, LastName, FirstName, Address FROM Members "
    "WHERE LastName >= 's' AND LastName < 's\xF4\x8F\xBF\xBF' "
    "AND FirstName >= 'j' AND FirstName < 'j\xF4\x8F\xBF\xBF' AND Address IS NOT NULL";
const char* const kRawOneMember =
    "SELECT PaymentID, PaymentAmount, CheckNumber, Destination, PaymentDate, MemberID FROM Payments "
    "WHERE MemberID = ? ORDER BY PaymentDate";
const char* const kRawSumOne = "SELECT sum(PaymentAmount) FROM Payments WHERE MemberID = ?";
const char* const kRawSumAll = "SELECT sum(PaymentAmount) FROM Payments";
// The dialect's Sum of money: the 128-bit aggregate that cannot overflow, against SQLite's sum.
const char* const kRawExactSumAll = "SELECT jet_sum(PaymentAmount) FROM Payments";
const char* const kRawListKeys = "SELECT rowid FROM Payments ORDER BY PaymentDate";
const char* const kRawPaymentByKey =
    "SELECT PaymentID, PaymentAmount, CheckNumber, Destination, PaymentDate, MemberID FROM Payments WHERE rowid = ?";
const char* const kRawListRows =
    "SELECT PaymentID, PaymentAmount, CheckNumber, Destination, PaymentDate, MemberID FROM Payments "
    "ORDER BY PaymentDate";
const char* const kRawRapidKeys =
    "SELECT rowid FROM Members "
    "WHERE LastName >= 's' AND LastName < 's\xF4\x8F\xBF\xBF' "
    "AND FirstName >= 'j' AND FirstName < 'j\xF4\x8F\xBF\xBF' AND Address IS NOT NULL";
// Keys and rows in one statement: later rows are stepped reading the key alone.
const char* const kRawListKeysAndRows =
    "SELECT rowid, PaymentID, PaymentAmount, CheckNumber, Destination, PaymentDate, MemberID FROM Payments "
    "ORDER BY PaymentDate";
const char* const kRawMemberKey = "SELECT MemberID FROM Members WHERE MemberID = ?";
const char* const kRawMemberRow =
    "SELECT MemberID, FirstName, LastName, Address, City, State, PostalCode, HomePhone, Notes FROM Members "
    "WHERE MemberID = ?";

using bench::benchFile;
using bench::ensureBenchFile;

long residentBytes()
{
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

// Reads every column of the current row the way a caller of the C API would: the number, or the
// pointer and length of the text.
std::int64_t readRawRow(sqlite3_stmt* s)
{
    std::int64_t sink = 0;
    const int n = sqlite3_column_count(s);
    for (int c = 0; c < n; ++c) {
        switch (sqlite3_column_type(s, c)) {
        case SQLITE_INTEGER: sink += sqlite3_column_int64(s, c); break;
        case SQLITE_FLOAT: sink += static_cast<std::int64_t>(sqlite3_column_double(s, c)); break;
        case SQLITE_TEXT:
        case SQLITE_BLOB: {
            const unsigned char* text = sqlite3_column_text(s, c);
            sink += sqlite3_column_bytes(s, c) + (text ? text[0] : 0);
            break;
        }
        default: break;
        }
    }
    return sink;
}

// Every field of the current row, as the program reads it.
void readRow(const dao::Recordset& rs, std::int64_t& sink)
{
    const int n = rs.fieldCount();
    for (int i = 0; i < n; ++i)
        sink += static_cast<int>(rs.field(i).type());
}

// Walks a record set from its first row to its end, reading every field; returns the rows seen.
std::int64_t walk(dao::Recordset& rs)
{
    std::int64_t rows = 0, sink = 0;
    while (!rs.isEOF()) {
        readRow(rs, sink);
        ++rows;
        rs.moveNext();
    }
    benchmark::DoNotOptimize(sink);
    return rows;
}

std::int64_t stepAll(sqlite::Statement& s)
{
    std::int64_t rows = 0, sink = 0;
    while (s.step()) {
        sink += readRawRow(s.handle());
        ++rows;
    }
    s.reset();
    benchmark::DoNotOptimize(sink);
    return rows;
}

// As stepAll, but every column is decoded into the value the program works with, the way our
// record sets decode it: the engine's cost plus the decoding, without the layer around it.
std::int64_t stepAllDecoded(sqlite::Statement& s, const std::vector<jet::FieldType>& types)
{
    std::int64_t rows = 0, sink = 0;
    while (s.step()) {
        for (std::size_t c = 0; c < types.size(); ++c)
            sink += static_cast<int>(dao::readField(s, static_cast<int>(c), types[c]).type());
        ++rows;
    }
    s.reset();
    benchmark::DoNotOptimize(sink);
    return rows;
}

std::vector<jet::FieldType> typesOf(const jet::SelectPlan& plan)
{
    std::vector<jet::FieldType> types;
    for (const jet::ResultColumn& column : plan.columns)
        types.push_back(column.type);
    return types;
}

QString rowFetchSql(const jet::SelectPlan& plan)
{
    QString sql = QStringLiteral("SELECT rowid, %1 FROM \"%2\" WHERE rowid IN (?").arg(plan.selectList, plan.table);
    for (int i = 1; i < 64; ++i)
        sql += QStringLiteral(",?");
    return sql + QStringLiteral(")");
}

std::int64_t currencyRaw(const vb::Value& v)
{
    return v.isNull() ? 0 : v.toCurrency().raw();
}

// Member numbers spread over the whole table, the same sequence for both sides of a comparison.
class MemberSequence {
public:
    int next()
    {
        i_ = (i_ + 7919) % kMembers;
        return i_ + 1;
    }

private:
    int i_ = 0;
};

struct Fixture {
    std::shared_ptr<dao::Database> db;
    sqlite::Connection raw;
    sqlite::Statement rapidSearch, oneMember, sumOne, sumAll, exactSumAll, listKeys, paymentByKey, listRows, memberKey, memberRow;
    std::unique_ptr<dao::Recordset> members;  // the open dynaset the finds run in
    std::unique_ptr<dao::Recordset> membersByKey;
    MemberSequence oursFind, rawFind, oursFindRead, rawFindRead, oursFindByKey, oursFindReadByKey;
    // For the break-down of where our time goes.
    sqlite::Statement rapidKeys, rapidFetchBlock, rapidFetchOne, listKeysAndRows, listProbe;
    std::vector<std::int64_t> rapidKeyList;
    jet::SelectPlan oneMemberPlan, rapidPlan;
    std::vector<jet::FieldType> oneMemberTypes, rapidTypes;
};

Fixture* g = nullptr;

std::vector<std::int64_t> rawKeyList()
{
    std::vector<std::int64_t> keys;
    while (g->listKeys.step())
        keys.push_back(g->listKeys.int64(0));
    g->listKeys.reset();
    return keys;
}

// One operation: what it does, returning a check value (rows, a sum, a key total) that both
// sides of a comparison must agree on.
struct Operation {
    std::string name;
    std::function<std::int64_t()> run;
};

std::vector<Operation> operations()
{
    return {
        {"rapid_search/ours", [] { auto rs = g->db->openRecordset(kRapidSearch); return walk(*rs); }},
        {"rapid_search/raw", [] { return stepAll(g->rapidSearch); }},

        {"one_member/ours", [] { auto rs = g->db->openRecordset(kOneMember); return walk(*rs); }},
        {"one_member/raw", [] { g->oneMember.bind(1, std::int64_t{kMember}); return stepAll(g->oneMember); }},

        {"sum_one/ours", [] { return currencyRaw(g->db->openRecordset(kSumOne)->field(0)); }},
        {"sum_one/raw", [] {
             g->sumOne.bind(1, std::int64_t{kMember});
             g->sumOne.step();
             const std::int64_t sum = g->sumOne.int64(0);
             g->sumOne.reset();
             return sum;
         }},

        {"sum_all/ours", [] { return currencyRaw(g->db->openRecordset(kSumAll)->field(0)); }},
        {"sum_all/raw", [] {
             g->sumAll.step();
             const std::int64_t sum = g->sumAll.int64(0);
             g->sumAll.reset();
             return sum;
         }},

        {"diag/sum_all_raw_exact", [] {
             g->exactSumAll.step();
             const std::int64_t sum = g->exactSumAll.int64(0);
             g->exactSumAll.reset();
             return sum;
         }},

        {"list_open/ours", [] { return std::int64_t{g->db->openRecordset(kWholeList)->recordCount()}; }},
        {"list_open/raw", [] { return static_cast<std::int64_t>(rawKeyList().size()); }},

        {"list_middle/ours", [] {
             auto rs = g->db->openRecordset(kWholeList);
             rs->setAbsolutePosition(kMiddle);
             std::int64_t ids = 0, sink = 0;
             for (int i = 0; i < kMiddleRows; ++i) {
                 readRow(*rs, sink);
                 ids += rs->field(0).asLong();
                 rs->moveNext();
             }
             benchmark::DoNotOptimize(sink);
             return ids;
         }},
        {"list_middle/raw", [] {
             const std::vector<std::int64_t> keys = rawKeyList();
             std::int64_t ids = 0, sink = 0;
             for (int i = kMiddle; i < kMiddle + kMiddleRows; ++i) {
                 g->paymentByKey.bind(1, keys[static_cast<std::size_t>(i)]);
                 if (g->paymentByKey.step()) {
                     sink += readRawRow(g->paymentByKey.handle());
                     ids += g->paymentByKey.int64(0);
                 }
                 g->paymentByKey.reset();
             }
             benchmark::DoNotOptimize(sink);
             return ids;
         }},
        {"list_full_rows/raw", [] { return stepAll(g->listRows); }},

        {"find_first/ours", [] {
             g->members->findFirst(QStringLiteral("memberid = %1").arg(g->oursFind.next()));
             return std::int64_t{g->members->noMatch() ? 0 : 1};
         }},
        {"find_first/raw", [] {
             g->memberKey.bind(1, std::int64_t{g->rawFind.next()});
             const std::int64_t found = g->memberKey.step() ? 1 : 0;
             g->memberKey.reset();
             return found;
         }},

        {"find_first_keyorder/ours", [] {
             g->membersByKey->findFirst(QStringLiteral("memberid = %1").arg(g->oursFindByKey.next()));
             return std::int64_t{g->membersByKey->noMatch() ? 0 : 1};
         }},

        {"find_read/ours", [] {
             g->members->findFirst(QStringLiteral("memberid = %1").arg(g->oursFindRead.next()));
             if (g->members->noMatch())
                 return std::int64_t{0};
             std::int64_t sink = 0;
             readRow(*g->members, sink);
             benchmark::DoNotOptimize(sink);
             return g->members->field(0).asLong();
         }},
        {"find_read/raw", [] {
             g->memberRow.bind(1, std::int64_t{g->rawFindRead.next()});
             std::int64_t id = 0;
             if (g->memberRow.step()) {
                 benchmark::DoNotOptimize(readRawRow(g->memberRow.handle()));
                 id = g->memberRow.int64(0);
             }
             g->memberRow.reset();
             return id;
         }},

        // Where the time of our layer goes.
        {"diag/one_member_open_only", [] { return std::int64_t{g->db->openRecordset(kOneMember)->recordCount()}; }},
        {"diag/find_read_keyorder", [] {
             g->membersByKey->findFirst(QStringLiteral("memberid = %1").arg(g->oursFindReadByKey.next()));
             if (g->membersByKey->noMatch())
                 return std::int64_t{0};
             std::int64_t sink = 0;
             readRow(*g->membersByKey, sink);
             benchmark::DoNotOptimize(sink);
             return g->membersByKey->field(0).asLong();
         }},
        {"diag/translate_one_member", [] {
             return static_cast<std::int64_t>(jet::translateSelect(kOneMember, g->db->catalog()).columns.size());
         }},
        {"diag/prepare_one_member_keys", [] {
             return std::int64_t{g->raw.prepare(g->oneMemberPlan.keySql()).isValid()};
         }},
        {"diag/prepare_row_fetch_64", [] {
             return std::int64_t{g->raw.prepare(rowFetchSql(g->oneMemberPlan)).isValid()};
         }},
        {"diag/one_member_raw_prepare_each", [] {
             auto s = g->raw.prepare(QString::fromUtf8(kRawOneMember));
             s.bind(1, std::int64_t{kMember});
             return stepAll(s);
         }},
        {"diag/one_member_raw_decoded", [] {
             g->oneMember.bind(1, std::int64_t{kMember});
             return stepAllDecoded(g->oneMember, g->oneMemberTypes);
         }},
        {"diag/rapid_raw_keys_only", [] {
             std::int64_t rows = 0;
             while (g->rapidKeys.step())
                 ++rows;
             g->rapidKeys.reset();
             return rows;
         }},
        {"diag/rapid_fetch_in_blocks", [] {
             std::int64_t rows = 0, sink = 0;
             const auto& keys = g->rapidKeyList;
             for (std::size_t first = 0; first < keys.size(); first += 64) {
                 for (std::size_t i = 0; i < 64; ++i) {
                     if (first + i < keys.size())
                         g->rapidFetchBlock.bind(static_cast<int>(i) + 1, keys[first + i]);
                     else
                         g->rapidFetchBlock.bindNull(static_cast<int>(i) + 1);
                 }
                 while (g->rapidFetchBlock.step()) {
                     sink += readRawRow(g->rapidFetchBlock.handle());
                     ++rows;
                 }
                 g->rapidFetchBlock.reset();
             }
             benchmark::DoNotOptimize(sink);
             return rows;
         }},
        {"diag/rapid_fetch_by_key", [] {
             std::int64_t rows = 0, sink = 0;
             for (std::int64_t key : g->rapidKeyList) {
                 g->rapidFetchOne.bind(1, key);
                 while (g->rapidFetchOne.step()) {
                     sink += readRawRow(g->rapidFetchOne.handle());
                     ++rows;
                 }
                 g->rapidFetchOne.reset();
             }
             benchmark::DoNotOptimize(sink);
             return rows;
         }},
        {"diag/list_keys_one_pass", [] {
             std::vector<std::int64_t> keys;
             std::int64_t sink = 0;
             while (g->listKeysAndRows.step()) {
                 if (keys.size() < 64)
                     sink += readRawRow(g->listKeysAndRows.handle());
                 keys.push_back(g->listKeysAndRows.int64(0));
             }
             g->listKeysAndRows.reset();
             benchmark::DoNotOptimize(sink);
             return static_cast<std::int64_t>(keys.size());
         }},
        {"diag/list_probe_then_keys", [] {
             std::int64_t rows = 0, sink = 0;
             while (g->listProbe.step()) {
                 sink += readRawRow(g->listProbe.handle());
                 ++rows;
             }
             g->listProbe.reset();
             benchmark::DoNotOptimize(sink);
             return rows <= kProbeRows ? rows : static_cast<std::int64_t>(rawKeyList().size());
         }},
        {"diag/rapid_raw_decoded", [] { return stepAllDecoded(g->rapidSearch, g->rapidTypes); }},
    };
}

struct Timing {
    double cpuSeconds = 0;
    double realSeconds = 0;
    std::int64_t iterations = 0;
};

// Keeps every run's time per iteration as well as printing it.
class CollectingReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, Timing> timings;

    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.error_occurred || run.run_type != Run::RT_Iteration)
                continue;
            const double toSeconds = 1.0 / benchmark::GetTimeUnitMultiplier(run.time_unit);
            timings[run.benchmark_name()] = {run.GetAdjustedCPUTime() * toSeconds, run.GetAdjustedRealTime() * toSeconds,
                                             run.iterations};
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

std::vector<std::string> queryPlan(sqlite::Connection& connection, const QString& sql)
{
    std::vector<std::string> lines;
    auto s = connection.prepare(QStringLiteral("EXPLAIN QUERY PLAN ") + sql);
    while (s.step())
        lines.push_back(s.text(3).toStdString());
    return lines;
}

void printPlan(sqlite::Connection& connection, const char* label, const QString& sql)
{
    std::printf("  %s: %s\n", label, qPrintable(sql));
    for (const std::string& line : queryPlan(connection, sql))
        std::printf("      plan: %s\n", line.c_str());
}

// What our layer hands SQLite for each query, and how SQLite runs it.
void printTranslations()
{
    sqlite::Connection& c = g->db->connection();
    const jet::Catalog& catalog = g->db->catalog();
    std::printf("\nSQLite text our layer runs, with its query plan:\n");
    const std::pair<const char*, QString> dynasets[] = {
        {"rapid search", kRapidSearch}, {"one member", kOneMember}, {"whole list", kWholeList}, {"all members", kAllMembers}};
    for (const auto& [label, text] : dynasets) {
        const jet::SelectPlan plan = jet::translateSelect(text, catalog);
        std::printf("%s (dynaset)\n", label);
        printPlan(c, "keys", plan.keySql());
        printPlan(c, "rows", rowFetchSql(plan));
    }
    for (const auto& [label, text] : {std::pair<const char*, QString>{"sum one", kSumOne}, {"sum all", kSumAll}}) {
        std::printf("%s (snapshot)\n", label);
        printPlan(c, "rows", jet::translateSelect(text, catalog).sql());
    }
    if (const jet::Table* members = catalog.find(u"Members")) {
        // A find takes a look-up by key only when the keyset ascends; otherwise it collects the
        // matching keys and searches the keyset for them.
        auto keys = c.prepare(jet::translateSelect(kAllMembers, catalog).keySql());
        bool ascending = true;
        std::int64_t previous = 0;
        while (keys.step()) {
            ascending = ascending && keys.int64(0) >= previous;
            previous = keys.int64(0);
        }
        const QString condition = jet::translateCriterion(u"memberid = 4242", *members);
        std::printf("find-first memberid = n in the dynaset of all members, whose keys %s\n",
                    ascending ? "ascend" : "do NOT ascend (positions come from a sorted index of the keys)");
        printPlan(c, "find", ascending ? QStringLiteral("SELECT rowid FROM \"Members\" WHERE rowid >= 1 AND (%1) ORDER BY rowid LIMIT 256").arg(condition)
                                       : QStringLiteral("SELECT rowid FROM \"Members\" WHERE %1").arg(condition));
    }
    std::printf("raw whole list, keys and rows in one statement\n");
    printPlan(g->raw, "rows", QString::fromUtf8(kRawListKeysAndRows));
    std::printf("raw rapid search\n");
    printPlan(g->raw, "rows", QString::fromUtf8(kRawRapidSearch));
    std::printf("\n");
}

// Memory a dynaset of the whole list holds: the rise in resident memory while several stay open.
// Big blocks are given their own mappings here, so that a freed key list cannot be reused
// unseen and every byte a new one holds shows in the resident size.
void measureKeysetMemory(double& bytesPerRow, std::vector<double>& perOpen)
{
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    malloc_trim(0);
    constexpr int kOpens = 4;
    std::vector<std::unique_ptr<dao::Recordset>> open;
    const long before = residentBytes();
    long last = before;
    std::int64_t rows = 0;
    for (int i = 0; i < kOpens; ++i) {
        open.push_back(g->db->openRecordset(kWholeList));
        rows += open.back()->recordCount();
        const long now = residentBytes();
        perOpen.push_back(static_cast<double>(now - last) / open.back()->recordCount());
        last = now;
    }
    bytesPerRow = static_cast<double>(last - before) / static_cast<double>(rows);
}

std::string formatTime(double seconds)
{
    char buffer[32];
    if (seconds >= 1.0)
        std::snprintf(buffer, sizeof buffer, "%.2f s", seconds);
    else if (seconds >= 1e-3)
        std::snprintf(buffer, sizeof buffer, "%.2f ms", seconds * 1e3);
    else
        std::snprintf(buffer, sizeof buffer, "%.1f us", seconds * 1e6);
    return buffer;
}

struct Row {
    const char* label;
    const char* ours;         // nullptr: the raw figure alone, for context
    const char* raw;          // nullptr: our figure alone
    double targetRatio;       // 0: none
    double targetSeconds;     // 0: none
};

std::string format(const char* pattern, double value)
{
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, pattern, value);
    return buffer;
}

void printRows(const std::map<std::string, Timing>& t, std::initializer_list<Row> rows)
{
    std::printf("%-46s %11s %11s %8s   %s\n", "operation", "ours", "raw", "ratio", "target");
    for (const Row& r : rows) {
        const auto ours = r.ours ? t.find(r.ours) : t.end();
        const auto raw = r.raw ? t.find(r.raw) : t.end();
        const bool haveOurs = ours != t.end(), haveRaw = raw != t.end();
        if (!haveOurs && !haveRaw)
            continue;  // filtered out of this run
        std::string ratioText = "-", target;
        bool missed = false;
        if (haveOurs && haveRaw) {
            const double ratio = ours->second.cpuSeconds / raw->second.cpuSeconds;
            ratioText = format("%.2fx", ratio);
            missed = r.targetRatio > 0 && ratio > r.targetRatio;
        }
        if (r.targetRatio > 0)
            target = format("<= %gx", r.targetRatio);
        if (r.targetSeconds > 0) {
            // "About" a time allows half as much again; "under" it allows nothing.
            const bool strict = r.targetSeconds >= 0.1;
            target += (target.empty() ? "" : ", ") + std::string(strict ? "< " : "~") + formatTime(r.targetSeconds);
            if (haveOurs && ours->second.cpuSeconds > r.targetSeconds * (strict ? 1.0 : 1.5))
                missed = true;
        }
        if (!target.empty() && haveOurs)
            target += missed ? "  MISSED" : "  met";
        std::printf("%-46s %11s %11s %8s   %s\n", r.label, haveOurs ? formatTime(ours->second.cpuSeconds).c_str() : "-",
                    haveRaw ? formatTime(raw->second.cpuSeconds).c_str() : "-", ratioText.c_str(), target.c_str());
    }
}

void printTable(const std::map<std::string, Timing>& t, const std::map<std::string, std::int64_t>& checks,
                double bytesPerRow, const std::vector<double>& perOpen)
{
    std::printf("\nCPU time per operation. The process runs on one thread; CPU time keeps other work on a\n"
                "shared machine out of the figures (Google Benchmark's own lines above give wall time too).\n");
    printRows(t, {
        {"rapid search s*/j* (open + walk)", "rapid_search/ours", "rapid_search/raw", 1.5, 1e-3},
        {"one member's donations (open + walk)", "one_member/ours", "one_member/raw", 2.0, 0},
        {"sum for one member", "sum_one/ours", "sum_one/raw", 2.0, 0},
        {"sum for all", "sum_all/ours", "sum_all/raw", 1.5, 0},
        {"whole list: open dynaset (key list)", "list_open/ours", "list_open/raw", 1.5, 0.1},
        {"whole list: open + 50 rows @500000", "list_middle/ours", "list_middle/raw", 1.5, 0},
        {"whole list: full-row stepping", nullptr, "list_full_rows/raw", 0, 0},
        {"find-first memberid = n (dynaset)", "find_first/ours", "find_first/raw", 2.0, 0},
        {"find-first + read the row", "find_read/ours", "find_read/raw", 2.0, 0},
    });

    std::printf("\nWhere our time goes (break-down and what-ifs):\n");
    printRows(t, {
        {"sum for all: raw, jet_sum against sum", "diag/sum_all_raw_exact", "sum_all/raw", 1.05, 0},
        {"translate the one-member text", "diag/translate_one_member", nullptr, 0, 0},
        {"prepare its key query", "diag/prepare_one_member_keys", nullptr, 0, 0},
        {"prepare its 64-key row fetch", "diag/prepare_row_fetch_64", nullptr, 0, 0},
        {"one member: open alone (keys, no rows)", "diag/one_member_open_only", nullptr, 0, 0},
        {"one member: raw, prepared every time", "one_member/ours", "diag/one_member_raw_prepare_each", 0, 0},
        {"one member: raw + value decoding", "one_member/ours", "diag/one_member_raw_decoded", 0, 0},
        {"rapid search: raw key scan alone", nullptr, "diag/rapid_raw_keys_only", 0, 0},
        {"rapid search: raw fetch of its rows, IN lists", nullptr, "diag/rapid_fetch_in_blocks", 0, 0},
        {"rapid search: raw fetch of its rows, by key", nullptr, "diag/rapid_fetch_by_key", 0, 0},
        {"rapid search: raw + value decoding", "rapid_search/ours", "diag/rapid_raw_decoded", 0, 0},
        {"whole list: keys and first rows in one pass", "list_open/ours", "diag/list_keys_one_pass", 0, 0},
        {"whole list: 1025-row probe, then key list", "list_open/ours", "diag/list_probe_then_keys", 0, 0},
        {"find-first in a key-ordered dynaset", "find_first_keyorder/ours", "find_first/raw", 2.0, 0},
        {"find-first + read, key-ordered dynaset", "diag/find_read_keyorder", "find_read/raw", 2.0, 0},
    });

    if (const auto c = checks.find("rapid_search/ours"); c != checks.end())
        std::printf("\nrapid search rows: %lld (about 400 expected)\n", static_cast<long long>(c->second));
    if (const auto c = checks.find("one_member/ours"); c != checks.end())
        std::printf("member %d's donations: %lld rows\n", kMember, static_cast<long long>(c->second));
    if (bytesPerRow > 0) {
        std::printf("dynaset of the whole list: %.2f bytes/row resident (target <= 16 bytes/row  %s); per open:",
                    bytesPerRow, bytesPerRow <= 16.0 ? "met" : "MISSED");
        for (double b : perOpen)
            std::printf(" %.2f", b);
        std::printf("\n");
    }
}

} // namespace

int main(int argc, char** argv)
{
    // Short runs by default: the machine is shared. An explicit flag wins.
    std::vector<char*> args(argv, argv + argc);
    static char defaultMinTime[] = "--benchmark_min_time=0.2";
    bool hasMinTime = false;
    for (int i = 1; i < argc; ++i)
        hasMinTime = hasMinTime || std::strncmp(argv[i], "--benchmark_min_time", 20) == 0;
    if (!hasMinTime)
        args.insert(args.begin() + 1, defaultMinTime);
    int count = static_cast<int>(args.size());
    args.push_back(nullptr);
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data()))
        return 2;

    Fixture fixture;
    g = &fixture;
    std::map<std::string, std::int64_t> checks;
    try {
        const QString path = benchFile();
        ensureBenchFile(path);

        QElapsedTimer timer;
        timer.start();
        fixture.db = dao::Engine::instance().defaultWorkspace().openDatabase(path, false, false,
                                                                             db::DescrambleConnect(db::kScrambledConnect));
        const double oursOpen = static_cast<double>(timer.nsecsElapsed()) / 1e9;
        timer.restart();
        // The same keying, page cache and collation as our layer gets: the wrapper applies them.
        fixture.raw = sqlite::Connection(path, db::databasePassword().toUtf8(), sqlite::Connection::Mode::ReadOnly);
        fixture.raw.verifyReadable(path);
        const double rawOpen = static_cast<double>(timer.nsecsElapsed()) / 1e9;
        std::printf("file %s (%.1f MB); open: ours %s (with catalog), raw %s\n", qPrintable(path),
                    static_cast<double>(QFileInfo(path).size()) / 1e6, formatTime(oursOpen).c_str(), formatTime(rawOpen).c_str());

        auto& r = fixture.raw;
        fixture.rapidSearch = r.prepare(QString::fromUtf8(kRawRapidSearch));
        fixture.oneMember = r.prepare(QString::fromUtf8(kRawOneMember));
        fixture.sumOne = r.prepare(QString::fromUtf8(kRawSumOne));
        fixture.sumAll = r.prepare(QString::fromUtf8(kRawSumAll));
        fixture.exactSumAll = r.prepare(QString::fromUtf8(kRawExactSumAll));
        fixture.listKeys = r.prepare(QString::fromUtf8(kRawListKeys));
        fixture.paymentByKey = r.prepare(QString::fromUtf8(kRawPaymentByKey));
        fixture.listRows = r.prepare(QString::fromUtf8(kRawListRows));
        fixture.memberKey = r.prepare(QString::fromUtf8(kRawMemberKey));
        fixture.memberRow = r.prepare(QString::fromUtf8(kRawMemberRow));
        fixture.members = fixture.db->openRecordset(kAllMembers);
        fixture.membersByKey = fixture.db->openRecordset(kMembersByKey);
        fixture.rapidKeys = r.prepare(QString::fromUtf8(kRawRapidKeys));
        fixture.listKeysAndRows = r.prepare(QString::fromUtf8(kRawListKeysAndRows));
        fixture.listProbe = r.prepare(QStringLiteral("%1 LIMIT %2").arg(QString::fromUtf8(kRawListKeysAndRows)).arg(kProbeRows + 1));
        fixture.rapidFetchBlock = r.prepare(rowFetchSql(jet::translateSelect(kRapidSearch, fixture.db->catalog())));
        fixture.rapidFetchOne = r.prepare(QStringLiteral("SELECT rowid, MemberID, LastName, FirstName, Address FROM Members WHERE rowid = ?"));
        while (fixture.rapidKeys.step())
            fixture.rapidKeyList.push_back(fixture.rapidKeys.int64(0));
        fixture.rapidKeys.reset();
        fixture.oneMemberPlan = jet::translateSelect(kOneMember, fixture.db->catalog());
        fixture.rapidPlan = jet::translateSelect(kRapidSearch, fixture.db->catalog());
        fixture.oneMemberTypes = typesOf(fixture.oneMemberPlan);
        fixture.rapidTypes = typesOf(fixture.rapidPlan);

        printTranslations();

        // Warm both page caches with every operation once, and make sure both sides of each
        // comparison did the same work: a faster query that finds other rows proves nothing.
        bool agree = true;
        for (const Operation& op : operations())
            checks[op.name] = op.run();
        for (const auto& [name, value] : checks) {
            if (name.size() < 5 || name.compare(name.size() - 5, 5, "/ours") != 0)
                continue;
            const std::string raw = name.substr(0, name.size() - 5) + "/raw";
            if (checks.count(raw) && checks[raw] != value) {
                std::fprintf(stderr, "%s gives %lld, %s gives %lld\n", name.c_str(), static_cast<long long>(value),
                             raw.c_str(), static_cast<long long>(checks[raw]));
                agree = false;
            }
        }
        if (checks["diag/sum_all_raw_exact"] != checks["sum_all/raw"]) {
            std::fprintf(stderr, "jet_sum gives %lld, sum gives %lld\n", static_cast<long long>(checks["diag/sum_all_raw_exact"]),
                         static_cast<long long>(checks["sum_all/raw"]));
            agree = false;
        }
        if (!agree)
            return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "data_layer_bench: %s\n", e.what());
        return 1;
    }

    for (const Operation& op : operations()) {
        auto run = op.run;
        benchmark::RegisterBenchmark(op.name.c_str(), [run](benchmark::State& state) {
            std::int64_t check = 0;
            for (auto _ : state)
                check = run();
            benchmark::DoNotOptimize(check);
        })->Unit(benchmark::kMicrosecond);
    }
    CollectingReporter reporter;
    try {
        benchmark::RunSpecifiedBenchmarks(&reporter);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "data_layer_bench: %s\n", e.what());
        return 1;
    }

    double bytesPerRow = 0;
    std::vector<double> perOpen;
    measureKeysetMemory(bytesPerRow, perOpen);
    printTable(reporter.timings, checks, bytesPerRow, perOpen);
    benchmark::Shutdown();
    return 0;
}
