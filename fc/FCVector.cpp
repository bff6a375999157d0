#include "fc/FCVector.h"

#include "fc/NotEnoughMemoryException.h"

#include <algorithm>
#include <cassert>
#include <new>

namespace {

// Zeroed storage for count elements, or null when the request is too large
// or memory is short.
template <typename T> T* allocateElements(int64_t count)
{
    if (count <= 0 || count >= FCVector<T>::elementLimit)
        return nullptr;
    return new (std::nothrow) T[static_cast<size_t>(count)]();
}

int64_t roundUpToStep(int64_t value, int64_t step)
{
    return (value + step - 1) / step * step;
}

} // namespace

template <typename T> FCVector<T>::FCVector(int32_t step) : m_step(step > 0 ? step : defaultStep)
{
    assert(step > 0 && "FCVector needs a positive step");
}

template <typename T> FCVector<T>::~FCVector()
{
    delete[] m_data;
}

template <typename T> void FCVector<T>::setStep(int32_t step)
{
    assert(step > 0 && "FCVector needs a positive step");
    if (step > 0)
        m_step = step;
}

template <typename T> void FCVector<T>::init(int32_t step)
{
    if (m_data) {
        reset();
        return;
    }
    assert(step >= 0 && "FCVector::init needs a positive step or 0");
    const int32_t chosen = step > 0 ? step : m_step;
    T* data = allocateElements<T>(chosen);
    if (!data)
        throw NotEnoughMemoryException("FCVector - init");
    m_data = data;
    m_step = chosen;
    m_capacity = chosen;
    m_allocated = chosen;
}

template <typename T> void FCVector<T>::reset()
{
    // The fresh step is allocated before the old array goes, so a failure
    // leaves the vector as it was.
    T* data = allocateElements<T>(m_step);
    if (!data)
        throw NotEnoughMemoryException("FCVector - init");
    delete[] m_data;
    m_data = data;
    m_capacity = m_step;
    m_allocated = m_step;
}

template <typename T> T* FCVector<T>::at(int32_t index)
{
    assert(index >= 0 && "FCVector::at with a negative index");
    if (index >= m_capacity)
        grow(index);
    return m_data + index;
}

template <typename T> void FCVector<T>::grow(int32_t index)
{
    const int64_t step = m_step;
    // A negative index (a caller's bug) is refused like an oversized request.
    const int64_t wanted = index < 0 ? elementLimit : step * (index / step + 1);
    if (wanted >= elementLimit)
        throw NotEnoughMemoryException("FCVector - increase");
    if (wanted <= m_allocated) {
        // Zero since the storage was allocated: nothing was handed out here.
        m_capacity = static_cast<int32_t>(wanted);
        return;
    }
    int64_t size = wanted;
    if (wanted > largeCapacity) {
        const int64_t doubled = roundUpToStep(int64_t(m_allocated) * 2, step);
        const int64_t ceiling = (elementLimit - 1) / step * step;
        size = std::max(wanted, std::min(doubled, ceiling));
    }
    T* data = allocateElements<T>(size);
    if (!data)
        throw NotEnoughMemoryException("FCVector - increase");
    if (m_data)
        std::copy_n(m_data, m_capacity, data);
    delete[] m_data;
    m_data = data;
    m_allocated = static_cast<int32_t>(size);
    m_capacity = static_cast<int32_t>(wanted);
}

template class FCVector<uint32_t>;
