#include "windows/window_fixture.h"

#include "platform/cp932.h"
#include "platform/whole_file.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <sys/stat.h>

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

class SaveStateTest : public WindowTest {
protected:
    void SetUp() override {
        createOnSetUp = false;
        WindowTest::SetUp();
    }
    session::SessionState& s() { return form1->trainer().arrange(); }
    std::string file(const char* name) { return platform::readWholeFile(dir.file(name)).value_or("missing"); }
    // The bytes of fs.dat after the name of a property: its value type and first value byte.
    std::string valueOf(const std::string& stream, const std::string& property, std::size_t n) {
        const std::string key = char(property.size()) + property;
        const auto at = stream.find(key);
        return at == std::string::npos ? std::string() : stream.substr(at + key.size(), n);
    }
};

} // namespace

TEST_F(SaveStateTest, AFileOfAnotherCopyLoadsAndIsWrittenBackByteForByte) {
    const std::string original = handmadeSaveDat();
    dir.write("savedata/save.dat", original);
    createWindows();
    EXPECT_EQ(s().step, 2);
    EXPECT_EQ(s().chapter, 3);
    EXPECT_EQ(s().showTranslation, 0);
    EXPECT_EQ(s().showShortcuts, 1);
    EXPECT_TRUE(form1->lbl_f1->isVisibleTo(form1.get()));
    EXPECT_EQ(s().sentence.checklist[1], 499);
    EXPECT_EQ(s().results.score(1, 13), 7);
    EXPECT_EQ(s().results.date(2, 50).str(), "1/1");
    EXPECT_EQ(form1->lbl_step->text(), QStringLiteral("2"));
    ASSERT_TRUE(form1->trainer().save());
    EXPECT_EQ(file("savedata/save.dat"), original);
}

TEST_F(SaveStateTest, EverythingSavedIsBackAfterARestart) {
    createWindows();
    s().step = 4;
    s().chapter = 10;
    s().sentence.randomOrder = 1;
    s().showPoint = 0;
    s().sentence.checklist[0] = 321;
    s().results.clear(0);
    s().results.scores[9][49] = 3;
    s().results.dates[9][49].assign("2/29");
    ASSERT_TRUE(form1->trainer().save());
    EXPECT_EQ(file("savedata/save.dat").size(), 17956u);
    restart();
    EXPECT_EQ(s().step, 4);
    EXPECT_EQ(s().chapter, 10);
    EXPECT_EQ(s().sentence.randomOrder, 1);
    EXPECT_EQ(s().showPoint, 0);
    EXPECT_EQ(s().showTranslation, 1);
    EXPECT_EQ(s().sentence.checklist[0], 321);
    EXPECT_EQ(s().results.score(10, 50), 3);
    EXPECT_EQ(s().results.date(10, 50).str(), "2/29");
    EXPECT_EQ(s().results.score(1, 1), -1);
    EXPECT_EQ(s().mode, session::SessionMode::Study);
    EXPECT_EQ(s().sentence.currentSlot, 1);
    std::array<std::int32_t, 10> chapter40;
    for (int i = 0; i < 10; ++i)
        chapter40[i] = 391 + i;
    EXPECT_NE(s().sentence.order, chapter40) << "random order is on: the order is built afresh";
}

TEST_F(SaveStateTest, ALongerFileLoadsAndItsExtraBytesAreDropped) {
    dir.write("savedata/save.dat", handmadeSaveDat() + std::string(100, 'x'));
    createWindows();
    EXPECT_EQ(s().chapter, 3);
    ASSERT_TRUE(form1->trainer().save());
    EXPECT_EQ(file("savedata/save.dat"), handmadeSaveDat());
}

TEST_F(SaveStateTest, AShortFileKeepsTheDefaultsButWhatItHadOfTheResults) {
    dir.write("savedata/save.dat", handmadeSaveDat().substr(0, 3000));
    createWindows();
    EXPECT_EQ(s().step, 1);
    EXPECT_EQ(s().chapter, 1);
    EXPECT_EQ(s().sentence.checklist[0], 0);
    EXPECT_EQ(s().results.score(1, 13), 7);
    EXPECT_EQ(s().results.score(2, 50), 10);
    EXPECT_EQ(s().results.date(2, 50).length, 0) << "past the end of the short file";
    EXPECT_EQ(form1->Lbl_eibun->fontSpec().pixels(), 24);
}

TEST_F(SaveStateTest, OutOfRangeValuesNeverReachTheSession) {
    std::string bytes = handmadeSaveDat();
    putInt(bytes, 0, 9);
    putInt(bytes, 4, -4);
    putInt(bytes, 52, 9999);
    putInt(bytes, scoreOffset(1, 13), 12);
    bytes[17952] = 7;
    dir.write("savedata/save.dat", bytes);
    createWindows();
    EXPECT_EQ(s().step, 1);
    EXPECT_EQ(s().chapter, 1);
    EXPECT_EQ(s().sentence.checklist[0], 499) << "the list closes up";
    EXPECT_EQ(s().results.score(1, 13), -1);
    EXPECT_EQ(s().showTranslation, 1);
}

TEST_F(SaveStateTest, AReadOnlySaveFileLoadsAndCanBeSaved) {
    dir.write("savedata/save.dat", handmadeSaveDat());
    ::chmod(dir.file("savedata/save.dat").c_str(), 0444);
    createWindows();
    EXPECT_EQ(s().chapter, 3);
    s().chapter = 4;
    EXPECT_TRUE(form1->trainer().save());
    EXPECT_EQ(file("savedata/save.dat")[4], 4);
}

TEST_F(SaveStateTest, AnUnreadableSaveFileLeavesTheDefaults) {
    std::filesystem::create_directory(dir.file("savedata/save.dat"));
    createWindows();
    EXPECT_EQ(s().step, 1);
    EXPECT_EQ(form1->Lbl_eibun->text(), QStringLiteral("Sentence 1."));
}

TEST_F(SaveStateTest, AMissingFolderIsReportedAndClosingIsRefused) {
    createWindows();
    form1->show();
    std::filesystem::remove_all(dir.file("savedata"));
    QCloseEvent event;
    QCoreApplication::sendEvent(form1.get(), &event);
    EXPECT_FALSE(event.isAccepted());
    EXPECT_FALSE(form1->buttonBitmaps()[TForm1::BgBitmap].isNull()) << "the bitmaps stay loaded";
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(errors[0].contains(QString::fromStdString(dir.file("savedata/save.dat"))));
    EXPECT_FALSE(std::filesystem::exists(dir.file("savedata")));
}

TEST_F(SaveStateTest, AFailedSaveLeavesTheOldFilesWhole) {
    dir.write("savedata/save.dat", handmadeSaveDat());
    createWindows();
    ASSERT_TRUE(form1->trainer().save());
    const std::string oldFs = file("savedata/fs.dat");
    // fs.dat cannot be replaced by a folder's worth of file; save.dat is written first.
    std::filesystem::remove(dir.file("savedata/fs.dat"));
    std::filesystem::create_directory(dir.file("savedata/fs.dat"));
    s().chapter = 9;
    EXPECT_FALSE(form1->trainer().save());
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(errors[0].contains(QStringLiteral("fs.dat")));
    EXPECT_EQ(file("savedata/save.dat")[4], 9);
    for (const auto& entry : std::filesystem::directory_iterator(dir.file("savedata")))
        EXPECT_TRUE(entry.path().filename() == "save.dat" || entry.path().filename() == "fs.dat")
            << "no temporary file is left behind: " << entry.path();
}

TEST_F(SaveStateTest, TheSentenceFontIsWrittenAndComesBack) {
    createWindows();
    records::FontSpec chosen = form1->Lbl_eibun->fontSpec();
    chosen.name = platform::utf8ToCp932("Ｎｏ Ｓｕｃｈ Ｆａｃｅ").value();
    chosen.color = records::rgb(0, 0, 255);
    chosen.style = records::Italic | records::Underline;
    form1->trainer().chooseSentenceFont(chosen);
    form1->trainer().showStudyView(); // placed as a start places it
    ASSERT_TRUE(form1->trainer().save());
    const std::string stream = file("savedata/fs.dat");
    EXPECT_EQ(stream.substr(0, 4), "TPF0");
    EXPECT_EQ(valueOf(stream, "Font.Height", 2), "\x02\xE8");
    EXPECT_EQ(valueOf(stream, "Font.Color", 8), std::string("\x07\x06" "clBlue"));
    restart();
    const records::FontSpec& back = form1->Lbl_eibun->fontSpec();
    EXPECT_EQ(back.name, chosen.name) << "the stored face name is kept";
    EXPECT_EQ(back.color, chosen.color);
    EXPECT_EQ(back.style, chosen.style);
    EXPECT_EQ(form1->Lbl_eibun->font().family(), QStringLiteral("IPAPGothic"))
        << "a face this machine lacks is drawn in an installed one";
    ASSERT_TRUE(form1->trainer().save());
    EXPECT_EQ(file("savedata/fs.dat"), stream);
}

TEST_F(SaveStateTest, AnAbsurdHeightInTheFontStreamIsSkippedAndTheRestRead) {
    createWindows();
    records::FontSpec chosen = form1->Lbl_eibun->fontSpec();
    chosen.color = records::rgb(0, 128, 0);
    chosen.style = records::Italic;
    form1->trainer().chooseSentenceFont(chosen);
    ASSERT_TRUE(form1->trainer().save());
    std::string stream = file("savedata/fs.dat");
    // An absurd height between the colour and the style: both stand, the height stays the default.
    const std::string height = "\x0b" "Font.Height\x02\xE8";
    const auto at = stream.find(height);
    ASSERT_NE(at, std::string::npos);
    stream.replace(at, height.size(), std::string("\x0b" "Font.Height\x04\x00\x00\x00\x80", 17));
    dir.write("savedata/fs.dat", stream);
    restart();
    EXPECT_EQ(form1->Lbl_eibun->fontSpec().color, records::rgb(0, 128, 0));
    EXPECT_EQ(form1->Lbl_eibun->fontSpec().pixels(), 24);
    EXPECT_EQ(form1->Lbl_eibun->fontSpec().style, records::Italic);
}
