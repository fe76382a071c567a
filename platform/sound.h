#pragma once
#include <string>

namespace platform {

// The sound seam. playWave starts a WAVE file and returns at once; a new file cuts off the one
// under way; a missing file plays nothing and raises nothing. beep is the desktop's default beep.
class Sound {
public:
    virtual ~Sound() = default;
    virtual void playWave(const std::string& path) = 0;
    // A hint that path is likely to be played soon: a player may read it and get its output ready
    // now, so that playWave only has to start it. Nothing is heard; ignoring the hint is correct.
    virtual void prepare(const std::string& path) { (void)path; }
    virtual void beep() = 0;
};

} // namespace platform
