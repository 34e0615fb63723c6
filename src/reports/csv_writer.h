#pragma once
// CSV as RFC 4180 writes it, in UTF-8 with a byte-order mark (so that spreadsheet programs read
// accented letters right): fields separated by commas, lines ended by CR LF, a field between
// double quotes when it holds a comma, a double quote, a CR or an LF, an inner double quote
// doubled. Values in the forms a spreadsheet and an accountant read without guessing: ISO dates,
// amounts with a decimal point and two decimals, and texts that a spreadsheet cannot take for a
// formula (db::csvtext: an apostrophe in front of "=1+1").
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <stdexcept>
#include <string_view>

class QIODevice;

namespace reports::csv {

// A field as it stands in the file (quoted when it must be), for values of the program's own
// forms (dates).
void appendField(QByteArray& out, std::string_view utf8);
// A text as it stands in the file: guarded when a spreadsheet would run it, quoted when it must be.
void appendText(QByteArray& out, std::string_view utf8);
QByteArray field(const QString& text);

// Ten-thousandths as an amount: "1234.50", "-0.25", "0.00". A stored amount finer than a cent
// keeps its digits ("1.005"): the export never changes an amount.
void appendAmount(QByteArray& out, std::int64_t tenThousandths);
// A stored date ("YYYY-MM-DD HH:MM:SS") as "YYYY-MM-DD", with its time only when it has one.
void appendDate(QByteArray& out, std::string_view iso);

// A write to the file failed; the text says why.
class WriteError : public std::runtime_error {
public:
    explicit WriteError(const QString& reason) : std::runtime_error(reason.toStdString()), reason_(reason) {}
    const QString& reason() const { return reason_; }

private:
    QString reason_;
};

// Builds the lines in memory and hands them to the device in large pieces. Throws WriteError
// when the device refuses a piece.
class Writer {
public:
    explicit Writer(QIODevice& device);
    ~Writer() = default;
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    // The byte-order mark; once, before the first line.
    void byteOrderMark();

    // Fields of the current line; the separator comes by itself. A text is guarded (appendText).
    void text(std::string_view utf8);
    void text(const QString& value);
    void integer(std::int64_t value);
    void amount(std::int64_t tenThousandths);
    void date(std::string_view iso);
    void real(double value);
    void empty();
    void endLine();

    // Writes what is still held.
    void flush();

private:
    void separate();

    QIODevice& device_;
    QByteArray buffer_;
    bool lineStarted_ = false;
};

} // namespace reports::csv
