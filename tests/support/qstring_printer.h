#pragma once
// GoogleTest prints a QString that fails a comparison as its text, not as its bytes.
#include <QString>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}
