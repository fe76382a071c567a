#pragma once
#include "platform/bell.h"
#include "platform/sound.h"
#include "platform/wave_playback.h"

#include <QLibrary>
#include <QObject>

#include <functional>

namespace platform {

// Plays WAVE files through the sound system. Qt Multimedia and the sound server are brought up
// shortly after start, once the windows are drawn (they live in a module loaded then), and every
// output stays open from then on; the voice about to be asked for is read beforehand.
//
// Everything the module makes is stopped and destroyed here, on the main thread, while the
// application object still exists: the lines before the bell, both before the module. The module
// itself stays loaded to the end of the process, as the sound libraries it brought in keep
// objects of their own until then.
class WavPlayer final : public Sound, private AudioDevice {
public:
    // The beep is the desktop's bell from the module; where that cannot be played, the window
    // system's own beep, which only the window layer can reach.
    explicit WavPlayer(std::function<void()> fallbackBeep);
    ~WavPlayer() override;
    void playWave(const std::string& path) override { playback_.play(path); }
    void prepare(const std::string& path) override { playback_.prepare(path); }
    // The desktop's bell, beside a voice under way, which it never cuts off.
    void beep() override;

private:
    std::unique_ptr<AudioLine> open(const WaveFormat& format) override;
    void later(std::function<void()> task) override;

    // The module's entry points, resolved when it is first needed.
    void loadModule();

    QObject tasks_; // deferred work dies with the player
    QLibrary module_;
    bool moduleTried_ = false;
    AudioLine* (*openLine_)(const WaveFormat*) = nullptr;
    bool refusalReported_ = false;
    Bell* (*openBell_)() = nullptr;
    std::function<void()> fallbackBeep_;
    std::unique_ptr<Bell> bell_;
    bool bellTried_ = false;
    WavePlayback playback_{*this}; // last: its lines close before anything else goes
};

} // namespace platform
