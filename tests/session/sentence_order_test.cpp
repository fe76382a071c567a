#include "session/sentence_order.h"

#include <algorithm>
#include <gtest/gtest.h>

using session::Tsentence;
using Order = std::array<std::int32_t, 10>;

namespace {

Order built(int step, int chapter, std::uint8_t random = 0, std::uint32_t ms = 0,
            const std::vector<int>& checklist = {}) {
    Tsentence s;
    s.randomOrder = random;
    std::copy(checklist.begin(), checklist.end(), s.checklist.begin());
    s.currentSlot = 7;
    session::buildSentenceOrder(s, step, chapter, ms);
    EXPECT_EQ(s.currentSlot, 7) << "the build leaves the slot alone";
    return s.order;
}

constexpr std::uint32_t twelveThirtyFour = ((12 * 60 + 34) * 60 + 56) * 1000 + 789;

} // namespace

TEST(SentenceOrder, CourseOrder) {
    EXPECT_EQ(built(2, 3), (Order{121, 122, 123, 124, 125, 126, 127, 128, 129, 130}));
    EXPECT_EQ(built(1, 1), (Order{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(built(5, 10), (Order{491, 492, 493, 494, 495, 496, 497, 498, 499, 500}));
}

TEST(SentenceOrder, ShuffleFromAFixedMillisecondIsFixed) {
    EXPECT_EQ(built(2, 3, 1, twelveThirtyFour),
              (Order{121, 124, 129, 128, 126, 123, 122, 125, 130, 127}));
    EXPECT_EQ(built(1, 1, 1, 0), (Order{2, 5, 3, 6, 1, 7, 10, 8, 4, 9}));
    EXPECT_EQ(built(3, 4, 1, 1234), built(3, 4, 1, 1234)) << "same millisecond, same order";
}

TEST(SentenceOrder, ShuffleIsAPermutationForAnySeed) {
    for (std::uint32_t ms : {1u, 999u, 86399999u, 4294967295u}) {
        Order order = built(4, 6, 1, ms);
        std::sort(order.begin(), order.end());
        EXPECT_EQ(order, built(4, 6)) << ms;
    }
}

TEST(SentenceOrder, ChecklistPagesAreNeverShuffled) {
    const std::vector<int> three{37, 205, 9};
    EXPECT_EQ(built(6, 1, 0, 0, three), (Order{37, 205, 9, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(built(6, 1, 1, twelveThirtyFour, three), (Order{37, 205, 9, 0, 0, 0, 0, 0, 0, 0}));
    std::vector<int> full(100);
    for (int i = 0; i < 100; ++i)
        full[i] = 401 + i % 100;
    EXPECT_EQ(built(6, 10, 0, 0, full), (Order{491, 492, 493, 494, 495, 496, 497, 498, 499, 500}));
    EXPECT_EQ(built(6, 2, 0, 0, three), Order{}) << "page 2 of a short list is empty";
}

TEST(SlotRandom, DrawsFromTheUpperBitsOfTheProduct) {
    session::SlotRandom random(0);
    EXPECT_EQ(random.next(10), 0) << "seed 1: 10 / 2^32";
    EXPECT_EQ(random.seed(), 1u);
    EXPECT_EQ(random.next(10), 0);
    EXPECT_EQ(random.seed(), 134775814u);
    session::SlotRandom high(0xFFFFFFFFu);
    EXPECT_EQ(high.next(10), 9) << "the seed wraps at 2^32";
    EXPECT_EQ(high.seed(), 4160191484u);
}
