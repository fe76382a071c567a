#pragma once
#include "platform/sound.h"
#include "platform/wave_playback.h"

#include <QLibrary>
#include <QObject>

#include <functional>

namespace platform {

// Plays WAVE files through the sound system. Qt Multimedia and the sound server are brought up
// shortly after start, once the windows are drawn (they live in a module loaded then), and every
// output stays open from then on; the voice about to be asked for is read beforehand.
class WavPlayer final : public Sound, private AudioDevice {
public:
    // The warning beep is the desktop's own, which only the window layer can reach.
    explicit WavPlayer(std::function<void()> beep);
    ~WavPlayer() override;
    void playWave(const std::string& path) override { playback_.play(path); }
    void prepare(const std::string& path) override { playback_.prepare(path); }
    void beep() override;

private:
    std::unique_ptr<AudioLine> open(const WaveFormat& format) override;
    void later(std::function<void()> task) override;

    using OpenLine = AudioLine* (*)(const WaveFormat*);
    OpenLine openLine();

    QObject tasks_; // deferred work dies with the player
    QLibrary module_;
    OpenLine openLine_ = nullptr;
    bool moduleTried_ = false;
    std::function<void()> beep_;
    WavePlayback playback_{*this}; // last: its lines close before anything else goes
};

} // namespace platform
