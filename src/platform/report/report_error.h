#pragma once
// What the report engine reports when a layout cannot be bound to its data or a page cannot be
// made: a control bound to a field the rows do not have, a report wider than its paper, a format
// the program does not know. The text names the layout and the control.
#include <QString>
#include <stdexcept>

namespace report {

class ReportError : public std::runtime_error {
public:
    explicit ReportError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

private:
    QString message_;
};

} // namespace report
