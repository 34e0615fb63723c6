#pragma once
// Text boxes bound to a field of a data control: one line (QLineEdit), or several for a memo
// field such as the member's notes (QPlainTextEdit, with a vertical scroll bar).
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QString>

namespace data {

class DataControl;
class FieldBinding;

class BoundTextBox : public QLineEdit {
    Q_OBJECT

public:
    explicit BoundTextBox(QWidget* parent = nullptr);
    BoundTextBox(DataControl* source, const QString& field, QWidget* parent = nullptr);

    // Binds to a field (a null source unbinds) and shows the current row's value at once.
    void bind(DataControl* source, const QString& field);
    DataControl* dataSource() const;
    QString dataField() const;
    // Whether the text differs from the current row's value as last shown.
    bool dataChanged() const;

private:
    FieldBinding* binding_;
};

class BoundMemoBox : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit BoundMemoBox(QWidget* parent = nullptr);
    BoundMemoBox(DataControl* source, const QString& field, QWidget* parent = nullptr);

    void bind(DataControl* source, const QString& field);
    DataControl* dataSource() const;
    QString dataField() const;
    bool dataChanged() const;

    // Characters the box accepts; 0 (the default) for no limit. Longer text is cut.
    void setMaxLength(int length);
    int maxLength() const { return maxLength_; }

private:
    void enforceMaxLength();

    FieldBinding* binding_;
    int maxLength_ = 0;
};

} // namespace data
