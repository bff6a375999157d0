#pragma once

template <typename T> class FCNList;

// One link of an FCNList: a value between two neighbours. An unlinked node
// points to itself both ways.
template <typename T> class FCNListNode {
public:
    explicit FCNListNode(T value) : m_previous(this), m_next(this), m_value(value) {}
    virtual ~FCNListNode() = default;

    FCNListNode(const FCNListNode&) = delete;
    FCNListNode& operator=(const FCNListNode&) = delete;

    FCNListNode* previous() const { return m_previous; }
    FCNListNode* next() const { return m_next; }
    T& value() { return m_value; }
    const T& value() const { return m_value; }

private:
    friend class FCNList<T>;

    FCNListNode* m_previous;
    FCNListNode* m_next;
    T m_value;
};
