#pragma once
// A demonstration database with realistic members and donations, for trying the program out and
// for benchmarks at the scale of a large organization. The same options give the same rows.
#include <QString>
#include <cstdint>

namespace sqlite { class Connection; }

namespace db {

struct DemoOptions {
    int members = 300;        // rows of Members, member 1 included
    int donations = 3000;     // rows of Payments
    std::uint64_t seed = 1;
    int years = 5;            // calendar years of donations ...
    int lastYear = 0;         // ... ending with this one; 0 means the current year
};

// Writes the template to path (which must not exist) and fills it.
void writeDemo(const QString& path, const DemoOptions& options);

// Adds the demo members, donations and funds to a file that holds only the template rows.
void fillDemo(sqlite::Connection& connection, const DemoOptions& options);

} // namespace db
