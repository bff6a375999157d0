#pragma once

#include "fc/FCXList.h"

// Steps through the elements of an FCXList from the first to the last. The
// list is borrowed: it must outlive the iterator, and the node the iterator
// rests on must not be taken out of the list while the iterator is in use.
template <typename T> class FCXListIterator {
public:
    explicit FCXListIterator(const FCXList<T>& list) : m_list(list) {}
    virtual ~FCXListIterator() = default;

    // The first call gives the first element, each further call the next
    // one; after the last element (or on an empty list) null, for good.
    T* next()
    {
        if (m_finished)
            return nullptr;
        if (!m_current) {
            m_current = m_list.first();
        } else if (m_current == m_list.last()) {
            m_current = nullptr;
        } else {
            m_current = m_current->next();
        }
        if (!m_current) {
            m_finished = true;
            return nullptr;
        }
        return m_current->object();
    }

    // The node of the element next() gave last; null before the first step
    // and after the end.
    typename FCXList<T>::Node* current() const { return m_current; }

private:
    const FCXList<T>& m_list;
    typename FCXList<T>::Node* m_current = nullptr;
    bool m_finished = false;
};
