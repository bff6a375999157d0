#pragma once

#include <cstdint>
#include <memory>

// A fixed-size set of bits, all clear after resize. Bit i lives in byte i / 8
// under the mask 0x80 >> (i % 8): the first bit of a byte is its highest. The
// storage is a whole number of 4-byte words.
class FCBit {
public:
    FCBit();
    virtual ~FCBit();

    FCBit(const FCBit&) = delete;
    FCBit& operator=(const FCBit&) = delete;

    // Replaces the set by one of bits bits (at least 1), all clear. Raises
    // NotEnoughMemoryException "FCBit - resize" when memory is short, leaving
    // the old set in place.
    void resize(int32_t bits);

    // Both raise OutOfBoundException for an index below 0 or at or beyond the
    // size.
    void set(int32_t index);
    bool test(int32_t index) const;

    void clearAll();

    int32_t size() const { return m_bits; }
    int32_t byteSize() const { return m_bytes; }
    const uint8_t* data() const { return m_data.get(); }

    // The storage for a set of bits bits (bits at least 1).
    static int32_t bytesFor(int32_t bits);

private:
    void checkIndex(int32_t index) const;

    std::unique_ptr<uint8_t[]> m_data;
    int32_t m_bits = 0;
    int32_t m_bytes = 0;
};
