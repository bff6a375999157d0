#pragma once

#include "fc/FCBit.h"

#include <cstdint>
#include <set>

// The message ids seen in speech lines, for every non-negative 32-bit id.
// The usual range (below 80000) is a bit set; the rare ids above it go to a
// sorted side set, so that an id like 2^31 - 1 costs one entry instead of
// a quarter of a gigabyte of bits, and nothing is lost either way.
class MessageIdSet {
public:
    static constexpr int32_t BitRange = 80000;

    MessageIdSet();
    virtual ~MessageIdSet();

    MessageIdSet(const MessageIdSet&) = delete;
    MessageIdSet& operator=(const MessageIdSet&) = delete;

    // Empties the set.
    void clear();
    // Adds a non-negative id; false when it was there already. Negative ids
    // are no message ids and are refused (false, nothing stored).
    bool insert(int32_t id);
    bool contains(int32_t id) const;

    // Distinct ids held, and distinct ids in [from, to] (both included).
    int64_t size() const { return m_size; }
    int64_t countBetween(int32_t from, int32_t to) const;

private:
    FCBit m_bits;
    std::set<int32_t> m_above;
    int64_t m_size = 0;
};
