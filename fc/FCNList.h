#pragma once

#include "fc/FCNListNode.h"
#include "fc/NotEnoughMemoryException.h"

#include <cassert>
#include <cstdint>
#include <functional>
#include <new>

// A circular doubly linked list of values (the program uses FCNList<int>).
// The list owns its nodes. The first node is the one after the last, so only
// the last is stored.
//
// Every insertion of a value goes through insertFrontNode or appendNode, so
// a derived list that orders its values only has to replace those two.
template <typename T> class FCNList {
public:
    using Node = FCNListNode<T>;
    // Called with a pointer to each value; returning false stops the walk.
    using Function = std::function<bool(T*)>;

    FCNList() = default;
    virtual ~FCNList() { removeAll(); }

    FCNList(const FCNList&) = delete;
    FCNList& operator=(const FCNList&) = delete;

    // Calls the function with each value from first to last and returns false
    // as soon as one call does; true otherwise, also for an empty list. The
    // function may change the value it was given or remove that value's node
    // (nothing else); values added meanwhile are not visited.
    virtual bool forEach(const Function& function) const
    {
        assert(function && "FCNList::forEach needs a function");
        if (!m_last)
            return true;
        Node* node = m_last->m_next;
        const int32_t visits = m_count;
        for (int32_t i = 0; i < visits; ++i) {
            Node* next = node->m_next;
            if (!function(&node->m_value))
                return false;
            node = next;
        }
        return true;
    }

    virtual void clear() { removeAll(); }

    virtual void removeAll()
    {
        Node* last = m_last;
        m_last = nullptr;
        m_count = 0;
        if (!last)
            return;
        Node* node = last->m_next;
        for (;;) {
            Node* next = node->m_next;
            const bool wasLast = node == last;
            delete node;
            if (wasLast)
                break;
            node = next;
        }
    }

    // Takes over an unlinked node (one from new) as the first node. Returns
    // it, or null for a node that isNode refuses.
    virtual Node* insertFrontNode(Node* node)
    {
        if (!isNode(node))
            return nullptr;
        assertUnlinked(node);
        linkFront(node);
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
        assertUnlinked(node);
        linkBack(node);
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
        unlink(node);
        delete node;
    }

    // The first node, from the first, holding the value; null when none does.
    virtual Node* find(T value) const
    {
        if (!m_last)
            return nullptr;
        Node* node = m_last->m_next;
        for (int32_t i = 0; i < m_count; ++i, node = node->m_next) {
            if (node->m_value == value)
                return node;
        }
        return nullptr;
    }

    // As find with the value pointed to; an absent pointer finds nothing.
    virtual Node* findChecked(const T* value) const { return value ? find(*value) : nullptr; }

    virtual bool containsNode(const Node* node) const
    {
        if (!isNode(node) || !m_last)
            return false;
        const Node* walk = m_last;
        for (int32_t i = 0; i < m_count; ++i, walk = walk->m_next) {
            if (walk == node)
                return true;
        }
        return false;
    }

    virtual bool contains(T value) const { return find(value) != nullptr; }
    virtual bool containsChecked(const T* value) const { return findChecked(value) != nullptr; }

    // A usable node: neither null nor the old "none" value -1.
    virtual bool isNode(const Node* node) const
    {
        return node && node != reinterpret_cast<const Node*>(static_cast<intptr_t>(-1));
    }

    int32_t count() const { return m_count; }
    bool isEmpty() const { return m_count == 0; }
    Node* last() const { return m_last; }
    Node* first() const { return m_last ? m_last->m_next : nullptr; }

protected:
    static Node* newNode(T value, const char* tag)
    {
        Node* node = new (std::nothrow) Node(value);
        if (!node)
            throw NotEnoughMemoryException(tag);
        return node;
    }

    static void assertUnlinked([[maybe_unused]] const Node* node)
    {
        assert(node->m_next == node && node->m_previous == node &&
               "FCNList needs an unlinked node");
    }

    // Links a node between the last and the first, leaving the last as it
    // was: the node becomes the first (the only one in an empty list).
    void linkFront(Node* node)
    {
        if (!m_last) {
            m_last = node;
            m_count = 1;
            return;
        }
        linkBefore(m_last->m_next, node);
    }

    // As linkFront, then the node becomes the last.
    void linkBack(Node* node)
    {
        linkFront(node);
        m_last = node;
    }

    // Links a node in front of a node of this (non-empty) list; in front of
    // the first node that makes it the new first node.
    void linkBefore(Node* position, Node* node)
    {
        assert(m_last && "FCNList::linkBefore on an empty list");
        Node* before = position->m_previous;
        node->m_previous = before;
        node->m_next = position;
        before->m_next = node;
        position->m_previous = node;
        ++m_count;
    }

    // Joins the neighbours of a node of this list and leaves the node linked
    // to itself. The node before the last becomes the last.
    void unlink(Node* node)
    {
        assert(m_count > 0 && "FCNList::unlink on an empty list");
        if (m_count == 1) {
            m_last = nullptr;
        } else {
            node->m_previous->m_next = node->m_next;
            node->m_next->m_previous = node->m_previous;
            if (node == m_last)
                m_last = node->m_previous;
        }
        node->m_previous = node;
        node->m_next = node;
        --m_count;
    }

private:
    int32_t m_count = 0;
    Node* m_last = nullptr;
};
