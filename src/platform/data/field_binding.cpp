#include "field_binding.h"

#include "data_control.h"
#include "platform/jet/db_error.h"

namespace data {

FieldBinding::FieldBinding(QObject* box, std::function<QString()> text, std::function<void(const QString&)> show)
    : QObject(box), text_(std::move(text)), show_(std::move(show))
{
}

void FieldBinding::bind(DataControl* source, const QString& field)
{
    for (const auto& c : connections_)
        disconnect(c);
    connections_.clear();
    source_ = source;
    field_ = field;
    if (source) {
        connections_ << connect(source, &DataControl::reposition, this, &FieldBinding::reload)
                     << connect(source, &DataControl::aboutToLeaveRow, this, &FieldBinding::writeBack)
                     << connect(source, &DataControl::rowWriteRefused, this, &FieldBinding::writeRefused)
                     << connect(source, &DataControl::fileWritten, this, [this] {
                            // A typed change is the user's until it is written or dropped.
                            if (!isChanged())
                                reload();
                        });
    }
    reload();
}

bool FieldBinding::isChanged() const
{
    return text_() != shown_;
}

void FieldBinding::reload()
{
    QString value;
    const dao::Recordset* rs = source_ ? source_->recordset() : nullptr;
    if (rs && !field_.isEmpty()) {
        const bool adding = rs->editMode() == dao::Recordset::EditMode::AddNew;
        if (adding || (!rs->isBOF() && !rs->isEOF())) {
            try {
                value = rs->field(field_).toText();
            } catch (const jet::DbError&) {
                // A row deleted meanwhile, or a field the source does not have: nothing to show.
                value.clear();
            }
        }
    }
    wroteBack_ = false;
    show_(value);
    // What the box holds now: a box that takes fewer characters than a stored text has (a file
    // changed by another tool) shows its start, and leaving it untouched must not write that
    // start back over the stored text.
    shown_ = text_();
}

void FieldBinding::writeBack()
{
    wroteBack_ = false;
    if (!source_ || !isChanged())
        return;
    const dao::Recordset* rs = source_->recordset();
    if (!rs)
        return;
    const QString text = text_();
    const int index = rs->fieldIndex(field_);
    const bool textual = index >= 0 && (rs->fieldType(index) == jet::FieldType::Text || rs->fieldType(index) == jet::FieldType::Memo);
    // An emptied text field holds an empty text; an emptied number or date holds nothing.
    source_->writeField(field_, textual || !text.isEmpty() ? vb::Value(text) : vb::Value());
    shownBeforeWrite_ = shown_;
    shown_ = text;
    wroteBack_ = true;
}

// The row kept its stored value, so the typed text is still a change: without this, typing the
// same text again would look unchanged and be dropped without a word.
void FieldBinding::writeRefused()
{
    if (!wroteBack_)
        return;
    wroteBack_ = false;
    shown_ = shownBeforeWrite_;
}

} // namespace data
