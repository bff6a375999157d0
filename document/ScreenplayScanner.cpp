#include "document/ScreenplayScanner.h"

#include "fc/FCString.h"
#include "platform/Cp932.h"

ScreenplayScanner::ScreenplayScanner(std::string_view text) : m_text(text) {}

bool ScreenplayScanner::nextLine(std::string_view& line)
{
    const char* begin = m_text.data();
    const char* end = begin + m_text.size();
    const char* p = begin + m_position;
    while (p < end && (*p == '\r' || *p == '\n'))
        ++p;
    if (p >= end) {
        m_position = m_text.size();
        return false;
    }
    const char* start = p;
    while (p < end) {
        // CR and LF are never lead bytes, so only a double-byte character can
        // hide one (as its trail byte).
        unsigned char c = static_cast<unsigned char>(*p);
        if (c == '\r' || c == '\n')
            break;
        p += Cp932::isLeadByte(c) ? Cp932::charLength(p, end) : 1;
    }
    line = std::string_view(start, static_cast<std::size_t>(p - start));
    m_position = static_cast<std::size_t>(p - begin);
    return true;
}

int ScreenplayScanner::codeAt(std::string_view text)
{
    return Cp932::codeAt(text.data(), text.data() + text.size());
}

std::size_t ScreenplayScanner::charLength(std::string_view text)
{
    return static_cast<std::size_t>(Cp932::charLength(text.data(), text.data() + text.size()));
}

std::size_t ScreenplayScanner::countChars(std::string_view text)
{
    return Cp932::count(text.data(), text.data() + text.size());
}

int32_t ScreenplayScanner::toInteger(std::string_view text)
{
    FCString value(text);
    return value.toInteger();
}
