#pragma once

#include "fc/FCRingLink.h"

#include <cassert>
#include <cstdint>

// The linking that FCNList and FCXList share: a circular doubly linked list
// of nodes that it owns. The first node is the one after the last, so only
// the last is stored. The lists hold one and add what their elements need:
// values or owned pointers, matching, the refusal of unusable nodes.
class FCRing {
public:
    FCRing() = default;
    ~FCRing() { removeAll(); }

    FCRing(const FCRing&) = delete;
    FCRing& operator=(const FCRing&) = delete;

    int32_t count() const { return m_count; }
    bool isEmpty() const { return m_count == 0; }
    FCRingLink* last() const { return m_last; }
    FCRingLink* first() const { return m_last ? m_last->m_next : nullptr; }

    // Deletes every node. The ring is empty before the first node goes, so a
    // node's destructor never sees half a list.
    void removeAll();

    // Each takes over an unlinked node. linkFront leaves the last node as it
    // was, so the node becomes the first (the only one in an empty ring);
    // linkBack makes it the last.
    void linkFront(FCRingLink* node);
    void linkBack(FCRingLink* node);
    // In front of a node of this (non-empty) ring; in front of the first
    // node that makes it the new first node.
    void linkBefore(FCRingLink* position, FCRingLink* node);
    // Behind a node of this (non-empty) ring; behind the last node that
    // makes it the new last node.
    void linkAfter(FCRingLink* position, FCRingLink* node);
    // Joins the neighbours of a node of this ring and leaves the node linked
    // to itself, still the caller's to delete. The node before the last
    // becomes the last.
    void unlink(FCRingLink* node);

    // Whether the node is one of this ring's (null is none).
    bool contains(const FCRingLink* node) const;

    // Calls visit with each node from the first to the last and returns false
    // as soon as one call does; true otherwise, also for an empty ring. visit
    // may unlink and delete the node it was given (nothing else); nodes
    // linked meanwhile are not visited.
    template <typename Visit> bool visit(Visit&& visit) const
    {
        if (!m_last)
            return true;
        FCRingLink* node = m_last->m_next;
        const int32_t visits = m_count;
        for (int32_t i = 0; i < visits; ++i) {
            FCRingLink* next = node->m_next;
            if (!visit(node))
                return false;
            node = next;
        }
        return true;
    }

    // The first node, from the first, that matches; null when none does.
    template <typename Match> FCRingLink* find(Match&& matches) const
    {
        if (!m_last)
            return nullptr;
        FCRingLink* node = m_last->m_next;
        for (int32_t i = 0; i < m_count; ++i, node = node->m_next) {
            if (matches(node))
                return node;
        }
        return nullptr;
    }

    // Steps through a ring from the first node to the last. The ring is
    // borrowed: it must outlive the cursor, and the node the cursor rests on
    // must not be taken out while the cursor is in use.
    class Cursor {
    public:
        explicit Cursor(const FCRing& ring) : m_ring(ring) {}

        // The first call gives the first node, each further call the next
        // one; after the last node (or on an empty ring) null, for good.
        FCRingLink* next();
        // The node next() gave last; null before the first step and after
        // the end.
        FCRingLink* current() const { return m_current; }

    private:
        const FCRing& m_ring;
        FCRingLink* m_current = nullptr;
        bool m_finished = false;
    };

private:
    static FCRingLink* nextOf(const FCRingLink* node) { return node->m_next; }

    int32_t m_count = 0;
    FCRingLink* m_last = nullptr;
};
