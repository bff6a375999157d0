#pragma once

#include "fc/FCIdString.h"
#include "fc/FCRing.h"
#include "fc/FCString.h"
#include "fc/FCXListNode.h"
#include "fc/NotEnoughMemoryException.h"
#include "fc/UxPosString.h"

#include <cassert>
#include <cstdint>
#include <functional>
#include <new>

template <typename T> class FCXListIterator;

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
// linking is its FCRing's.
//
// The operations are virtual so that a list of a particular element type can
// change one of them while sharing the linking.
template <typename T> class FCXList {
public:
    using Node = FCXListNode<T>;
    // Called with each element; returning false stops the walk.
    using Function = std::function<bool(T*)>;

    FCXList() = default;
    virtual ~FCXList() = default;

    FCXList(const FCXList&) = delete;
    FCXList& operator=(const FCXList&) = delete;

    // Calls the function with each element from first to last and returns
    // false as soon as one call does; true otherwise, also for an empty list.
    // The function may remove the element it was given (and nothing else);
    // elements appended meanwhile are not visited.
    virtual bool forEach(const Function& function) const
    {
        assert(function && "FCXList::forEach needs a function");
        return m_ring.visit([&](FCRingLink* node) { return function(nodeOf(node)->m_object); });
    }

    virtual void clear() { removeAll(); }

    // Destroys every node, and with them the elements they own.
    virtual void removeAll() { m_ring.removeAll(); }

    // The new node becomes the first one.
    virtual Node* insertFront(T* object, bool owned)
    {
        Node* node = newNode(object, owned, "FCXList - insertFront");
        m_ring.linkFront(node);
        return node;
    }

    // The new node becomes the last one.
    virtual Node* append(T* object, bool owned)
    {
        Node* node = newNode(object, owned, "FCXList - append");
        m_ring.linkBack(node);
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
        m_ring.unlink(node);
        if (!destroy)
            node->m_owned = false;
        delete node;
    }

    // The first node, from the first, whose element matches the key; null
    // when there is none.
    virtual Node* find(const T* key) const
    {
        return nodeOf(m_ring.find([&](const FCRingLink* node) {
            return FCXListMatch<T>::matches(nodeOf(node)->m_object, key);
        }));
    }

    // As find, but an absent key finds nothing.
    virtual Node* findChecked(const T* key) const { return key ? find(key) : nullptr; }

    virtual bool containsNode(const Node* node) const
    {
        return isNode(node) && m_ring.contains(node);
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
        m_ring.linkAfter(node, fresh);
    }

    int32_t count() const { return m_ring.count(); }
    bool isEmpty() const { return m_ring.isEmpty(); }
    Node* last() const { return nodeOf(m_ring.last()); }
    Node* first() const { return nodeOf(m_ring.first()); }

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

private:
    friend class FCXListIterator<T>;

    // Every node of the ring is one of this list's.
    static Node* nodeOf(FCRingLink* node) { return static_cast<Node*>(node); }
    static const Node* nodeOf(const FCRingLink* node) { return static_cast<const Node*>(node); }

    FCRing m_ring;
};
