#pragma once
// The rows of a shaped command (shape_command.h) through the open database: the parent rows, each
// with its related child rows in the child query's order and the aggregates the command appends
// to it (SUM(QuilPay.PaymentAmount) AS Gtotal: the sum of the member's donations, null when the
// member has none, the text "Not Available" when it cannot be computed).
//
// Opening reads the parent query's keys and each parent's relation value, and the count and sums
// of every parent's child rows in one grouped pass over the child query. A parent's child rows
// are read only when they are asked for, by running the child query narrowed to that parent, so
// a report over 100,000 members reads the donations of the pages it shows. Every failure is a
// jet::DbError: a command that does not read, a query the dialect refuses, a field the RELATE or
// SUM names that the rows lack, a SUM over a field that holds no numbers.
#include "platform/dao/recordset.h"
#include "platform/report/data_source.h"
#include "reports/shape_command.h"

#include <QHash>
#include <memory>

namespace dao { class Database; }

namespace reports {

class ShapedRecordset : public report::DataSource {
public:
    ShapedRecordset(std::shared_ptr<dao::Database> database, const QString& shapedCommand);
    ~ShapedRecordset() override;

    const ShapeCommand& command() const { return command_; }

    // The parent query's fields, then the aggregates' names.
    QStringList fieldNames() const override { return fields_; }
    int count() override { return parentCount_; }
    std::vector<vb::Value> row(int index) override;

    QStringList memberNames() const override;
    QStringList memberFieldNames(const QString& member) const override;
    int childCount(int parent, const QString& member) override;
    std::unique_ptr<report::Rows> children(int parent, const QString& member) override;

    // The child query narrowed to one parent's rows, as it runs for children(): the relation
    // added to the query's condition, its order kept.
    QString childQuery(int parent, const QString& member);

private:
    struct Child;
    Child& child(const QString& member);
    const Child& child(const QString& member) const;
    void openChild(const ShapeChild& shape);
    void readParentKeys();
    void readGroups(Child& c);

    std::shared_ptr<dao::Database> db_;
    ShapeCommand command_;
    std::unique_ptr<dao::Recordset> parents_;
    int parentCount_ = 0;
    QStringList parentFields_;
    QStringList fields_;
    std::vector<std::unique_ptr<Child>> children_;
};

} // namespace reports
