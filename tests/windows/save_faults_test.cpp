#include "windows/window_fixture.h"

#include "failing_file_system.h"
#include "mounted_folder.h"
#include "platform/whole_file.h"
#include "session/saved_state.h"

#include <QCloseEvent>
#include <QCoreApplication>

#include <filesystem>

using Call = FailingFileSystem::Call;

namespace {

// What a save writes: the session's record and the sentence label as the window has it.
struct Saved {
    records::SaveRecord record;
    records::FontSpec font;
    QString caption;
    QRect geometry;
    bool operator==(const Saved&) const = default;
};

class SaveFaultsTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        form1->show();
    }
    // The old files a failed save must keep, then changes that the next save must write: a
    // place, a checklist entry, a kept score, a font.
    void saveThenLearnSomething() {
        ASSERT_TRUE(form1->trainer().save());
        oldSave = file("save.dat");
        oldFs = file("fs.dat");
        session::SessionState& s = form1->trainer().arrange();
        s.step = 3;
        s.chapter = 7;
        s.sentence.checklist[0] = 268;
        s.results.scores[0][26] = 9;
        s.results.dates[0][26].assign("12/8");
        records::FontSpec font = form1->Lbl_eibun->fontSpec();
        font.color = records::rgb(0, 0, 255);
        form1->trainer().chooseSentenceFont(font);
    }
    Saved now() const {
        return {session::toSaveRecord(form1->state()), form1->Lbl_eibun->fontSpec(),
                form1->Lbl_eibun->caption(), form1->Lbl_eibun->geometry()};
    }
    bool close() {
        QCloseEvent event;
        QCoreApplication::sendEvent(form1.get(), &event);
        return event.isAccepted();
    }
    std::string file(const char* name) const {
        return platform::readWholeFile(dir.file(std::string("savedata/") + name)).value_or("missing");
    }
    // The files hold exactly what the session and the label had.
    void expectFilesHold(const Saved& saved) {
        EXPECT_EQ(file("save.dat"), records::encodeSaveRecord(saved.record));
        records::StoredLabel label;
        ASSERT_TRUE(records::readLabelStream(file("fs.dat"), label));
        EXPECT_EQ(label.font.color, saved.font.color);
        EXPECT_EQ(label.font.name, saved.font.name);
        EXPECT_EQ(label.font.height, saved.font.height);
    }
    // A fault, then: the close refused, one report naming the file, the session untouched; then
    // the fault mended and the close saves everything.
    void expectFaultThenRecovery(const std::function<void()>& mend, const char* faultFile) {
        const Saved before = now();
        EXPECT_FALSE(close());
        ASSERT_EQ(errors.size(), 1u);
        EXPECT_TRUE(errors[0].contains(QString::fromStdString(dir.file(std::string("savedata/") + faultFile))))
            << errors[0].toStdString();
        EXPECT_TRUE(form1->isVisible());
        EXPECT_TRUE(now() == before) << "a failed save changes nothing in memory";
        if (std::string(faultFile) == "save.dat") {
            EXPECT_EQ(file("save.dat"), oldSave);
        }
        EXPECT_EQ(file("fs.dat"), oldFs);
        mend();
        EXPECT_TRUE(close());
        expectFilesHold(before);
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
    form1->trainer().fileSystem = &failing;
    expectFaultThenRecovery([&] { failing.heal(); }, GetParam().file);
    form1->trainer().fileSystem = &platform::systemFileSystem(); // `failing` goes first
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
