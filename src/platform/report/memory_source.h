#pragma once
// Rows held in memory: a test's fixture, or rows a caller has already read.
#include "data_source.h"

#include <map>

namespace report {

class MemoryRows : public Rows {
public:
    MemoryRows(QStringList fields, std::vector<std::vector<vb::Value>> rows);

    QStringList fieldNames() const override { return fields_; }
    int count() override { return static_cast<int>(rows_.size()); }
    std::vector<vb::Value> row(int index) override;

private:
    QStringList fields_;
    std::vector<std::vector<vb::Value>> rows_;
};

// Parent rows, each with its child rows under one or more data members.
class MemorySource : public DataSource {
public:
    MemorySource(QStringList fields, std::vector<std::vector<vb::Value>> rows);

    // Declares a child row set; every parent starts with no rows in it.
    MemorySource& addMember(const QString& member, QStringList fields);
    // Appends child rows to a parent.
    MemorySource& addChildren(int parent, const QString& member, std::vector<std::vector<vb::Value>> rows);

    QStringList fieldNames() const override { return parents_.fieldNames(); }
    int count() override { return parents_.count(); }
    std::vector<vb::Value> row(int index) override { return parents_.row(index); }

    QStringList memberNames() const override;
    QStringList memberFieldNames(const QString& member) const override;
    int childCount(int parent, const QString& member) override;
    std::unique_ptr<Rows> children(int parent, const QString& member) override;

private:
    struct Member {
        QString name;
        QStringList fields;
        std::map<int, std::vector<std::vector<vb::Value>>> rows;  // by parent
    };
    const Member& member(const QString& name) const;
    Member& member(const QString& name);

    MemoryRows parents_;
    std::vector<Member> members_;
};

} // namespace report
