#include "convert/DelimiterScan.h"

#include "platform/Cp932.h"

#include <algorithm>
#include <cstring>

namespace {

// The sets are a few bytes long: a plain loop beats a library search per
// byte.
bool inSet(char byte, std::string_view set)
{
    for (const char delimiter : set) {
        if (byte == delimiter)
            return true;
    }
    return false;
}

// Whether the byte at candidate, found by a byte search from start (a
// character start), begins a character rather than ending a double-byte
// one.
bool startsCharacter(std::string_view text, std::size_t start, std::size_t candidate)
{
    // A lead byte takes the byte after it whatever that is (but NUL, which
    // no delimiter is). Going back from the candidate over lead bytes, the
    // first byte that is no lead byte (or the known start) ends a
    // character, so the run pairs up from its beginning: an odd run ends
    // in a lead byte whose trail the candidate is.
    std::size_t run = 0;
    while (candidate - run > start &&
           Cp932::isLeadByte(static_cast<unsigned char>(text[candidate - run - 1])))
        ++run;
    return run % 2 == 0;
}

// The first byte at or after at that is in set, character start or not.
std::size_t firstByte(std::string_view text, std::size_t at, std::string_view set)
{
    // One library search per delimiter, over a window at a time: a
    // delimiter that never comes (a CR in a file of LF lines) then costs a
    // window per line rather than the rest of the text.
    constexpr std::size_t Window = 256;
    const std::size_t windowSize = set.size() == 1 ? text.size() : Window;
    while (at < text.size()) {
        const std::size_t windowEnd = std::min(text.size(), at + windowSize);
        std::size_t found = windowEnd;
        for (const char delimiter : set) {
            const void* hit = std::memchr(text.data() + at, delimiter, found - at);
            if (hit)
                found = std::size_t(static_cast<const char*>(hit) - text.data());
        }
        if (found < windowEnd)
            return found;
        at = windowEnd;
    }
    return text.size();
}

} // namespace

std::size_t DelimiterScan::find(std::string_view text, std::size_t at, std::string_view set)
{
    const std::size_t start = at;
    while (at < text.size()) {
        const std::size_t candidate = firstByte(text, at, set);
        if (candidate >= text.size() || startsCharacter(text, start, candidate))
            return candidate;
        at = candidate + 1;
    }
    return text.size();
}

std::size_t DelimiterScan::skip(std::string_view text, std::size_t at, std::string_view set)
{
    // At a character start an ASCII byte is a character of its own.
    while (at < text.size() && inSet(text[at], set))
        ++at;
    return at;
}

std::string_view DelimiterScan::token(std::string_view text, std::size_t& at, std::string_view set)
{
    at = skip(text, at, set);
    const std::size_t start = at;
    at = find(text, at, set);
    return text.substr(start, at - start);
}

bool DelimiterScan::at(std::string_view text, std::size_t at, std::string_view set)
{
    return at < text.size() && inSet(text[at], set);
}
