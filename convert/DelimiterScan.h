#pragma once

#include <cstddef>
#include <string_view>

// Scans CP932 text for sets of ASCII delimiters as FCString's cursor
// operations do (character by character, so a trail byte never matches),
// but over a view and without stepping through every character: a byte
// search finds a candidate, and the run of lead bytes just before it tells
// whether the candidate starts a character. Positions are byte offsets
// that start characters; the sets hold ASCII bytes only.
namespace DelimiterScan {

// The first character at or after at that is in set; text.size() when
// there is none.
std::size_t find(std::string_view text, std::size_t at, std::string_view set);
// The first character at or after at that is not in set.
std::size_t skip(std::string_view text, std::size_t at, std::string_view set);
// nextToken: the delimiters before the token are skipped, the token ends
// at the next delimiter, where at rests.
std::string_view token(std::string_view text, std::size_t& at, std::string_view set);
// Whether the character at at (a character start) is in set.
bool at(std::string_view text, std::size_t at, std::string_view set);

} // namespace DelimiterScan
