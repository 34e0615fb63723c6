#include "reports/csv_writer.h"

#include "schema/csv_text.h"

#include <QIODevice>
#include <QLocale>
#include <algorithm>
#include <cstdlib>

namespace reports::csv {

namespace {

// A piece this size goes to the device at once: few system calls, little memory.
constexpr qsizetype kPiece = 1 << 20;

bool needsQuotes(std::string_view s)
{
    return s.find_first_of(",\"\r\n") != std::string_view::npos;
}

void appendUnsigned(QByteArray& out, std::uint64_t value, int minDigits = 1)
{
    char digits[24];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    while (n < minDigits)
        digits[n++] = '0';
    while (n > 0)
        out.append(digits[--n]);
}

// The field with the guard in front when it takes one; the guard goes inside the quotes.
void appendQuoted(QByteArray& out, std::string_view utf8, bool guard)
{
    if (!needsQuotes(utf8)) {
        if (guard)
            out.append(db::csvtext::kGuard);
        out.append(utf8.data(), static_cast<qsizetype>(utf8.size()));
        return;
    }
    out.append('"');
    if (guard)
        out.append(db::csvtext::kGuard);
    std::size_t from = 0;
    for (std::size_t q = utf8.find('"'); q != std::string_view::npos; q = utf8.find('"', from)) {
        out.append(utf8.data() + from, static_cast<qsizetype>(q + 1 - from));
        out.append('"');
        from = q + 1;
    }
    out.append(utf8.data() + from, static_cast<qsizetype>(utf8.size() - from));
    out.append('"');
}

} // namespace

void appendField(QByteArray& out, std::string_view utf8)
{
    appendQuoted(out, utf8, false);
}

void appendText(QByteArray& out, std::string_view utf8)
{
    appendQuoted(out, utf8, db::csvtext::needsGuard(utf8));
}

QByteArray field(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    QByteArray out;
    appendText(out, std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
    return out;
}

void appendAmount(QByteArray& out, std::int64_t tenThousandths)
{
    // The magnitude as unsigned, so that the most negative amount has one too.
    const bool negative = tenThousandths < 0;
    const std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(tenThousandths)
                                             : static_cast<std::uint64_t>(tenThousandths);
    if (negative)
        out.append('-');
    appendUnsigned(out, magnitude / 10000);
    out.append('.');
    std::uint64_t fraction = magnitude % 10000;
    if (fraction % 100 == 0) {
        appendUnsigned(out, fraction / 100, 2);
        return;
    }
    int digits = 4;
    while (fraction % 10 == 0) {
        fraction /= 10;
        --digits;
    }
    appendUnsigned(out, fraction, digits);
}

void appendDate(QByteArray& out, std::string_view iso)
{
    constexpr std::string_view kMidnight = " 00:00:00";
    if (iso.size() == 19 && iso.substr(10) == kMidnight)
        iso = iso.substr(0, 10);
    appendField(out, iso);
}

Writer::Writer(QIODevice& device) : device_(device)
{
    buffer_.reserve(kPiece + 64 * 1024);
}

void Writer::byteOrderMark()
{
    buffer_.append("\xEF\xBB\xBF");
}

void Writer::separate()
{
    if (lineStarted_)
        buffer_.append(',');
    lineStarted_ = true;
}

void Writer::text(std::string_view utf8)
{
    separate();
    appendText(buffer_, utf8);
}

void Writer::text(const QString& value)
{
    const QByteArray utf8 = value.toUtf8();
    text(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

void Writer::integer(std::int64_t value)
{
    separate();
    if (value < 0) {
        buffer_.append('-');
        appendUnsigned(buffer_, 0 - static_cast<std::uint64_t>(value));
    } else {
        appendUnsigned(buffer_, static_cast<std::uint64_t>(value));
    }
}

void Writer::amount(std::int64_t tenThousandths)
{
    separate();
    appendAmount(buffer_, tenThousandths);
}

void Writer::date(std::string_view iso)
{
    separate();
    appendDate(buffer_, iso);
}

void Writer::real(double value)
{
    separate();
    buffer_.append(QByteArray::number(value, 'g', QLocale::FloatingPointShortest));
}

void Writer::empty()
{
    separate();
}

void Writer::endLine()
{
    buffer_.append("\r\n");
    lineStarted_ = false;
    if (buffer_.size() >= kPiece)
        flush();
}

void Writer::flush()
{
    qsizetype done = 0;
    while (done < buffer_.size()) {
        const qint64 n = device_.write(buffer_.constData() + done, buffer_.size() - done);
        if (n <= 0)
            throw WriteError(device_.errorString());
        done += n;
    }
    buffer_.clear();
}

} // namespace reports::csv
