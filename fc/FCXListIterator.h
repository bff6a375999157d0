#pragma once

#include "fc/FCXList.h"

// Steps through the elements of an FCXList from the first to the last. The
// list is borrowed: it must outlive the iterator, and the node the iterator
// rests on must not be taken out of the list while the iterator is in use.
template <typename T> class FCXListIterator {
public:
    explicit FCXListIterator(const FCXList<T>& list) : m_cursor(list.m_ring) {}
    virtual ~FCXListIterator() = default;

    // The first call gives the first element, each further call the next
    // one; after the last element (or on an empty list) null, for good.
    T* next()
    {
        typename FCXList<T>::Node* node = FCXList<T>::nodeOf(m_cursor.next());
        return node ? node->object() : nullptr;
    }

    // The node of the element next() gave last; null before the first step
    // and after the end.
    typename FCXList<T>::Node* current() const { return FCXList<T>::nodeOf(m_cursor.current()); }

private:
    FCRing::Cursor m_cursor;
};
