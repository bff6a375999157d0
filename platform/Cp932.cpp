#include "platform/Cp932.h"

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

std::size_t Cp932::count(const char* begin, const char* end)
{
    std::size_t n = 0;
    while (begin < end) {
        begin = next(begin, end);
        ++n;
    }
    return n;
}
