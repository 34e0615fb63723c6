#include "bound_text_box.h"

#include "field_binding.h"

#include <QTextCursor>

namespace data {

BoundTextBox::BoundTextBox(QWidget* parent)
    : QLineEdit(parent),
      binding_(new FieldBinding(this, [this] { return text(); }, [this](const QString& t) { setText(t); }))
{
}

BoundTextBox::BoundTextBox(DataControl* source, const QString& field, QWidget* parent) : BoundTextBox(parent)
{
    bind(source, field);
}

void BoundTextBox::bind(DataControl* source, const QString& field)
{
    binding_->bind(source, field);
}

DataControl* BoundTextBox::dataSource() const
{
    return binding_->source();
}

QString BoundTextBox::dataField() const
{
    return binding_->field();
}

bool BoundTextBox::dataChanged() const
{
    return binding_->isChanged();
}

BoundMemoBox::BoundMemoBox(QWidget* parent)
    : QPlainTextEdit(parent),
      binding_(new FieldBinding(this, [this] { return toPlainText(); }, [this](const QString& t) { setPlainText(t); }))
{
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    connect(this, &QPlainTextEdit::textChanged, this, &BoundMemoBox::enforceMaxLength);
}

BoundMemoBox::BoundMemoBox(DataControl* source, const QString& field, QWidget* parent) : BoundMemoBox(parent)
{
    bind(source, field);
}

void BoundMemoBox::bind(DataControl* source, const QString& field)
{
    binding_->bind(source, field);
}

DataControl* BoundMemoBox::dataSource() const
{
    return binding_->source();
}

QString BoundMemoBox::dataField() const
{
    return binding_->field();
}

bool BoundMemoBox::dataChanged() const
{
    return binding_->isChanged();
}

void BoundMemoBox::setMaxLength(int length)
{
    maxLength_ = length < 0 ? 0 : length;
    enforceMaxLength();
}

void BoundMemoBox::enforceMaxLength()
{
    if (maxLength_ == 0)
        return;
    const QString text = toPlainText();
    if (text.size() <= maxLength_)
        return;
    const int position = std::min(textCursor().position(), maxLength_);
    setPlainText(text.left(maxLength_));  // raises textChanged again, now within the limit
    QTextCursor cursor = textCursor();
    cursor.setPosition(position);
    setTextCursor(cursor);
}

} // namespace data
