#pragma once

#include "fc/FCRingLink.h"

// One link of an FCNList: a value between two neighbours. An unlinked node
// points to itself both ways.
template <typename T> class FCNListNode : public FCRingLink {
public:
    explicit FCNListNode(T value) : m_value(value) {}

    FCNListNode* previous() const { return static_cast<FCNListNode*>(previousLink()); }
    FCNListNode* next() const { return static_cast<FCNListNode*>(nextLink()); }
    T& value() { return m_value; }
    const T& value() const { return m_value; }

private:
    T m_value;
};
