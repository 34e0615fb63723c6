// What may be typed into the donation grid's cells, what follows an accepted edit, and a click
// on the grid's empty area.
#include "records/records_commands.h"

#include "frame/frm_main.h"
#include "platform/dao/recordset.h"
#include "platform/data/data_control.h"
#include "platform/jet/db_error.h"
#include "platform/ui/ui.h"
#include "platform/vb/convert.h"
#include "platform/vb/skip_on_failure.h"
#include "platform/vb/value.h"
#include "schema/number_limits.h"

#include <QTableView>
#include <cmath>
#include <stdexcept>

namespace {

// The member look-up failed and was reported already.
struct LookupFailed {};

enum GridColumn { PaymentIdColumn = 0, AmountColumn = 1, CheckColumn = 2, MemberIdColumn = 5 };

// A number typed into a cell that lies outside its column's range, named as the grid's heading
// names the column.
void refuseOutOfRange(frmMain& f, QStringView column, const db::NumberRange& range)
{
    f.S.LastAnswer = ui::message(ui::Beep::Yes, db::outOfRange(column, range), ui::Buttons::OKOnly, ui::Icon::Critical,
                                 QStringLiteral("QUIL"));
}

// The amount as typed, without its sign; none when it is no number. An amount beyond the
// currency itself is beyond the range as well: it reads as the range's end plus one.
std::optional<vb::Currency> typedAmount(const QString& text)
{
    try {
        const std::optional<vb::Currency> amount = vb::readCurrency(text);
        return amount ? std::optional(amount->abs()) : std::nullopt;
    } catch (const std::overflow_error&) {
        return vb::Currency::fromRaw(db::kGiftAmounts.highest + 1);
    }
}

// A whole number as typed, without its sign and rounded as the field stores it; none when it is
// no number. Beyond 64 bits it reads as one past the range's end.
std::optional<std::int64_t> typedWhole(const QString& text, const db::NumberRange& range)
{
    const std::optional<double> number = vb::readNumber(text);
    if (!number)
        return std::nullopt;
    const double magnitude = std::abs(*number);
    if (magnitude > static_cast<double>(range.highest))
        return range.highest + 1;
    return vb::roundHalfEven(magnitude);
}

// Whether a member has this number. Only a whole number within the field's range can be one;
// it goes into the criterion as the number, never as the typed text. A look-up the file failed
// is reported and counts as no member: a refused edit must not look like an unknown number.
bool memberExists(frmMain& f, double number)
{
    if (number != std::floor(number) || !db::kMemberNumbers.holds(static_cast<std::int64_t>(number)))
        return false;
    bool found = false;
    try {
        f.datScratchRS->setRecordSource(QStringLiteral("Members"));
        f.datScratchRS->refresh();
        dao::Recordset* members = f.datScratchRS->recordset();
        if (!members)
            throw jet::DbError(jet::err::NoCurrentRecord, QStringLiteral("The member list cannot be read."));
        members->findFirst(QStringLiteral("[MemberID] = %1").arg(static_cast<std::int64_t>(number)));
        found = !members->noMatch();
    } catch (const jet::DbError& e) {
        skipOnFailure([&] { f.datScratchRS->setRecordset(nullptr); });
        f.S.LastAnswer = ui::dataError(QStringLiteral("The change was not saved.\n\n") + e.reason());
        throw LookupFailed{};
    }
    skipOnFailure([&] { f.datScratchRS->setRecordset(nullptr); });
    return found;
}

} // namespace

void RecordsCommands::grdDataGrid_BeforeColUpdate(int ColIndex, [[maybe_unused]] const QString& OldValue, QString& NewValue,
                                                  bool& Cancel)
{
    switch (ColIndex) {
    case PaymentIdColumn:
        Cancel = true;
        f.S.LastAnswer = ui::message(ui::Beep::Yes, QStringLiteral("You Cannot Edit This Column."), ui::Buttons::OKOnly,
                                     ui::Icon::Critical, QStringLiteral("QUIL"));
        break;
    // Amounts and check numbers are never negative: a minus typed by mistake is dropped. What
    // is no number is refused without a word; a number outside the column's range says so.
    case AmountColumn: {
        const std::optional<vb::Currency> amount = typedAmount(NewValue);
        Cancel = !amount || !db::kGiftAmounts.holds(*amount);
        if (amount && Cancel)
            refuseOutOfRange(f, u"PaymentAmount", db::kGiftAmounts);
        else if (amount)
            NewValue = amount->toString();
        break;
    }
    case CheckColumn: {
        const std::optional<std::int64_t> check = typedWhole(NewValue, db::kCheckNumbers);
        Cancel = !check || !db::kCheckNumbers.holds(*check);
        if (check && Cancel)
            refuseOutOfRange(f, u"CheckNumber", db::kCheckNumbers);
        else if (check)
            NewValue = QString::number(*check);
        break;
    }
    case MemberIdColumn: {
        // The donation moves to another member only when that member exists.
        const auto number = vb::readNumber(NewValue);
        if (!number) {
            Cancel = true;
            f.S.LastAnswer = ui::message(ui::Beep::Yes, QStringLiteral("The Member ID must be the number of a member."),
                                         ui::Buttons::OKOnly, ui::Icon::Critical, QStringLiteral("QUIL"));
            break;
        }
        if (*number < static_cast<double>(db::kMemberNumbers.lowest) || *number > static_cast<double>(db::kMemberNumbers.highest)) {
            Cancel = true;
            refuseOutOfRange(f, u"MemberID", db::kMemberNumbers);
            break;
        }
        try {
            Cancel = !memberExists(f, *number);
        } catch (const LookupFailed&) {
            Cancel = true;
            break;
        }
        if (Cancel)
            ui::current().beep();
        else
            NewValue = QString::number(static_cast<std::int64_t>(*number));
        break;
    }
    default:
        break;  // destination and date: the field's own type decides
    }
}

void RecordsCommands::grdDataGrid_AfterColUpdate(int ColIndex)
{
    // A corrected amount of a donation in the running batch counts as corrected. The set still
    // stands on the row just written.
    if (Batch && ColIndex == 1) {
        skipOnFailure([&] {
            const dao::Recordset* donations = f.datSecondaryRS->recordset();
            if (donations && donations->hasCurrentRow()
                && Batch->amend(donations->field(QStringLiteral("PaymentID")).toLong(),
                                donations->field(QStringLiteral("PaymentAmount")).toCurrency()))
                ShowBatch();
        });
    }
    skipOnFailure([&] { f.datSecondaryRS->refresh(); });
    ShowListTotal();
}

void RecordsCommands::grdDataGrid_MouseClickOutside(int x, int y)
{
    if (f.grdDataGrid->columnAt(x) != -1 && f.grdDataGrid->rowAt(y) != -1)
        return;
    f.grdDataGrid_LostFocus();
    f.txtFields[0]->setFocus();
}
