#include "session/navigation.h"

#include <gtest/gtest.h>

using namespace session;

TEST(Navigation, SlotsWrapAround) {
    EXPECT_EQ(nextSlot(10), 1);
    EXPECT_EQ(previousSlot(1), 10);
    EXPECT_EQ(nextSlot(4), 5);
    EXPECT_EQ(previousSlot(5), 4);
}

TEST(Navigation, SelectorsWrapAtBothEnds) {
    EXPECT_EQ(stepAfter(5, 1), 6) << "after step 5 come the checklist pages";
    EXPECT_EQ(stepAfter(6, 1), 1);
    EXPECT_EQ(stepAfter(1, -1), 6);
    EXPECT_EQ(chapterAfter(10, 1), 1);
    EXPECT_EQ(chapterAfter(1, -1), 10);
    EXPECT_EQ(chapterAfter(3, 1), 4);
}

TEST(Navigation, PlacementsTruncate) {
    EXPECT_EQ(counterLeft(), 350);
    EXPECT_EQ(counterTop(35), 459);
    EXPECT_EQ(counterTop(36), 459);
    EXPECT_EQ(inputLeft(537), 131);
    EXPECT_EQ(inputTop(29), 221);
    EXPECT_EQ(inputLeft(538), 131);
}

TEST(Navigation, OptionsApplyOutsideTestsOnly) {
    SessionState s;
    s.showTranslation = 0;
    s.showPoint = 0;
    for (int mode : {StudyMode, TestStudyMode}) {
        s.mode = mode;
        EXPECT_TRUE(translationSuppressed(s));
        EXPECT_TRUE(pointsSuppressed(s));
    }
    s.mode = TestMode;
    EXPECT_FALSE(translationSuppressed(s));
    EXPECT_FALSE(pointsSuppressed(s));
}
