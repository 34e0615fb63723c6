#include "text_fold.h"

#include <QChar>

namespace jet {

namespace {

char32_t decode(const unsigned char*& p, const unsigned char* end)
{
    const unsigned char c = *p++;
    if (c < 0x80)
        return c;
    int extra = 0;
    char32_t cp = 0;
    if ((c & 0xE0) == 0xC0) { extra = 1; cp = c & 0x1F; }
    else if ((c & 0xF0) == 0xE0) { extra = 2; cp = c & 0x0F; }
    else if ((c & 0xF8) == 0xF0) { extra = 3; cp = c & 0x07; }
    else return c;  // a stray continuation byte stands for itself
    for (int i = 0; i < extra; ++i) {
        if (p == end || (*p & 0xC0) != 0x80)
            return 0xFFFD;
        cp = (cp << 6) | (*p++ & 0x3F);
    }
    return cp;
}

inline char32_t foldAscii(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') ? char32_t(c + 32) : char32_t(c);
}

} // namespace

char32_t nextFolded(const unsigned char*& p, const unsigned char* end)
{
    if (*p < 0x80)
        return foldAscii(*p++);
    return QChar::toCaseFolded(decode(p, end));
}

int compareFolded(const char* a, std::size_t aLen, const char* b, std::size_t bLen)
{
    auto pa = reinterpret_cast<const unsigned char*>(a);
    auto pb = reinterpret_cast<const unsigned char*>(b);
    const auto ea = pa + aLen;
    const auto eb = pb + bLen;
    while (pa != ea && pb != eb) {
        // Most names are ASCII: compare folded bytes without decoding.
        if (*pa < 0x80 && *pb < 0x80) {
            const char32_t ca = foldAscii(*pa++);
            const char32_t cb = foldAscii(*pb++);
            if (ca != cb)
                return ca < cb ? -1 : 1;
            continue;
        }
        const char32_t ca = nextFolded(pa, ea);
        const char32_t cb = nextFolded(pb, eb);
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (pa == ea && pb == eb)
        return 0;
    return pa == ea ? -1 : 1;
}

namespace {

// The next code point of a UTF-16 text, folded as nextFolded folds it.
char32_t nextFolded(QStringView text, qsizetype& i)
{
    const char16_t unit = text[i++].unicode();
    if (unit < 0x80)
        return foldAscii(static_cast<unsigned char>(unit));
    char32_t code = unit;
    if (QChar::isHighSurrogate(unit) && i < text.size() && QChar::isLowSurrogate(text[i].unicode()))
        code = QChar::surrogateToUcs4(unit, text[i++].unicode());
    return QChar::toCaseFolded(code);
}

} // namespace

int compareFolded(QStringView a, QStringView b)
{
    qsizetype ia = 0;
    qsizetype ib = 0;
    while (ia < a.size() && ib < b.size()) {
        const char32_t ca = nextFolded(a, ia);
        const char32_t cb = nextFolded(b, ib);
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (ia == a.size() && ib == b.size())
        return 0;
    return ia == a.size() ? -1 : 1;
}

} // namespace jet
