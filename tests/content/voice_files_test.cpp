#include "content/voice_files.h"

#include <gtest/gtest.h>

TEST(VoiceFiles, ThreeDigitNamesForCourseSentences) {
    EXPECT_EQ(content::voicePath("/app", 7), "/app/onsei/007.wav");
    EXPECT_EQ(content::voicePath("/app", 42), "/app/onsei/042.wav");
    EXPECT_EQ(content::voicePath("/app", 100), "/app/onsei/100.wav");
    EXPECT_EQ(content::voicePath("/app", 500), "/app/onsei/500.wav");
}

TEST(VoiceFiles, NoNumberOutsideTheCourse) {
    EXPECT_EQ(content::voicePath("/app", 0), "/app/onsei/.wav");
    EXPECT_EQ(content::voicePath("/app", 501), "/app/onsei/.wav");
    EXPECT_EQ(content::voicePath("/app", -1), "/app/onsei/.wav");
    EXPECT_EQ(content::chimePath("/app"), "/app/onsei/seikai.wav");
}
