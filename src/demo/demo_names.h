#pragma once
// Word lists for the demo database: names, streets, towns, notes and funds, in UTF-8.
#include <span>

namespace db::demo {

struct Town {
    const char* city;
    const char* state;
    int zipBase;        // first postal code of the town; members get codes a little above it
    const char* area;   // telephone area code
    int weight;         // how many members live there, relative to the other towns
};

struct Fund {
    const char* name;
    int weight;         // share of the donations, relative to the other funds
};

std::span<const char* const> firstNames();
std::span<const char* const> lastNames();
std::span<const char* const> streetNames();
std::span<const char* const> streetKinds();
std::span<const Town> towns();
std::span<const char* const> memberNotes();
std::span<const Fund> funds();

struct Person {
    const char* first;
    const char* last;
};
// The first members of every demo file: the names that trip up searches and quoting.
std::span<const Person> showcaseMembers();

} // namespace db::demo
