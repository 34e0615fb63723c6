#include "frame/match_list.h"

#include <QAbstractItemModel>
#include <QItemSelectionModel>

int MatchList::count() const
{
    return model() ? model()->rowCount(rootIndex()) : 0;
}

QString MatchList::text(int row) const
{
    if (!model() || row < 0 || row >= count())
        return {};
    return model()->index(row, modelColumn(), rootIndex()).data().toString();
}

int MatchList::selectedRow() const
{
    if (!selectionModel())
        return -1;
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void MatchList::setCurrentRow(int row)
{
    if (model())
        setCurrentIndex(model()->index(row, modelColumn(), rootIndex()));
}
