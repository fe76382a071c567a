#include "platform/wave_playback.h"
#include "temp_app_dir.h"
#include "wave_bytes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <vector>

using platform::AudioLine;
using platform::Wave;
using platform::WaveFormat;

namespace {

// What every line did, in order: "open 16000", "start 16000 <samples>", "stop 16000".
struct Journal {
    std::vector<std::string> events;
};

std::string nameOf(const WaveFormat& format) { return std::to_string(format.sampleRate); }

class FakeLine : public AudioLine {
public:
    FakeLine(Journal& journal, WaveFormat format) : journal_(journal), format_(format) {}
    bool start(std::shared_ptr<const Wave> wave) override {
        journal_.events.push_back((dead ? "dead " : "start ") + nameOf(format_) + " " + wave->samples);
        return !dead;
    }
    bool dead = false;
    void stop() override { journal_.events.push_back("stop " + nameOf(format_)); }

private:
    Journal& journal_;
    WaveFormat format_;
};

class FakeDevice : public platform::AudioDevice {
public:
    std::unique_ptr<AudioLine> open(const WaveFormat& format) override {
        journal.events.push_back("open " + nameOf(format));
        if (refuse)
            return nullptr;
        auto line = std::make_unique<FakeLine>(journal, format);
        last = line.get();
        return line;
    }
    void later(std::function<void()> task) override { tasks.push_back(std::move(task)); }
    void runLater() {
        auto due = std::move(tasks);
        tasks.clear();
        for (auto& task : due)
            task();
    }

    Journal journal;
    std::vector<std::function<void()>> tasks;
    bool refuse = false;
    FakeLine* last = nullptr;
};

class WavePlaybackTest : public testing::Test {
protected:
    std::string write(const std::string& name, const std::string& samples, int rate = 16000) {
        dir.write("onsei/" + name, wave_bytes::mono16(samples, rate));
        return dir.file("onsei/" + name);
    }
    std::vector<std::string>& events() { return device.journal.events; }

    TempAppDir dir;
    FakeDevice device;
    platform::WavePlayback playback{device};
};

} // namespace

TEST_F(WavePlaybackTest, APressOnlyStartsWhatPrepareMadeReady) {
    const std::string voice = write("001.wav", "v1");
    playback.prepare(voice);
    EXPECT_TRUE(events().empty()) << "the output is opened later, not during the call";
    device.runLater();
    EXPECT_EQ(events(), (std::vector<std::string>{"open 16000"}));
    events().clear();
    playback.play(voice);
    playback.play(voice);
    EXPECT_EQ(events(), (std::vector<std::string>{"stop 16000", "start 16000 v1", "stop 16000",
                                                  "start 16000 v1"}));
}

TEST_F(WavePlaybackTest, PreparingTheSameFormatAgainOpensNothingMore) {
    playback.prepare(write("001.wav", "v1"));
    playback.prepare(write("002.wav", "v2"));
    device.runLater();
    playback.prepare(write("003.wav", "v3"));
    EXPECT_TRUE(device.tasks.empty());
    EXPECT_EQ(events(), (std::vector<std::string>{"open 16000"}));
}

TEST_F(WavePlaybackTest, APressBeforeTheOutputIsReadyOpensItThen) {
    const std::string voice = write("001.wav", "v1");
    playback.prepare(voice);
    playback.play(voice);
    device.runLater();
    EXPECT_EQ(events(), (std::vector<std::string>{"open 16000", "start 16000 v1"}));
}

TEST_F(WavePlaybackTest, ANewSoundCutsOffTheOneUnderWayOnEveryOutput) {
    const std::string voice = write("001.wav", "v1");
    const std::string chime = write("seikai.wav", "ch", 44100);
    playback.play(voice);
    playback.play(chime);
    playback.play(voice);
    EXPECT_EQ(events(), (std::vector<std::string>{
                            "open 16000", "start 16000 v1",                  // the voice
                            "stop 16000", "open 44100", "start 44100 ch",    // the chime
                            "stop 16000", "stop 44100", "start 16000 v1"})); // the voice again
}

TEST_F(WavePlaybackTest, WhatCannotBePlayedStillCutsOffTheSoundUnderWay) {
    const std::string voice = write("001.wav", "v1");
    dir.write("onsei/broken.wav", "RIFF....WAVEnothing");
    std::filesystem::create_directories(dir.file("onsei/folder.wav"));
    playback.play(voice);
    for (const std::string& silent : {dir.file("onsei/.wav"), dir.file("onsei/broken.wav"),
                                      dir.file("onsei/folder.wav")}) {
        events().clear();
        playback.prepare(silent);
        playback.play(silent);
        EXPECT_EQ(events(), (std::vector<std::string>{"stop 16000"})) << silent;
        EXPECT_TRUE(device.tasks.empty());
    }
}

TEST_F(WavePlaybackTest, AFileChangedOrRemovedAfterPrepareIsNotPlayedFromMemory) {
    const std::string voice = write("001.wav", "v1");
    playback.prepare(voice);
    write("001.wav", "v2 longer!");
    playback.play(voice);
    std::filesystem::remove(voice);
    playback.play(voice);
    EXPECT_EQ(events(), (std::vector<std::string>{"open 16000", "start 16000 v2 longer!", "stop 16000"}));
}

TEST_F(WavePlaybackTest, ARefusedFormatIsAskedForAgainWithoutMakingEveryPressWait) {
    device.refuse = true;
    const std::string voice = write("001.wav", "v1");
    playback.prepare(voice);
    device.runLater();
    playback.play(voice); // refused in the background: the press asks once more, itself
    playback.play(voice); // refused at a press: asked again in the background only
    playback.play(voice);
    EXPECT_EQ(device.tasks.size(), 1u) << "one background request at a time";
    EXPECT_EQ(events(), (std::vector<std::string>{"open 16000", "open 16000"}));
    events().clear();
    device.runLater();
    device.refuse = false;
    playback.play(voice);
    device.runLater();
    playback.play(voice);
    EXPECT_EQ(events(), (std::vector<std::string>{"open 16000", "open 16000", "stop 16000", "start 16000 v1"}))
        << "the sound system back: the next press after the line opened plays";
}

TEST_F(WavePlaybackTest, ALineThatDiedIsOpenedAfreshForTheSound) {
    const std::string voice = write("001.wav", "v1");
    playback.play(voice);
    device.last->dead = true;
    playback.play(voice);
    playback.play(voice);
    EXPECT_EQ(events(), (std::vector<std::string>{"open 16000", "start 16000 v1",
                                                  "stop 16000", "dead 16000 v1", "open 16000", "start 16000 v1",
                                                  "stop 16000", "start 16000 v1"}));
}

TEST_F(WavePlaybackTest, WorkLeftForLaterDoesNothingOnceThePlayerIsGone) {
    FakeDevice other;
    {
        platform::WavePlayback shortLived(other);
        shortLived.prepare(write("001.wav", "v1"));
    }
    other.runLater();
    EXPECT_TRUE(other.journal.events.empty());
}
