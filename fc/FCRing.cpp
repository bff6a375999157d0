#include "fc/FCRing.h"

void FCRing::removeAll()
{
    FCRingLink* last = m_last;
    m_last = nullptr;
    m_count = 0;
    if (!last)
        return;
    FCRingLink* node = last->m_next;
    for (;;) {
        FCRingLink* next = node->m_next;
        const bool wasLast = node == last;
        delete node;
        if (wasLast)
            break;
        node = next;
    }
}

void FCRing::linkFront(FCRingLink* node)
{
    assert(node->isUnlinked() && "FCRing needs an unlinked node");
    if (!m_last) {
        m_last = node;
        m_count = 1;
        return;
    }
    linkBefore(m_last->m_next, node);
}

void FCRing::linkBack(FCRingLink* node)
{
    linkFront(node);
    m_last = node;
}

void FCRing::linkBefore(FCRingLink* position, FCRingLink* node)
{
    assert(m_last && "FCRing::linkBefore on an empty ring");
    assert(node != position && node->isUnlinked() && "FCRing needs an unlinked node");
    FCRingLink* before = position->m_previous;
    node->m_previous = before;
    node->m_next = position;
    before->m_next = node;
    position->m_previous = node;
    ++m_count;
}

void FCRing::linkAfter(FCRingLink* position, FCRingLink* node)
{
    assert(m_last && "FCRing::linkAfter on an empty ring");
    linkBefore(position->m_next, node);
    if (position == m_last)
        m_last = node;
}

void FCRing::unlink(FCRingLink* node)
{
    assert(m_count > 0 && "FCRing::unlink on an empty ring");
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

bool FCRing::contains(const FCRingLink* node) const
{
    return node && find([node](const FCRingLink* walk) { return walk == node; });
}

FCRingLink* FCRing::Cursor::next()
{
    if (m_finished)
        return nullptr;
    if (!m_current)
        m_current = m_ring.first();
    else if (m_current == m_ring.last())
        m_current = nullptr;
    else
        m_current = nextOf(m_current);
    if (!m_current)
        m_finished = true;
    return m_current;
}
