#include "app/main_layout.h"
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

// The counter sits centred between the arrow buttons (290..350 and 451..511), the answer line
// centred in the content area; odd halves are truncated, never rounded.
TEST(Navigation, CounterAndAnswerLineAreCentred) {
    EXPECT_EQ(app::counterLeft(), 350);
    EXPECT_EQ(app::counterLeft() + app::counterWidth, 449);
    EXPECT_EQ(app::counterTop(35), 459);
    EXPECT_EQ(app::counterTop(36), 459);
    EXPECT_EQ(app::inputLeft(537), 131);
    EXPECT_EQ(app::inputLeft(538), 131);
    EXPECT_EQ(app::inputTop(29), 221);
}

TEST(Navigation, OptionsApplyOutsideTestsOnly) {
    SessionState s;
    s.showTranslation = false;
    s.showPoint = false;
    for (SessionMode mode : {SessionMode::Study, SessionMode::TestStudy}) {
        s.mode = mode;
        EXPECT_TRUE(translationSuppressed(s));
        EXPECT_TRUE(pointsSuppressed(s));
    }
    s.mode = SessionMode::Test;
    EXPECT_FALSE(translationSuppressed(s));
    EXPECT_FALSE(pointsSuppressed(s));
}
