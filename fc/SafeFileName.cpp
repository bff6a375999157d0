#include "fc/SafeFileName.h"

#include "platform/Cp932.h"

std::string SafeFileName::of(std::string_view name)
{
    if (name == "." || name == "..")
        return "_";
    std::string out;
    out.reserve(name.size());
    const char* p = name.data();
    const char* end = p + name.size();
    while (p < end) {
        const char* next = Cp932::next(p, end);
        // Only a character of its own is a separator or a NUL: the second
        // byte of a double-byte character is never looked at alone.
        if (next - p == 1 && (*p == '/' || *p == '\0'))
            out += '_';
        else
            out.append(p, static_cast<std::size_t>(next - p));
        p = next;
    }
    return out;
}
