// Character stepping, searching and the cursor-driven parsing operations of
// FCString. Every scan walks whole characters, so a single-byte needle or
// delimiter never matches the trail byte of a double-byte character.

#include "fc/FCString.h"
#include "fc/FCStringRep.h"
#include "fc/NotEnoughMemoryException.h"
#include "platform/Cp932.h"
#include "platform/Prompt.h"

#include <cassert>
#include <cstdint>
#include <cstring>
#include <new>
#include <string>
#include <utility>

namespace {

const unsigned char* bytes(const char* text)
{
    return reinterpret_cast<const unsigned char*>(text);
}

} // namespace

// Cursor and characters.

int32_t FCString::previousStart(int32_t position) const
{
    if (position <= 0)
        return 0;
    const unsigned char* t = bytes(text());
    const int32_t last = position - 1;
    if (t[last] == 0)
        return last;
    // The byte just before a run of lead-range bytes ends a character, and
    // the run pairs up from its start (none of its bytes is a NUL). An odd run
    // before the last byte therefore makes the last byte a trail byte. This
    // avoids walking from the start of the text on every step back.
    int32_t i = last - 1;
    while (i >= 0 && Cp932::isLeadByte(t[i]))
        --i;
    return ((last - 1 - i) % 2 == 1) ? last - 1 : last;
}

bool FCString::isTrailPosition(int32_t position) const
{
    if (position <= 0 || position >= length())
        return false;
    const unsigned char* t = bytes(text());
    if (t[position] == 0)
        return false;
    int32_t i = position - 1;
    while (i >= 0 && Cp932::isLeadByte(t[i]))
        --i;
    return (position - 1 - i) % 2 == 1;
}

int32_t FCString::charCount()
{
    return int32_t(Cp932::count(text(), end()));
}

bool FCString::nextChar()
{
    m_cursor = int32_t(Cp932::next(text() + m_cursor, end()) - text());
    return m_cursor < length();
}

bool FCString::prevChar()
{
    m_cursor = previousStart(m_cursor);
    return m_cursor > 0;
}

int FCString::moveCursor(int n, int origin)
{
    switch (origin) {
    case 0:
        if (n < 0)
            return 0;
        m_cursor = 0;
        break;
    case 1:
        break;
    case 2:
        if (n > 0)
            return 0;
        m_cursor = length();
        break;
    default:
        return 0;
    }
    const int64_t steps = n < 0 ? -int64_t(n) : int64_t(n);
    for (int64_t i = 0; i < steps; ++i) {
        if (!(n > 0 ? nextChar() : prevChar()))
            return 0;
    }
    return currentChar();
}

int FCString::currentChar() const
{
    if (m_cursor >= length())
        return 0;
    const unsigned char* t = bytes(text());
    if (isTrailPosition(m_cursor))
        return t[m_cursor - 1] * 256 + t[m_cursor];
    if (Cp932::charLength(text() + m_cursor, end()) == 2)
        return t[m_cursor] * 256 + t[m_cursor + 1];
    return static_cast<signed char>(t[m_cursor]);
}

int FCString::charCodeAt(int32_t position) const
{
    if (position < 0 || position >= length())
        return 0;
    return Cp932::codeAt(text() + position, end());
}

// Searching.

bool FCString::isInSet(int32_t position, const char* set) const
{
    if (!set)
        return false;
    const int code = Cp932::codeAt(text() + position, end());
    const char* setEnd = set + std::strlen(set);
    for (const char* s = set; s < setEnd; s = Cp932::next(s, setEnd)) {
        if (Cp932::codeAt(s, setEnd) == code)
            return true;
    }
    return false;
}

int32_t FCString::findChar(int code)
{
    // A byte that went through a signed char (currentChar, '\xB1') still
    // names the same character.
    if (code < 0 && code >= -128)
        code += 256;
    for (const char* p = text() + m_cursor; p < end(); p = Cp932::next(p, end())) {
        if (Cp932::codeAt(p, end()) == code)
            return m_cursor = int32_t(p - text());
    }
    m_cursor = length();
    return none;
}

int32_t FCString::findAnyOf(const char* set)
{
    for (const char* p = text() + m_cursor; p < end(); p = Cp932::next(p, end())) {
        if (isInSet(int32_t(p - text()), set))
            return m_cursor = int32_t(p - text());
    }
    m_cursor = length();
    return none;
}

int32_t FCString::skipSet(const char* set)
{
    for (const char* p = text() + m_cursor; p < end(); p = Cp932::next(p, end())) {
        if (!isInSet(int32_t(p - text()), set))
            return m_cursor = int32_t(p - text());
    }
    m_cursor = length();
    return none;
}

int32_t FCString::findLastOf(const char* set)
{
    int32_t found = none;
    for (const char* p = text() + m_cursor; p < end(); p = Cp932::next(p, end())) {
        if (isInSet(int32_t(p - text()), set))
            found = int32_t(p - text());
    }
    m_cursor = found == none ? length() : found;
    return found;
}

int32_t FCString::findText(const char* needle, const char* delimiters)
{
    // An empty needle matches nothing: a loop that searches and steps on
    // would otherwise never end.
    if (!needle || !*needle) {
        m_cursor = length();
        return none;
    }
    const std::string_view wanted(needle);

    if (delimiters && *delimiters) {
        // Whole tokens only, cut as nextToken cuts them.
        while (skipSet(delimiters) != none) {
            const int32_t start = m_cursor;
            findAnyOf(delimiters);
            if (view().substr(size_t(start), size_t(m_cursor - start)) == wanted)
                return m_cursor = start;
        }
        return none;
    }

    // A byte match counts only where it starts and ends on character
    // boundaries; boundaries are tracked by one walk alongside the search.
    const std::string_view haystack = view();
    int32_t boundary = m_cursor;
    size_t from = size_t(m_cursor);
    while (true) {
        const size_t found = haystack.find(wanted, from);
        if (found == std::string_view::npos)
            break;
        while (boundary < int32_t(found))
            boundary = int32_t(Cp932::next(text() + boundary, end()) - text());
        if (boundary == int32_t(found)) {
            int32_t matchEnd = boundary;
            while (matchEnd < int32_t(found + wanted.size()))
                matchEnd = int32_t(Cp932::next(text() + matchEnd, end()) - text());
            if (matchEnd == int32_t(found + wanted.size()))
                return m_cursor = int32_t(found);
            boundary = int32_t(Cp932::next(text() + boundary, end()) - text());
        }
        from = size_t(boundary);
    }
    m_cursor = length();
    return none;
}

// Tokenising.

int32_t FCString::nextToken(FCString& out, const char* delimiters, bool includeDelimiter)
{
    assert(&out != this && "FCString::nextToken: the token cannot be the string itself");
    if (skipSet(delimiters) == none)
        return none;
    const int32_t start = m_cursor;
    findAnyOf(delimiters);
    if (includeDelimiter && m_cursor < length())
        nextChar();
    if (m_cursor == start)
        return none;
    out.replaceText(text() + start, m_cursor - start, 32, "FCString");
    return start;
}

int FCString::nextField(FCString& out, const char* delimiters, bool keepEmpty, int* delimiterOut)
{
    assert(&out != this && "FCString::nextField: the field cannot be the string itself");
    if (!keepEmpty) {
        if (skipSet(delimiters) == none)
            return 0;
    } else if (m_cursor >= length()) {
        return 0;
    }
    const int32_t start = m_cursor;
    const bool onDelimiter = findAnyOf(delimiters) != none;
    if (delimiterOut)
        *delimiterOut = charCodeAt(m_cursor);

    if (m_cursor == start)
        out.clear();
    else
        out.replaceText(text() + start, m_cursor - start, 256, "FCString");

    if (!onDelimiter)
        return 1;
    nextChar();
    // 2 tells the caller that an empty last field follows the delimiter.
    return keepEmpty && m_cursor >= length() ? 2 : 1;
}

int FCString::split(FCString* fields, int count, const char* delimiters, bool lastTakesRest,
                    bool keepEmpty, const char* skipFirst)
{
    if (!fields || count <= 0)
        return 0;
    for (int i = 0; i < count; ++i) {
        assert(&fields[i] != this && "FCString::split: a field cannot be the string itself");
        if (skipFirst)
            skipSet(skipFirst);
        if (lastTakesRest && i == count - 1) {
            fields[i].replaceText(text() + m_cursor, length() - m_cursor, 256, "FCString");
            m_cursor = length();
            return count;
        }
        const int result = nextField(fields[i], delimiters, keepEmpty);
        if (result == 0)
            return i;
        if (result == 2) {
            if (i + 1 < count) {
                fields[i + 1].clear();
                return i + 2;
            }
            return i + 1;
        }
    }
    return count;
}

bool FCString::readLine(FCString& out, bool trimLeading, bool fullWidthBlank)
{
    if (nextField(out, "\r\n", false) == 0)
        return false;
    if (!trimLeading)
        return true;
    const char* p = out.text();
    const char* lineEnd = out.end();
    while (p < lineEnd) {
        const int code = Cp932::codeAt(p, lineEnd);
        if (code != ' ' && code != '\t' && !(fullWidthBlank && code == 0x8140))
            break;
        p = Cp932::next(p, lineEnd);
    }
    if (p != out.text())
        out.replaceText(p, int32_t(lineEnd - p), 256, "FCString");
    return true;
}

void FCString::substring(FCString& out, int32_t from, int32_t to) const
{
    const int32_t size = length();
    if (from == none && to == none && size == 0) {
        out.clear();
        return;
    }
    int32_t first = from == none ? 0 : from;
    int32_t last = to == none ? size - 1 : to;
    if (first > last)
        std::swap(first, last);
    if (first < 0 || last >= size) {
        // A caller's bounds are wrong; say so and carry on with out untouched.
        std::string box = "  start:" + std::to_string(uint32_t(first));
        box += "\n    end:" + std::to_string(uint32_t(last));
        box += "\nstrings:" + std::to_string(reinterpret_cast<uintptr_t>(text()));
        box += "\n length:" + std::to_string(uint32_t(size));
        Prompt::current().ask("FCString class", box, Prompt::Buttons::Ok);
        return;
    }
    out.replaceText(text() + first, last - first + 1, 256, "FCString - create()");
}

int FCString::replaceAll(const char* find, const char* replacement)
{
    if (!find || !*find)
        return 0;
    const size_t findLength = std::strlen(find);
    const std::string_view with = replacement ? std::string_view(replacement) : std::string_view();
    std::string result;
    int count = 0;
    int32_t piece = 0;
    m_cursor = 0;
    try {
        int32_t at;
        while ((at = findText(find)) != none) {
            result.append(text() + piece, size_t(at - piece));
            result.append(with);
            ++count;
            piece = at + int32_t(findLength);
            m_cursor = piece;
        }
        if (count == 0) {
            m_cursor = 0;
            return 0;
        }
        result.append(text() + piece, size_t(length() - piece));
    } catch (const std::bad_alloc&) {
        m_cursor = 0;
        throw NotEnoughMemoryException("FCString - create()");
    }
    replaceText(result, unit(), "FCString - create()");
    return count;
}
