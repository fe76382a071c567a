#pragma once
#include <thread>

namespace app {

// The font configuration takes milliseconds to read. Read on a second processor from the start,
// while Qt brings up its platform and the start files are read, it is ready when the first label
// asks for a face. The reading thread looks at the environment, so whatever changes the
// environment (a new display scale) waits for it first.
class FontConfiguration {
public:
    FontConfiguration();
    ~FontConfiguration();
    FontConfiguration(const FontConfiguration&) = delete;
    FontConfiguration& operator=(const FontConfiguration&) = delete;

    // Waits until the configuration is read; at once after the first time.
    void wait();
    // Waits, then gives the application its base face: controls that set no font draw with the
    // program's own face, and the desktop's default face, with the font search it would cost, is
    // never looked up.
    void applyBaseFont();

private:
    std::thread reading_;
};

} // namespace app
