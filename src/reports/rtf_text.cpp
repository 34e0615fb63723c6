#include "reports/rtf_text.h"

#include <array>
#include <cstdint>

namespace reports {

namespace {

// Code page 1252 from 0x80 to 0x9F; 0 where the code page leaves the byte unassigned. Below and
// above this range it is ASCII and Latin-1.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

constexpr char kHex[] = "0123456789abcdef";

void appendUnicode(QByteArray& out, char16_t unit)
{
    out += "\\u";
    out += QByteArray::number(static_cast<int>(static_cast<std::int16_t>(unit)));
    out += '?';
}

} // namespace

std::optional<char> cp1252Byte(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (std::size_t i = 0; i < kHighControls.size(); ++i)
        if (kHighControls[i] != 0 && kHighControls[i] == c)
            return static_cast<char>(0x80 + i);
    return std::nullopt;
}

char16_t cp1252Char(unsigned char byte)
{
    if (byte < 0x80 || byte >= 0xA0)
        return byte;
    const char16_t c = kHighControls[byte - 0x80u];
    return c != 0 ? c : char16_t(0xFFFD);
}

QByteArray rtfText(QStringView text)
{
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        switch (c) {
        case u'\\': out += "\\\\"; continue;
        case u'{': out += "\\{"; continue;
        case u'}': out += "\\}"; continue;
        case u'\t': out += "\\tab "; continue;
        case u'\r':
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            out += "\\line ";
            continue;
        case u'\n': out += "\\line "; continue;
        default: break;
        }
        if (c < 0x20 || c == 0x7F) {
            out += "\\'";
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
            continue;
        }
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode())) {
            appendUnicode(out, c);
            appendUnicode(out, text[++i].unicode());
            continue;
        }
        if (QChar::isSurrogate(c)) {
            appendUnicode(out, 0xFFFD);
            continue;
        }
        if (const std::optional<char> byte = cp1252Byte(c))
            out += *byte;
        else
            appendUnicode(out, c);
    }
    return out;
}

} // namespace reports
