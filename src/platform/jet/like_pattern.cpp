#include "like_pattern.h"

#include "text_fold.h"

#include <QChar>

namespace jet {

LikePattern::LikePattern(const char* utf8, std::size_t length)
{
    auto p = reinterpret_cast<const unsigned char*>(utf8);
    const auto end = p + length;
    while (p != end) {
        const char32_t c = nextFolded(p, end);
        switch (c) {
        case U'*':
            if (elements_.empty() || elements_.back().kind != Kind::Star)
                elements_.push_back({Kind::Star});
            break;
        case U'?': elements_.push_back({Kind::AnyChar}); break;
        case U'#': elements_.push_back({Kind::Digit}); break;
        case U'[': {
            // Find the closing bracket first: without one, "[" is a literal.
            auto q = p;
            std::vector<char32_t> inner;
            bool closed = false;
            while (q != end) {
                const char32_t d = nextFolded(q, end);
                if (d == U']' && !inner.empty()) { closed = true; break; }
                if (d == U']' && inner.empty()) { closed = true; break; }
                inner.push_back(d);
            }
            if (!closed) {
                elements_.push_back({Kind::Literal, c});
                break;
            }
            p = q;
            Element e{Kind::Set};
            std::size_t i = 0;
            if (!inner.empty() && inner[0] == U'!') { e.negated = true; i = 1; }
            e.setBegin = ranges_.size();
            for (; i < inner.size(); ++i) {
                if (i + 2 < inner.size() && inner[i + 1] == U'-') {
                    char32_t lo = inner[i], hi = inner[i + 2];
                    if (lo > hi) std::swap(lo, hi);
                    ranges_.push_back({lo, hi});
                    i += 2;
                } else {
                    ranges_.push_back({inner[i], inner[i]});
                }
            }
            e.setEnd = ranges_.size();
            // "[]" matches nothing and "[!]" any one character, as the classic engine reads them.
            elements_.push_back(e);
            break;
        }
        default: elements_.push_back({Kind::Literal, c}); break;
        }
    }
    matchAll_ = elements_.size() == 1 && elements_[0].kind == Kind::Star;
}

bool LikePattern::elementMatches(const Element& e, char32_t c) const
{
    switch (e.kind) {
    case Kind::Literal: return e.ch == c;
    case Kind::AnyChar: return true;
    case Kind::Digit: return QChar::isDigit(c);
    case Kind::Set: {
        bool in = false;
        for (std::size_t i = e.setBegin; i < e.setEnd && !in; ++i)
            in = c >= ranges_[i].lo && c <= ranges_[i].hi;
        return in != e.negated;
    }
    case Kind::Star: return false;
    }
    return false;
}

bool LikePattern::matches(const char* utf8, std::size_t length) const
{
    if (matchAll_)
        return true;
    // Fold the text once; names are short, so a small buffer on the stack side of the vector
    // allocation is not worth the complexity.
    std::u32string text;
    text.reserve(length);
    auto p = reinterpret_cast<const unsigned char*>(utf8);
    const auto end = p + length;
    while (p != end)
        text.push_back(nextFolded(p, end));

    // Wildcard matching with one backtrack point: the most recent star.
    std::size_t ti = 0, pi = 0;
    std::size_t starPi = std::string::npos, starTi = 0;
    const std::size_t n = elements_.size();
    while (ti < text.size()) {
        if (pi < n && elements_[pi].kind == Kind::Star) {
            starPi = pi++;
            starTi = ti;
        } else if (pi < n && elementMatches(elements_[pi], text[ti])) {
            ++pi;
            ++ti;
        } else if (starPi != std::string::npos) {
            pi = starPi + 1;
            ti = ++starTi;
        } else {
            return false;
        }
    }
    while (pi < n && elements_[pi].kind == Kind::Star)
        ++pi;
    return pi == n;
}

LikePrefix likePrefix(QStringView pattern)
{
    LikePrefix result;
    qsizetype i = 0;
    for (; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c == u'*' || c == u'?' || c == u'#' || c == u'[')
            break;
    }
    result.prefix = pattern.left(i).toString();
    result.exact = i == pattern.size();
    result.prefixThenStar = i == pattern.size() - 1 && pattern[i] == u'*';
    return result;
}

} // namespace jet
