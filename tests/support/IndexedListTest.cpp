#include "support/IndexedList.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Counted {
    explicit Counted(int* counter) : deaths(counter) {}
    virtual ~Counted() { ++*deaths; }
    int* deaths;
};

struct DerivedCounted : Counted {
    using Counted::Counted;
    std::string payload = std::string(100, 'x'); // leaks under ASan without a virtual destructor
};

TEST(IndexedList, AscendingAndRepeatedReads)
{
    int v[3] = {};
    IndexedList<int> list;
    for (int& x : v)
        list.Append(&x);
    EXPECT_EQ(list.CursorIndex(), -2);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(list.GetAt(i), &v[i]);
    EXPECT_EQ(list.GetAt(1), &v[1]);
    EXPECT_EQ(list.GetAt(1), &v[1]);
    EXPECT_EQ(list.CursorIndex(), 1);
    EXPECT_EQ(list.GetAt(3), nullptr);
}

TEST(IndexedList, CursorAfterRemoval)
{
    struct Case {
        int cursor, removed, cursorAfter;
    };
    // Four elements; the cursor is set by GetAt(cursor) before RemoveAt(removed).
    const Case cases[] = {
        {1, 1, 1},  // successor takes the index
        {3, 3, -2}, // nothing stands at the index any more
        {2, 0, 1},  // removal before the cursor
        {1, 2, 1},  // removal after the cursor
    };
    for (const Case& c : cases) {
        int v[4] = {};
        IndexedList<int> list;
        for (int& x : v)
            list.Append(&x);
        list.GetAt(c.cursor);
        const int* under = c.cursorAfter >= 0 ? (c.removed == c.cursor ? &v[c.cursor + 1] : &v[c.cursor]) : nullptr;
        list.RemoveAt(c.removed);
        EXPECT_EQ(list.Count(), 3);
        EXPECT_EQ(list.CursorIndex(), c.cursorAfter) << c.cursor << " " << c.removed;
        if (under) {
            EXPECT_EQ(list.GetAt(c.cursorAfter), under);
        }
        for (int i = 0, k = 0; i < 4; ++i) {
            if (i != c.removed) {
                EXPECT_EQ(list.GetAt(k++), &v[i]);
            }
        }
    }
}

TEST(IndexedList, AppendAfterRemovingTheTailAndRemoveByAddress)
{
    int v[3] = {};
    int extra = 0;
    IndexedList<int> list;
    for (int& x : v)
        list.Append(&x);
    list.RemoveAt(2);
    list.Append(&extra);
    EXPECT_EQ(list.GetAt(2), &extra);
    list.Append(&v[0]);
    EXPECT_TRUE(list.Remove(&v[0]));
    EXPECT_EQ(list.GetAt(0), &v[1]);
    EXPECT_EQ(list.GetAt(2), &v[0]);
    EXPECT_FALSE(list.Remove(&v[2]));
    EXPECT_EQ(list.Count(), 3);
    for (int i = 2; i >= 0; --i)
        list.RemoveAt(i);
    list.Append(&extra);
    EXPECT_EQ(list.GetAt(0), &extra);
}

TEST(IndexedList, DeleteAllDestroysThroughTheVirtualDestructor)
{
    int deaths = 0;
    IndexedList<Counted> list;
    list.DeleteAll();
    EXPECT_EQ(list.Count(), 0);
    list.Append(new Counted(&deaths));
    list.Append(new DerivedCounted(&deaths));
    list.GetAt(1);
    list.DeleteAll();
    EXPECT_EQ(deaths, 2);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.CursorIndex(), -2);

    IndexedList<std::string> strings;
    strings.Append(new std::string(64, 'a'));
    strings.DeleteAll(); // ASan reports the string if it survived
    EXPECT_EQ(strings.Count(), 0);
}

} // namespace
