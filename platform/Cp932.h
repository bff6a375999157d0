#pragma once

#include <cstddef>

// Character stepping in code page 932 (Shift-JIS). A character is one byte, or
// a lead byte (0x81-0x9F, 0xE0-0xFC) followed by any byte but NUL. A lead byte
// followed by NUL, or standing last, is a character of its own.
//
// Every function takes an explicit end so that texts may hold NUL bytes: a NUL
// inside the text is an ordinary single-byte character.
namespace Cp932 {

inline bool isLeadByte(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// Length in bytes (1 or 2) of the character at p; 0 at the end.
inline int charLength(const char* p, const char* end)
{
    if (p >= end)
        return 0;
    if (isLeadByte(static_cast<unsigned char>(*p)) && p + 1 < end && p[1] != '\0')
        return 2;
    return 1;
}

// The start of the next character; end stays at end.
inline const char* next(const char* p, const char* end)
{
    return p + charLength(p, end);
}

// The start of the character before p, found by walking from start so that
// a trail byte is never mistaken for a lead byte; start stays at start.
const char* prev(const char* start, const char* p, const char* end);

// Character code: the byte for a single-byte character, lead * 256 + trail
// for a double-byte one, 0 at the end.
inline int codeAt(const char* p, const char* end)
{
    int n = charLength(p, end);
    if (n == 0)
        return 0;
    auto lead = static_cast<unsigned char>(p[0]);
    return n == 1 ? lead : lead * 256 + static_cast<unsigned char>(p[1]);
}

// Number of characters in [begin, end).
std::size_t count(const char* begin, const char* end);

} // namespace Cp932
