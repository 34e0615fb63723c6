// The duplicate warning of Add Member at the scale of a large organisation (100,000 members):
// the look-up records::findSameMember runs before every new member is written, so it must stay
// an index look-up whatever the file holds. Target: under 5 ms a look-up.
//   - a member on file (the same names and address typed again, in another letter case);
//   - the same names at another address: every member of that name is fetched and compared;
//   - a last name on nobody's record, with the first letter of a common one;
//   - the file's most common last name with a first name nobody has: the widest range walked.
//
//   duplicate_check_bench [rounds]      QUIL_BENCH_FILE=/path/file.qdb names the demo file
#include "platform/dao/database.h"
#include "platform/dao/engine.h"
#include "platform/dao/sqlite.h"
#include "records/duplicate_member.h"
#include "schema/connect_key.h"
#include "timing.h"
#include "window_bench.h"

#include <cstdio>
#include <functional>
#include <random>
#include <vector>

namespace {

struct Typed {
    QString last;
    QString first;
    QString address;
};

void print(const char* what, const bench::Figures& figures, int found, int rounds)
{
    std::printf("%-58s %8.3f ms %8.3f ms %8.3f ms   found %d of %d   (target 5 ms)\n", what, figures.median(), figures.at(0.95),
                figures.worst(), found, rounds);
}

// Times the look-up of each typed member; returns how many were found.
int measure(dao::Database& db, const std::vector<Typed>& typed, bench::Figures& figures)
{
    int found = 0;
    for (const Typed& t : typed) {
        std::int64_t id = -1;
        figures.add(bench::timed([&] { id = records::findSameMember(db, t.last, t.first, t.address); }));
        found += id >= 0 ? 1 : 0;
    }
    return found;
}

} // namespace

int main(int argc, char** argv)
{
    const bench::WindowBench run(argc, argv, 500);
    const int rounds = run.rounds();
    std::shared_ptr<dao::Database> db = dao::Engine::instance().defaultWorkspace().openDatabase(
        run.file(), false, false, db::DescrambleConnect(db::kScrambledConnect));

    // Members picked at random, as typed again.
    std::vector<Typed> onFile;
    {
        sqlite::Statement pick = db->connection().prepare(QStringLiteral(
            "SELECT LastName, FirstName, Address FROM Members WHERE MemberID = ?"));
        std::mt19937 random(12);
        std::uniform_int_distribution<int> member(2, bench::kMembers);
        while (static_cast<int>(onFile.size()) < rounds) {
            pick.reset();
            pick.bind(1, static_cast<std::int64_t>(member(random)));
            if (pick.step())
                onFile.push_back({pick.text(0).toUpper(), pick.text(1).toLower(), pick.text(2)});
        }
    }
    std::vector<Typed> elsewhere;
    std::vector<Typed> unknownName;
    for (const Typed& t : onFile) {
        elsewhere.push_back({t.last, t.first, QStringLiteral("1 Nowhere Lane")});
        unknownName.push_back({t.last.left(1) + QStringLiteral("zzqxv"), t.first, t.address});
    }
    std::vector<Typed> crowded;
    {
        sqlite::Statement common = db->connection().prepare(QStringLiteral(
            "SELECT LastName, count(*) FROM Members GROUP BY LastName ORDER BY 2 DESC LIMIT 1"));
        common.step();
        const QString last = common.text(0);
        std::printf("file %s; the most common last name: %s (%lld members)\n", qPrintable(run.file()), qPrintable(last),
                    static_cast<long long>(common.int64(1)));
        for (int i = 0; i < rounds; ++i)
            crowded.push_back({last, QStringLiteral("Nobody%1").arg(i), QStringLiteral("1 Nowhere Lane")});
    }

    std::printf("%-58s %11s %11s %11s\n", "duplicate check, 100,000 members", "median", "p95", "worst");
    const std::pair<const char*, const std::vector<Typed>*> cases[] = {
        {"a member on file, typed again", &onFile},
        {"the same names at another address", &elsewhere},
        {"a last name nobody has", &unknownName},
        {"the most common last name, a new first name", &crowded},
    };
    for (const auto& [what, typed] : cases) {
        bench::Figures figures;
        const int found = measure(*db, *typed, figures);
        print(what, figures, found, rounds);
    }
    db->close();
    return 0;
}
