#pragma once

#include "fc/FCNListNode.h"
#include "fc/FCRing.h"
#include "fc/NotEnoughMemoryException.h"

#include <cassert>
#include <cstdint>
#include <functional>
#include <new>

template <typename T> class FCNListIterator;

// A circular doubly linked list of values (the program uses FCNList<int>).
// The list owns its nodes; the linking is its FCRing's.
//
// Every insertion of a value goes through insertFrontNode or appendNode, so
// a derived list that orders its values only has to replace those two.
template <typename T> class FCNList {
public:
    using Node = FCNListNode<T>;
    // Called with a pointer to each value; returning false stops the walk.
    using Function = std::function<bool(T*)>;

    FCNList() = default;
    virtual ~FCNList() = default;

    FCNList(const FCNList&) = delete;
    FCNList& operator=(const FCNList&) = delete;

    // Calls the function with each value from first to last and returns false
    // as soon as one call does; true otherwise, also for an empty list. The
    // function may change the value it was given or remove that value's node
    // (nothing else); values added meanwhile are not visited.
    virtual bool forEach(const Function& function) const
    {
        assert(function && "FCNList::forEach needs a function");
        return m_ring.visit([&](FCRingLink* node) { return function(&nodeOf(node)->value()); });
    }

    virtual void clear() { removeAll(); }

    virtual void removeAll() { m_ring.removeAll(); }

    // Takes over an unlinked node (one from new) as the first node. Returns
    // it, or null for a node that isNode refuses.
    virtual Node* insertFrontNode(Node* node)
    {
        if (!isNode(node))
            return nullptr;
        m_ring.linkFront(node);
        return node;
    }

    virtual Node* insertFront(T value)
    {
        return insertFrontNode(newNode(value, "FCNList - insertFront"));
    }

    // Takes over an unlinked node (one from new) as the last node.
    virtual Node* appendNode(Node* node)
    {
        if (!isNode(node))
            return nullptr;
        m_ring.linkBack(node);
        return node;
    }

    virtual Node* append(T value) { return appendNode(newNode(value, "FCNList - append")); }

    virtual Node* add(T value) { return append(value); }

    // Unlinks and frees the first node holding the value; nothing when no
    // node does.
    virtual void remove(T value)
    {
        Node* node = find(value);
        if (!isNode(node))
            return;
        m_ring.unlink(node);
        delete node;
    }

    // The first node, from the first, holding the value; null when none does.
    virtual Node* find(T value) const
    {
        return nodeOf(
            m_ring.find([&](const FCRingLink* node) { return nodeOf(node)->value() == value; }));
    }

    // As find with the value pointed to; an absent pointer finds nothing.
    virtual Node* findChecked(const T* value) const { return value ? find(*value) : nullptr; }

    virtual bool containsNode(const Node* node) const
    {
        return isNode(node) && m_ring.contains(node);
    }

    virtual bool contains(T value) const { return find(value) != nullptr; }
    virtual bool containsChecked(const T* value) const { return findChecked(value) != nullptr; }

    // A usable node: neither null nor the old "none" value -1.
    virtual bool isNode(const Node* node) const
    {
        return node && node != reinterpret_cast<const Node*>(static_cast<intptr_t>(-1));
    }

    int32_t count() const { return m_ring.count(); }
    bool isEmpty() const { return m_ring.isEmpty(); }
    Node* last() const { return nodeOf(m_ring.last()); }
    Node* first() const { return nodeOf(m_ring.first()); }

protected:
    static Node* newNode(T value, const char* tag)
    {
        Node* node = new (std::nothrow) Node(value);
        if (!node)
            throw NotEnoughMemoryException(tag);
        return node;
    }

    // The linking, for derived lists that place nodes themselves.
    void linkBack(Node* node) { m_ring.linkBack(node); }
    void linkBefore(Node* position, Node* node) { m_ring.linkBefore(position, node); }

private:
    friend class FCNListIterator<T>;

    // Every node of the ring is one of this list's.
    static Node* nodeOf(FCRingLink* node) { return static_cast<Node*>(node); }
    static const Node* nodeOf(const FCRingLink* node) { return static_cast<const Node*>(node); }

    FCRing m_ring;
};
