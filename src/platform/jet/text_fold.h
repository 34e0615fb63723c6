#pragma once
// Letter-case folding for every alphabet, on UTF-8 text as SQLite hands it over. ASCII takes a
// fast path; everything else folds code point by code point with Qt's Unicode tables.
#include <cstddef>
#include <string>

namespace jet {

// Compares two UTF-8 texts with letter case folded: <0, 0, >0.
int compareFolded(const char* a, std::size_t aLen, const char* b, std::size_t bLen);

// Decodes one code point at p (advancing p), folded; malformed bytes read as themselves.
char32_t nextFolded(const unsigned char*& p, const unsigned char* end);

} // namespace jet
