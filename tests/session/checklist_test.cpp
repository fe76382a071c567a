#include "session/checklist.h"

#include <gtest/gtest.h>

#include <numeric>

using namespace session::checklist;

namespace {

List firstN(int n) {
    List list{};
    for (int i = 0; i < n; ++i)
        list[i] = 1000 + i;
    return list;
}

} // namespace

TEST(Checklist, AddingTwiceListsOnce) {
    List list{};
    EXPECT_EQ(add(list, 42), AddOutcome::Added);
    EXPECT_EQ(add(list, 42), AddOutcome::AlreadyListed);
    EXPECT_EQ(add(list, 7), AddOutcome::Added);
    EXPECT_EQ(list[0], 42);
    EXPECT_EQ(list[1], 7);
    EXPECT_EQ(list[2], 0);
}

TEST(Checklist, TheHundredthAddIsTheLast) {
    List list = firstN(99);
    EXPECT_EQ(add(list, 5), AddOutcome::Added);
    EXPECT_EQ(list[99], 5);
    const List full = list;
    EXPECT_EQ(add(list, 6), AddOutcome::Full);
    EXPECT_EQ(add(list, 1000), AddOutcome::Full) << "even a listed sentence";
    EXPECT_EQ(list, full);
}

TEST(Checklist, RemovingClosesTheGap) {
    List list = firstN(40);
    EXPECT_TRUE(remove(list, 1036)); // entry 37
    EXPECT_EQ(list[35], 1035);
    EXPECT_EQ(list[36], 1037);
    EXPECT_EQ(list[38], 1039);
    for (int i = 39; i < places; ++i)
        EXPECT_EQ(list[i], 0);
    EXPECT_FALSE(remove(list, 1036));
    EXPECT_FALSE(remove(list, 0)) << "an empty place is nothing to remove";
}

TEST(Checklist, RemovingFromAFullListFreesTheLastPlace) {
    List list = firstN(100);
    EXPECT_TRUE(remove(list, 1000));
    EXPECT_EQ(list[0], 1001);
    EXPECT_EQ(list[98], 1099);
    EXPECT_EQ(list[99], 0);
    EXPECT_EQ(add(list, 3), AddOutcome::Added);
    clear(list);
    EXPECT_EQ(std::accumulate(list.begin(), list.end(), 0), 0);
}
