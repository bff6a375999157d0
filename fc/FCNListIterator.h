#pragma once

#include "fc/FCNList.h"

// Steps through the values of an FCNList from the first to the last, giving
// a pointer to each. The list is borrowed: it must outlive the iterator, and
// the node the iterator rests on must not be taken out of the list while the
// iterator is in use.
template <typename T> class FCNListIterator {
public:
    explicit FCNListIterator(const FCNList<T>& list) : m_list(list) {}
    virtual ~FCNListIterator() = default;

    // The first call gives the first value, each further call the next one;
    // after the last value (or on an empty list) null, for good.
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
        return &m_current->value();
    }

    // The node of the value next() gave last; null before the first step and
    // after the end.
    typename FCNList<T>::Node* current() const { return m_current; }

private:
    const FCNList<T>& m_list;
    typename FCNList<T>::Node* m_current = nullptr;
    bool m_finished = false;
};
