#include "fc/FCXList.h"

#include "fc/FCIdString.h"
#include "fc/FCString.h"
#include "fc/FCXListIterator.h"
#include "fc/UxPosString.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// An element that counts its destructions, to see who owns what.
struct Tracked {
    Tracked(int id, int* destroyed) : id(id), destroyed(destroyed) {}
    ~Tracked() { ++*destroyed; }
    int id;
    int* destroyed;
};

using TrackedList = FCXList<Tracked>;
using Node = TrackedList::Node;

// The ids from first to last, after checking that the circle is sound: both
// directions agree, the first node follows the last and count nodes close it.
template <typename T, typename Key>
std::vector<Key> walk(const FCXList<T>& list, Key (*keyOf)(const T&))
{
    std::vector<Key> keys;
    if (list.isEmpty()) {
        EXPECT_EQ(list.last(), nullptr);
        EXPECT_EQ(list.first(), nullptr);
        return keys;
    }
    const typename FCXList<T>::Node* node = list.first();
    for (int32_t i = 0; i < list.count(); ++i) {
        EXPECT_EQ(node->next()->previous(), node);
        keys.push_back(keyOf(*node->object()));
        if (i == list.count() - 1) {
            EXPECT_EQ(node, list.last());
        }
        node = node->next();
    }
    EXPECT_EQ(node, list.first()) << "the circle does not close after count nodes";
    return keys;
}

int idOf(const Tracked& t)
{
    return t.id;
}

std::vector<int> idsOf(const TrackedList& list)
{
    return walk(list, &idOf);
}

std::string textOf(const FCString& s)
{
    return s.toStdString();
}

Node* invalidNode()
{
    return reinterpret_cast<Node*>(static_cast<intptr_t>(-1));
}

TEST(FCXListTest, InsertFrontMakesEachNewElementTheFirst)
{
    int destroyed = 0;
    Tracked a(1, &destroyed), b(2, &destroyed);
    TrackedList list;
    list.insertFront(&a, false);
    list.insertFront(&b, false);
    EXPECT_EQ(idsOf(list), (std::vector<int>{2, 1}));
    EXPECT_EQ(list.last()->object(), &a);
}

TEST(FCXListTest, AppendMakesEachNewElementTheLast)
{
    int destroyed = 0;
    Tracked a(1, &destroyed), b(2, &destroyed), c(3, &destroyed), d(0, &destroyed);
    TrackedList list;
    list.append(&a, false);
    list.append(&b, false);
    list.add(&c, false);
    list.insertFront(&d, false);
    EXPECT_EQ(idsOf(list), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(list.count(), 4);
    EXPECT_EQ(list.last()->object(), &c);
}

TEST(FCXListTest, OwnedElementsGoWithTheirNodesAndOthersStay)
{
    int destroyed = 0;
    Tracked kept(9, &destroyed);
    {
        TrackedList list;
        list.append(new Tracked(1, &destroyed), true);
        list.append(&kept, false);
        list.insertFront(new Tracked(2, &destroyed), true);
        EXPECT_EQ(destroyed, 0);
    }
    EXPECT_EQ(destroyed, 2);

    TrackedList list;
    list.append(new Tracked(3, &destroyed), true);
    list.append(&kept, false);
    list.removeAll();
    EXPECT_EQ(destroyed, 3);
    EXPECT_EQ(idsOf(list), std::vector<int>{});
    list.append(new Tracked(4, &destroyed), true);
    list.clear();
    EXPECT_EQ(destroyed, 4);
    EXPECT_TRUE(list.isEmpty());
}

TEST(FCXListTest, RemoveWithDestroyOfTheOnlyNodeEmptiesTheList)
{
    int destroyed = 0;
    TrackedList list;
    Tracked* only = new Tracked(1, &destroyed);
    list.append(only, true);
    list.remove(only, true);
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(idsOf(list), std::vector<int>{});

    list.append(new Tracked(2, &destroyed), true);
    list.append(new Tracked(3, &destroyed), true);
    EXPECT_EQ(idsOf(list), (std::vector<int>{2, 3}));
}

TEST(FCXListTest, RemoveWithoutDestroyHandsTheElementBack)
{
    int destroyed = 0;
    TrackedList list;
    Tracked* first = new Tracked(1, &destroyed);
    list.append(first, true);
    list.append(new Tracked(2, &destroyed), true);
    list.remove(first, false);
    EXPECT_EQ(destroyed, 0);
    EXPECT_EQ(idsOf(list), std::vector<int>{2});
    EXPECT_FALSE(list.contains(first));
    delete first; // the caller's again; the list must not delete it too
    EXPECT_EQ(destroyed, 1);
}

TEST(FCXListTest, RemoveRelinksNeighboursWhereverTheNodeSits)
{
    int destroyed = 0;
    std::vector<Tracked*> items;
    TrackedList list;
    for (int id = 1; id <= 5; ++id) {
        items.push_back(new Tracked(id, &destroyed));
        list.append(items.back(), true);
    }
    list.remove(items[4], true); // last
    EXPECT_EQ(list.last()->object(), items[3]);
    list.remove(items[0], true); // first
    list.remove(items[2], true); // middle
    EXPECT_EQ(idsOf(list), (std::vector<int>{2, 4}));
    EXPECT_EQ(destroyed, 3);
}

TEST(FCXListTest, RemoveOfAKeyThatIsNotThereChangesNothing)
{
    int destroyed = 0;
    Tracked stranger(7, &destroyed);
    TrackedList list;
    list.append(new Tracked(1, &destroyed), true);
    list.remove(&stranger, true);
    list.remove(nullptr, true);
    EXPECT_EQ(idsOf(list), std::vector<int>{1});
    EXPECT_EQ(destroyed, 0);

    TrackedList empty;
    empty.remove(&stranger, true);
    EXPECT_TRUE(empty.isEmpty());
}

TEST(FCXListTest, ElementsWithoutEqualityMatchOnlyThemselves)
{
    int destroyed = 0;
    Tracked a(1, &destroyed), twin(1, &destroyed);
    TrackedList list;
    Node* node = list.append(&a, false);
    EXPECT_EQ(list.find(&a), node);
    EXPECT_EQ(list.find(&twin), nullptr);
    EXPECT_TRUE(list.contains(&a));
    EXPECT_FALSE(list.containsChecked(&twin));
    EXPECT_FALSE(list.containsChecked(nullptr));
}

TEST(FCXListTest, AbsentKeyFindsNothingThroughTheCheckedLookups)
{
    TrackedList list;
    list.append(nullptr, false);
    EXPECT_NE(list.find(nullptr), nullptr) << "the unchecked lookup compares the pointers";
    EXPECT_EQ(list.findChecked(nullptr), nullptr);
    EXPECT_FALSE(list.containsChecked(nullptr));
}

TEST(FCXListTest, ForEachVisitsInOrderAndStopsAtTheFirstFalse)
{
    int destroyed = 0;
    TrackedList list;
    int calls = 0;
    EXPECT_TRUE(list.forEach([&](Tracked*) {
        ++calls;
        return false;
    }));
    EXPECT_EQ(calls, 0);

    for (int id = 1; id <= 4; ++id)
        list.append(new Tracked(id, &destroyed), true);
    std::vector<int> seen;
    EXPECT_FALSE(list.forEach([&](Tracked* t) {
        seen.push_back(t->id);
        return t->id != 3;
    }));
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3}));

    seen.clear();
    EXPECT_TRUE(list.forEach([&](Tracked* t) {
        seen.push_back(t->id);
        return true;
    }));
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 4}));
}

TEST(FCXListTest, ForEachMayRemoveTheElementItWasGiven)
{
    int destroyed = 0;
    TrackedList list;
    for (int id = 1; id <= 4; ++id)
        list.append(new Tracked(id, &destroyed), true);
    std::vector<int> seen;
    list.forEach([&](Tracked* t) {
        seen.push_back(t->id);
        if (t->id != 2)
            list.remove(t, true);
        return true;
    });
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(idsOf(list), std::vector<int>{2});
    EXPECT_EQ(destroyed, 3);
}

TEST(FCXListTest, NodeGuardsRefuseNullAndMinusOne)
{
    int destroyed = 0;
    Tracked a(1, &destroyed);
    TrackedList list;
    Node* node = list.append(&a, false);
    EXPECT_TRUE(list.isNode(node));
    EXPECT_FALSE(list.isNode(nullptr));
    EXPECT_FALSE(list.isNode(invalidNode()));
    EXPECT_TRUE(list.containsNode(node));
    EXPECT_FALSE(list.containsNode(invalidNode()));

    Node* refused = new Node(&a, false);
    list.insertAfter(invalidNode(), refused);
    list.insertAfter(nullptr, refused);
    list.insertAfter(node, nullptr);
    EXPECT_EQ(list.count(), 1);
    EXPECT_EQ(refused->next(), refused) << "a refused node stays unlinked";
    delete refused; // still the caller's

    TrackedList other;
    Node* foreign = other.append(&a, false);
    EXPECT_FALSE(list.containsNode(foreign));
}

TEST(FCXListTest, InsertAfterTheLastNodeMakesTheNewOneLast)
{
    int destroyed = 0;
    TrackedList list;
    Node* one = list.append(new Tracked(1, &destroyed), true);
    Node* three = list.append(new Tracked(3, &destroyed), true);
    Node* four = new Node(new Tracked(4, &destroyed), true);
    list.insertAfter(three, four);
    EXPECT_EQ(list.last(), four);
    list.insertAfter(one, new Node(new Tracked(2, &destroyed), true));
    EXPECT_EQ(idsOf(list), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(list.last(), four);
    list.removeAll();
    EXPECT_EQ(destroyed, 4);
}

TEST(FCXListTest, StringsMatchByText)
{
    FCXList<FCString> list;
    FCString* first = new FCString("alpha");
    FCString* second = new FCString("beta");
    FCString* again = new FCString("beta");
    list.append(first, true);
    list.append(second, true);
    list.append(again, true);

    const FCString key("beta");
    EXPECT_EQ(list.find(&key)->object(), second) << "the first equal text wins";
    const FCString missing("gamma");
    EXPECT_EQ(list.find(&missing), nullptr);
    const FCString prefix("bet");
    EXPECT_FALSE(list.contains(&prefix));
    const FCString shared(*first);
    EXPECT_EQ(list.find(&shared)->object(), first);

    list.remove(&key, true);
    EXPECT_EQ(walk(list, &textOf), (std::vector<std::string>{"alpha", "beta"}));
    EXPECT_EQ(list.last()->object(), again);
}

TEST(FCXListTest, JapaneseStringsMatchByTheirBytes)
{
    FCXList<FCString> list;
    FCString name("\x88\xa2\x93\x63"); // 伊藤 in CP932
    list.append(&name, false);
    const FCString same("\x88\xa2\x93\x63");
    const FCString other("\x88\xa2\x93\x64");
    EXPECT_TRUE(list.contains(&same));
    EXPECT_FALSE(list.contains(&other));
}

std::string posTextOf(const UxPosString& s)
{
    return s.toStdString();
}

TEST(FCXListTest, PositionedStringsMatchByTextAlone)
{
    FCXList<UxPosString> list;
    UxPosString* drawn = new UxPosString();
    drawn->create(16, "line");
    drawn->setPosition(10, 20);
    list.append(drawn, true);

    UxPosString key;
    key.create(16, "line");
    EXPECT_EQ(list.find(&key)->object(), drawn);
    key.create(16, "other");
    key.setPosition(10, 20);
    EXPECT_EQ(list.find(&key), nullptr);
    EXPECT_EQ(walk(list, &posTextOf), std::vector<std::string>{"line"});
}

TEST(FCXListTest, IdStringsMatchByIdAlone)
{
    FCXList<FCIdString> list;
    FCIdString* ten = new FCIdString();
    ten->set(10, "a");
    FCIdString* twenty = new FCIdString();
    twenty->set(20, "b");
    list.append(ten, true);
    list.append(twenty, true);

    FCIdString key;
    key.set(20, "a");
    EXPECT_EQ(list.find(&key)->object(), twenty);
    key.set(30, "b");
    EXPECT_EQ(list.find(&key), nullptr);
    key.set(-1, "a");
    EXPECT_FALSE(list.contains(&key));
}

TEST(FCXListIteratorTest, GivesEachElementThenNullForGood)
{
    int destroyed = 0;
    TrackedList list;
    FCXListIterator<Tracked> empty(list);
    EXPECT_EQ(empty.next(), nullptr);
    EXPECT_EQ(empty.next(), nullptr);

    Tracked a(1, &destroyed), b(2, &destroyed);
    list.append(&a, false);
    list.append(&b, false);
    FCXListIterator<Tracked> it(list);
    EXPECT_EQ(it.current(), nullptr);
    EXPECT_EQ(list.count(), 2) << "creating an iterator changes nothing";
    EXPECT_EQ(it.next(), &a);
    EXPECT_EQ(it.current(), list.first());
    EXPECT_EQ(it.next(), &b);
    EXPECT_EQ(it.next(), nullptr);
    list.append(&a, false);
    EXPECT_EQ(it.next(), nullptr) << "past the end stays past the end";
}

} // namespace
