// readDate and isDate: one reader, so that what isDate accepts is exactly what readDate reads.
#include "convert.h"

#include <array>

namespace vb {
namespace {

// The text is first cut into tokens (numbers, words, separators, blanks), then matched against
// the few date shapes. Everything lives on the stack: dates are read per typed field and per row.
enum class Kind : unsigned char { Number, Word, Separator, Blank };

struct Token {
    Kind kind = Kind::Blank;
    char16_t separator = 0;
    int value = 0;      // a number's value, meaningful up to four digits
    int digits = 0;     // a number's digit count
    QStringView word;
};

constexpr int MaxTokens = 24;  // more than the longest date with weekday and time needs

struct Tokens {
    std::array<Token, MaxTokens> items;
    int count = 0;
};

bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

bool isLetter(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool isBlank(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

bool tokenize(QStringView text, Tokens& out)
{
    const char16_t* const begin = text.utf16();
    const char16_t* const end = begin + text.size();
    for (const char16_t* p = begin; p != end;) {
        if (out.count == MaxTokens)
            return false;
        Token& t = out.items[static_cast<std::size_t>(out.count++)];
        const char16_t* start = p;
        if (isDigit(*p)) {
            t.kind = Kind::Number;
            for (; p != end && isDigit(*p); ++p)
                if (++t.digits <= 4)
                    t.value = t.value * 10 + (*p - u'0');
        } else if (isLetter(*p)) {
            t.kind = Kind::Word;
            while (p != end && isLetter(*p))
                ++p;
            t.word = QStringView(start, p);
        } else if (isBlank(*p)) {
            t.kind = Kind::Blank;
            while (p != end && isBlank(*p))
                ++p;
        } else if (*p == u'/' || *p == u'-' || *p == u'.' || *p == u',' || *p == u':') {
            t.kind = Kind::Separator;
            t.separator = *p++;
        } else {
            return false;
        }
    }
    return true;
}

constexpr std::array<const char16_t*, 12> MonthNames = {
    u"january", u"february", u"march", u"april", u"may", u"june", u"july",
    u"august", u"september", u"october", u"november", u"december"};
constexpr std::array<const char16_t*, 7> WeekdayNames = {
    u"monday", u"tuesday", u"wednesday", u"thursday", u"friday", u"saturday", u"sunday"};

bool sameWord(QStringView word, QStringView name)
{
    return word.compare(name, Qt::CaseInsensitive) == 0;
}

// A full name or its first three letters; 1-based, 0 when none matches.
template <std::size_t N>
int nameNumber(QStringView word, const std::array<const char16_t*, N>& names)
{
    for (std::size_t i = 0; i < N; ++i) {
        const QStringView name(names[i]);
        if (sameWord(word, name) || (word.size() == 3 && sameWord(word, name.first(3))))
            return static_cast<int>(i) + 1;
    }
    return 0;
}

int monthNumber(QStringView word)
{
    if (sameWord(word, u"sept"))
        return 9;
    return nameNumber(word, MonthNames);
}

// Two-digit years fall into 1930..2029; longer ones stand as written, from 100 on.
int fullYear(const Token& t)
{
    if (t.digits <= 2)
        return t.value < 30 ? 2000 + t.value : 1900 + t.value;
    if (t.digits > 4 || t.value < 100)
        return 0;
    return t.value;
}

class DateParser {
public:
    explicit DateParser(const Tokens& tokens) : t_(tokens) {}

    std::optional<DateTime> parse()
    {
        end_ = t_.count;
        if (end_ > 0 && is(end_ - 1, Kind::Blank))
            --end_;
        if (is(0, Kind::Blank))
            i_ = 1;

        int weekday = 0;
        if (is(i_, Kind::Word) && (weekday = nameNumber(at(i_).word, WeekdayNames)) != 0) {
            ++i_;
            const bool comma = isSeparator(i_, u',');
            if (comma)
                ++i_;
            if (is(i_, Kind::Blank))
                ++i_;
            else if (!comma)
                return std::nullopt;  // "Thu3/15/2001"
        }
        int year = 0;
        int month = 0;
        int day = 0;
        bool yearFirst = false;
        if (!numericDate(year, month, day, yearFirst) && !dayMonthName(year, month, day)
            && !monthNameDay(year, month, day))
            return std::nullopt;
        if (year == 0 || !QDate::isValid(year, month, day))
            return std::nullopt;
        const QDate date(year, month, day);
        if (weekday != 0 && date.dayOfWeek() != weekday)
            return std::nullopt;

        int seconds = 0;
        if (i_ < end_) {
            const bool joinedByT = yearFirst && is(i_, Kind::Word) && sameWord(at(i_).word, u"T");
            if (!is(i_, Kind::Blank) && !joinedByT)
                return std::nullopt;
            ++i_;
            if (!timeOfDay(seconds))
                return std::nullopt;
        }
        return DateTime(date, QTime::fromMSecsSinceStartOfDay(seconds * 1000));
    }

private:
    const Token& at(int i) const { return t_.items[static_cast<std::size_t>(i)]; }
    bool is(int i, Kind kind) const { return i < end_ && at(i).kind == kind; }
    bool isSeparator(int i, char16_t c) const { return is(i, Kind::Separator) && at(i).separator == c; }
    bool isNumber(int i, int minDigits, int maxDigits) const
    {
        return is(i, Kind::Number) && at(i).digits >= minDigits && at(i).digits <= maxDigits;
    }
    // A separator between date parts: '/', '-', '.', or (where allowed) blanks.
    bool isDateGap(int i, bool blankAllowed) const
    {
        if (blankAllowed && is(i, Kind::Blank))
            return true;
        return is(i, Kind::Separator)
            && (at(i).separator == u'/' || at(i).separator == u'-' || at(i).separator == u'.');
    }
    bool sameGap(int a, int b) const
    {
        return at(a).kind == at(b).kind && at(a).separator == at(b).separator;
    }

    // 3/15/2001, 3-15-01, 3.15.2001, and year first: 2001-03-15, 2001/3/15.
    bool numericDate(int& year, int& month, int& day, bool& yearFirst)
    {
        const int i = i_;
        if (!is(i, Kind::Number) || !isDateGap(i + 1, false) || !isNumber(i + 2, 1, 2)
            || !isDateGap(i + 3, false) || !sameGap(i + 1, i + 3) || !is(i + 4, Kind::Number))
            return false;
        if (isNumber(i, 3, 4) && isNumber(i + 4, 1, 2)) {
            yearFirst = true;
            year = fullYear(at(i));
            month = at(i + 2).value;
            day = at(i + 4).value;
        } else if (isNumber(i, 1, 2) && isNumber(i + 4, 1, 4)) {
            month = at(i).value;
            day = at(i + 2).value;
            year = fullYear(at(i + 4));
        } else {
            return false;
        }
        i_ = i + 5;
        return true;
    }

    // 15-Mar-2001, 15 March 2001, 15/mar/01.
    bool dayMonthName(int& year, int& month, int& day)
    {
        const int i = i_;
        if (!isNumber(i, 1, 2) || !isDateGap(i + 1, true) || !is(i + 2, Kind::Word)
            || !isDateGap(i + 3, true) || !sameGap(i + 1, i + 3) || !isNumber(i + 4, 1, 4))
            return false;
        month = monthNumber(at(i + 2).word);
        if (month == 0)
            return false;
        day = at(i).value;
        year = fullYear(at(i + 4));
        i_ = i + 5;
        return true;
    }

    // March 15, 2001; Mar 15 2001; Mar-15-2001.
    bool monthNameDay(int& year, int& month, int& day)
    {
        int i = i_;
        if (!is(i, Kind::Word) || !isDateGap(i + 1, true) || !isNumber(i + 2, 1, 2))
            return false;
        month = monthNumber(at(i).word);
        if (month == 0)
            return false;
        day = at(i + 2).value;
        const int gap = i + 1;
        i += 3;
        if (at(gap).kind == Kind::Blank && isSeparator(i, u',')) {
            ++i;
            if (is(i, Kind::Blank))
                ++i;
        } else if (isDateGap(i, true) && sameGap(gap, i)) {
            ++i;
        } else {
            return false;
        }
        if (!isNumber(i, 1, 4))
            return false;
        year = fullYear(at(i));
        i_ = i + 1;
        return true;
    }

    // 10:30, 10:30:15, 10:30 PM, 10:30:15pm: the rest of the text.
    bool timeOfDay(int& seconds)
    {
        int i = i_;
        if (!isNumber(i, 1, 2) || !isSeparator(i + 1, u':') || !isNumber(i + 2, 1, 2))
            return false;
        int hour = at(i).value;
        const int minute = at(i + 2).value;
        int second = 0;
        i += 3;
        if (isSeparator(i, u':')) {
            if (!isNumber(i + 1, 1, 2))
                return false;
            second = at(i + 1).value;
            i += 2;
        }
        if (is(i, Kind::Blank) && is(i + 1, Kind::Word))
            ++i;
        if (is(i, Kind::Word)) {
            const bool am = sameWord(at(i).word, u"AM");
            if ((!am && !sameWord(at(i).word, u"PM")) || hour < 1 || hour > 12)
                return false;
            hour = hour % 12 + (am ? 0 : 12);
            ++i;
        }
        if (i != end_ || hour > 23 || minute > 59 || second > 59)
            return false;
        seconds = (hour * 60 + minute) * 60 + second;
        return true;
    }

    const Tokens& t_;
    int i_ = 0;
    int end_ = 0;
};

} // namespace

std::optional<DateTime> readDate(QStringView text)
{
    Tokens tokens;
    if (!tokenize(text, tokens))
        return std::nullopt;
    return DateParser(tokens).parse();
}

bool isDate(QStringView text)
{
    return readDate(text).has_value();
}

bool isDate(const Value& value)
{
    if (value.type() == Type::Date)
        return true;
    return value.type() == Type::Text && isDate(value.asText());
}

} // namespace vb
