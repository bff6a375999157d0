#pragma once

template <typename T> class FCXList;

// One link of an FCXList: a pointer to an element and whether the node owns
// it. An unlinked node points to itself both ways, so linking never has to
// test for null neighbours.
template <typename T> class FCXListNode {
public:
    FCXListNode(T* object, bool owned)
        : m_previous(this), m_next(this), m_owned(owned), m_object(object)
    {
    }

    // An owned element goes with its node.
    virtual ~FCXListNode()
    {
        if (m_owned)
            delete m_object;
    }

    FCXListNode(const FCXListNode&) = delete;
    FCXListNode& operator=(const FCXListNode&) = delete;

    FCXListNode* previous() const { return m_previous; }
    FCXListNode* next() const { return m_next; }
    bool isOwned() const { return m_owned; }
    T* object() const { return m_object; }

private:
    friend class FCXList<T>;

    FCXListNode* m_previous;
    FCXListNode* m_next;
    bool m_owned;
    T* m_object;
};
