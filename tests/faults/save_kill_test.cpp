// A process saving in a loop, killed at random moments: after every kill save.dat and fs.dat are
// each whole, the old or the new file, never a torn one.
#include "platform/whole_file.h"
#include "records/save_files.h"
#include "temp_app_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr int kills = 250;

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

} // namespace

TEST(SaveKills, EveryKillLeavesBothFilesWhole) {
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
    for (int k = 0; k < kills; ++k) {
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
    std::printf("[faults] %d kills of a process saving in a loop: save.dat and fs.dat whole after "
                "every one (save.dat new after %d, old after %d; a file cut off while written aside %d "
                "times; fs.dat older than save.dat after %d; %d kills inside a save)\n",
                kills, newer, older, cutOff, between, inside);
    // Where writing costs nothing (a file system in memory) few kills find a file half written,
    // but many still fall between the two files.
    EXPECT_GE(inside, kills / 20) << "too few kills landed inside a save to prove anything";
}
