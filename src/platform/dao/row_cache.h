#pragma once
// The rows of a keyset, read by key when they are visited: a step to a neighbour reads its
// block of 64, a jump (a find, a bookmark, a position) reads the one row, since a block would
// read 63 rows nobody asked for. The blocks and rows read lately are kept; every write through
// the database raises its generation, which makes them be read again, so that a row deleted or
// changed elsewhere shows on the next visit.
#include "platform/dao/row_source.h"
#include "platform/dao/statement_lease.h"
#include "platform/jet/translator.h"

#include <cstdint>
#include <map>
#include <optional>

namespace dao {

class Database;
class Keyset;

class RowCache {
public:
    static constexpr int kBlockRows = 64;

    // The database, the plan and the keyset must outlive the cache: the key reader owns it.
    RowCache(Database& db, const jet::SelectPlan& plan, const Keyset& keys) : db_(db), plan_(plan), keys_(keys) {}

    // Forgets every row: the keys were read again.
    void clear();
    // Also gives back the statements it holds.
    void close();
    // The rows of the keys from position 0 on, read with the keys themselves.
    void fill(std::vector<Row> rows);

    // The row at a position of the keyset, none when the table no longer has it.
    const std::optional<Row>& row(int position);
    // The row at a position as just read by whoever found it (a find reads its match's row in
    // the statement that finds it): a visit then costs no look-up of its own.
    void keep(int position, Row row);

private:
    struct Block {
        std::uint64_t generation = 0;
        std::uint64_t lastUse = 0;
        std::vector<std::optional<Row>> rows;
    };
    struct Single {
        std::uint64_t generation = 0;
        std::uint64_t lastUse = 0;
        std::optional<Row> row;
    };

    template <class Entry>
    const Entry* fresh(std::map<int, Entry>& cache, int key, std::size_t capacity);
    const Block& block(int index);
    const Single& single(int position);

    Database& db_;
    const jet::SelectPlan& plan_;
    const Keyset& keys_;
    std::map<int, Block> blocks_;   // by block index
    std::map<int, Single> singles_;  // by position
    int lastVisited_ = -2;
    std::uint64_t useCounter_ = 0;
    // Leased at the first block or jump and held while the set lives: a walk reads many blocks.
    StatementLease fetch_, fetchOne_;
};

} // namespace dao
