#pragma once

#include <cstdint>

// A growable array of plain values; the program uses FCVector<uint32_t> (one
// flags word per laid-out line), the only instantiation that is built.
//
// Capacity grows in whole steps: reaching index i makes the capacity the
// smallest multiple of the step above i, and capacity() reports exactly that.
// Growing by a fixed step alone would copy the array again every step
// elements, which is quadratic for the millions of lines of a large scene,
// so once the capacity passes largeCapacity the storage behind it is at
// least doubled (a multiple of the step) and later steps are taken inside
// it without copying. Storage never reported by capacity() is invisible.
//
// Elements that growth adds are zero. The data is owned.
template <typename T> class FCVector {
public:
    static constexpr int32_t defaultStep = 512;
    // Past this capacity the storage grows at least geometrically.
    static constexpr int64_t largeCapacity = 64 * 1024;
    // A request for this many elements or more counts as failed.
    static constexpr int64_t elementLimit = int64_t(1) << 30;

    explicit FCVector(int32_t step = defaultStep);
    virtual ~FCVector();

    FCVector(const FCVector&) = delete;
    FCVector& operator=(const FCVector&) = delete;

    virtual int32_t capacity() const { return m_capacity; }

    // Allocates step elements; a step of 0 keeps the stored one. On a vector
    // that already has data this is a reset, and the step is ignored. Raises
    // NotEnoughMemoryException "FCVector - init" when the allocation fails,
    // leaving the vector as it was.
    virtual void init(int32_t step = 0);

    // Drops the elements: the vector again holds one zeroed step. Raises
    // NotEnoughMemoryException "FCVector - init" (keeping the old data) when
    // the allocation fails.
    virtual void reset();

    // The address of element index, growing the array first when index is
    // at or beyond the capacity. Raises NotEnoughMemoryException
    // "FCVector - increase" when that fails; the elements are kept. The
    // address is valid until the vector grows again.
    T* at(int32_t index);

    int32_t step() const { return m_step; }
    // The step of later growth (and of the next init).
    void setStep(int32_t step);

    // The elements (capacity() of them are valid), or null before any
    // allocation.
    const T* data() const { return m_data; }
    // The storage really held, at least capacity(); for tests.
    int32_t allocated() const { return m_allocated; }

private:
    void grow(int32_t index);

    T* m_data = nullptr;
    int32_t m_capacity = 0;
    int32_t m_allocated = 0;
    int32_t m_step;
};

extern template class FCVector<uint32_t>;
