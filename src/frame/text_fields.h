#pragma once
// The member fields txtFields(0..8): eight one-line boxes and the multi-line Notes box. Indexing
// gives the widget (to show, enable, place); the text goes through text()/setText(), which know
// which kind of box a field is.
#include <QString>
#include <array>

class QWidget;

namespace data {
class BoundMemoBox;
class BoundTextBox;
class DataControl;
}

class TextFields : public std::array<QWidget*, 9> {
public:
    static constexpr int kNotes = 8;

    data::BoundTextBox* line(int index) const;  // 0..7
    data::BoundMemoBox* notes() const;

    QString text(int index) const;
    void setText(int index, const QString& text);
    void bind(int index, data::DataControl* source, const QString& field);
};
