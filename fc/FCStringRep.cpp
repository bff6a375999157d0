#include "fc/FCStringRep.h"

#include "fc/NotEnoughMemoryException.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <limits>
#include <new>

namespace {

constexpr int32_t minimumUnit = 16;
// The longest text a storage can hold: its NUL must still fit a capacity that
// is a signed 32-bit number.
constexpr int64_t maximumLength = std::numeric_limits<int32_t>::max() - 1;
constexpr int64_t maximumCapacity = std::numeric_limits<int32_t>::max();

} // namespace

FCStringRep::FCStringRep(int32_t unit, const char* first, int32_t firstLength, const char* second,
                         int32_t secondLength, const char* tag)
    : FCStringRep(unit, first, firstLength, second, secondLength, 0, tag)
{
}

FCStringRep::FCStringRep(int32_t unit, const char* first, int32_t firstLength, const char* second,
                         int32_t secondLength, int64_t minimumCapacity, const char* tag)
{
    assert(firstLength >= 0 && secondLength >= 0 && "FCStringRep: negative text length");
    assert((first || firstLength == 0) && (second || secondLength == 0) &&
           "FCStringRep: text length given without a text");

    this->unit = std::max(unit, minimumUnit);
    int64_t total = int64_t(firstLength) + int64_t(secondLength);
    if (total > maximumLength)
        throw NotEnoughMemoryException(tag);

    int64_t wanted = capacityFor(total, this->unit);
    if (minimumCapacity > wanted) {
        // Extra room asked for by a growing append: rounded up to whole units.
        wanted = (minimumCapacity + this->unit - 1) / this->unit * this->unit;
    }
    // Near the limit the rule would give a capacity that no longer fits the
    // field; the largest one still holds the longest text and its NUL.
    wanted = std::min(wanted, maximumCapacity);

    try {
        text = new char[size_t(wanted)];
    } catch (const std::bad_alloc&) {
        throw NotEnoughMemoryException(tag);
    }
    capacity = int32_t(wanted);
    length = int32_t(total);
    if (firstLength > 0)
        std::memcpy(text, first, size_t(firstLength));
    if (secondLength > 0)
        std::memcpy(text + firstLength, second, size_t(secondLength));
    text[length] = '\0';
}

FCStringRep::~FCStringRep()
{
    delete[] text;
}

int64_t FCStringRep::capacityFor(int64_t length, int32_t unit)
{
    int64_t u = std::max(unit, minimumUnit);
    return u * ((length + 1) / u + 1);
}
