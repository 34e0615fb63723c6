#pragma once
// What a report reads: rows of named fields, and for a grouped layout the related child rows of
// each parent row (a data member, as a hierarchical record set names them). A record set, a work
// table or a test's vector all fit behind it.
//
// The engine asks for counts first, to paginate, and for rows only of the pages it lays out, so
// a source should answer count() and childCount() without reading the rows themselves.
#include "platform/vb/value.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace report {

class Rows {
public:
    virtual ~Rows();
    virtual QStringList fieldNames() const = 0;
    virtual int count() = 0;
    // The values of row `index` (0 <= index < count()), one per field name, in their order.
    virtual std::vector<vb::Value> row(int index) = 0;
};

class DataSource : public Rows {
public:
    // The child row sets each parent row has ("QuilPay"). None by default.
    virtual QStringList memberNames() const;
    // The field names of a child row set. Throws ReportError for a name not in memberNames().
    virtual QStringList memberFieldNames(const QString& member) const;
    // How many child rows a parent row has in a child row set.
    virtual int childCount(int parent, const QString& member);
    // The child rows of a parent row, in their own order.
    virtual std::unique_ptr<Rows> children(int parent, const QString& member);
};

// Index of a name in a list, letter case ignored; -1 when absent.
int indexOfName(const QStringList& names, QStringView name);

} // namespace report
