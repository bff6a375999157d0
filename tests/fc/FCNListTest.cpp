#include "fc/FCNList.h"

#include "fc/FCNListIterator.h"
#include "fc/FCNSortableList.h"

#include <algorithm>
#include <cstdint>
#include <gtest/gtest.h>
#include <vector>

namespace {

using IntList = FCNList<int>;
using Node = IntList::Node;

// The values from first to last, after checking that the circle is sound:
// both directions agree, the first node follows the last and count nodes
// close the circle.
std::vector<int> valuesOf(const IntList& list)
{
    std::vector<int> values;
    if (list.isEmpty()) {
        EXPECT_EQ(list.last(), nullptr);
        EXPECT_EQ(list.first(), nullptr);
        return values;
    }
    const Node* node = list.first();
    for (int32_t i = 0; i < list.count(); ++i) {
        EXPECT_EQ(node->next()->previous(), node);
        values.push_back(node->value());
        if (i == list.count() - 1) {
            EXPECT_EQ(node, list.last());
        }
        node = node->next();
    }
    EXPECT_EQ(node, list.first()) << "the circle does not close after count nodes";
    return values;
}

Node* invalidNode()
{
    return reinterpret_cast<Node*>(static_cast<intptr_t>(-1));
}

TEST(FCNListTest, InsertFrontAndAppendPlaceValuesAtTheirEnds)
{
    IntList list;
    list.append(2);
    list.insertFront(1);
    list.append(3);
    list.add(4);
    list.insertFront(0);
    EXPECT_EQ(valuesOf(list), (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(list.count(), 5);
}

TEST(FCNListTest, NodeOperationsTakeOverNodesAndRefuseInvalidOnes)
{
    IntList list;
    EXPECT_EQ(list.appendNode(nullptr), nullptr);
    EXPECT_EQ(list.insertFrontNode(invalidNode()), nullptr);
    EXPECT_TRUE(list.isEmpty());

    Node* b = list.appendNode(new Node(2));
    Node* a = list.insertFrontNode(new Node(1));
    EXPECT_EQ(list.first(), a);
    EXPECT_EQ(list.last(), b);
    EXPECT_TRUE(list.containsNode(a));
    EXPECT_FALSE(list.containsNode(nullptr));
    EXPECT_FALSE(list.isNode(invalidNode()));

    IntList other;
    other.append(1);
    EXPECT_FALSE(list.containsNode(other.first()));
}

TEST(FCNListTest, RemoveTakesOutOnlyTheFirstNodeHoldingTheValue)
{
    IntList list;
    for (int v : {7, 8, 7, 9})
        list.append(v);
    Node* secondSeven = list.first()->next()->next();
    list.remove(7);
    EXPECT_EQ(valuesOf(list), (std::vector<int>{8, 7, 9}));
    EXPECT_EQ(list.find(7), secondSeven);

    list.remove(42);
    EXPECT_EQ(valuesOf(list), (std::vector<int>{8, 7, 9}));

    list.remove(9);
    EXPECT_EQ(list.last()->value(), 7) << "the node before the removed last becomes last";
    EXPECT_EQ(valuesOf(list), (std::vector<int>{8, 7}));
}

TEST(FCNListTest, RemovingTheOnlyNodeEmptiesTheListForReuse)
{
    IntList list;
    list.append(5);
    list.remove(5);
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(valuesOf(list), std::vector<int>{});
    list.append(6);
    list.insertFront(4);
    EXPECT_EQ(valuesOf(list), (std::vector<int>{4, 6}));

    list.clear();
    EXPECT_TRUE(list.isEmpty());
    list.append(1);
    EXPECT_EQ(valuesOf(list), std::vector<int>{1});
}

TEST(FCNListTest, FindAndContainsLookUpValues)
{
    IntList list;
    EXPECT_EQ(list.find(0), nullptr);
    list.append(10);
    Node* twenty = list.append(20);
    const int key = 20;
    const int missing = 30;
    EXPECT_EQ(list.find(20), twenty);
    EXPECT_EQ(list.findChecked(&key), twenty);
    EXPECT_EQ(list.findChecked(nullptr), nullptr);
    EXPECT_EQ(list.find(30), nullptr);
    EXPECT_TRUE(list.contains(10));
    EXPECT_FALSE(list.contains(30));
    EXPECT_TRUE(list.containsChecked(&key));
    EXPECT_FALSE(list.containsChecked(&missing));
    EXPECT_FALSE(list.containsChecked(nullptr));
}

TEST(FCNListTest, ForEachPassesValuesInOrderAndStopsAtFalse)
{
    IntList list;
    int calls = 0;
    EXPECT_TRUE(list.forEach([&](int*) {
        ++calls;
        return false;
    }));
    EXPECT_EQ(calls, 0);

    for (int v : {1, 2, 3, 4})
        list.append(v);
    std::vector<int> seen;
    EXPECT_FALSE(list.forEach([&](int* v) {
        seen.push_back(*v);
        return *v < 2;
    }));
    EXPECT_EQ(seen, (std::vector<int>{1, 2}));

    EXPECT_TRUE(list.forEach([](int* v) {
        *v *= 10;
        return true;
    }));
    EXPECT_EQ(valuesOf(list), (std::vector<int>{10, 20, 30, 40}));
}

TEST(FCNListTest, ForEachMayRemoveTheValueItWasGiven)
{
    IntList list;
    for (int v : {1, 2, 3, 4, 5})
        list.append(v);
    std::vector<int> seen;
    list.forEach([&](int* v) {
        seen.push_back(*v);
        if (*v % 2 == 1)
            list.remove(*v);
        return true;
    });
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(valuesOf(list), (std::vector<int>{2, 4}));
}

TEST(FCNListTest, IteratorGivesEachValueThenNullForGood)
{
    IntList list;
    FCNListIterator<int> empty(list);
    EXPECT_EQ(empty.next(), nullptr);
    list.append(1);
    EXPECT_EQ(empty.next(), nullptr) << "an iterator past its end stays there";

    list.append(2);
    FCNListIterator<int> it(list);
    EXPECT_EQ(list.count(), 2);
    int* first = it.next();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, &list.first()->value());
    EXPECT_EQ(*it.next(), 2);
    EXPECT_EQ(it.next(), nullptr);
    EXPECT_EQ(it.next(), nullptr);
}

TEST(FCNSortableListTest, AddKeepsValuesAscendingAndEqualOnesBehind)
{
    FCNSortableList<int> list;
    list.add(5);
    list.add(3);
    Node* secondFive = list.add(5);
    list.add(1);
    EXPECT_EQ(valuesOf(list), (std::vector<int>{1, 3, 5, 5}));
    EXPECT_EQ(list.last(), secondFive);
}

TEST(FCNSortableListTest, EqualValuesStayInInsertionOrder)
{
    const std::vector<std::vector<int>> inputs = {
        {},
        {4},
        {1, 2, 3, 4},
        {4, 3, 2, 1},
        {2, 2, 2},
        {3, 1, 3, 1, 2, 3, 1},
        {0, -5, 7, -5, 7, 0, 100, -100, 0},
        {INT32_MAX, INT32_MIN, 0, INT32_MAX, INT32_MIN},
    };
    for (const std::vector<int>& input : inputs) {
        FCNSortableList<int> list;
        std::vector<std::pair<int, const Node*>> expected;
        for (int v : input)
            expected.emplace_back(v, list.add(v));
        std::stable_sort(expected.begin(), expected.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });

        std::vector<int> values;
        for (const auto& e : expected)
            values.push_back(e.first);
        ASSERT_EQ(valuesOf(list), values);
        const Node* node = list.first();
        for (const auto& e : expected) {
            EXPECT_EQ(node, e.second) << "value " << e.first << " out of insertion order";
            node = node->next();
        }
    }
}

TEST(FCNSortableListTest, EveryInsertionIsOrdered)
{
    FCNSortableList<int> list;
    list.insertFront(9);
    list.append(4);
    list.insertFrontNode(new Node(6));
    list.appendNode(new Node(1));
    IntList& base = list;
    base.insertFront(7);
    base.append(2);
    EXPECT_EQ(valuesOf(list), (std::vector<int>{1, 2, 4, 6, 7, 9}));
    EXPECT_EQ(list.appendNode(invalidNode()), nullptr);
    EXPECT_EQ(list.count(), 6);

    list.remove(9);
    list.add(8);
    EXPECT_EQ(valuesOf(list), (std::vector<int>{1, 2, 4, 6, 7, 8}));
}

} // namespace
