#pragma once
#include <string>

namespace platform {

// The sound seam. playWave starts a WAVE file and returns at once; a new file cuts off the one
// under way; a missing file plays nothing and raises nothing. beep is the desktop's default beep.
class Sound {
public:
    virtual ~Sound() = default;
    virtual void playWave(const std::string& path) = 0;
    virtual void beep() = 0;
};

} // namespace platform
