#include "fc/FCBit.h"

#include "fc/NotEnoughMemoryException.h"
#include "fc/OutOfBoundException.h"

#include <cstring>
#include <new>

FCBit::FCBit()
{
    resize(1);
}

FCBit::~FCBit() = default;

int32_t FCBit::bytesFor(int32_t bits)
{
    if (bits % 32 == 0)
        return bits / 8;
    // Rounded up to whole 4-byte words. INT32_MAX bits give 268435456.
    const int32_t bytes = bits / 8 + 1;
    return (bytes + 3) / 4 * 4;
}

void FCBit::resize(int32_t bits)
{
    if (bits < 1)
        bits = 1;
    const int32_t bytes = bytesFor(bits);
    std::unique_ptr<uint8_t[]> data(new (std::nothrow) uint8_t[static_cast<size_t>(bytes)]);
    if (!data)
        throw NotEnoughMemoryException("FCBit - resize");
    std::memset(data.get(), 0, static_cast<size_t>(bytes));
    m_data = std::move(data);
    m_bits = bits;
    m_bytes = bytes;
}

void FCBit::checkIndex(int32_t index) const
{
    if (index < 0 || index >= m_bits)
        throw OutOfBoundException();
}

void FCBit::set(int32_t index)
{
    checkIndex(index);
    m_data[index / 8] |= static_cast<uint8_t>(0x80u >> (index % 8));
}

bool FCBit::test(int32_t index) const
{
    checkIndex(index);
    return (m_data[index / 8] & (0x80u >> (index % 8))) != 0;
}

void FCBit::clearAll()
{
    std::memset(m_data.get(), 0, static_cast<size_t>(m_bytes));
}
