#pragma once
// The inside of a record set: its database, the rows it reads (a keyset or a snapshot), its
// current position and pending edit. Private to the dao library: only recordset.cpp includes it.
#include "database.h"
#include "keyset_rows.h"
#include "recordset.h"
#include "snapshot_rows.h"

#include <QHash>
#include <memory>
#include <optional>

namespace dao {

class Recordset::Impl {
public:
    Impl(std::shared_ptr<Database> database, const jet::SelectPlan& plan) : db(std::move(database))
    {
        if (const jet::Table* t = db->catalog().find(plan.table))
            table = *t;
        // The one place the kind of set matters: updatable queries get a keyset cursor.
        if (plan.updatable)
            rows = std::make_unique<KeysetRows>(*db, plan);
        else
            rows = std::make_unique<SnapshotRows>(*db, plan);
    }

    std::shared_ptr<Database> db;  // first: the rows use it until they are gone
    jet::Table table;  // a copy: the catalog may be read again while the set lives
    std::unique_ptr<RowSource> rows;

    int position = -1;  // -1: before the first row; rows->size(): after the last
    std::vector<std::optional<vb::Value>> pending;
    Bookmark lastModified = -1;
    QHash<QString, QString> criteria;  // find criteria as translated, literals written out
    QHash<QString, std::optional<jet::CriterionShape>> shapes;  // by jet::criterionShapeKey

    sqlite::Connection& connection() { return db->connection(); }

    // Neither BOF nor EOF: the position stands on a row, though maybe a deleted one.
    bool onRow() const { return position >= 0 && position < rows->size(); }

    // Moves skip rows this record set deleted itself, as the classic engine does.
    int skipDeleted(int p, int step)
    {
        while (p >= 0 && rows->reach(p) && rows->isDeleted(p))
            p += step;
        return p;
    }

    // A find is often repeated with other numbers (member after member) and as often with the
    // same text (a walk with findNext). Translating and preparing cost more than the look-up,
    // so a criterion's shape is translated once with its literals as parameters and each find
    // binds its own values; criteria whose literals decide the condition's form (a Like
    // pattern) are translated with them written out, and recent texts are kept.
    Condition condition(const QString& criterion)
    {
        const std::vector<jet::Token> tokens = jet::tokenize(criterion);
        const QString key = jet::criterionShapeKey(tokens);
        auto shape = shapes.constFind(key);
        if (shape == shapes.constEnd()) {
            // The first of its shape is translated as written, which raises its errors as ever.
            const QString written = translated(criterion);
            if (shapes.size() >= 32)
                shapes.clear();
            shape = shapes.insert(key, jet::shapeCriterion(criterion, table));
            if (!*shape)
                return {written, {}, true};
        }
        if (*shape) {
            if (auto values = jet::criterionValues(**shape, tokens, criterion, table))
                return {(*shape)->sql, std::move(*values), false};
        }
        return {translated(criterion), {}, true};
    }

    QString translated(const QString& criterion)
    {
        auto known = criteria.constFind(criterion);
        if (known == criteria.constEnd()) {
            if (criteria.size() >= 32)
                criteria.clear();
            known = criteria.insert(criterion, jet::translateCriterion(criterion, table));
        }
        return *known;
    }
};

} // namespace dao
