#pragma once
// A record set as the program uses it. A dynaset is a keyset cursor: a query of a few rows is
// read whole at open; a larger one reads its ordered row keys a chunk at a time as the set is
// used, and its rows by key when they are visited (a block of neighbours on a step, the one row
// on a jump), so that a million donations cost a key list. Rows it adds join the end of the
// keyset; a row deleted through it (or through another record set) reads as deleted. A snapshot
// holds the rows of a Distinct or aggregate query, read-only.
#include "platform/jet/translator.h"
#include "platform/vb/value.h"

#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace dao {

class Database;

using Bookmark = std::int64_t;

class Recordset {
public:
    enum class EditMode { None, Edit, AddNew };

    // Opens the query; its first row, if any, is current.
    Recordset(std::shared_ptr<Database> db, jet::SelectPlan plan);
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    // Unique in the process, never 0, rising with every set opened; a requery keeps it, since the set
    // stays the same. Views that must know whether they still show "their" set compare it: a set
    // freed and another opened at the same address is told apart.
    std::uint64_t serial() const { return serial_; }

    bool isUpdatable() const { return plan_.updatable; }
    const std::shared_ptr<Database>& database() const;
    const jet::SelectPlan& plan() const { return plan_; }

    // Navigation. Moving past the last row sets EOF, before the first BOF; moving on from
    // there raises "No current record" (3021).
    void moveFirst();
    void moveLast();
    void moveNext();
    void movePrevious();
    bool isBOF() const;
    bool isEOF() const;
    int recordCount() const;             // exact: reads whatever keys are still unread
    int absolutePosition() const;        // 0-based; -1 without a current row
    // Whether there is a current row that can be read (not BOF/EOF, not deleted).
    bool hasCurrentRow() const;
    void setAbsolutePosition(int position);
    // Keyset positions as rowAt and setAbsolutePosition count them: a row deleted through this
    // set keeps its position until the next requery. Exact, like recordCount.
    int positionCount() const;
    // Whether the row at a position was deleted through this set.
    bool isDeletedAt(int position) const;

    // Finds the first row, in the record set's order, that meets a dialect criterion and makes
    // it current; sets noMatch() when none does (the current row then stays where it was). A
    // snapshot refuses finds (3326).
    void findFirst(const QString& criterion);
    void findNext(const QString& criterion);
    bool noMatch() const { return noMatch_; }

    // Editing.
    void addNew();
    void edit();
    void setField(const QString& name, const vb::Value& value);
    void setField(int index, const vb::Value& value);
    void update();
    void cancelUpdate();
    void deleteCurrent();
    EditMode editMode() const { return editMode_; }

    Bookmark bookmark() const;           // of the current row
    void setBookmark(Bookmark bookmark);
    Bookmark lastModified() const;       // the row last added or changed through this set

    // Fields of the current row (with a pending edit, the edited values).
    int fieldCount() const { return static_cast<int>(plan_.columns.size()); }
    QString fieldName(int index) const;
    jet::FieldType fieldType(int index) const;
    int fieldIndex(const QString& name) const;  // -1 when absent
    vb::Value field(const QString& name) const;   // raises 3265 for an unknown name
    vb::Value field(int index) const;

    // Re-runs the query: a new keyset (new rows, for a snapshot), the first row current.
    void requery();
    // Lets go of the keys, rows and statements: the set is empty until it is requeried.
    void close();

    // The row at a keyset position, for views that show many rows (a grid): rows asked for one
    // after another are read a block at a time. Returns nullopt for a deleted row and for a
    // position past the end.
    std::optional<std::vector<vb::Value>> rowAt(int position);

private:
    void findFrom(const QString& criterion, int start);
    const std::vector<vb::Value>& currentRow() const;

    class Impl;
    jet::SelectPlan plan_;  // before impl_: the rows it holds read the plan until they are gone
    std::unique_ptr<Impl> impl_;
    const std::uint64_t serial_;
    EditMode editMode_ = EditMode::None;
    bool noMatch_ = false;
};

} // namespace dao
