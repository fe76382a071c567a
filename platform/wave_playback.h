#pragma once
#include "platform/wave_file.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// An audio output of one sample format, open and running, so that a sound starts the moment it
// is handed over rather than after a stream has been set up.
class AudioLine {
public:
    virtual ~AudioLine() = default;
    // Plays the wave from its first sample, in place of whatever this line was playing. False when
    // the line has stopped for good (the sound server went away): it plays nothing any more.
    virtual bool start(std::shared_ptr<const Wave> wave) = 0;
    // Cuts off what this line plays; it stays open.
    virtual void stop() = 0;
};

// Where lines come from: the sound system, or a recorder in the tests.
class AudioDevice {
public:
    virtual ~AudioDevice() = default;
    // A line for the format, or nothing when the sound system cannot play it.
    virtual std::unique_ptr<AudioLine> open(const WaveFormat& format) = 0;
    // Runs the task once, later, when the program has nothing more urgent to do (after its windows
    // are drawn); opening a line can take a while and must not hold up the start.
    virtual void later(std::function<void()> task) = 0;
};

// Plays WAVE files by path: a new sound cuts off the one under way, and a missing or unplayable
// file plays nothing. prepare() reads a file that is about to be asked for and opens the line
// for its format, so that play() only has to hand the samples over. Lines stay open once opened.
// A format the sound system refused is asked for again, so that a sound server that was not
// ready, or restarted, does not leave the learner without sound for the rest of the session.
class WavePlayback {
public:
    explicit WavePlayback(AudioDevice& device) : device_(device) {}
    ~WavePlayback();
    WavePlayback(const WavePlayback&) = delete;
    WavePlayback& operator=(const WavePlayback&) = delete;

    void prepare(const std::string& path);
    void play(const std::string& path);

private:
    // When a file was last written and how long it is: a file replaced after it was read is read again.
    struct Stamp {
        std::int64_t modified = 0;
        std::uintmax_t size = 0;
        bool operator==(const Stamp&) const = default;
    };
    struct Prepared {
        std::string path;
        Stamp stamp;
        std::shared_ptr<const Wave> wave;
    };
    struct Line {
        WaveFormat format;
        std::unique_ptr<AudioLine> line; // empty: the sound system could not open this format
        // A press asked for this line in vain: later presses ask again only in the background.
        bool refusedAtPress = false;
    };

    static std::optional<Stamp> stampOf(const std::string& path);
    std::shared_ptr<const Wave> load(const std::string& path);
    Line& entryFor(const WaveFormat& format);
    AudioLine* lineForPress(const WaveFormat& format);
    void openInBackground(const WaveFormat& format);
    void dropLine(const WaveFormat& format);
    bool hasOpenLine(const WaveFormat& format) const;
    void stopAll();

    AudioDevice& device_;
    std::vector<Prepared> prepared_; // the few files read last, the latest at the back
    std::vector<Line> lines_;
    std::vector<WaveFormat> pending_; // lines asked for in the background and not opened yet
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

} // namespace platform
