#include "sql_functions.h"

#include "like_pattern.h"
#include "text_fold.h"

#include "platform/vb/currency.h"

#include <sqlcipher/sqlite3.h>

#include <cstring>
#include <optional>
#include <type_traits>

namespace jet {

namespace {

int collate(void*, int aLen, const void* a, int bLen, const void* b)
{
    return compareFolded(static_cast<const char*>(a), static_cast<std::size_t>(aLen),
                         static_cast<const char*>(b), static_cast<std::size_t>(bLen));
}

void destroyPattern(void* p)
{
    delete static_cast<LikePattern*>(p);
}

// jet_like(value, pattern)
void likeFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    auto* pattern = static_cast<LikePattern*>(sqlite3_get_auxdata(ctx, 1));
    if (!pattern) {
        const auto* bytes = reinterpret_cast<const char*>(sqlite3_value_text(argv[1]));
        pattern = new LikePattern(bytes, static_cast<std::size_t>(sqlite3_value_bytes(argv[1])));
        sqlite3_set_auxdata(ctx, 1, pattern, destroyPattern);
        // SQLite may have destroyed it already when it could not keep it; ask again.
        pattern = static_cast<LikePattern*>(sqlite3_get_auxdata(ctx, 1));
        if (!pattern) {
            LikePattern once(bytes, static_cast<std::size_t>(sqlite3_value_bytes(argv[1])));
            const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
            sqlite3_result_int(ctx, once.matches(text, static_cast<std::size_t>(sqlite3_value_bytes(argv[0]))));
            return;
        }
    }
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    sqlite3_result_int(ctx, pattern->matches(text, static_cast<std::size_t>(sqlite3_value_bytes(argv[0]))));
}

// jet_sum(value). SQLite hands out the state zero-filled, which is an empty sum. Its memory is
// aligned for 8 bytes and the 128-bit sum wants 16, so the state is copied in and out.
struct SumState {
    vb::CurrencySum sum;
    bool any;
};
static_assert(std::is_trivially_copyable_v<SumState>);

SumState loadSum(const void* memory)
{
    SumState state;
    std::memcpy(&state, memory, sizeof state);
    return state;
}

void sumStep(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    const int type = sqlite3_value_type(argv[0]);
    if (type == SQLITE_NULL)
        return;
    void* memory = sqlite3_aggregate_context(ctx, sizeof(SumState));
    if (!memory) {
        sqlite3_result_error_nomem(ctx);
        return;
    }
    SumState state = loadSum(memory);
    state.any = true;
    if (type == SQLITE_INTEGER)
        state.sum.addRaw(sqlite3_value_int64(argv[0]));
    else
        state.sum.spoil();
    std::memcpy(memory, &state, sizeof state);
}

void sumFinal(sqlite3_context* ctx)
{
    const void* memory = sqlite3_aggregate_context(ctx, 0);
    if (!memory) {
        sqlite3_result_null(ctx);
        return;
    }
    const SumState state = loadSum(memory);
    if (!state.any) {
        sqlite3_result_null(ctx);
        return;
    }
    if (const std::optional<vb::Currency> total = state.sum.value()) {
        sqlite3_result_int64(ctx, total->raw());
        return;
    }
    if (state.sum.spoiled()) {
        sqlite3_result_error(ctx, "A value to total is not a number the program stores.", -1);
        sqlite3_result_error_code(ctx, SQLITE_MISMATCH);
    } else {
        sqlite3_result_error(ctx, "The total lies beyond the range of an amount.", -1);
        sqlite3_result_error_code(ctx, SQLITE_RANGE);
    }
}

} // namespace

void registerSqlFunctions(sqlite3* db)
{
    sqlite3_create_collation(db, kCollation, SQLITE_UTF8, nullptr, collate);
    sqlite3_create_function(db, kLikeFunction, 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                            likeFunction, nullptr, nullptr);
    sqlite3_create_function(db, kSumFunction, 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, nullptr, sumStep, sumFinal);
}

} // namespace jet
