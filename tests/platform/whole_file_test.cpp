#include "platform/whole_file.h"
#include "temp_app_dir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

// What the course, save and font files are read with at every start: only a regular file gives
// bytes, and a head is cut at its limit.
TEST(ReadFileHead, GivesTheHeadOfARegularFileAndNothingForAnythingElse) {
    TempAppDir dir;
    dir.write("text/short.txt", "abc");
    dir.write("text/empty.txt", "");
    std::string long_file(10000, 'x');
    long_file += "tail";
    dir.write("text/long.txt", long_file);
    ASSERT_EQ(::mkfifo(dir.file("text/pipe.txt").c_str(), 0644), 0);

    EXPECT_EQ(platform::readFileHead(dir.file("text/short.txt"), 100), "abc");
    EXPECT_EQ(platform::readFileHead(dir.file("text/short.txt"), 3), "abc");
    EXPECT_EQ(platform::readFileHead(dir.file("text/short.txt"), 2), "ab");
    EXPECT_EQ(platform::readFileHead(dir.file("text/empty.txt"), 100), "");
    EXPECT_EQ(platform::readFileHead(dir.file("text/long.txt"), 5), "xxxxx");
    EXPECT_EQ(platform::readWholeFile(dir.file("text/long.txt"))->size(), 10004u);

    EXPECT_EQ(platform::readFileHead(dir.file("text/missing.txt"), 100), std::nullopt);
    EXPECT_EQ(platform::readFileHead(dir.file("text"), 100), std::nullopt) << "a folder";
    EXPECT_EQ(platform::readFileHead(dir.file("text/pipe.txt"), 100), std::nullopt)
        << "a pipe is refused, not waited on";
}
