// The donation grid: its binding, the donation query rebuilt at every change of the current
// member, the summary line, the sort commands, the member data source's error and validate
// handlers and the filter colours. The edit rules are in grid_edit_rules.cpp.
#include "records/records_commands.h"

#include "frame/dispatch.h"
#include "frame/frm_main.h"
#include "platform/dao/database.h"
#include "platform/dao/recordset.h"
#include "platform/data/data_control.h"
#include "platform/data/grid_model.h"
#include "platform/jet/db_error.h"
#include "platform/ui/ui.h"
#include "platform/vb/format.h"
#include "platform/vb/skip_on_failure.h"
#include "schema/queries.h"

#include <QColor>
#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPalette>
#include <QTableView>
#include <optional>

namespace {

const QString kDonationSelect = QStringLiteral(
    "select [PaymentID],[PaymentAmount],[CheckNumber],[Destination],[PaymentDate], [MemberID] from [Payments]");
const QString kSumSelect = QStringLiteral("SELECT Sum (PaymentAmount) AS [ListTotal] FROM Payments ");
const QString kDonorSelect = db::kAllMembersQuery + QStringLiteral("WHERE [MemberID]= ");

// List View's list is loaded only while the grid holds the very set it was read into.
bool listStillLoaded(const frmMain& f)
{
    const dao::Recordset* list = f.datSecondaryRS->recordset();
    return f.S.GridQueryState == GridQuery::ListLoaded && list && list->serial() == f.S.LoadedListSerial;
}
const QColor kBlue(0, 0, 255);

data::GridModel* gridModel(const frmMain& f)
{
    return qobject_cast<data::GridModel*>(f.grdDataGrid->model());
}

// Mouse presses on the grid's cell area, for the click-outside rule.
class GridClicks : public QObject {
public:
    GridClicks(frmMain& f, RecordsCommands& records) : QObject(f.grdDataGrid->viewport()), f_(f), records_(records)
    {
        f.grdDataGrid->viewport()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonPress) {
            const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
            frame::RunHandler(f_, frame::Origin::Event, [&] { records_.grdDataGrid_MouseClickOutside(at.x(), at.y()); });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    frmMain& f_;
    RecordsCommands& records_;
};

// The member clause of the donation and sum queries: nothing in List View, else the current
// member's number after WHERE, or after AND when a donation filter has its WHERE already. None
// when Member View has no current member to name: leaving the clause out would show the
// donations of every member as this one's.
std::optional<QString> memberClause(const frmMain& f)
{
    if (f.S.ListViewActive)
        return QString();
    dao::Recordset* members = f.datPrimaryRS->recordset();
    if (!members || !members->hasCurrentRow())
        return std::nullopt;
    const vb::Value id = members->field(QStringLiteral("MemberID"));
    if (id.isNull())
        return std::nullopt;
    const QString clause = f.S.DonationFilter.isEmpty() ? QStringLiteral(" WHERE [MemberID]= ") : QStringLiteral(" AND [MemberID]= ");
    return clause + QString::number(id.toLong());
}

} // namespace

void RecordsCommands::ConnectDonationGrid()
{
    auto* model = new data::GridModel(f.datSecondaryRS, f.grdDataGrid);
    model->setColumnFormat(1, QStringLiteral("$##,##0.00"));
    model->setColumnFormat(2, QStringLiteral("#######"));
    model->setColumnFormat(4, QStringLiteral("general date"));
    // The cell holds text, as the classic grid's cells do; the rules read and change that text.
    // A rule that fails keeps the cell as it was: the edit is cancelled before the guard reports.
    model->setBeforeColUpdate([this](int column, const vb::Value& oldValue, vb::Value& newValue, bool& cancel) {
        cancel = true;
        frame::RunHandler(f, frame::Origin::Event, [&] {
            bool refused = false;
            QString text = newValue.toText();
            grdDataGrid_BeforeColUpdate(column, oldValue.toText(), text, refused);
            newValue = vb::Value(text);
            cancel = refused;
        });
    });
    model->setAfterColUpdate(frame::AsEvent(f, [this](int column) { grdDataGrid_AfterColUpdate(column); }));
    // A value the field cannot hold gets the grid's own message; a file that failed the write
    // (disk full, an I/O error, a damaged page) is the program's data error, saying that the
    // cell keeps its stored value.
    model->setWriteError([this](const jet::DbError& e) {
        if (e.number() == jet::err::DataTypeConversion || e.number() == jet::err::FieldTooSmall) {
            ui::message(ui::Beep::Yes, e.description(), ui::Buttons::OKOnly, ui::Icon::Critical, {});
            return;
        }
        f.S.LastAnswer = ui::dataError(QStringLiteral("The change was not saved.\n\n") + e.reason());
    });
    data::bindGrid(f.grdDataGrid, model);
    new GridClicks(f, *this);

    QObject::connect(f.datSecondaryRS, &data::DataControl::reposition, &f,
                     frame::AsEvent(f, [this] { datSecondaryRS_Reposition(); }));
    QObject::connect(f.datPrimaryRS, &data::DataControl::error, &f,
                     frame::AsEvent(f, [this](int number, const QString& description, bool* continueSilently) {
                         datPrimaryRS_Error(number, description, *continueSilently);
                     }));
    QObject::connect(f.datPrimaryRS, &data::DataControl::validate, &f,
                     frame::AsEvent(f, [this](data::Action action, bool* cancel) {
                         bool save = !*cancel;
                         datPrimaryRS_Validate(static_cast<int>(action), save);
                         *cancel = !save;
                     }));
}

void RecordsCommands::datPrimaryRS_Reposition()
{
    auto& S = f.S;
    if (S.SuppressReposition)
        return;
    const QString OrderByText = QStringLiteral(" Order by ");
    ui::current().setBusyPointer(true);
    dao::Recordset* members = f.datPrimaryRS->recordset();
    if (!members || members->recordCount() == 0)
        return;

    std::optional<QString> M;
    skipOnFailure([&] { M = memberClause(f); });
    QString sortField;
    skipOnFailure([&] { sortField = S.SortFields.at(static_cast<std::size_t>(S.SortIndex)); });
    f.Label5->setText(sortField);

    std::optional<QString> query;
    const QString order = OrderByText + sortField;
    switch (S.GridQueryState) {
    case GridQuery::SortedByPaymentId:
    case GridQuery::SortedByAmount:
    case GridQuery::SortedByCheckNumber:
    case GridQuery::SortedByDestination:
    case GridQuery::SortedByDate:
        if (S.ListViewActive) {
            query = kDonationSelect + S.DonationFilter + order;
            S.GridQueryState = GridQuery::ListLoaded;
        } else if (M) {
            query = kDonationSelect + S.DonationFilter + *M + order;
        }
        break;
    case GridQuery::DonationFilterSet:
        if (S.ListViewActive) {
            f.ShowBusyPanel();
            query = S.DonationSelect + S.DonationFilter + order;
            S.GridQueryState = GridQuery::ListLoaded;
        } else if (M) {
            query = S.DonationSelect + S.DonationFilter + *M + order;
        }
        break;
    case GridQuery::ListViewRequested:
        query = S.DonationSelect + S.DonationFilter + order;
        S.GridQueryState = GridQuery::ListLoaded;
        S.ListViewActive = true;
        break;
    case GridQuery::ListLoaded:
        if (listStillLoaded(f)) {
            ui::current().setBusyPointer(false);
            return;
        }
        break;  // the source still names the list: the refresh below reads it again
    default:
        break;
    }
    if (query)
        f.datSecondaryRS->setRecordSource(*query);

    skipOnFailure([&] { f.datSecondaryRS->refresh(); });
    skipOnFailure([&] {
        // Blue tells that this member has donations, but none that pass the filter.
        const dao::Recordset* donations = f.datSecondaryRS->recordset();
        const bool none = !donations || donations->recordCount() == 0;
        gridModel(f)->setBackColor(none && !S.DonationFilter.isEmpty() ? kBlue : QColor());
    });
    skipOnFailure([&] { ShowListTotal(); });
    skipOnFailure([&] {
        // The donor lookup of List View may have replaced the member record set meanwhile.
        const dao::Recordset* current = f.datPrimaryRS->recordset();
        if (current && current->absolutePosition() >= 0)
            f.datPrimaryRS->setCaption(QStringLiteral("Record: %1").arg(current->absolutePosition() + 1));
    });
    f.HideBusyPanel();
    ui::current().setBusyPointer(false);
}

void RecordsCommands::datSecondaryRS_Reposition()
{
    auto& S = f.S;
    if (S.SuppressReposition)
        return;
    if (S.GridQueryState == GridQuery::ListLoaded) {
        // The set the grid holds now is the list: the donor look-up below re-enters the member
        // reposition, which must find the list loaded. A set released while repositions were
        // suppressed (a report) is not taken for it.
        const dao::Recordset* list = f.datSecondaryRS->recordset();
        S.LoadedListSerial = list ? list->serial() : 0;
    }
    if (f.grdDataGrid->isHidden() || S.GridQueryState != GridQuery::ListLoaded)
        return;
    dao::Recordset* donations = f.datSecondaryRS->recordset();
    if (donations && donations->recordCount() > 0) {
        // Between rows (a row just deleted, no current row) there is no donor to show.
        if (!donations->hasCurrentRow())
            return;
        const vb::Value donor = donations->field(QStringLiteral("MemberID"));
        if (donor.isNull())
            return;
        f.datPrimaryRS->setRecordSource(kDonorSelect + QString::number(donor.toLong()));
        f.datPrimaryRS->refresh();
        return;
    }
    S.LastAnswer = ui::message(ui::Beep::No, QStringLiteral("No Donation Records Found"), ui::Buttons::OKOnly,
                               ui::Icon::Critical, QStringLiteral("Bad Query"));
    S.DonationFilter.clear();
}

void RecordsCommands::ShowListTotal()
{
    auto& S = f.S;
    if (S.StandardMode)
        return;
    ui::current().setBusyPointer(true);

    // The figure shown is this query's total or "Not Available": a total that cannot be
    // computed (beyond the range of an amount, over a value that is no amount, a file that
    // failed to answer) must never leave an earlier member's figure standing.
    std::optional<vb::Currency> total;
    skipOnFailure([&] {
        QString query = kSumSelect + S.DonationFilter;
        if (!S.ListViewActive) {
            const std::optional<QString> M = memberClause(f);
            if (!M)
                return;  // no member to total for
            query += *M;
        }
        if ((total = rememberedTotal(query)))
            return;
        // A refused open keeps the source's last set, which may hold an earlier total.
        f.datScratchRS->setRecordset(nullptr);
        f.datScratchRS->setRecordSource(query);
        f.datScratchRS->refresh();
        const dao::Recordset* sum = f.datScratchRS->recordset();
        if (!sum)
            return;
        // A list whose amounts are all empty sums to nothing: that is a total of zero.
        const vb::Value value = sum->field(QStringLiteral("ListTotal"));
        total = value.isNull() ? vb::Currency() : value.toCurrency();
        lastTotal_ = TotalMemo{S.db, S.db ? S.db->writeGeneration() : 0, query, *total};
    });

    const dao::Recordset* donations = f.datSecondaryRS->recordset();
    bool empty = true;
    skipOnFailure([&] { empty = !donations || donations->recordCount() == 0; });
    if (empty) {
        f.Label7->setText(QStringLiteral("0"));
        f.Label2->setText(QStringLiteral("0"));
    } else {
        f.Label7->setText(vb::formatTotal(total, u"$##,##0.00"));
        skipOnFailure([&] {
            data::GridModel* grid = gridModel(f);
            grid->setColumnFormat(1, QStringLiteral("$##,##0.00"));
            grid->setColumnFormat(4, QStringLiteral("general date"));
            grid->setColumnFormat(2, QStringLiteral("#######"));
            f.grdDataGrid->show();
        });
        skipOnFailure([&] {
            f.datSecondaryRS->moveLast();
            const dao::Recordset* moved = f.datSecondaryRS->recordset();
            f.Label2->setText(vb::format(vb::Value(moved->recordCount()), u"##,###"));
        });
    }
    skipOnFailure([&] { f.datScratchRS->setRecordset(nullptr); });
    skipOnFailure([&] { f.ArrangeStatusLabels(); });
    ui::current().setBusyPointer(false);
}

std::optional<vb::Currency> RecordsCommands::rememberedTotal(const QString& query) const
{
    if (!lastTotal_ || lastTotal_->query != query)
        return std::nullopt;
    const std::shared_ptr<dao::Database> database = lastTotal_->database.lock();
    if (!database || database != f.S.db || !database->isOpen() || database->writeGeneration() != lastTotal_->generation)
        return std::nullopt;
    return lastTotal_->total;
}

// ---- Sorting ------------------------------------------------------------------------------------

namespace {

void sortBy(frmMain& f, RecordsCommands& records, int k)
{
    f.S.GridQueryState = static_cast<std::int16_t>(k);
    f.S.SortIndex = k;
    records.datPrimaryRS_Reposition();
}

} // namespace

void RecordsCommands::mnuSortPayID_Click() { sortBy(f, *this, 1); }
void RecordsCommands::mnuSortAmount_Click() { sortBy(f, *this, 2); }
void RecordsCommands::mnuSortCheck_Click() { sortBy(f, *this, 3); }
void RecordsCommands::mnuSortDest_Click() { sortBy(f, *this, 4); }
void RecordsCommands::mnuSortDate_Click() { sortBy(f, *this, 5); }

// ---- The member data source's errors and record actions ----------------------------------------

void RecordsCommands::datPrimaryRS_Error(int DataErr, const QString& Description, bool& ContinueSilently)
{
    // While a file is being opened, its failure is the open's one message about the file.
    ContinueSilently = true;
    if (frame::TakeFailure(f, DataErr, Description))
        return;
    ui::message(ui::Beep::No, QStringLiteral("Data error event hit err:") + Description, ui::Buttons::OKOnly,
                ui::Icon::None, QStringLiteral("QUIL Data Error"));
}

void RecordsCommands::datPrimaryRS_Validate(int Action, [[maybe_unused]] bool& Save)
{
    // The reposition that follows the action puts the normal pointer back.
    if (Action == static_cast<int>(data::Action::Close))
        ui::current().setBusyPointer(false);
    ui::current().setBusyPointer(true);
}

// ---- Filter colours -----------------------------------------------------------------------------

void RecordsCommands::SetMemberFieldsColour(bool blue)
{
    const QColor colour = blue ? kBlue : f.palette().color(QPalette::WindowText);
    for (QWidget* field : f.txtFields) {
        QPalette p = field->palette();
        p.setColor(QPalette::Text, colour);
        field->setPalette(p);
    }
}

void RecordsCommands::SetGridTextColour(bool blue)
{
    gridModel(f)->setForeColor(blue ? kBlue : QColor());
}
