#include "support/IndexedList.h"

#include <gtest/gtest.h>

namespace {

TEST(IndexedList, ReadsByIndexThroughTheCursorAndAfterRemovals)
{
    struct Case { int cursor, removed, cursorAfter; };
    // Four elements; the cursor is set by reading the cursor's index before the removal.
    const Case cases[] = {
        {1, 1, 1},  // successor takes the index
        {3, 3, -2}, // nothing stands at the index any more
        {2, 0, 1},  // removal before the cursor
        {1, 2, 1},  // removal after the cursor
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.cursor << " " << c.removed);
        int v[4] = {};
        IndexedList<int> list;
        for (int& x : v)
            list.Append(&x);
        for (int i : {0, 1, 2, 3, 2, 2})
            EXPECT_EQ(list.GetAt(i), &v[i]);
        EXPECT_EQ(list.GetAt(4), nullptr);
        list.GetAt(c.cursor);
        list.RemoveAt(c.removed);
        EXPECT_EQ(list.CursorIndex(), c.cursorAfter);
        ASSERT_EQ(list.Count(), 3);
        auto at = [&](int k) { return &v[k < c.removed ? k : k + 1]; };
        if (c.cursorAfter >= 0) {
            EXPECT_EQ(list.GetAt(c.cursorAfter), at(c.cursorAfter)); // through the cursor kept
        }
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(list.GetAt(k), at(k));
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
    for (int i = 2; i >= 0; --i)
        list.RemoveAt(i);
    list.Append(&extra);
    EXPECT_EQ(list.GetAt(0), &extra);

    // The elements deleted too: the sanitizer build finds them leaked otherwise.
    IndexedList<int> owned;
    owned.Append(new int(1));
    owned.Append(new int(2));
    owned.GetAt(1);
    owned.DeleteAll();
    EXPECT_EQ(owned.Count(), 0);
    EXPECT_EQ(owned.GetAt(0), nullptr);
}

} // namespace
