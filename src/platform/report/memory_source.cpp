#include "memory_source.h"

#include "report_error.h"

namespace report {

MemoryRows::MemoryRows(QStringList fields, std::vector<std::vector<vb::Value>> rows)
    : fields_(std::move(fields)), rows_(std::move(rows))
{
    for (auto& r : rows_)
        r.resize(static_cast<std::size_t>(fields_.size()));
}

std::vector<vb::Value> MemoryRows::row(int index)
{
    if (index < 0 || index >= count())
        throw ReportError(QStringLiteral("Row %1 is outside the report's %2 rows.").arg(index).arg(count()));
    return rows_[static_cast<std::size_t>(index)];
}

MemorySource::MemorySource(QStringList fields, std::vector<std::vector<vb::Value>> rows)
    : parents_(std::move(fields), std::move(rows))
{
}

MemorySource& MemorySource::addMember(const QString& name, QStringList fields)
{
    members_.push_back(Member{name, std::move(fields), {}});
    return *this;
}

MemorySource& MemorySource::addChildren(int parent, const QString& name, std::vector<std::vector<vb::Value>> rows)
{
    auto& list = member(name).rows[parent];
    list.insert(list.end(), std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
    return *this;
}

const MemorySource::Member& MemorySource::member(const QString& name) const
{
    for (const Member& m : members_)
        if (m.name.compare(name, Qt::CaseInsensitive) == 0)
            return m;
    throw ReportError(QStringLiteral("The data member '%1' is not part of the report's rows.").arg(name));
}

MemorySource::Member& MemorySource::member(const QString& name)
{
    return const_cast<Member&>(static_cast<const MemorySource*>(this)->member(name));
}

QStringList MemorySource::memberNames() const
{
    QStringList names;
    for (const Member& m : members_)
        names << m.name;
    return names;
}

QStringList MemorySource::memberFieldNames(const QString& name) const
{
    return member(name).fields;
}

int MemorySource::childCount(int parent, const QString& name)
{
    const Member& m = member(name);
    const auto it = m.rows.find(parent);
    return it == m.rows.end() ? 0 : static_cast<int>(it->second.size());
}

std::unique_ptr<Rows> MemorySource::children(int parent, const QString& name)
{
    const Member& m = member(name);
    const auto it = m.rows.find(parent);
    return std::make_unique<MemoryRows>(m.fields, it == m.rows.end() ? std::vector<std::vector<vb::Value>>{} : it->second);
}

} // namespace report
