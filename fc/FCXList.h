#pragma once

#include "fc/FCIdString.h"
#include "fc/FCString.h"
#include "fc/FCXListNode.h"
#include "fc/NotEnoughMemoryException.h"
#include "fc/UxPosString.h"

#include <cassert>
#include <cstdint>
#include <functional>
#include <new>

// How FCXList<T>::find decides that an element matches a key. By default only
// the very same object matches; element types with a notion of equality
// specialise this next to their own declaration.
template <typename T> struct FCXListMatch {
    static bool matches(const T* object, const T* key) { return object == key; }
};

// Strings match by text: equals() is true for a shared storage and for texts
// the locale comparison finds equal.
template <> struct FCXListMatch<FCString> {
    static bool matches(const FCString* object, const FCString* key)
    {
        if (!object || !key)
            return object == key;
        return object->equals(*key);
    }
};

// Positioned texts match as texts; the position plays no part.
template <> struct FCXListMatch<UxPosString> {
    static bool matches(const UxPosString* object, const UxPosString* key)
    {
        return FCXListMatch<FCString>::matches(object, key);
    }
};

// Id strings match by id alone, whatever their texts.
template <> struct FCXListMatch<FCIdString> {
    static bool matches(const FCIdString* object, const FCIdString* key)
    {
        if (!object || !key)
            return object == key;
        return object->id() == key->id();
    }
};

// A circular doubly linked list of element pointers. The list owns its nodes;
// each node owns its element only when it was added with owned = true. The
// first node is the one after the last, so only the last is stored.
//
// The operations are virtual so that a list of a particular element type can
// change one of them while sharing the linking.
template <typename T> class FCXList {
public:
    using Node = FCXListNode<T>;
    // Called with each element; returning false stops the walk.
    using Function = std::function<bool(T*)>;

    FCXList() = default;
    virtual ~FCXList() { removeAll(); }

    FCXList(const FCXList&) = delete;
    FCXList& operator=(const FCXList&) = delete;

    // Calls the function with each element from first to last and returns
    // false as soon as one call does; true otherwise, also for an empty list.
    // The function may remove the element it was given (and nothing else);
    // elements appended meanwhile are not visited.
    virtual bool forEach(const Function& function) const
    {
        assert(function && "FCXList::forEach needs a function");
        if (!m_last)
            return true;
        Node* node = m_last->m_next;
        const int32_t visits = m_count;
        for (int32_t i = 0; i < visits; ++i) {
            Node* next = node->m_next;
            if (!function(node->m_object))
                return false;
            node = next;
        }
        return true;
    }

    virtual void clear() { removeAll(); }

    // Destroys every node, and with them the elements they own.
    virtual void removeAll()
    {
        Node* last = m_last;
        // Empty first, so an element's destructor never sees half a list.
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

    // The new node becomes the first one.
    virtual Node* insertFront(T* object, bool owned)
    {
        Node* node = newNode(object, owned, "FCXList - insertFront");
        link(node);
        return node;
    }

    // The new node becomes the last one.
    virtual Node* append(T* object, bool owned)
    {
        Node* node = newNode(object, owned, "FCXList - append");
        link(node);
        m_last = node;
        return node;
    }

    virtual Node* add(T* object, bool owned) { return append(object, owned); }

    // Takes the first node matching the key out of the list and frees it.
    // With destroy an owned element is destroyed with it; without, the
    // element is left alive and the caller is responsible for it again. A
    // key that is not there changes nothing.
    virtual void remove(const T* key, bool destroy)
    {
        Node* node = findChecked(key);
        if (!isNode(node))
            return;
        unlink(node);
        if (!destroy)
            node->m_owned = false;
        delete node;
    }

    // The first node, from the first, whose element matches the key; null
    // when there is none.
    virtual Node* find(const T* key) const
    {
        if (!m_last)
            return nullptr;
        Node* node = m_last->m_next;
        for (int32_t i = 0; i < m_count; ++i, node = node->m_next) {
            if (FCXListMatch<T>::matches(node->m_object, key))
                return node;
        }
        return nullptr;
    }

    // As find, but an absent key finds nothing.
    virtual Node* findChecked(const T* key) const { return key ? find(key) : nullptr; }

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

    virtual bool contains(const T* key) const { return find(key) != nullptr; }
    virtual bool containsChecked(const T* key) const { return findChecked(key) != nullptr; }

    // A usable node: neither null nor the old "none" value -1.
    virtual bool isNode(const Node* node) const
    {
        return node && node != reinterpret_cast<const Node*>(static_cast<intptr_t>(-1));
    }

    // Links a new node (one not in any list, e.g. straight from new) behind a
    // node of this list; it becomes the last node when that one was last.
    // The list takes the new node over; when either node is refused, nothing
    // happens and the new node stays the caller's.
    void insertAfter(Node* node, Node* fresh)
    {
        if (!isNode(node) || !isNode(fresh))
            return;
        assert(m_last && "FCXList::insertAfter on an empty list");
        assert(fresh != node && fresh->m_next == fresh &&
               "FCXList::insertAfter needs an unlinked new node");
        Node* after = node->m_next;
        fresh->m_previous = node;
        fresh->m_next = after;
        node->m_next = fresh;
        after->m_previous = fresh;
        if (node == m_last)
            m_last = fresh;
        ++m_count;
    }

    int32_t count() const { return m_count; }
    bool isEmpty() const { return m_count == 0; }
    Node* last() const { return m_last; }
    Node* first() const { return m_last ? m_last->m_next : nullptr; }

protected:
    // A fresh node; when memory runs short an owned element is destroyed
    // (the caller has handed it over) and the failure is raised.
    static Node* newNode(T* object, bool owned, const char* tag)
    {
        Node* node = new (std::nothrow) Node(object, owned);
        if (!node) {
            if (owned)
                delete object;
            throw NotEnoughMemoryException(tag);
        }
        return node;
    }

    // Links an unlinked node between the last and the first node, leaving
    // the last node as it was: the node becomes the first. In an empty list
    // it becomes the only node.
    void link(Node* node)
    {
        if (!m_last) {
            m_last = node;
            m_count = 1;
            return;
        }
        Node* first = m_last->m_next;
        node->m_previous = m_last;
        node->m_next = first;
        m_last->m_next = node;
        first->m_previous = node;
        ++m_count;
    }

    // Joins the neighbours of a node of this list and leaves the node linked
    // to itself. The node before the last becomes the last.
    void unlink(Node* node)
    {
        assert(m_count > 0 && "FCXList::unlink on an empty list");
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
