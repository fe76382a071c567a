#include "session/trainer_fixture.h"

#include "failing_file_system.h"
#include "mounted_folder.h"
#include "platform/cp932.h"
#include "records/save_record.h"
#include "session/saved_state.h"

#include <sys/stat.h>

#include <functional>

namespace {

void putInt(std::string& bytes, std::size_t offset, std::int32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<char>((static_cast<std::uint32_t>(value) >> (8 * i)) & 0xFF);
}

std::size_t scoreOffset(int slot, int chapter) { return 452 + ((slot - 1) * 50 + chapter - 1) * 4; }
std::size_t dateOffset(int slot, int chapter) { return 2452 + ((slot - 1) * 50 + chapter - 1) * 31; }

// A save file as another copy of the program writes it: step 2, chapter 3 in course order, a
// checklist of three, two dated scores, translation off, shortcuts on, and bytes that carry no
// meaning (padding, date bytes past the length) that must survive a load and a save.
std::string handmadeSaveDat() {
    std::string bytes(17956, '\0');
    putInt(bytes, 0, 2);
    putInt(bytes, 4, 3);
    bytes[9] = 'p';
    for (int i = 1; i <= 10; ++i)
        putInt(bytes, 12 + (i - 1) * 4, 120 + i); // chapter 13 in course order
    const int listed[] = {5, 499, 250};
    for (int i = 0; i < 3; ++i)
        putInt(bytes, 52 + i * 4, listed[i]);
    for (int s = 1; s <= 10; ++s)
        for (int k = 1; k <= 50; ++k)
            putInt(bytes, scoreOffset(s, k), -1);
    putInt(bytes, scoreOffset(1, 13), 7);
    bytes.replace(dateOffset(1, 13), 5, std::string("\x04" "12/8", 5));
    putInt(bytes, scoreOffset(2, 50), 10);
    bytes.replace(dateOffset(2, 50), 8, std::string("\x03" "1/1xyz", 7) + "w");
    bytes[17952] = 0;
    bytes[17953] = 1;
    bytes[17954] = 1;
    bytes[17955] = 'q';
    return bytes;
}

class TrainerSavesTest : public TrainerTest {
protected:
    void startWithSaveDat(const std::string& bytes) {
        dir.write("savedata/save.dat", bytes);
        startTrainer();
    }
};

} // namespace

TEST_F(TrainerSavesTest, AFileOfAnotherCopyLoadsAndIsWrittenBackByteForByte) {
    const std::string original = handmadeSaveDat();
    startWithSaveDat(original);
    EXPECT_EQ(s().step, 2);
    EXPECT_EQ(s().chapter, 3);
    EXPECT_FALSE(s().showTranslation);
    EXPECT_TRUE(view.captionsShown);
    EXPECT_EQ(s().sentence.checklist[1], 499);
    EXPECT_EQ(s().results.score(1, 13), 7);
    EXPECT_EQ(s().results.date(2, 50).str(), "1/1");
    ASSERT_TRUE(trainer->save());
    EXPECT_EQ(file("save.dat"), original);
}

TEST_F(TrainerSavesTest, EverythingSavedIsBackAfterARestart) {
    s().step = 4;
    s().chapter = 10;
    s().sentence.randomOrder = true;
    s().showPoint = false;
    s().sentence.checklist[0] = 321;
    s().results.clear(0);
    s().results.scores[9][49] = 3;
    s().results.dates[9][49].assign("2/29");
    ASSERT_TRUE(trainer->save());
    const session::SessionState before = s();
    startTrainer();
    EXPECT_EQ(s().sentence.checklist[0], 321);
    EXPECT_EQ(s().step, 4);
    EXPECT_EQ(s().chapter, 10);
    EXPECT_TRUE(s().sentence.randomOrder);
    EXPECT_FALSE(s().showPoint);
    EXPECT_TRUE(s().showTranslation);
    EXPECT_EQ(s().results, before.results);
    EXPECT_EQ(s().mode, session::SessionMode::Study);
    EXPECT_EQ(slot(), 1);
    std::array<std::int32_t, 10> chapter40;
    for (int i = 0; i < 10; ++i)
        chapter40[i] = 391 + i;
    EXPECT_NE(s().sentence.order, chapter40) << "random order is on: the order is built afresh";
}

TEST_F(TrainerSavesTest, ALongerFileLoadsAndItsExtraBytesAreDropped) {
    startWithSaveDat(handmadeSaveDat() + std::string(100, 'x'));
    EXPECT_EQ(s().chapter, 3);
    ASSERT_TRUE(trainer->save());
    EXPECT_EQ(file("save.dat"), handmadeSaveDat());
}

TEST_F(TrainerSavesTest, AShortFileKeepsTheDefaultsButWhatItHadOfTheResults) {
    startWithSaveDat(handmadeSaveDat().substr(0, 3000));
    EXPECT_EQ(s().step, 1);
    EXPECT_EQ(s().chapter, 1);
    EXPECT_EQ(s().sentence.checklist[0], 0);
    EXPECT_EQ(s().results.score(1, 13), 7);
    EXPECT_EQ(s().results.score(2, 50), 10);
    EXPECT_EQ(s().results.date(2, 50).length, 0) << "past the end of the short file";
    EXPECT_EQ(trainer->sentenceLabel().font.pixels(), 24);
}

TEST_F(TrainerSavesTest, OutOfRangeValuesNeverReachTheSession) {
    std::string bytes = handmadeSaveDat();
    putInt(bytes, 0, 9);
    putInt(bytes, 4, -4);
    putInt(bytes, 52, 9999);
    putInt(bytes, scoreOffset(1, 13), 12);
    bytes[17952] = 7;
    startWithSaveDat(bytes);
    EXPECT_EQ(s().step, 1);
    EXPECT_EQ(s().chapter, 1);
    EXPECT_EQ(s().sentence.checklist[0], 499) << "the list closes up";
    EXPECT_EQ(s().results.score(1, 13), -1);
    EXPECT_TRUE(s().showTranslation);
}

TEST_F(TrainerSavesTest, AReadOnlySaveFileIsMadeWritableLoadsAndCanBeSaved) {
    dir.write("savedata/save.dat", handmadeSaveDat());
    ::chmod(dir.file("savedata/save.dat").c_str(), 0444);
    startTrainer();
    struct stat st {};
    ::stat(dir.file("savedata/save.dat").c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0644u);
    EXPECT_EQ(s().chapter, 3);
    s().chapter = 4;
    EXPECT_TRUE(trainer->save());
    EXPECT_EQ(file("save.dat")[4], 4);
}

TEST_F(TrainerSavesTest, AnUnreadableOrMissingSaveFileLeavesTheDefaults) {
    EXPECT_FALSE(std::filesystem::exists(dir.file("savedata/save.dat"))) << "a start creates nothing";
    std::filesystem::create_directory(dir.file("savedata/save.dat"));
    startTrainer();
    EXPECT_EQ(s().step, 1);
    EXPECT_EQ(view.label.caption, "Sentence 1.");
}

TEST_F(TrainerSavesTest, AFailedSaveLeavesTheOldFilesWhole) {
    startWithSaveDat(handmadeSaveDat());
    ASSERT_TRUE(trainer->save());
    // fs.dat cannot be replaced by a folder's worth of file; save.dat is written first.
    std::filesystem::remove(dir.file("savedata/fs.dat"));
    std::filesystem::create_directory(dir.file("savedata/fs.dat"));
    s().chapter = 9;
    EXPECT_FALSE(trainer->save());
    EXPECT_EQ(view.faults, std::vector<std::string>{dir.file("savedata/fs.dat")});
    EXPECT_EQ(file("save.dat")[4], 9);
    for (const auto& entry : std::filesystem::directory_iterator(dir.file("savedata")))
        EXPECT_TRUE(entry.path().filename() == "save.dat" || entry.path().filename() == "fs.dat")
            << "no temporary file is left behind: " << entry.path();
}

TEST_F(TrainerSavesTest, TheSentenceLabelIsWrittenAndComesBack) {
    records::FontSpec chosen = trainer->sentenceLabel().font;
    chosen.name = platform::utf8ToCp932("Ｎｏ Ｓｕｃｈ Ｆａｃｅ").value();
    chosen.color = records::rgb(0, 0, 255);
    chosen.style = records::Italic | records::Underline;
    trainer->chooseSentenceFont(chosen);
    trainer->showStudyView(); // placed as a start places it
    ASSERT_TRUE(trainer->save());
    const std::string stream = file("fs.dat");
    EXPECT_EQ(stream, records::writeLabelStream(trainer->sentenceLabel()));
    startTrainer();
    const records::FontSpec& back = trainer->sentenceLabel().font;
    EXPECT_EQ(back.name, chosen.name) << "the stored face name is kept";
    EXPECT_EQ(back.color, chosen.color);
    EXPECT_EQ(back.style, chosen.style);
    EXPECT_EQ(view.label, trainer->sentenceLabel());
    ASSERT_TRUE(trainer->save());
    EXPECT_EQ(file("fs.dat"), stream);
}

TEST_F(TrainerSavesTest, AnAbsurdHeightInTheFontStreamIsSkippedAndTheRestRead) {
    records::FontSpec chosen = trainer->sentenceLabel().font;
    chosen.color = records::rgb(0, 128, 0);
    chosen.style = records::Italic;
    trainer->chooseSentenceFont(chosen);
    ASSERT_TRUE(trainer->save());
    std::string stream = file("fs.dat");
    // An absurd height between the colour and the style: both stand, the height stays the default.
    const std::string height = "\x0b" "Font.Height\x02\xE8";
    const auto at = stream.find(height);
    ASSERT_NE(at, std::string::npos);
    stream.replace(at, height.size(), std::string("\x0b" "Font.Height\x04\x00\x00\x00\x80", 17));
    dir.write("savedata/fs.dat", stream);
    startTrainer();
    EXPECT_EQ(trainer->sentenceLabel().font.color, records::rgb(0, 128, 0));
    EXPECT_EQ(trainer->sentenceLabel().font.pixels(), 24);
    EXPECT_EQ(trainer->sentenceLabel().font.style, records::Italic);
}

// ---- faults of the disk ------------------------------------------------------------------------

namespace {

using Call = FailingFileSystem::Call;

class SaveFaultsTest : public TrainerTest {
protected:
    // The old files a failed save must keep, then changes that the next save must write: a
    // place, a checklist entry, a kept score, a font.
    void saveThenLearnSomething() {
        ASSERT_TRUE(trainer->save());
        oldSave = file("save.dat");
        oldFs = file("fs.dat");
        s().step = 3;
        s().chapter = 7;
        s().sentence.checklist[0] = 268;
        s().results.scores[0][26] = 9;
        s().results.dates[0][26].assign("12/8");
        records::FontSpec font = trainer->sentenceLabel().font;
        font.color = records::rgb(0, 0, 255);
        trainer->chooseSentenceFont(font);
    }
    // A fault, then: one report naming the file, the session and the old files untouched; then
    // the fault mended and the next save writes exactly what the session and the label hold.
    void expectFaultThenRecovery(const std::function<void()>& mend, const char* faultFile) {
        const records::SaveRecord record = session::toSaveRecord(s());
        const records::StoredLabel label = trainer->sentenceLabel();
        EXPECT_FALSE(trainer->save());
        EXPECT_EQ(view.faults, std::vector<std::string>{dir.file(std::string("savedata/") + faultFile)});
        EXPECT_TRUE(session::toSaveRecord(s()) == record) << "a failed save changes nothing in memory";
        EXPECT_EQ(trainer->sentenceLabel(), label);
        if (std::string(faultFile) == "save.dat") {
            EXPECT_EQ(file("save.dat"), oldSave);
        }
        EXPECT_EQ(file("fs.dat"), oldFs);
        mend();
        EXPECT_TRUE(trainer->save());
        EXPECT_EQ(file("save.dat"), records::encodeSaveRecord(record));
        EXPECT_EQ(file("fs.dat"), records::writeLabelStream(label));
    }

    std::string oldSave;
    std::string oldFs;
};

struct InjectedFault {
    const char* what;
    Call call;
    const char* file;
    int error;
};

void PrintTo(const InjectedFault& c, std::ostream* os) { *os << c.what; }

const InjectedFault injectedFaults[] = {
    {"read_only_folder", Call::CreateNew, "save.dat", EACCES},
    {"disk_full_in_save_dat", Call::ShortWrite, "save.dat", ENOSPC},
    {"disk_full_in_fs_dat", Call::ShortWrite, "fs.dat", ENOSPC},
    {"device_error_at_the_flush", Call::Sync, "fs.dat", EIO},
};

class InjectedSaveFault : public SaveFaultsTest, public testing::WithParamInterface<InjectedFault> {};

} // namespace

TEST_P(InjectedSaveFault, LeavesTheSessionAndTheNextSaveWritesEverything) {
    FailingFileSystem failing(GetParam().call, GetParam().file, GetParam().error);
    saveThenLearnSomething();
    trainer->fileSystem = &failing;
    expectFaultThenRecovery([&] { failing.heal(); }, GetParam().file);
    trainer->fileSystem = &platform::systemFileSystem(); // `failing` goes first
}

INSTANTIATE_TEST_SUITE_P(Faults, InjectedSaveFault, testing::ValuesIn(injectedFaults),
                         [](const auto& info) { return std::string(info.param.what); });

TEST_F(SaveFaultsTest, AMissingFolder) {
    const std::string folder = dir.file("savedata");
    saveThenLearnSomething();
    std::filesystem::remove_all(folder);
    oldSave = oldFs = "missing"; // gone with the folder
    expectFaultThenRecovery([&] { std::filesystem::create_directory(folder); }, "save.dat");
}

TEST_F(SaveFaultsTest, AFullDisk) {
    MountedFolder disk(dir.file("savedata"), 256 * 1024);
    if (!disk.mounted())
        GTEST_SKIP() << "cannot mount a small disk here: " << disk.why();
    saveThenLearnSomething();
    ASSERT_TRUE(disk.fill());
    expectFaultThenRecovery([&] { disk.unfill(); }, "save.dat");
}

TEST_F(SaveFaultsTest, AReadOnlyDisk) {
    MountedFolder disk(dir.file("savedata"), 256 * 1024);
    if (!disk.mounted())
        GTEST_SKIP() << "cannot mount a small disk here: " << disk.why();
    saveThenLearnSomething();
    ASSERT_TRUE(disk.setReadOnly(true));
    expectFaultThenRecovery([&] { ASSERT_TRUE(disk.setReadOnly(false)); }, "save.dat");
}
