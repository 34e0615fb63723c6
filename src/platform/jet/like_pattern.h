#pragma once
// The dialect's Like patterns: * any run, ? one character, # one digit, [abc] one of, [!abc]
// none of, [a-z] a range; everything else literal. A pattern matches the whole text, letter case
// folded. Compiled once per statement and kept by SQLite as auxiliary data.
#include <QString>
#include <QStringView>
#include <cstddef>
#include <vector>

namespace jet {

class LikePattern {
public:
    // From the pattern's UTF-8 bytes (as SQLite passes it).
    LikePattern(const char* utf8, std::size_t length);

    bool matches(const char* utf8, std::size_t length) const;

private:
    enum class Kind { Literal, AnyChar, Digit, Set, Star };
    struct Element {
        Kind kind;
        char32_t ch = 0;                 // Literal
        bool negated = false;            // Set
        std::size_t setBegin = 0, setEnd = 0;  // Set: ranges_[setBegin, setEnd)
    };
    struct Range { char32_t lo, hi; };

    bool elementMatches(const Element& e, char32_t c) const;

    std::vector<Element> elements_;
    std::vector<Range> ranges_;
    bool matchAll_ = false;  // "*": anything that is not null
};

// The literal text a pattern starts with, up to its first wildcard, and whether the pattern is
// that text followed by one "*" and nothing else. An index range over the prefix narrows a Like.
struct LikePrefix {
    QString prefix;
    bool prefixThenStar = false;
    bool exact = false;  // no wildcard at all
};
LikePrefix likePrefix(QStringView pattern);

} // namespace jet
