#include "data_source.h"

#include "report_error.h"

namespace report {

Rows::~Rows() = default;

namespace {
[[noreturn]] void noMember(const QString& member)
{
    throw ReportError(QStringLiteral("The data member '%1' is not part of the report's rows.").arg(member));
}
} // namespace

QStringList DataSource::memberNames() const
{
    return {};
}

QStringList DataSource::memberFieldNames(const QString& member) const
{
    noMember(member);
}

int DataSource::childCount(int, const QString& member)
{
    noMember(member);
}

std::unique_ptr<Rows> DataSource::children(int, const QString& member)
{
    noMember(member);
}

int indexOfName(const QStringList& names, QStringView name)
{
    for (qsizetype i = 0; i < names.size(); ++i)
        if (names[i].compare(name, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    return -1;
}

} // namespace report
