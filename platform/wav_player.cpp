#include "platform/wav_player.h"

#include <QCoreApplication>
#include <QTimer>

namespace platform {
namespace {

// Long enough for the main window and its splash to be drawn first.
constexpr int bringUpDelayMs = 300;

} // namespace

WavPlayer::WavPlayer(std::function<void()> beep) : beep_(std::move(beep)) {}
WavPlayer::~WavPlayer() = default;

void WavPlayer::beep() { beep_(); }

WavPlayer::OpenLine WavPlayer::openLine() {
    if (!moduleTried_) {
        moduleTried_ = true;
        module_.setFileName(QCoreApplication::applicationDirPath() + QStringLiteral("/yomirin_audio"));
        openLine_ = reinterpret_cast<OpenLine>(module_.resolve("yomirin_open_audio_line"));
        if (!openLine_)
            qWarning("No sound: %s", qUtf8Printable(module_.errorString()));
    }
    return openLine_;
}

std::unique_ptr<AudioLine> WavPlayer::open(const WaveFormat& format) {
    const OpenLine open = openLine();
    return std::unique_ptr<AudioLine>(open ? open(&format) : nullptr);
}

void WavPlayer::later(std::function<void()> task) {
    QTimer::singleShot(bringUpDelayMs, &tasks_, std::move(task));
}

} // namespace platform
