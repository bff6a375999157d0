#pragma once

#include <atomic>
#include <cstdint>

// The shared storage of FCString: a NUL-terminated byte buffer with its
// length, its capacity and the allocation unit it grows by. Copies of a
// string share one storage through the atomic reference count.
class FCStringRep {
public:
    // Builds a storage holding first + second (either may be null) with the
    // given unit (raised to 16). The reference count starts at 0; the string
    // that takes the storage raises it. Raises NotEnoughMemoryException with
    // the given tag when memory is short.
    FCStringRep(int32_t unit, const char* first, int32_t firstLength, const char* second,
                int32_t secondLength, const char* tag = "FCString - create()");
    // As above, but with room for at least minimumCapacity bytes.
    FCStringRep(int32_t unit, const char* first, int32_t firstLength, const char* second,
                int32_t secondLength, int64_t minimumCapacity, const char* tag);
    virtual ~FCStringRep();

    FCStringRep(const FCStringRep&) = delete;
    FCStringRep& operator=(const FCStringRep&) = delete;

    // unit * (floor((length + 1) / unit) + 1): always more than length.
    static int64_t capacityFor(int64_t length, int32_t unit);

    std::atomic<int32_t> references{0};
    int32_t length = 0;
    int32_t capacity = 0;
    int32_t unit = 256;
    char* text = nullptr;
};
