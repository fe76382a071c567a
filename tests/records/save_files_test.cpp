#include "records/save_files.h"

#include "failing_file_system.h"
#include "platform/whole_file.h"
#include "temp_app_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>

using Call = FailingFileSystem::Call;

namespace {

records::SaveRecord recordAt(int chapter) {
    records::SaveRecord record;
    record.chapter = chapter;
    record.results.clear(0);
    record.results.scores[0][chapter] = chapter;
    return record;
}

records::StoredLabel labelAt(int top) {
    records::StoredLabel label;
    label.top = top;
    label.caption = "Is this your bag?";
    label.font.name = "Face";
    label.font.height = -24;
    return label;
}

struct FaultCase {
    const char* what;
    Call call;
    const char* file;
    int error;
    platform::FileFault::Step step;
    const char* faultPath; // the file the fault names
    bool saveDatNew;       // save.dat after the fault: the new content, else the old
    bool fsDatNew;
};

void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.what; }

const FaultCase faultCases[] = {
    {"read-only folder", Call::CreateNew, "save.dat", EACCES, platform::FileFault::Create, "save.dat", false, false},
    {"read-only file system", Call::CreateNew, "save.dat", EROFS, platform::FileFault::Create, "save.dat", false, false},
    {"disk full at fs.dat's creation", Call::CreateNew, "fs.dat", ENOSPC, platform::FileFault::Create, "fs.dat", true, false},
    {"disk full half-way through save.dat", Call::ShortWrite, "save.dat", ENOSPC, platform::FileFault::Write, "save.dat", false, false},
    {"disk full half-way through fs.dat", Call::ShortWrite, "fs.dat", ENOSPC, platform::FileFault::Write, "fs.dat", true, false},
    {"quota exceeded at the write", Call::Write, "save.dat", EDQUOT, platform::FileFault::Write, "save.dat", false, false},
    {"device error at the flush", Call::Sync, "save.dat", EIO, platform::FileFault::Write, "save.dat", false, false},
    {"late write error at the close", Call::Close, "fs.dat", EIO, platform::FileFault::Write, "fs.dat", true, false},
    {"rename refused", Call::Rename, "save.dat", EIO, platform::FileFault::Commit, "save.dat", false, false},
    // The new file is in place but may not survive a power cut: still a failed save.
    {"folder flush fails", Call::SyncFolder, "save.dat", EIO, platform::FileFault::Commit, "save.dat", true, false},
};

class SaveFilesFault : public testing::TestWithParam<FaultCase> {
protected:
    std::string folder() const { return dir.file("savedata"); }
    std::string file(const char* name) const {
        return platform::readWholeFile(dir.file(std::string("savedata/") + name)).value_or("missing");
    }
    std::vector<std::string> names() const {
        std::vector<std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(folder()))
            found.push_back(entry.path().filename().string());
        std::sort(found.begin(), found.end());
        return found;
    }
    TempAppDir dir;
};

} // namespace

TEST_P(SaveFilesFault, KeepsTheOldFilesAndTheNextSaveWritesEverything) {
    const FaultCase& c = GetParam();
    ASSERT_FALSE(records::writeSaveFiles(folder(), recordAt(1), labelAt(100), platform::systemFileSystem()));
    const std::string oldSave = file("save.dat");
    const std::string oldFs = file("fs.dat");
    const std::string newSave = records::encodeSaveRecord(recordAt(2));
    const std::string newFs = records::writeLabelStream(labelAt(200));

    FailingFileSystem failing(c.call, c.file, c.error);
    const auto fault = records::writeSaveFiles(folder(), recordAt(2), labelAt(200), failing);
    ASSERT_TRUE(fault.has_value());
    EXPECT_EQ(fault->step, c.step);
    EXPECT_EQ(fault->path, dir.file(std::string("savedata/") + c.faultPath));
    EXPECT_EQ(fault->reason, std::strerror(c.error));
    EXPECT_EQ(file("save.dat"), c.saveDatNew ? newSave : oldSave);
    EXPECT_EQ(file("fs.dat"), c.fsDatNew ? newFs : oldFs);
    EXPECT_EQ(names(), (std::vector<std::string>{"fs.dat", "save.dat"})) << "no temporary file stays";

    failing.heal();
    EXPECT_FALSE(records::writeSaveFiles(folder(), recordAt(2), labelAt(200), failing));
    EXPECT_EQ(file("save.dat"), newSave);
    EXPECT_EQ(file("fs.dat"), newFs);
}

INSTANTIATE_TEST_SUITE_P(Faults, SaveFilesFault, testing::ValuesIn(faultCases),
                         [](const auto& info) {
                             std::string name = info.param.what;
                             for (char& ch : name)
                                 if (!std::isalnum(static_cast<unsigned char>(ch)))
                                     ch = '_';
                             return name;
                         });

TEST(ReplaceFile, AFolderThatCannotBeFlushedCountsAsFlushed) {
    for (const int error : {EINVAL, ENOTSUP, EOPNOTSUPP}) {
        TempAppDir dir;
        FailingFileSystem noFolderFlush(Call::SyncFolder, "", error);
        EXPECT_FALSE(records::writeSaveFiles(dir.file("savedata"), recordAt(2), labelAt(200), noFolderFlush))
            << std::strerror(error);
        EXPECT_EQ(platform::readWholeFile(dir.file("savedata/fs.dat")), records::writeLabelStream(labelAt(200)));
    }
}

TEST(ReplaceFile, AMissingFolderIsACreateFaultAndCreatesNothing) {
    TempAppDir dir;
    std::filesystem::remove_all(dir.file("savedata"));
    const auto fault = platform::replaceFile(dir.file("savedata/save.dat"), "x");
    ASSERT_TRUE(fault.has_value());
    EXPECT_EQ(fault->step, platform::FileFault::Create);
    EXPECT_FALSE(std::filesystem::exists(dir.file("savedata")));
}

TEST(ReplaceFile, TheNewFileKeepsTheOldPermissions) {
    TempAppDir dir;
    const std::string path = dir.file("savedata/save.dat");
    dir.write("savedata/save.dat", "old");
    ::chmod(path.c_str(), 0640);
    ASSERT_FALSE(platform::replaceFile(path, "new"));
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(platform::readWholeFile(path), "new");
}
