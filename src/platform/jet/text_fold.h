#pragma once
// Letter-case folding for every alphabet, on UTF-8 text as SQLite hands it over. ASCII takes a
// fast path; everything else folds code point by code point with Qt's Unicode tables.
#include <QStringView>
#include <cstddef>
#include <string>

namespace jet {

// Compares two UTF-8 texts with letter case folded: <0, 0, >0.
int compareFolded(const char* a, std::size_t aLen, const char* b, std::size_t bLen);

// The same comparison on texts the program holds, so that a list it sorts itself stands in the
// order the file's JETNOCASE collation (and so every ORDER BY and index) gives the same names:
// code points, not UTF-16 units, are compared, so a character beyond U+FFFF sorts after U+FFFF
// here as it does in the file. A lone surrogate compares as itself.
int compareFolded(QStringView a, QStringView b);

// compareFolded as a "less than" for std::sort and the like.
struct FoldedLess {
    bool operator()(QStringView a, QStringView b) const { return compareFolded(a, b) < 0; }
};

// Decodes one code point at p (advancing p), folded; malformed bytes read as themselves.
char32_t nextFolded(const unsigned char*& p, const unsigned char* end);

} // namespace jet
