#pragma once

#include "fc/FCNList.h"

// Steps through the values of an FCNList from the first to the last, giving
// a pointer to each. The list is borrowed: it must outlive the iterator, and
// the node the iterator rests on must not be taken out of the list while the
// iterator is in use.
template <typename T> class FCNListIterator {
public:
    explicit FCNListIterator(const FCNList<T>& list) : m_cursor(list.m_ring) {}
    virtual ~FCNListIterator() = default;

    // The first call gives the first value, each further call the next one;
    // after the last value (or on an empty list) null, for good.
    T* next()
    {
        typename FCNList<T>::Node* node = FCNList<T>::nodeOf(m_cursor.next());
        return node ? &node->value() : nullptr;
    }

    // The node of the value next() gave last; null before the first step and
    // after the end.
    typename FCNList<T>::Node* current() const { return FCNList<T>::nodeOf(m_cursor.current()); }

private:
    FCRing::Cursor m_cursor;
};
