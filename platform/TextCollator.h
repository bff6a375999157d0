#pragma once

#include <string_view>

// Locale-aware ordering of CP932 texts, as the program's lstrcmpA: Japanese
// collation at tertiary strength with Windows' word sort, where "-" and "'"
// count only when the texts are otherwise equal, and lower case comes before
// upper case. Texts that still compare equal are ordered by their bytes, so
// only identical texts compare equal.
namespace TextCollator {

// -1, 0 or 1. Two texts of printable ASCII alone are ordered without the
// collator, whose building takes a good tenth of a second: the program's
// paths and names are mostly such texts.
int compare(std::string_view a, std::string_view b);

// compare() with the collator whatever the texts: the order the shortcut
// must give.
int compareCollated(std::string_view a, std::string_view b);

} // namespace TextCollator
