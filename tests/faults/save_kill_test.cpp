// A saver killed at every step of a save, and a process saving in a loop killed at random moments:
// after every kill save.dat and fs.dat are each whole, the old or the new file, never a torn one.
#include "platform/whole_file.h"
#include "records/save_files.h"
#include "temp_app_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <vector>
#include <unistd.h>

namespace {

constexpr int randomKills = 100;

// Save number g: every value in range and derived from g, g itself in the padding bytes (which a
// load keeps as they are), so a file shows which save wrote it and whether it is all of that save.
records::SaveRecord recordFor(std::uint32_t g) {
    records::SaveRecord r;
    r.step = static_cast<std::int32_t>(g % 6 + 1);
    r.chapter = static_cast<std::int32_t>(g % 10 + 1);
    r.randomOrder = g & 1;
    r.padding1 = {std::uint8_t(g), std::uint8_t(g >> 8), std::uint8_t(g >> 16)};
    r.padding2 = std::uint8_t(g >> 24);
    for (int i = 0; i < records::savedOrderSlots; ++i)
        r.order[i] = static_cast<std::int32_t>((g + i) % 500 + 1);
    for (int i = 0; i < records::savedChecklistPlaces; ++i)
        r.checklist[i] = static_cast<std::int32_t>((g + 7 * i) % 500 + 1);
    for (int s = 0; s < records::resultSlots; ++s)
        for (int k = 0; k < records::resultChapters; ++k) {
            r.results.scores[s][k] = static_cast<std::int32_t>((g + s + k) % 12) - 1;
            r.results.dates[s][k].assign(std::to_string(g % 12 + 1) + "/" + std::to_string(k % 28 + 1));
        }
    r.showTranslation = g >> 1 & 1;
    r.showPoint = g >> 2 & 1;
    r.showShortcuts = g >> 3 & 1;
    return r;
}

records::StoredLabel labelFor(std::uint32_t g) {
    records::StoredLabel label;
    label.left = static_cast<int>(g);
    for (int i = 0; i < 40; ++i)
        label.caption += "Save " + std::to_string(g) + ". ";
    label.font.name = "Face " + std::to_string(g);
    label.font.height = -static_cast<int>(g % 100 + 1);
    return label;
}

std::optional<std::uint32_t> wholeSaveDat(const std::string& bytes) {
    const records::SaveRecord base;
    const records::LoadedRecord loaded = records::decodeSaveRecord(bytes, base);
    if (!loaded.complete)
        return std::nullopt;
    const records::SaveRecord& r = loaded.record;
    const std::uint32_t g = r.padding1[0] | r.padding1[1] << 8 | r.padding1[2] << 16 |
                            static_cast<std::uint32_t>(r.padding2) << 24;
    if (bytes != records::encodeSaveRecord(recordFor(g)))
        return std::nullopt;
    return g;
}

std::optional<std::uint32_t> wholeFsDat(const std::string& bytes) {
    records::StoredLabel label;
    if (!records::readLabelStream(bytes, label))
        return std::nullopt;
    const auto g = static_cast<std::uint32_t>(label.left);
    if (bytes != records::writeLabelStream(labelFor(g)))
        return std::nullopt;
    return g;
}

bool save(const std::string& folder, std::uint32_t g) {
    return !records::writeSaveFiles(folder, recordFor(g), labelFor(g), platform::systemFileSystem());
}

// Says on `ready` that it has started, so that the kill moments count from its first save rather
// than from the fork, which in a large process (the sanitizers' one) can take longer than many
// saves.
[[noreturn]] void saveForever(const std::string& folder, std::uint32_t from, int ready) {
    const char started = 1;
    if (::write(ready, &started, 1) != 1)
        ::_exit(3);
    for (std::uint32_t g = from;; ++g)
        save(folder, g);
}

// Removes the files of saves cut off by a kill and says how many there were; anything else
// beside the two files is a fault.
int removeLeftovers(const std::string& folder) {
    int left = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name == records::saveDatName || name == records::fsDatName)
            continue;
        EXPECT_TRUE(name.ends_with(".tmp")) << name;
        std::filesystem::remove(entry.path());
        ++left;
    }
    return left;
}

// One call a save makes through the file seam, and the file it is for.
struct Step {
    std::string call;
    std::string file; // save.dat or fs.dat
};

std::string savedFileOf(const std::string& path) {
    return path.find(records::fsDatName) != std::string::npos ? records::fsDatName
                                                               : records::saveDatName;
}

// The system's file calls, listed as they are made; at its n-th call (counted from 1) the process
// kills itself, before making it or, for a write, when half of the bytes are written.
class SteppedFileSystem : public platform::FileSystem {
public:
    explicit SteppedFileSystem(int killAt = 0, bool halfWrite = false)
        : killAt_(killAt), halfWrite_(halfWrite) {}

    int createNew(const std::string& path, mode_t mode) override {
        arrive("create", savedFileOf(path));
        const int fd = FileSystem::createNew(path, mode);
        files_[fd] = savedFileOf(path);
        return fd;
    }
    ssize_t write(int fd, const char* data, std::size_t size) override {
        if (arrive("write", files_[fd]) && halfWrite_) {
            FileSystem::write(fd, data, size / 2);
            die();
        }
        return FileSystem::write(fd, data, size);
    }
    int sync(int fd) override {
        arrive("flush", files_[fd]);
        return FileSystem::sync(fd);
    }
    int close(int fd) override {
        arrive("close", files_[fd]);
        return FileSystem::close(fd);
    }
    int rename(const std::string& from, const std::string& to) override {
        renamed_ = savedFileOf(to);
        arrive("rename", renamed_);
        return FileSystem::rename(from, to);
    }
    int syncFolder(const std::string& folder) override {
        arrive("folder flush", renamed_);
        return FileSystem::syncFolder(folder);
    }
    int remove(const std::string& path) override {
        arrive("remove", savedFileOf(path));
        return FileSystem::remove(path);
    }

    std::vector<Step> steps;

private:
    // True when this call is the one to kill at and the kill waits for half a write.
    bool arrive(const std::string& call, const std::string& file) {
        steps.push_back({call, file});
        if (static_cast<int>(steps.size()) != killAt_)
            return false;
        if (halfWrite_ && call == "write")
            return true;
        die();
    }
    [[noreturn]] static void die() {
        ::kill(::getpid(), SIGKILL);
        for (;;)
            ::pause();
    }

    int killAt_;
    bool halfWrite_;
    std::map<int, std::string> files_;
    std::string renamed_;
};

// Which save wrote the file, 0 for none; nullopt for a torn file.
std::optional<std::uint32_t> savedBy(const std::string& folder, const std::string& name) {
    const auto bytes = platform::readWholeFile(folder + "/" + name);
    if (!bytes)
        return 0;
    return name == records::saveDatName ? wholeSaveDat(*bytes) : wholeFsDat(*bytes);
}

// The place in `steps` (counted from 1) of the first `call` for `file`; past the end if none.
int placeOf(const std::vector<Step>& steps, const std::string& call, const std::string& file) {
    for (std::size_t i = 0; i < steps.size(); ++i)
        if (steps[i].call == call && steps[i].file == file)
            return static_cast<int>(i) + 1;
    return static_cast<int>(steps.size()) + 1;
}

} // namespace

TEST(SaveKills, AKillAtEveryStepOfASaveLeavesBothFilesWhole) {
    TempAppDir dir;
    const std::string folder = dir.file("savedata");

    // The steps of one save, made here in full: the places the kills below go to.
    SteppedFileSystem listed;
    std::filesystem::create_directory(dir.file("rehearsal"));
    ASSERT_FALSE(records::writeSaveFiles(dir.file("rehearsal"), recordFor(1), labelFor(1), listed));
    const std::vector<Step>& steps = listed.steps;
    const int stepCount = static_cast<int>(steps.size());
    std::string names;
    for (const Step& step : steps)
        names += (names.empty() ? "" : ", ") + step.call + " " + step.file;
    // A file is new once its rename is made; its temporary stays from its creation to its rename.
    const auto isNew = [&](const std::string& file, int n) { return placeOf(steps, "rename", file) < n; };
    const auto leftover = [&](const std::string& file, int n) {
        return placeOf(steps, "create", file) < n && !isNew(file, n);
    };

    int kills = 0, saveDatNew = 0, fsDatNew = 0, leftBehind = 0;
    std::uint32_t g = 1;
    // Into an empty folder (the first save ever), then over the files of earlier saves. The saver
    // is killed at its n-th step: before it, and for a write also half-way through it; n past the
    // last step lets the save end.
    for (bool firstSave : {true, false}) {
        for (int n = 1; n <= stepCount + 1; ++n) {
            const bool isWrite = n <= stepCount && steps[n - 1].call == "write";
            for (bool halfWrite : {false, true}) {
                if (halfWrite && !isWrite)
                    continue;
                if (firstSave) {
                    std::filesystem::remove(folder + "/" + records::saveDatName);
                    std::filesystem::remove(folder + "/" + records::fsDatName);
                }
                const std::string where = n > stepCount ? std::string("after the last step")
                                          : (halfWrite ? "half-way through " : "before ") +
                                                steps[n - 1].call + " " + steps[n - 1].file;
                const std::uint32_t saveBefore = *savedBy(folder, records::saveDatName);
                const std::uint32_t fsBefore = *savedBy(folder, records::fsDatName);
                const pid_t saver = fork();
                ASSERT_GE(saver, 0);
                if (saver == 0) {
                    SteppedFileSystem fs(n, halfWrite);
                    ::_exit(records::writeSaveFiles(folder, recordFor(g), labelFor(g), fs) ? 2 : 0);
                }
                int status = 0;
                ASSERT_EQ(::waitpid(saver, &status, 0), saver);
                if (n > stepCount)
                    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
                        << "the save did not end after its " << stepCount << " steps: " << status;
                else
                    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
                        << "the saver was not killed " << where << ": " << status;
                kills += n <= stepCount;

                const auto saveDat = savedBy(folder, records::saveDatName);
                const auto fsDat = savedBy(folder, records::fsDatName);
                ASSERT_TRUE(saveDat) << "save.dat torn by a kill " << where;
                ASSERT_TRUE(fsDat) << "fs.dat torn by a kill " << where;
                EXPECT_EQ(*saveDat, isNew(records::saveDatName, n) ? g : saveBefore) << where;
                EXPECT_EQ(*fsDat, isNew(records::fsDatName, n) ? g : fsBefore) << where;
                const int leftovers = removeLeftovers(folder);
                EXPECT_EQ(leftovers, leftover(records::saveDatName, n) + leftover(records::fsDatName, n))
                    << where;
                saveDatNew += n <= stepCount && *saveDat == g;
                fsDatNew += n <= stepCount && *fsDat == g;
                leftBehind += leftovers;
                ++g;
            }
        }
    }
    std::printf("[faults] a save's %d steps through the file seam (%s), each a place where a kill "
                "landed, into an empty folder and over earlier files, before each step and half-way "
                "through each write: %d kills, save.dat and fs.dat whole and of the save expected "
                "after every one (save.dat new after %d, fs.dat new after %d, a temporary left "
                "behind %d times)\n",
                stepCount, names.c_str(), kills, saveDatNew, fsDatNew, leftBehind);
}

TEST(SaveKills, RandomKillsLeaveBothFilesWhole) {
    TempAppDir dir;
    const std::string folder = dir.file("savedata");
    std::uint32_t g = 1;

    // How long one save takes here sets the range of the kill moments: up to three saves in.
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 20; ++i)
        ASSERT_TRUE(save(folder, g++));
    const auto oneSave = (std::chrono::steady_clock::now() - start) / 20;
    const auto span = std::chrono::duration_cast<std::chrono::microseconds>(oneSave * 3).count() + 1;

    std::mt19937 random(20241208);
    std::uniform_int_distribution<long> moment(0, span);
    int newer = 0, older = 0, cutOff = 0, between = 0, inside = 0;
    std::uint32_t fsBefore = g - 1;
    for (int k = 0; k < randomKills; ++k) {
        const std::uint32_t before = g - 1;
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t saver = fork();
        ASSERT_GE(saver, 0);
        if (saver == 0)
            saveForever(folder, g, ready[1]);
        ::close(ready[1]);
        char started = 0;
        const bool saving = ::read(ready[0], &started, 1) == 1;
        ::close(ready[0]);
        if (saving)
            std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
        ::kill(saver, SIGKILL);
        int status = 0;
        ::waitpid(saver, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the saver stopped on its own: " << status;

        const auto saveGen = wholeSaveDat(platform::readWholeFile(folder + "/save.dat").value_or(""));
        const auto fsGen = wholeFsDat(platform::readWholeFile(folder + "/fs.dat").value_or(""));
        ASSERT_TRUE(saveGen) << "save.dat torn by kill " << k + 1;
        ASSERT_TRUE(fsGen) << "fs.dat torn by kill " << k + 1;
        ASSERT_GE(*saveGen, before) << "save.dat went back";
        ASSERT_GE(*fsGen, fsBefore) << "fs.dat went back";
        // save.dat is written first: fs.dat is of the same save or of an earlier one.
        ASSERT_LE(*fsGen, *saveGen);
        fsBefore = *fsGen;
        (*saveGen > before ? newer : older) += 1;
        between += *fsGen != *saveGen;
        const int leftovers = removeLeftovers(folder);
        cutOff += leftovers;
        // A file cut off while written aside, or a kill between the two files' replacements.
        inside += leftovers > 0 || *fsGen != *saveGen;
        g = *saveGen + 1;
    }
    // Where a kill lands depends on the machine's speed, so nothing is required of how many fell
    // inside a save: the test above reaches every step.
    std::printf("[faults] %d kills of a process saving in a loop, at random moments: save.dat and "
                "fs.dat whole after every one (save.dat new after %d, old after %d; a file cut off "
                "while written aside %d times; fs.dat older than save.dat after %d; %d kills inside "
                "a save)\n",
                randomKills, newer, older, cutOff, between, inside);
}
