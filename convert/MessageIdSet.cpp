#include "convert/MessageIdSet.h"

#include <algorithm>
#include <iterator>

MessageIdSet::MessageIdSet()
{
    m_bits.resize(BitRange);
}

MessageIdSet::~MessageIdSet() = default;

void MessageIdSet::clear()
{
    m_bits.resize(BitRange);
    m_above.clear();
    m_size = 0;
}

bool MessageIdSet::insert(int32_t id)
{
    if (id < 0)
        return false;
    if (id < BitRange) {
        if (m_bits.test(id))
            return false;
        m_bits.set(id);
    } else if (!m_above.insert(id).second) {
        return false;
    }
    ++m_size;
    return true;
}

bool MessageIdSet::contains(int32_t id) const
{
    if (id < 0)
        return false;
    if (id < BitRange)
        return m_bits.test(id);
    return m_above.count(id) != 0;
}

int64_t MessageIdSet::countBetween(int32_t from, int32_t to) const
{
    if (to < from || to < 0)
        return 0;
    from = std::max(from, 0);
    int64_t count = 0;
    const int32_t bitsEnd = std::min(to, BitRange - 1);
    for (int32_t id = from; id <= bitsEnd; ++id) {
        if (m_bits.test(id))
            ++count;
    }
    if (to >= BitRange) {
        auto first = m_above.lower_bound(std::max(from, BitRange));
        auto last = m_above.upper_bound(to);
        count += std::distance(first, last);
    }
    return count;
}
