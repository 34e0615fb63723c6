#include "frame/text_fields.h"

#include "platform/data/bound_text_box.h"

#include <stdexcept>

data::BoundTextBox* TextFields::line(int index) const
{
    if (index < 0 || index >= kNotes)
        throw std::out_of_range("txtFields: no one-line box at this index");
    return static_cast<data::BoundTextBox*>(at(index));
}

data::BoundMemoBox* TextFields::notes() const
{
    return static_cast<data::BoundMemoBox*>(at(kNotes));
}

QString TextFields::text(int index) const
{
    return index == kNotes ? notes()->toPlainText() : line(index)->text();
}

void TextFields::setText(int index, const QString& text)
{
    if (index == kNotes)
        notes()->setPlainText(text);
    else
        line(index)->setText(text);
}

void TextFields::bind(int index, data::DataControl* source, const QString& field)
{
    if (index == kNotes)
        notes()->bind(source, field);
    else
        line(index)->bind(source, field);
}
