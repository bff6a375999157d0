// Numbers in and out of FCString, and the printf-style create.

#include "fc/FCString.h"
#include "fc/FCStringRep.h"
#include "fc/NotEnoughMemoryException.h"
#include "platform/Cp932.h"

#include <algorithm>
#include <cassert>
#include <cstdarg>
#include <cstring>
#include <limits>
#include <new>
#include <string>

namespace {

const char* const formatTag = "FCString - create(LPCTSTR,...)";

// Digits of a magnitude, most significant first, lower case above 9.
std::string digitsOf(uint32_t magnitude, unsigned radix)
{
    char buffer[33];
    int n = 0;
    do {
        const unsigned digit = magnitude % radix;
        buffer[n++] = char(digit < 10 ? '0' + digit : 'a' + digit - 10);
        magnitude /= radix;
    } while (magnitude != 0);
    std::reverse(buffer, buffer + n);
    return std::string(buffer, size_t(n));
}

// The conversion being read from a pattern.
struct Conversion {
    bool left = false;
    bool zero = false;
    bool alternate = false;
    int width = 0;
    int precision = -1;
    char size = 0; // 'h', 'l' or none
    char type = 0;
};

// Reads a decimal number of the pattern, saturating instead of overflowing.
int readCount(const char*& p)
{
    int64_t value = 0;
    while (*p >= '0' && *p <= '9') {
        value = std::min<int64_t>(value * 10 + (*p - '0'), std::numeric_limits<int32_t>::max());
        ++p;
    }
    return int(value);
}

void pad(std::string& out, const std::string& body, const Conversion& c, char fill)
{
    const size_t width = c.width > 0 ? size_t(c.width) : 0;
    if (body.size() >= width) {
        out += body;
    } else if (c.left) {
        out += body;
        out.append(width - body.size(), ' ');
    } else {
        out.append(width - body.size(), fill);
        out += body;
    }
}

void formatInteger(std::string& out, const Conversion& c, uint32_t magnitude, bool negative)
{
    const bool hex = c.type == 'x' || c.type == 'X';
    std::string digits = digitsOf(magnitude, hex ? 16 : 10);
    if (c.precision == 0 && magnitude == 0)
        digits.clear();
    if (c.precision > 0 && digits.size() < size_t(c.precision))
        digits.insert(0, size_t(c.precision) - digits.size(), '0');
    if (c.type == 'X')
        std::transform(digits.begin(), digits.end(), digits.begin(),
                       [](char ch) { return ch >= 'a' && ch <= 'f' ? char(ch - 'a' + 'A') : ch; });
    std::string prefix = negative ? "-" : "";
    if (hex && c.alternate && magnitude != 0)
        prefix += c.type == 'X' ? "0X" : "0x";

    // Zeros of the width go between the sign or prefix and the digits.
    if (c.zero && !c.left && c.precision < 0) {
        const size_t width = c.width > 0 ? size_t(c.width) : 0;
        const size_t used = prefix.size() + digits.size();
        if (used < width)
            digits.insert(0, width - used, '0');
    }
    pad(out, prefix + digits, c, ' ');
}

void formatString(std::string& out, const Conversion& c, const char* text)
{
    if (!text)
        text = "(null)";
    size_t size = std::strlen(text);
    if (c.precision >= 0 && size > size_t(c.precision)) {
        // Cut at the last whole character that fits.
        const char* textEnd = text + size;
        const char* p = text;
        while (p < textEnd) {
            const char* next = Cp932::next(p, textEnd);
            if (next - text > c.precision)
                break;
            p = next;
        }
        size = size_t(p - text);
    }
    pad(out, std::string(text, size), c, c.zero && !c.left ? '0' : ' ');
}

void format(std::string& out, const char* pattern, va_list args)
{
    const char* p = pattern;
    const char* patternEnd = pattern + std::strlen(pattern);
    while (p < patternEnd) {
        if (*p != '%') {
            // Literal characters are copied whole, so that a trail byte is
            // never read as the start of a conversion.
            const char* next = Cp932::next(p, patternEnd);
            out.append(p, size_t(next - p));
            p = next;
            continue;
        }
        ++p;
        Conversion c;
        for (;; ++p) {
            if (*p == '-')
                c.left = true;
            else if (*p == '0')
                c.zero = true;
            else if (*p == '#')
                c.alternate = true;
            else
                break;
        }
        c.width = readCount(p);
        if (*p == '.') {
            ++p;
            c.precision = readCount(p);
        }
        if (*p == 'l' || *p == 'h')
            c.size = *p++;
        c.type = *p;
        if (c.type == '\0')
            break;
        ++p;

        switch (c.type) {
        case '%':
            out += '%';
            break;
        case 'd':
        case 'i': {
            int value = va_arg(args, int);
            if (c.size == 'h')
                value = short(value);
            const uint32_t magnitude =
                value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
            formatInteger(out, c, magnitude, value < 0);
            break;
        }
        case 'u':
        case 'x':
        case 'X': {
            unsigned value = va_arg(args, unsigned);
            if (c.size == 'h')
                value = static_cast<unsigned short>(value);
            formatInteger(out, c, value, false);
            break;
        }
        case 'c':
        case 'C': {
            // The character is kept even when it is a NUL.
            const std::string body(1, char(va_arg(args, int)));
            pad(out, body, c, c.zero && !c.left ? '0' : ' ');
            break;
        }
        case 's':
        case 'S':
            formatString(out, c, va_arg(args, const char*));
            break;
        default:
            // Not a conversion: the character stands for itself.
            out += c.type;
            break;
        }
    }
}

} // namespace

void FCString::create(const char* pattern, ...)
{
    std::string out;
    bool failed = false;
    va_list args;
    va_start(args, pattern);
    try {
        if (pattern)
            format(out, pattern, args);
    } catch (const std::bad_alloc&) {
        failed = true;
    }
    va_end(args);
    if (failed)
        throw NotEnoughMemoryException(formatTag);
    replaceText(out, 256, formatTag);
}

void FCString::setNumber(int32_t value)
{
    // The digits are built first so that a failure leaves the old text.
    FCString digits;
    digits.appendNumber(value, 10, 0, ' ');
    replaceText(digits.view(), 256, "FCString - create()");
}

void FCString::appendDigits(uint32_t magnitude, bool negative, int radix, int width, char fill)
{
    assert(radix >= 2 && radix <= 36 && "FCString: radix outside 2..36");
    if (radix < 2 || radix > 36)
        radix = 10;
    std::string digits = digitsOf(magnitude, unsigned(radix));
    if (negative)
        digits.insert(0, 1, '-');
    if (width > 0 && digits.size() > size_t(width)) {
        digits.erase(0, digits.size() - size_t(width));
    } else if (width > 0 && digits.size() < size_t(width) && fill != '\0') {
        // A NUL fill is an empty padding text: nothing goes in front.
        digits.insert(0, size_t(width) - digits.size(), fill);
    }
    append(std::string_view(digits));
}

void FCString::appendNumber(int32_t value, int radix, int width, char fill)
{
    // Only decimal numbers carry a sign; other radixes show the 32-bit
    // pattern, as _itoa does.
    const bool negative = radix == 10 && value < 0;
    const uint32_t bits = static_cast<uint32_t>(value);
    appendDigits(negative ? 0u - bits : bits, negative, radix, width, fill);
}

void FCString::appendUnsigned(uint32_t value, int radix, int width, char fill)
{
    appendDigits(value, false, radix, width, fill);
}

int32_t FCString::toInteger(bool fromCursor)
{
    const int32_t from = fromCursor ? m_cursor : 0;
    return parseInteger(view().substr(static_cast<std::size_t>(from)));
}

int32_t FCString::parseInteger(std::string_view text)
{
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* e = p + text.size();
    auto hexValue = [](unsigned char ch) -> int {
        if (ch >= '0' && ch <= '9')
            return ch - '0';
        if (ch >= 'a' && ch <= 'f')
            return ch - 'a' + 10;
        if (ch >= 'A' && ch <= 'F')
            return ch - 'A' + 10;
        return -1;
    };
    // Arithmetic in uint32_t: overflow wraps around in 32 bits.
    uint32_t value = 0;
    if (e - p > 2 && p[0] == '0' && p[1] == 'x' && hexValue(p[2]) >= 0) {
        for (p += 2; p < e && hexValue(*p) >= 0; ++p)
            value = value * 16 + uint32_t(hexValue(*p));
        return static_cast<int32_t>(value);
    }
    if (e - p > 2 && p[0] == '0' && p[1] == 'b' && (p[2] == '0' || p[2] == '1')) {
        for (p += 2; p < e && (*p == '0' || *p == '1'); ++p)
            value = value * 2 + uint32_t(*p - '0');
        return static_cast<int32_t>(value);
    }
    while (p < e && (*p == ' ' || (*p >= '\t' && *p <= '\r')))
        ++p;
    bool negative = false;
    if (p < e && (*p == '+' || *p == '-'))
        negative = *p++ == '-';
    for (; p < e && *p >= '0' && *p <= '9'; ++p)
        value = value * 10 + uint32_t(*p - '0');
    return static_cast<int32_t>(negative ? 0u - value : value);
}
