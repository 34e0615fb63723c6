#include "db/csv_reading.h"

#include <QIODevice>
#include <array>
#include <cstring>

namespace db::csv {

namespace {

// Large enough that the device is asked seldom, small enough to stay in the cache.
constexpr qint64 kPiece = 1 << 20;

// Windows-1252's characters for 0x80..0x9F; the five bytes it leaves undefined keep their
// code points, as Windows itself reads them.
constexpr std::array<char16_t, 32> kHigh{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

bool isBlank(const QString& text)
{
    for (QChar c : text)
        if (!c.isSpace())
            return false;
    return true;
}

} // namespace

void Utf8Check::feed(const char* bytes, qsizetype size)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes);
    const auto* end = p + size;
    while (ok_ && p < end) {
        const unsigned b = *p++;
        if (need_ > 0) {
            if (b < lower_ || b > upper_) {
                ok_ = false;
                break;
            }
            lower_ = 0x80;
            upper_ = 0xBF;
            --need_;
            continue;
        }
        if (b < 0x80) {
            // Runs of ASCII are the common case: skip them eight at a time.
            while (end - p >= 8) {
                std::uint64_t word;
                std::memcpy(&word, p, 8);
                if (word & 0x8080808080808080ULL)
                    break;
                p += 8;
            }
            continue;
        }
        if (b >= 0xC2 && b <= 0xDF) {
            need_ = 1;
        } else if (b >= 0xE0 && b <= 0xEF) {
            need_ = 2;
            if (b == 0xE0)
                lower_ = 0xA0;  // overlong
            else if (b == 0xED)
                upper_ = 0x9F;  // surrogates
        } else if (b >= 0xF0 && b <= 0xF4) {
            need_ = 3;
            if (b == 0xF0)
                lower_ = 0x90;  // overlong
            else if (b == 0xF4)
                upper_ = 0x8F;  // beyond U+10FFFF
        } else {
            ok_ = false;
        }
    }
}

Encoding detectEncoding(QIODevice& device)
{
    if (!device.seek(0))
        throw ReadError(device.errorString());
    Utf8Check check;
    for (;;) {
        const QByteArray piece = device.read(kPiece);
        if (piece.isEmpty()) {
            if (!device.atEnd())
                throw ReadError(device.errorString());
            break;
        }
        check.feed(piece.constData(), piece.size());
        if (!check.valid(false))
            break;
    }
    const bool utf8 = check.valid(device.atEnd());
    if (!device.seek(0))
        throw ReadError(device.errorString());
    return utf8 ? Encoding::Utf8 : Encoding::Windows1252;
}

QString decode(const QByteArray& bytes, Encoding encoding)
{
    if (encoding == Encoding::Utf8)
        return QString::fromUtf8(bytes);
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        *out++ = QChar(b >= 0x80 && b < 0xA0 ? kHigh[b - 0x80] : char16_t(b));
    }
    return text;
}

Reader::Reader(QIODevice& device, Encoding encoding) : device_(device), encoding_(encoding) {}

bool Reader::fill()
{
    if (ended_)
        return false;
    consumed_ += at_;
    buffer_ = device_.read(kPiece);
    at_ = 0;
    if (buffer_.isEmpty()) {
        if (!device_.atEnd())
            throw ReadError(device_.errorString());
        ended_ = true;
        return false;
    }
    return true;
}

bool Reader::next(Record& record)
{
    while (readRecord(record)) {
        bool blank = true;
        for (const QString& field : record.fields)
            blank = blank && isBlank(field);
        if (!blank || record.unclosedQuote)
            return true;
    }
    return false;
}

bool Reader::readRecord(Record& record)
{
    record.fields.clear();
    record.unclosedQuote = false;
    if (!started_) {
        started_ = true;
        if (fill() && encoding_ == Encoding::Utf8 && buffer_.startsWith("\xEF\xBB\xBF"))
            at_ = 3;
    }
    if (at_ >= buffer_.size() && !fill())
        return false;
    record.line = line_;

    enum class State { Start, Unquoted, Quoted, AfterQuote };
    State state = State::Start;
    QByteArray field;
    auto endField = [&] {
        record.fields << decode(field, encoding_);
        field.clear();
        state = State::Start;
    };
    // The byte after the current one, reading on when it lies in the next piece; -1 at the end.
    auto peek = [&]() -> int {
        if (at_ >= buffer_.size() && !fill())
            return -1;
        return static_cast<unsigned char>(buffer_[at_]);
    };
    for (;;) {
        if (at_ >= buffer_.size() && !fill()) {
            if (crAtPieceEnd_)
                ++line_;
            crAtPieceEnd_ = false;
            record.unclosedQuote = state == State::Quoted;
            endField();
            return true;
        }
        const char* data = buffer_.constData();
        const qsizetype size = buffer_.size();
        if (state == State::Quoted) {
            // Everything up to the next quote belongs to the field; line breaks are counted.
            qsizetype run = at_;
            if (crAtPieceEnd_ && run < size && data[run] != '\n')
                ++line_;
            crAtPieceEnd_ = false;
            while (run < size && data[run] != '"') {
                if (data[run] == '\n')
                    ++line_;
                else if (data[run] == '\r' && run + 1 < size && data[run + 1] != '\n')
                    ++line_;
                else if (data[run] == '\r' && run + 1 == size)
                    crAtPieceEnd_ = true;  // counted once the next byte is known
                ++run;
            }
            field.append(data + at_, run - at_);
            at_ = run;
            if (at_ >= size)
                continue;
            ++at_;  // the quote
            if (peek() == '"') {
                field.append('"');
                ++at_;
            } else {
                state = State::AfterQuote;
            }
            continue;
        }
        const char c = data[at_];
        if (c == '"' && state == State::Start) {
            state = State::Quoted;
            ++at_;
            continue;
        }
        if (c == ',') {
            ++at_;
            endField();
            continue;
        }
        if (c == '\n' || c == '\r') {
            ++at_;
            ++line_;
            if (c == '\r' && peek() == '\n')
                ++at_;
            endField();
            return true;
        }
        // An unquoted field, or text after a closing quote: taken as it stands, a stray quote
        // included, up to the next separator or line end.
        qsizetype run = at_;
        while (run < size && data[run] != ',' && data[run] != '\n' && data[run] != '\r')
            ++run;
        field.append(data + at_, run - at_);
        at_ = run;
        if (state == State::Start)
            state = State::Unquoted;
    }
}

} // namespace db::csv
