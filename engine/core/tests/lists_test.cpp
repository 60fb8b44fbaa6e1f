#include "runtime/lists.h"
#include "runtime/printErrorMessage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

struct Key : SortedObject {
    int value = 0;
    int operator<=(const SortedObject& other) const override {
        return value <= static_cast<const Key&>(other).value;
    }
};

// An element with its link words and its key away from offset 0, so a wrong
// offset anywhere shows.
struct Elem {
    std::uint64_t pad = 0xDEADBEEF;
    Key key;
    void* link[2] = {nullptr, nullptr};
    char name = '?';
};

// Byte offsets of the link and the key inside Elem.
const Elem probe;
const unsigned kLink =
    unsigned(reinterpret_cast<const char*>(&probe.link) - reinterpret_cast<const char*>(&probe));
const unsigned kKey =
    unsigned(reinterpret_cast<const char*>(&probe.key) - reinterpret_cast<const char*>(&probe));

struct Pool {
    std::vector<Elem> elems;
    // Elements named a, b, c, ... with the given keys.
    explicit Pool(std::vector<int> keys) : elems(keys.size()) {
        for (std::size_t i = 0; i < keys.size(); ++i) {
            elems[i].key.value = keys[i];
            elems[i].name = char('a' + i);
        }
    }
    Elem* operator[](char name) { return &elems[std::size_t(name - 'a')]; }
};

Elem* nextOf(void* e) {
    return static_cast<Elem*>(static_cast<Elem*>(e)->link[0]);
}
Elem* prevOf(void* e) {
    return static_cast<Elem*>(static_cast<Elem*>(e)->link[1]);
}

// The names from head to tail; checks the tail and the count on the way.
template <class List> std::string forward(const List& list) {
    std::string s;
    void* last = nullptr;
    for (void* e = list.head; e; e = nextOf(e)) {
        s += static_cast<Elem*>(e)->name;
        last = e;
    }
    EXPECT_EQ(list.tail, last) << s;
    EXPECT_EQ(list.count, s.size()) << s;
    return s;
}

// For a doubly linked list: forward order, checked against the backward walk.
std::string both(const TBaseDListG& list) {
    std::string f = forward(list);
    std::string b;
    for (void* e = list.tail; e; e = prevOf(e))
        b.insert(b.begin(), static_cast<Elem*>(e)->name);
    EXPECT_EQ(f, b);
    if (list.head) {
        EXPECT_EQ(prevOf(list.head), nullptr);
    }
    return f;
}

TEST(TBaseListG, SortedInsertsKeepOrderAndPutEqualsFirst) {
    Pool p({5, 1, 9, 5, 3});
    TBaseListG list;
    for (char n : std::string("abcde"))
        EXPECT_EQ(list.insertSorted(p[n], kLink, kKey), 0);
    EXPECT_EQ(forward(list), "bedac"); // the later 5 (d) before the earlier (a)
    EXPECT_EQ(list.insertSorted(p['a'], kLink, kKey), -1);
    EXPECT_EQ(list.insertSorted(nullptr, kLink, kKey), -1);
    EXPECT_EQ(forward(list), "bedac");
    for (auto& e : p.elems)
        EXPECT_EQ(e.pad, 0xDEADBEEFu);
}

TEST(TBaseListG, RemovalFixesHeadAndTail) {
    Pool p({1, 2, 3, 4, 5});
    TBaseListG list;
    for (char n : std::string("abcde"))
        list.insertSorted(p[n], kLink, kKey);
    EXPECT_EQ(list.isMember(p['c'], kLink), p['c']);
    EXPECT_EQ(list.delLink(p['e'], kLink), 0); // the last: predecessor is the tail
    EXPECT_EQ(forward(list), "abcd");
    EXPECT_EQ(list.delLink(p['a'], kLink), 0);
    EXPECT_EQ(list.delLink(p['c'], kLink), 0);
    EXPECT_EQ(forward(list), "bd");
    EXPECT_EQ(list.isMember(p['c'], kLink), nullptr);
    EXPECT_EQ(list.delLink(p['c'], kLink), -1);
    EXPECT_EQ(list.delLink(nullptr, kLink), -1);
    EXPECT_EQ(list.delTail(kLink), p['d']);
    EXPECT_EQ(nextOf(p['b']), nullptr);
    EXPECT_EQ(forward(list), "b");
    EXPECT_EQ(list.delTail(kLink), p['b']);
    EXPECT_EQ(forward(list), "");
    EXPECT_EQ(list.delTail(kLink), nullptr);
    EXPECT_EQ(list.delLink(p['b'], kLink), -1);
}

TEST(TBaseListG, MergingEmptiesTheOtherList) {
    Pool p({4, 2, 8, 6, 1});
    TBaseListG list, other;
    list.insertSorted(p['a'], kLink, kKey);
    list.insertSorted(p['c'], kLink, kKey);
    for (char n : std::string("bde"))
        other.insertSorted(p[n], kLink, kKey);
    EXPECT_EQ(list.insertSorted(other, kLink, kKey), 0);
    EXPECT_EQ(forward(list), "ebadc");
    EXPECT_EQ(forward(other), "");
    EXPECT_EQ(list.insertSorted(list, kLink, kKey), -1); // would never end
    EXPECT_EQ(forward(list), "ebadc");
}

TEST(TBaseDListG, EndsAndPositionalInserts) {
    Pool p({0, 0, 0, 0, 0, 0});
    TBaseDListG list;
    EXPECT_EQ(list.insertInd(p['a'], nullptr, kLink), 0); // empty: appended
    list.addTailInd(p['b'], kLink);
    list.addHeadInd(p['c'], kLink);
    EXPECT_EQ(both(list), "cab");
    list.insertInd(p['d'], p['a'], kLink);  // between a and b
    list.insertInd(p['e'], p['b'], kLink);  // after the tail
    list.insertInd(p['f'], nullptr, kLink); // at the head
    EXPECT_EQ(both(list), "fcadbe");
    EXPECT_EQ(list.getItem(0, kLink), p['f']);
    EXPECT_EQ(list.getItem(3, kLink), p['d']);
    EXPECT_EQ(list.getItem(6, kLink), nullptr);

    list.delLinkInd(p['d'], kLink);
    EXPECT_EQ(p['d']->link[0], nullptr);
    EXPECT_EQ(p['d']->link[1], nullptr);
    EXPECT_EQ(list.delHead(kLink), p['f']);
    EXPECT_EQ(list.delTail(kLink), p['e']);
    EXPECT_EQ(p['e']->link[1], nullptr);
    EXPECT_EQ(both(list), "cab");
    list.delLinkInd(p['c'], kLink);
    list.delLinkInd(p['b'], kLink);
    EXPECT_EQ(both(list), "a");
    EXPECT_EQ(list.delTail(kLink), p['a']);
    EXPECT_EQ(both(list), "");
    EXPECT_EQ(list.delHead(kLink), nullptr);
    EXPECT_EQ(list.delTail(kLink), nullptr);
}

TEST(TBaseDListG, SplicesMoveWholeListsAndRefuseThemselves) {
    Pool p({0, 0, 0, 0, 0, 0});
    TBaseDListG list, other, empty;
    list.addTailInd(p['a'], kLink);
    list.addTailInd(p['b'], kLink);
    other.addTailInd(p['c'], kLink);
    other.addTailInd(p['d'], kLink);
    EXPECT_EQ(list.addTail(other, kLink), 0);
    EXPECT_EQ(both(list), "abcd");
    EXPECT_EQ(other.head, nullptr);
    EXPECT_EQ(other.tail, nullptr);
    EXPECT_EQ(other.count, 0u);

    other.addTailInd(p['e'], kLink);
    other.addTailInd(p['f'], kLink);
    EXPECT_EQ(list.addHead(other, kLink), 0);
    EXPECT_EQ(both(list), "efabcd");
    EXPECT_EQ(both(other), "");

    EXPECT_EQ(list.addTail(list, kLink), -1);
    EXPECT_EQ(list.addHead(list, kLink), -1);
    EXPECT_EQ(list.addTail(empty, kLink), 0);
    EXPECT_EQ(both(list), "efabcd");

    // Onto an empty list.
    EXPECT_EQ(empty.addHead(list, kLink), 0);
    EXPECT_EQ(both(empty), "efabcd");
    EXPECT_EQ(both(list), "");
}

TEST(TBaseDListG, SortedInsertsAndMerge) {
    Pool p({5, 1, 9, 5, 3, 7});
    TBaseDListG list, other;
    for (char n : std::string("abc"))
        EXPECT_EQ(list.insertSorted(p[n], kLink, kKey), 0);
    EXPECT_EQ(list.insertSorted(p['a'], kLink, kKey), 0); // a member stays where it is
    EXPECT_EQ(list.insertSorted(nullptr, kLink, kKey), -1);
    EXPECT_EQ(both(list), "bac");
    for (char n : std::string("def"))
        other.addTailInd(p[n], kLink);
    EXPECT_EQ(list.insertSorted(other, kLink, kKey), 0);
    EXPECT_EQ(both(list), "bedafc");
    EXPECT_EQ(both(other), "");
    EXPECT_EQ(list.insertSorted(list, kLink, kKey), -1);
    EXPECT_EQ(both(list), "bedafc");
}

std::string caption, text;
int capture(const char* c, const char* t) {
    caption = c;
    text = t;
    return 1;
}

TEST(SortedObject, BaseComparisonReportsAnAbstractClass) {
    const ErrorMessageSink previous = setErrorMessageSink(&capture);
    SortedObject a, b;
    EXPECT_EQ(a <= b, 1);
    EXPECT_EQ(caption, "SortedObject::operator <=()");
    EXPECT_EQ(text, "Abstract class!");
    setErrorMessageSink(previous);
}

struct Record : SSLink {
    int key;
    explicit Record(int k) : key(k) {}
    int operator<=(const SSLink& other) const override {
        return key <= static_cast<const Record&>(other).key;
    }
};

std::vector<int> keys(const SList& list) {
    std::vector<int> v;
    const SSLink* last = nullptr;
    for (const SSLink* r = list.head; r; r = r->next) {
        v.push_back(static_cast<const Record*>(r)->key);
        last = r;
    }
    EXPECT_EQ(list.tail, last);
    EXPECT_EQ(list.count, v.size());
    return v;
}

TEST(SList, InsertSortsAndExtractFindsEveryMember) {
    Record r4(4), r2(2), r8(8), r4b(4), r1(1);
    SList list;
    for (Record* r : {&r4, &r2, &r8, &r4b, &r1})
        list.insert(r);
    list.insert(&r8); // already a member
    list.insert(nullptr);
    EXPECT_EQ(keys(list), (std::vector<int>{1, 2, 4, 4, 8}));
    EXPECT_EQ(list.head, &r1);

    // r4 sits behind the equal r4b; it is still found.
    EXPECT_EQ(list.extract(&r4), 0);
    EXPECT_EQ(list.extract(&r8), 0); // the tail
    EXPECT_EQ(keys(list), (std::vector<int>{1, 2, 4}));
    EXPECT_EQ(list.extract(&r8), -1);
    EXPECT_EQ(list.extract(nullptr), -1);
    EXPECT_EQ(list.extract(&r1), 0); // the head
    EXPECT_EQ(list.extract(&r4b), 0);
    EXPECT_EQ(list.extract(&r2), 0);
    EXPECT_EQ(keys(list), std::vector<int>{});
    EXPECT_EQ(list.head, nullptr);
}

std::vector<void*> items(const TGMListBase<void>& list) {
    std::vector<void*> v;
    const void* last = nullptr;
    for (TMSLink* l = static_cast<TMSLink*>(list.head); l; l = l->next) {
        v.push_back(l->item);
        last = l;
    }
    EXPECT_EQ(list.tail, last);
    EXPECT_EQ(list.count, v.size());
    return v;
}

TEST(TGList, ItemListsFindRemoveAssignAndCompare) {
    int x = 0, y = 0, z = 0;
    TGList<TGMSLink<void>, 0> list, copy;
    for (void* item : {(void*)&x, (void*)nullptr, (void*)&y, (void*)&z})
        ASSERT_EQ(list.addTail(item), 0);
    EXPECT_EQ(items(list), (std::vector<void*>{&x, nullptr, &y, &z}));
    EXPECT_EQ(list.find(&y)->item, &y);
    EXPECT_EQ(list.find(nullptr), nullptr);
    int absent = 0;
    EXPECT_EQ(list.find(&absent), nullptr);

    copy.addTail(&absent); // replaced by the assignment
    EXPECT_EQ(copy.assign(list), 0);
    EXPECT_EQ(items(copy), (std::vector<void*>{&x, &y, &z})); // null skipped
    EXPECT_FALSE(copy == list);
    EXPECT_EQ(list.remove(nullptr), -1);
    EXPECT_EQ(list.remove(&absent), -1);
    // Drop the null link by hand (remove cannot name it), then compare.
    TBaseListG& raw = list;
    void* nullLink = static_cast<TMSLink*>(list.head)->next;
    ASSERT_EQ(raw.delLink(nullLink, 0), 0);
    delTinyObject(&TMSLink::TOAllocator, nullLink);
    EXPECT_TRUE(copy == list);

    EXPECT_EQ(list.remove(&z), 0); // the tail
    EXPECT_EQ(items(list), (std::vector<void*>{&x, &y}));
    EXPECT_FALSE(copy == list);
    EXPECT_EQ(list.remove(&z), -1);

    EXPECT_EQ(copy.assign(copy), 0); // itself: nothing lost
    EXPECT_EQ(items(copy), (std::vector<void*>{&x, &y, &z}));

    // Cleared links go back to the pool and are handed out again.
    std::vector<void*> links;
    for (TMSLink* l = static_cast<TMSLink*>(copy.head); l; l = l->next)
        links.push_back(l);
    copy.clear();
    EXPECT_EQ(items(copy), std::vector<void*>{});
    copy.addTail(&x);
    EXPECT_NE(std::find(links.begin(), links.end(), copy.head), links.end());
}

} // namespace
