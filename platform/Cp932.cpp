#include "platform/Cp932.h"

int Cp932::charLength(const char* p, const char* end)
{
    if (p >= end)
        return 0;
    if (isLeadByte(static_cast<unsigned char>(*p)) && p + 1 < end && p[1] != '\0')
        return 2;
    return 1;
}

const char* Cp932::next(const char* p, const char* end)
{
    return p + charLength(p, end);
}

const char* Cp932::prev(const char* start, const char* p, const char* end)
{
    if (p <= start)
        return start;
    // Walking forward from the start is the only way to know whether the byte
    // before p is a trail byte or a character of its own.
    const char* q = start;
    while (true) {
        const char* n = next(q, end);
        if (n >= p || n == q)
            return q;
        q = n;
    }
}

int Cp932::codeAt(const char* p, const char* end)
{
    int n = charLength(p, end);
    if (n == 0)
        return 0;
    auto lead = static_cast<unsigned char>(p[0]);
    if (n == 1)
        return lead;
    return lead * 256 + static_cast<unsigned char>(p[1]);
}

std::size_t Cp932::count(const char* begin, const char* end)
{
    std::size_t n = 0;
    while (begin < end) {
        begin = next(begin, end);
        ++n;
    }
    return n;
}
