#pragma once

class FCRing;

// The two neighbours of a node in an FCRing, the part of FCNList and FCXList
// nodes that the linking works on. An unlinked node points to itself both
// ways, so linking never has to test for null neighbours. The destructor is
// virtual because a ring deletes its nodes through this base.
class FCRingLink {
public:
    FCRingLink() : m_previous(this), m_next(this) {}
    virtual ~FCRingLink() = default;

    FCRingLink(const FCRingLink&) = delete;
    FCRingLink& operator=(const FCRingLink&) = delete;

    // Linked to itself: in no ring, or the only node of one.
    bool isUnlinked() const { return m_previous == this && m_next == this; }

protected:
    // The neighbours as links; the node classes give them their own type.
    FCRingLink* previousLink() const { return m_previous; }
    FCRingLink* nextLink() const { return m_next; }

private:
    friend class FCRing;

    FCRingLink* m_previous;
    FCRingLink* m_next;
};
