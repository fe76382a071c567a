#pragma once
#include "platform/sound.h"

#include <memory>

class QSoundEffect;

namespace platform {

// Plays WAVE files asynchronously through Qt Multimedia. The audio back end is brought up at the
// first sound, not at start, so that a silent start costs nothing.
class WavPlayer final : public Sound {
public:
    WavPlayer();
    ~WavPlayer() override;
    void playWave(const std::string& path) override;
    void beep() override;

private:
    std::unique_ptr<QSoundEffect> effect_;
};

} // namespace platform
