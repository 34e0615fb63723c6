// A grid view kept in step with its model and the model's data control.
#include "grid_model.h"

#include "data_control.h"
#include "platform/dao/recordset.h"
#include "platform/jet/db_error.h"

#include <QApplication>
#include <QEvent>
#include <QItemSelectionModel>
#include <QPalette>
#include <QPointer>
#include <QTableView>

namespace data {

namespace {

class GridBinding : public QObject {
public:
    GridBinding(QTableView* view, GridModel* model) : QObject(view), view_(view), model_(model)
    {
        view->installEventFilter(this);
    }

    // The record set's current row becomes the view's current row. Without a current row in
    // the set the view keeps none either.
    void followRecordset()
    {
        if (!model_)
            return;
        dao::Recordset* rs = model_->recordset();
        if (!rs)
            return;
        const int row = model_->rowOfPosition(rs->absolutePosition());
        if (row < 0)
            return;
        const QModelIndex current = view_->currentIndex();
        if (current.isValid() && current.row() == row)
            return;
        const QModelIndex target = model_->index(row, current.isValid() ? current.column() : 0);
        following_ = true;
        view_->setCurrentIndex(target);
        view_->scrollTo(target);
        following_ = false;
    }

    // A row chosen in the view becomes the record set's current row, and the control tells its
    // listeners as after any move.
    void moveRecordset(const QModelIndex& current)
    {
        if (following_ || !current.isValid() || !model_)
            return;
        dao::Recordset* rs = model_->recordset();
        if (!rs)
            return;
        const int position = model_->positionOfRow(current.row());
        try {
            if (rs->absolutePosition() == position)
                return;
            rs->setAbsolutePosition(position);
        } catch (const jet::DbError&) {
            return;
        }
        if (DataControl* source = model_->source())
            source->notifyReposition();
    }

    void applyColours()
    {
        if (!model_)
            return;
        const QPalette system = QApplication::palette(view_);
        QPalette p = view_->palette();
        p.setColor(QPalette::Base, model_->backColor().isValid() ? model_->backColor() : system.color(QPalette::Base));
        p.setColor(QPalette::Text, model_->foreColor().isValid() ? model_->foreColor() : system.color(QPalette::Text));
        view_->setPalette(p);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // The view's own visibility, whether or not its window is on screen.
        if (model_ && watched == view_ && (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent))
            model_->setShown(!view_->isHidden());
        return QObject::eventFilter(watched, event);
    }

private:
    QTableView* view_;
    QPointer<GridModel> model_;  // a model may go before its view
    bool following_ = false;
};

} // namespace

void bindGrid(QTableView* view, GridModel* model)
{
    view->setModel(model);
    auto* binding = new GridBinding(view, model);
    model->setShown(!view->isHidden());
    if (DataControl* source = model->source())
        QObject::connect(source, &DataControl::reposition, binding, [binding] { binding->followRecordset(); });
    QObject::connect(model, &QAbstractItemModel::modelReset, binding, [binding] { binding->followRecordset(); });
    QObject::connect(view->selectionModel(), &QItemSelectionModel::currentRowChanged, binding,
                     [binding](const QModelIndex& current) { binding->moveRecordset(current); });
    QObject::connect(model, &GridModel::coloursChanged, binding, [binding] { binding->applyColours(); });
    binding->applyColours();
}

} // namespace data
