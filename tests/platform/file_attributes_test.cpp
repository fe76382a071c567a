#include "platform/file_attributes.h"
#include "temp_app_dir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

mode_t modeOf(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mode & 07777;
}

} // namespace

TEST(RemoveReadOnly, GivesBackOnlyTheOwnersWriteBit) {
    TempAppDir dir;
    const std::string save = dir.file("savedata/save.dat");
    dir.write("savedata/save.dat", "x");
    ::chmod(save.c_str(), 0444 | S_ISGID);
    EXPECT_TRUE(platform::removeReadOnly(save));
    EXPECT_EQ(modeOf(save), static_cast<mode_t>(0644 | S_ISGID));
}

TEST(RemoveReadOnly, LeavesWritableFilesAlone) {
    TempAppDir dir;
    const std::string save = dir.file("savedata/save.dat");
    dir.write("savedata/save.dat", "x");
    ::chmod(save.c_str(), 0600);
    EXPECT_TRUE(platform::removeReadOnly(save));
    EXPECT_EQ(modeOf(save), static_cast<mode_t>(0600));
}

TEST(RemoveReadOnly, CreatesNothingForAMissingFile) {
    TempAppDir dir;
    const std::string save = dir.file("savedata/save.dat");
    EXPECT_FALSE(platform::removeReadOnly(save));
    EXPECT_FALSE(std::filesystem::exists(save));
}
