#pragma once

#include <string>
#include <string_view>

// Character mappings of CP932 text.
namespace TextMapper {

// LCMAP_FULLWIDTH: ASCII 0x20-0x7E become their full-width forms (space
// becomes the ideographic space), half-width katakana become full-width
// katakana (with a following sound mark folded in where CP932 has the
// combined character), everything else is kept as it is.
std::string toFullWidth(std::string_view cp932);

// ASCII letters only; double-byte characters, their trail bytes included,
// are never changed.
void toUpperAscii(std::string& cp932);
void toLowerAscii(std::string& cp932);
void toUpperAscii(char* begin, char* end);
void toLowerAscii(char* begin, char* end);

} // namespace TextMapper
