#pragma once

#include "document/ScreenplaySource.h"

#include <string>
#include <string_view>

// The CP932 text the screenplay readers see for a file of these bytes,
// read through the source in pieces of the given size.
inline std::string screenplayText(std::string_view bytes, std::size_t capacity = 4096)
{
    ScreenplaySource source;
    source.openBytes(bytes);
    std::string text;
    std::string buffer(capacity, '\0');
    while (std::size_t got = source.read(buffer.data(), capacity))
        text.append(buffer, 0, got);
    return text;
}
