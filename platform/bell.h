#pragma once

namespace platform {

// The desktop's bell sound, played beside whatever else is playing: it never cuts off a voice.
class Bell {
public:
    virtual ~Bell() = default;
    // Starts the bell and returns at once; false when it cannot be played (no sound theme that
    // has one, no sound server).
    virtual bool ring() = 0;
};

} // namespace platform
