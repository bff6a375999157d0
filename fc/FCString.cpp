#include "fc/FCString.h"

#include "fc/FCStringRep.h"
#include "fc/NotEnoughMemoryException.h"
#include "platform/Cp932.h"
#include "platform/FileSystem.h"
#include "platform/Prompt.h"
#include "platform/Sjis.h"
#include "platform/TextCollator.h"
#include "platform/TextMapper.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <limits>
#include <new>
#include <string>

namespace {

constexpr int32_t defaultUnit = 256;
constexpr int64_t maximumLength = std::numeric_limits<int32_t>::max() - 1;
// Below this size a growing append allocates exactly by the unit rule; from
// here on it at least doubles the capacity.
constexpr int64_t amortisedGrowthFrom = 64 * 1024;

std::string_view viewOf(const char* text)
{
    return text ? std::string_view(text) : std::string_view();
}

} // namespace

// Construction, copy, lifetime.

FCString::FCString() : m_rep(build(defaultUnit, {}, {}, 0, "FCString - create()"))
{
    ++m_rep->references;
}

FCString::FCString(const char* text) : FCString(viewOf(text)) {}

FCString::FCString(std::string_view text)
    : m_rep(build(defaultUnit, text, {}, 0, "FCString - create()"))
{
    ++m_rep->references;
}

FCString::FCString(const FCString& other) : m_rep(other.m_rep), m_cursor(other.m_cursor)
{
    ++m_rep->references;
}

FCString& FCString::operator=(const FCString& other)
{
    if (m_rep == other.m_rep)
        return *this;
    // Take the share first so that the other storage cannot go away while the
    // old one is released (the other string may be a copy held by this one).
    FCStringRep* rep = other.m_rep;
    ++rep->references;
    int32_t cursor = other.m_cursor;
    release();
    m_rep = rep;
    m_cursor = cursor;
    return *this;
}

FCString::~FCString()
{
    release();
}

void FCString::release()
{
    if (m_rep && m_rep->references.fetch_sub(1) - 1 <= 0)
        delete m_rep;
    m_rep = nullptr;
}

void FCString::adopt(FCStringRep* rep)
{
    assert(rep && "FCString: adopting no storage");
    ++rep->references;
    m_rep = rep;
    m_cursor = 0;
}

FCStringRep* FCString::build(int32_t unit, std::string_view first, std::string_view second,
                             int64_t minimumCapacity, const char* tag)
{
    if (first.size() > size_t(maximumLength) || second.size() > size_t(maximumLength))
        throw NotEnoughMemoryException(tag);
    try {
        return new FCStringRep(unit, first.data(), int32_t(first.size()), second.data(),
                               int32_t(second.size()), minimumCapacity, tag);
    } catch (const std::bad_alloc&) {
        throw NotEnoughMemoryException(tag);
    }
}

void FCString::replaceText(const char* text, int32_t length, int32_t unit, const char* tag)
{
    assert(length >= 0 && (text || length == 0) && "FCString: bad text for replaceText");
    replaceText(std::string_view(text, size_t(length)), unit, tag);
}

void FCString::replaceText(std::string_view text, int32_t unit, const char* tag)
{
    // Built before the old storage is let go: the text may point into it.
    FCStringRep* rep = build(unit, text, {}, 0, tag);
    release();
    adopt(rep);
}

void FCString::reserve(int32_t bytes)
{
    if (bytes < m_rep->capacity && m_rep->references.load() <= 1)
        return;
    int32_t cursor = m_cursor;
    FCStringRep* rep = build(m_rep->unit, view(), {}, int64_t(bytes) + 1, "FCString - append");
    release();
    adopt(rep);
    m_cursor = cursor;
}

void FCString::makePrivate()
{
    if (m_rep->references.load() > 1)
        replaceText(view(), m_rep->unit, "FCString - create()");
}

// Building.

void FCString::create(int32_t unit, const char* text)
{
    replaceText(viewOf(text), unit, "FCString - create()");
}

void FCString::create(int32_t unit, std::string_view text)
{
    replaceText(text, unit, "FCString - create()");
}

// Growing and shrinking.

void FCString::appendBytes(const char* text, std::size_t added)
{
    const int64_t oldLength = m_rep->length;
    if (added > size_t(maximumLength) || oldLength + int64_t(added) > maximumLength)
        throw NotEnoughMemoryException("FCString - append");
    const int64_t newLength = oldLength + int64_t(added);

    if (newLength < m_rep->capacity && m_rep->references.load() <= 1) {
        // The text may be this string's own: the bytes behind the old text do
        // not overlap it.
        if (added > 0)
            std::memcpy(m_rep->text + oldLength, text, added);
        m_rep->length = int32_t(newLength);
        m_rep->text[newLength] = '\0';
        return;
    }

    int64_t minimumCapacity = 0;
    if (newLength >= m_rep->capacity && newLength >= amortisedGrowthFrom) {
        // The unit rule alone would make a text built by many appends cost
        // quadratic copying once it is large (a scene body, a report): from
        // here on each growth at least doubles, so the copying stays linear.
        minimumCapacity = 2 * int64_t(m_rep->capacity);
    }
    FCStringRep* rep = build(m_rep->unit, view(), std::string_view(text, added), minimumCapacity,
                             "FCString - append");
    release();
    adopt(rep);
}

void FCString::append(const char* text)
{
    if (!text)
        return;
    appendBytes(text, std::strlen(text));
}

void FCString::append(const char* text, int32_t byteCount)
{
    if (!text)
        return;
    if (byteCount < 0)
        byteCount = 0;
    // One byte beyond the cut tells whether a lead byte at the cut has its
    // trail byte behind it.
    const std::size_t available = strnlen(text, size_t(byteCount) + 1);
    std::size_t take = std::min(available, size_t(byteCount));
    if (take < available) {
        const char* end = text + available;
        const char* p = text;
        while (p < text + take) {
            const char* next = Cp932::next(p, end);
            if (next > text + take)
                break;
            p = next;
        }
        take = size_t(p - text);
    }
    appendBytes(text, take);
}

void FCString::prepend(const char* text)
{
    if (!text)
        return;
    FCStringRep* rep = build(m_rep->unit, text, view(), 0, "FCString - prepend");
    release();
    adopt(rep);
}

void FCString::clear()
{
    if (m_rep->references.load() > 1) {
        replaceText(std::string_view(), m_rep->unit, "FCString - create()");
        return;
    }
    m_rep->length = 0;
    m_rep->text[0] = '\0';
    m_cursor = 0;
}

FCString& FCString::operator<<(const FCString& other)
{
    append(other.view());
    return *this;
}

FCString& FCString::operator<<(const char* text)
{
    append(text);
    return *this;
}

FCString& FCString::operator<<(int32_t value)
{
    appendNumber(value, 10, 0, ' ');
    return *this;
}

// Case and width.

void FCString::toUpper()
{
    makePrivate();
    TextMapper::toUpperAscii(m_rep->text, m_rep->text + m_rep->length);
}

void FCString::toLower()
{
    makePrivate();
    TextMapper::toLowerAscii(m_rep->text, m_rep->text + m_rep->length);
}

void FCString::mapString(uint32_t flags)
{
    // Short memory or a mapping that gives nothing leaves the text as it is.
    try {
        std::string mapped =
            (flags & MapFullWidth) ? TextMapper::toFullWidth(view()) : std::string(view());
        if (mapped.empty() && !isEmpty())
            return;
        replaceText(mapped, defaultUnit, "FCString - create()");
    } catch (const std::bad_alloc&) {
    } catch (const NotEnoughMemoryException&) {
    }
}

// Access.

int32_t FCString::length() const
{
    return m_rep->length;
}

const char* FCString::text() const
{
    return m_rep->text;
}

std::string_view FCString::view() const
{
    return std::string_view(m_rep->text, size_t(m_rep->length));
}

const char* FCString::end() const
{
    return m_rep->text + m_rep->length;
}

void FCString::setCursor(int32_t position)
{
    m_cursor = std::clamp(position, 0, m_rep->length);
}

const char* FCString::cursorText() const
{
    return m_rep->text + m_cursor;
}

int32_t FCString::capacity() const
{
    return m_rep->capacity;
}

int32_t FCString::unit() const
{
    return m_rep->unit;
}

int32_t FCString::references() const
{
    return m_rep->references.load();
}

// Comparison and copying out.

bool FCString::equals(const FCString& other) const
{
    return m_rep == other.m_rep || view() == other.view();
}

bool FCString::equals(const char* text) const
{
    return view() == viewOf(text);
}

int FCString::compare(const FCString& other) const
{
    if (m_rep == other.m_rep)
        return 0;
    return TextCollator::compare(view(), other.view());
}

int32_t FCString::copyTo(char* buffer, int32_t size) const
{
    if (!buffer || m_rep->length >= size)
        return none;
    std::memcpy(buffer, m_rep->text, size_t(m_rep->length) + 1);
    return m_rep->length;
}

// Error box.

void FCString::showLastError(const char* text)
{
    // Read first: building the text must not be what the code describes.
    const uint32_t code = FileSystem::lastError();
    std::string message = text ? text : "";
    message += Sjis::of("でエラーが発生しました\nエラーコードは、");
    message += std::to_string(code);
    message += Sjis::of("です");
    Prompt::current().ask("FCString class", message, Prompt::Buttons::Ok);
}
