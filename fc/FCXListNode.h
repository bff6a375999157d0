#pragma once

#include "fc/FCRingLink.h"

template <typename T> class FCXList;

// One link of an FCXList: a pointer to an element and whether the node owns
// it. An unlinked node points to itself both ways.
template <typename T> class FCXListNode : public FCRingLink {
public:
    FCXListNode(T* object, bool owned) : m_owned(owned), m_object(object) {}

    // An owned element goes with its node.
    ~FCXListNode() override
    {
        if (m_owned)
            delete m_object;
    }

    FCXListNode* previous() const { return static_cast<FCXListNode*>(previousLink()); }
    FCXListNode* next() const { return static_cast<FCXListNode*>(nextLink()); }
    bool isOwned() const { return m_owned; }
    T* object() const { return m_object; }

private:
    friend class FCXList<T>;

    bool m_owned;
    T* m_object;
};
