#pragma once
// What every bound box does, whatever widget shows the text: show the current row's value of one
// field after each reposition, and write the text back when the row is left if it was changed.
#include "data_control.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

namespace data {


class FieldBinding : public QObject {
    Q_OBJECT

public:
    // `text` reads the box's text, `show` puts a text into it.
    FieldBinding(QObject* box, std::function<QString()> text, std::function<void(const QString&)> show);

    void bind(DataControl* source, const QString& field);
    DataControl* source() const { return source_; }
    const QString& field() const { return field_; }

    // Whether the box's text differs from the value it showed last.
    bool isChanged() const;
    // Shows the current row's value: "" before the first or after the last row, without a
    // record set, without a source, or for a row that can no longer be read.
    void reload();

private:
    void writeBack();
    void writeRefused();

    QPointer<DataControl> source_;
    QString field_;
    QString shown_;
    QString shownBeforeWrite_;  // what shown_ was before the last write-back
    bool wroteBack_ = false;    // the last row leave wrote this box's text
    std::function<QString()> text_;
    std::function<void(const QString&)> show_;
    QList<QMetaObject::Connection> connections_;
};

} // namespace data
