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
    std::string payload = std::string(100, 'x'); // leaks under ASan if the base destructor were not virtual
};

class IndexedListCursor : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int& v : values)
            list.Append(&v);
    }
    int values[4] = {10, 11, 12, 13};
    IndexedList<int> list;
};

TEST_F(IndexedListCursor, AscendingAndRepeatedReadsGiveTheElements)
{
    EXPECT_EQ(list.Count(), 4);
    EXPECT_EQ(list.CursorIndex(), -2);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(list.GetAt(i), &values[i]);
    EXPECT_EQ(list.GetAt(1), &values[1]);
    EXPECT_EQ(list.CursorIndex(), 1);
    EXPECT_EQ(list.GetAt(1), &values[1]);
    EXPECT_EQ(list.GetAt(3), &values[3]);
    EXPECT_EQ(list.GetAt(4), nullptr);
    EXPECT_EQ(list.GetAt(-1), nullptr);
}

TEST_F(IndexedListCursor, RemovingAtTheCursorMovesItToTheSuccessor)
{
    list.GetAt(1);
    list.RemoveAt(1);
    EXPECT_EQ(list.CursorIndex(), 1);
    EXPECT_EQ(list.GetAt(1), &values[2]);
    EXPECT_EQ(list.GetAt(2), &values[3]);
    EXPECT_EQ(list.Count(), 3);
}

TEST_F(IndexedListCursor, RemovingTheLastElementUnderTheCursorClearsIt)
{
    list.GetAt(3);
    list.RemoveAt(3);
    EXPECT_EQ(list.CursorIndex(), -2);
    EXPECT_EQ(list.GetAt(2), &values[2]);
}

TEST_F(IndexedListCursor, RemovingBeforeTheCursorKeepsItOnTheSameElement)
{
    list.GetAt(2);
    list.RemoveAt(0);
    EXPECT_EQ(list.CursorIndex(), 1);
    EXPECT_EQ(list.GetAt(1), &values[2]);
    EXPECT_EQ(list.GetAt(0), &values[1]);
}

TEST_F(IndexedListCursor, RemovingAfterTheCursorLeavesIt)
{
    list.GetAt(1);
    list.RemoveAt(2);
    EXPECT_EQ(list.CursorIndex(), 1);
    EXPECT_EQ(list.GetAt(2), &values[3]);
}

TEST_F(IndexedListCursor, AppendAfterRemovingTheTailLinksToTheNewTail)
{
    int extra = 99;
    list.RemoveAt(3);
    list.Append(&extra);
    ASSERT_EQ(list.Count(), 4);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(list.GetAt(i), &values[i]);
    EXPECT_EQ(list.GetAt(3), &extra);
}

TEST_F(IndexedListCursor, EmptiedByRemovalsTheListAcceptsNewElements)
{
    for (int i = 3; i >= 0; --i)
        list.RemoveAt(i);
    EXPECT_EQ(list.Count(), 0);
    list.Append(&values[2]);
    EXPECT_EQ(list.GetAt(0), &values[2]);
}

TEST_F(IndexedListCursor, RemoveByAddressTakesTheFirstOccurrenceOnly)
{
    list.Append(&values[1]);
    EXPECT_TRUE(list.Remove(&values[1]));
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(list.GetAt(1), &values[2]);
    EXPECT_EQ(list.GetAt(3), &values[1]);
    int absent = 0;
    EXPECT_FALSE(list.Remove(&absent));
    EXPECT_EQ(list.Count(), 4);
}

TEST(IndexedListDeleteAll, DestroysThroughTheVirtualDestructorAndEmpties)
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
    list.Append(new Counted(&deaths));
    list.DeleteAll();
    EXPECT_EQ(deaths, 3);
}

TEST(IndexedListDeleteAll, DeletesStringsAsStrings)
{
    IndexedList<std::string> list;
    list.Append(new std::string(64, 'a'));
    list.Append(new std::string("b"));
    EXPECT_EQ(*list.GetAt(0), std::string(64, 'a'));
    list.DeleteAll(); // ASan reports a leak if a string survived
    EXPECT_EQ(list.Count(), 0);
}

} // namespace
