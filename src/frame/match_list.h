#pragma once
// The rapid search's lists (C_List, the names shown; ID_list, the member numbers, hidden): list
// views over one model, each showing one of its columns, so the two cannot drift apart. Lines
// are counted and read by row.
#include <QListView>
#include <QString>

class MatchList : public QListView {
    Q_OBJECT

public:
    using QListView::QListView;

    int count() const;
    // The line of a row as shown; "" past the end.
    QString text(int row) const;
    // The highlighted row, -1 when none is: a row that only has the keyboard cursor without
    // being highlighted is not chosen.
    int selectedRow() const;
    // Makes a row current and highlighted.
    void setCurrentRow(int row);
};
