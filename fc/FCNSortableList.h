#pragma once

#include "fc/FCNList.h"

// An FCNList that keeps its values ascending. Every insertion, at the front
// or at the back, is an ordered insert, so the order cannot be broken from
// outside. A value equal to values already present goes behind all of them:
// equal values stay in the order they were added.
template <typename T> class FCNSortableList : public FCNList<T> {
public:
    using Node = typename FCNList<T>::Node;

    Node* insertFrontNode(Node* node) override { return insertOrdered(node); }
    Node* appendNode(Node* node) override { return insertOrdered(node); }

private:
    Node* insertOrdered(Node* node)
    {
        if (!this->isNode(node))
            return nullptr;
        Node* last = this->last();
        // Values mostly arrive in order: a value not below the last one is
        // appended without a walk.
        if (!last || !(node->value() < last->value())) {
            this->linkBack(node);
            return node;
        }
        // The last value is greater, so the walk always finds a place.
        Node* position = this->first();
        while (!(node->value() < position->value()))
            position = position->next();
        this->linkBefore(position, node);
        return node;
    }
};
