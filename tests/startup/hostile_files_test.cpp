// The real program started with hostile files beside it, each case in a fresh copy of the program
// folder: it starts, shows its window and saves a valid record when the window closes; or, for a
// broken bitmap of the installation, names the file and stops.
#include "mounted_folder.h"
#include "platform/program_lock.h"
#include "platform/whole_file.h"
#include "records/label_stream.h"
#include "records/save_record.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <signal.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Long enough for the sanitized build on a busy machine; a program that hangs meets it.
constexpr auto patience = std::chrono::seconds(90);

std::string randomBytes(std::size_t n, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(n, '\0');
    for (char& b : bytes)
        b = static_cast<char>(random());
    return bytes;
}

std::string le32(std::uint32_t v) { return {char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; }

// A bitmap header for a 24-bit picture of the given size, followed by `pixels` bytes.
std::string bitmap(std::int32_t width, std::int32_t height, std::size_t pixels) {
    const std::string info = le32(40) + le32(static_cast<std::uint32_t>(width)) +
                             le32(static_cast<std::uint32_t>(height)) +
                             std::string("\x01\x00\x18\x00", 4) + std::string(24, '\0');
    return "BM" + le32(static_cast<std::uint32_t>(54 + pixels)) + le32(0) + le32(54) + info +
           std::string(pixels, '\x40');
}

std::string shortString(const std::string& s) { return char(s.size()) + s; }

// fs.dat that starts like the program's own and then claims lengths it does not have.
std::string fsDatHead() { return "TPF0" + shortString("TLabel") + shortString("Lbl_eibun"); }

std::string longText(const std::string& property, std::uint32_t claimed, const std::string& had) {
    return shortString(property) + "\x0c" + le32(claimed) + had;
}

struct Folder {
    fs::path root;
    void write(const std::string& relative, const std::string& bytes) const {
        fs::remove(root / relative);
        std::ofstream(root / relative, std::ios::binary) << bytes;
    }
    std::string read(const std::string& relative) const {
        return platform::readWholeFile((root / relative).string()).value_or("missing");
    }
};

std::string validSaveDat() {
    records::SaveRecord record;
    record.step = 2;
    record.chapter = 5;
    record.checklist[0] = 17;
    record.results.clear(0);
    record.results.scores[3][14] = 8;
    record.results.dates[3][14].assign("12/8");
    return records::encodeSaveRecord(record);
}

enum class Expect { StartsAndSaves, StopsNaming };

struct HostileCase {
    const char* name;
    std::function<void(const Folder&)> spoil;
    Expect expect = Expect::StartsAndSaves;
    const char* named = nullptr; // the file a stop names
};

void PrintTo(const HostileCase& c, std::ostream* os) { *os << c.name; }

const HostileCase hostileCases[] = {
    {"truncated_save_dat", [](const Folder& f) { f.write("savedata/save.dat", validSaveDat().substr(0, 5000)); }},
    {"empty_save_dat", [](const Folder& f) { f.write("savedata/save.dat", ""); }},
    {"over_long_save_dat", [](const Folder& f) { f.write("savedata/save.dat", validSaveDat() + randomBytes(5 << 20, 1)); }},
    {"random_save_dat", [](const Folder& f) { f.write("savedata/save.dat", randomBytes(records::saveRecordSize, 2)); }},
    {"random_save_dat_and_fs_dat", [](const Folder& f) {
         f.write("savedata/save.dat", randomBytes(records::saveRecordSize + 100, 3));
         f.write("savedata/fs.dat", randomBytes(3000, 4));
     }},
    {"fs_dat_claiming_four_gigabytes", [](const Folder& f) {
         f.write("savedata/save.dat", validSaveDat());
         f.write("savedata/fs.dat", fsDatHead() + longText("Caption", 0xFFFFFFF0u, "only this"));
     }},
    {"fs_dat_past_the_read_limit", [](const Folder& f) {
         f.write("savedata/save.dat", validSaveDat());
         f.write("savedata/fs.dat", fsDatHead() + longText("Caption", 3u << 20, std::string(3u << 20, 'c')) + "\0\0");
     }},
    {"fs_dat_with_a_face_name_of_300_kilobytes", [](const Folder& f) {
         f.write("savedata/save.dat", validSaveDat());
         f.write("savedata/fs.dat", fsDatHead() + longText("Font.Name", 300000, std::string(300000, 'F')) + std::string(2, '\0'));
     }},
    {"binary_course_files", [](const Folder& f) {
         for (int n = 1; n <= 50; ++n)
             f.write("text/c" + std::to_string(n) + ".txt", randomBytes(4096, 100 + n));
     }},
    {"course_file_of_six_megabytes", [](const Folder& f) {
         std::string text;
         for (int i = 0; text.size() < (6u << 20); ++i)
             text += "Line " + std::to_string(i) + " of a course file far too long for its chapter.\r\n";
         f.write("text/c1.txt", text);
     }},
    {"course_file_of_one_endless_line", [](const Folder& f) { f.write("text/c1.txt", std::string(8u << 20, 'a')); }},
    {"sentence_of_four_megabytes_on_show", [](const Folder& f) {
         // Slot 1 of step 1, chapter 1 is shown at start: its translation, sentence and points.
         const std::string endless(4u << 20, 'w');
         f.write("text/c1.txt", "[S1-C01]  Title\r\n001\r\n" + endless + "\r\n" + endless + "\r\n" + endless + "\r\n");
     }},
    {"bitmap_claiming_more_rows_than_it_has", [](const Folder& f) { f.write("bmp/bg.bmp", bitmap(800, 600, 1000)); },
     Expect::StopsNaming, "bmp/bg.bmp"},
    {"bitmap_claiming_the_largest_size", [](const Folder& f) { f.write("bmp/start.bmp", bitmap(16384, 16384, 64)); },
     Expect::StopsNaming, "bmp/start.bmp"},
    {"bitmap_with_the_lowest_height", [](const Folder& f) { f.write("bmp/l_button.bmp", bitmap(60, INT32_MIN, 10800)); },
     Expect::StopsNaming, "bmp/l_button.bmp"},
};

// A fresh copy of the program folder with an empty savedata; the voices, which nothing writes,
// are linked rather than copied.
Folder freshCopy(const fs::path& program, const fs::path& where) {
    fs::create_directories(where);
    for (const auto& entry : fs::directory_iterator(program)) {
        const fs::path name = entry.path().filename();
        if (name == "savedata")
            continue;
        // The voices are linked where the folders share a file system and copied where they do not.
        std::error_code linked;
        if (name == "onsei")
            fs::copy(entry.path(), where / name,
                     fs::copy_options::recursive | fs::copy_options::create_hard_links, linked);
        if (name != "onsei" || linked) {
            fs::remove_all(where / name);
            fs::copy(entry.path(), where / name, fs::copy_options::recursive);
        }
    }
    fs::create_directory(where / "savedata");
    return {where};
}

struct ProgramRun {
    bool finished = false;
    int exitCode = -1;
    std::string errors;
    double seconds = 0;
};

// whenShown: "close" (as the close box does) or "quit" (without closing), the program's test hook.
ProgramRun runProgram(const Folder& folder, const char* whenShown = "close") {
    const fs::path errorLog = folder.root.parent_path() / "stderr.txt";
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        if (chdir(folder.root.c_str()) != 0)
            _exit(126);
        const int fd = ::open(errorLog.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(fd, STDERR_FILENO);
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        setenv("YOMIRIN_WHEN_SHOWN", whenShown, 1);
        execl("./yomirin", "yomirin", static_cast<char*>(nullptr));
        _exit(127);
    }
    ProgramRun run;
    int status = 0;
    while (std::chrono::steady_clock::now() - start < patience) {
        if (waitpid(child, &status, WNOHANG) == child) {
            run.finished = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (!run.finished) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
    }
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    run.errors = platform::readWholeFile(errorLog.string()).value_or("");
    return run;
}

class HostileStart : public testing::TestWithParam<HostileCase> {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "yomirin-hostile-XXXXXX").string();
        scratch = mkdtemp(pattern.data());
    }
    void TearDown() override { fs::remove_all(scratch); }
    fs::path scratch;
};

class HostileStartQuit : public HostileStart {};

} // namespace

TEST_P(HostileStart, StartsShowsAndSavesAValidRecord) {
    const HostileCase& c = GetParam();
    const Folder folder = freshCopy(YOMIRIN_PROGRAM_DIR, scratch / "yomirin");
    c.spoil(folder);
    const ProgramRun run = runProgram(folder);
    ASSERT_TRUE(run.finished) << "no close within " << patience.count() << " s: hung\n" << run.errors;
    std::printf("[start] %s: exit %d after %.1f s\n", c.name, run.exitCode, run.seconds);

    if (c.expect == Expect::StopsNaming) {
        EXPECT_EQ(run.exitCode, 1) << run.errors;
        EXPECT_NE(run.errors.find(std::string("/") + c.named), std::string::npos) << run.errors;
        return;
    }
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    // The save of the close: a whole record in which no value needed mending, and a whole stream.
    const std::string saveDat = folder.read("savedata/save.dat");
    ASSERT_EQ(saveDat.size(), records::saveRecordSize);
    records::SaveRecord base;
    const records::LoadedRecord loaded = records::decodeSaveRecord(saveDat, base);
    EXPECT_TRUE(loaded.complete);
    EXPECT_EQ(records::encodeSaveRecord(loaded.record), saveDat) << "a value out of range was saved";
    records::StoredLabel label;
    EXPECT_TRUE(records::readLabelStream(folder.read("savedata/fs.dat"), label));
}

INSTANTIATE_TEST_SUITE_P(Files, HostileStart, testing::ValuesIn(hostileCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The start-up benchmark's way out: after the first frame, without closing and so without saving;
// a save there would be timed as start-up.
TEST_F(HostileStartQuit, QuitWhenShownLeavesTheSaveFilesAsTheyWere) {
    const Folder folder = freshCopy(YOMIRIN_PROGRAM_DIR, scratch / "yomirin");
    folder.write("savedata/save.dat", validSaveDat());
    const ProgramRun run = runProgram(folder, "quit");
    ASSERT_TRUE(run.finished) << run.errors;
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(folder.read("savedata/save.dat"), validSaveDat());
    EXPECT_EQ(folder.read("savedata/fs.dat"), "missing");
}

// The folder's lock is held by a program that does not answer (hung, or running on another
// computer that shares the folder): the start ends without a window and takes nothing from it.
TEST_F(HostileStartQuit, ALockHeldByAProgramThatDoesNotAnswerIsLeftToIt) {
    const Folder folder = freshCopy(YOMIRIN_PROGRAM_DIR, scratch / "yomirin");
    folder.write("savedata/save.dat", validSaveDat());
    const std::string lockPath = (folder.root / "savedata/yomirin.lock").string();
    platform::ProgramLock holder;
    ASSERT_EQ(holder.tryTake(lockPath), platform::LockTry::Taken);
    const ProgramRun run = runProgram(folder); // a window would close and save
    ASSERT_TRUE(run.finished) << run.errors;
    EXPECT_EQ(run.exitCode, 1) << run.errors;
    EXPECT_NE(run.errors.find("応答がありません"), std::string::npos) << run.errors;
    EXPECT_EQ(folder.read("savedata/save.dat"), validSaveDat());
    EXPECT_EQ(folder.read("savedata/fs.dat"), "missing");
    platform::ProgramLock another;
    EXPECT_EQ(another.tryTake(lockPath), platform::LockTry::HeldElsewhere);
}

// A savedata where no lock can be made does not keep the learner out.
TEST_F(HostileStartQuit, AReadOnlySavedataStartsAsBefore) {
    const Folder folder = freshCopy(YOMIRIN_PROGRAM_DIR, scratch / "yomirin");
    MountedFolder disk((folder.root / "savedata").string(), 64 * 1024);
    if (!disk.mounted())
        GTEST_SKIP() << "cannot mount a read-only disk here: " << disk.why();
    ASSERT_TRUE(disk.setReadOnly(true));
    const ProgramRun run = runProgram(folder, "quit");
    ASSERT_TRUE(run.finished) << run.errors;
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(run.errors.find("応答"), std::string::npos) << run.errors;
}
