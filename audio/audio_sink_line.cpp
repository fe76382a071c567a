// The sound system's side of the player, in a module of its own: Qt Multimedia and the sound
// server's client library are loaded only when the program first needs an output.
#include "platform/wave_playback.h"

#include <QAudioFormat>
#include <QAudioSink>
#include <QIODevice>
#include <QMediaDevices>

#include <algorithm>
#include <cstring>

namespace platform {
namespace {

// How far the output may run ahead of the program: a new sound waits behind at most this much
// silence. The output is fed in steps of 20 ms and the sound server starts a stream only once it
// holds more than one step, so much less would never start; and a busy moment of the window (a
// redraw) must not leave the server without samples.
constexpr int aheadMs = 60;

QAudioFormat::SampleFormat toQt(WaveFormat::Sample sample) {
    switch (sample) {
    case WaveFormat::Sample::UInt8:
        return QAudioFormat::UInt8;
    case WaveFormat::Sample::Int16:
        return QAudioFormat::Int16;
    case WaveFormat::Sample::Int32:
        return QAudioFormat::Int32;
    case WaveFormat::Sample::Float32:
        return QAudioFormat::Float;
    }
    return QAudioFormat::Unknown;
}

// What the output pulls: the sound handed over, from where it got to, and silence around it, so
// the stream never runs dry and never has to be started again.
class Feed final : public QIODevice {
public:
    explicit Feed(const WaveFormat& format)
        : silence_(format.sample == WaveFormat::Sample::UInt8 ? '\x80' : '\0') {
        // Unbuffered: a read-ahead buffer here would hold back a new sound behind old silence.
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    void start(std::shared_ptr<const Wave> wave) {
        wave_ = std::move(wave);
        at_ = 0;
    }
    void stop() { wave_.reset(); }
    bool isSequential() const override { return true; }
    // Never at its end: an output whose source ends drains and stops.
    bool atEnd() const override { return false; }

protected:
    qint64 readData(char* data, qint64 max) override {
        qint64 done = 0;
        if (wave_) {
            const std::string& samples = wave_->samples;
            done = std::min<qint64>(max, static_cast<qint64>(samples.size() - at_));
            std::memcpy(data, samples.data() + at_, static_cast<size_t>(done));
            at_ += static_cast<size_t>(done);
            if (at_ >= samples.size())
                wave_.reset();
        }
        std::memset(data + done, silence_, static_cast<size_t>(max - done));
        return max;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    const char silence_;
    std::shared_ptr<const Wave> wave_;
    size_t at_ = 0;
};

class SinkLine final : public AudioLine {
public:
    SinkLine(const QAudioDevice& device, const QAudioFormat& format, const WaveFormat& wave)
        : feed_(wave), sink_(device, format) {
        sink_.setBufferSize(format.bytesForDuration(aheadMs * 1000));
        sink_.start(&feed_);
    }
    // Stopped before it goes. The sink's destructor closes its stream and then runs the event
    // loop once more; a sink closed that way still counts itself as playing, so a feed it had
    // queued for itself (it queues one whenever the server asks for more than a step, as after a
    // busy moment such as the closing save) would then ask the closed stream for room, which the
    // sound server's client library answers with an abort. A stopped sink ignores that feed.
    ~SinkLine() override { sink_.stop(); }
    SinkLine(const SinkLine&) = delete;
    SinkLine& operator=(const SinkLine&) = delete;
    // A sink that failed to open, or lost its sound server, stops; running short of samples for a
    // moment only makes it idle.
    bool running() const { return sink_.state() != QAudio::StoppedState; }
    bool start(std::shared_ptr<const Wave> wave) override {
        if (!running())
            return false;
        feed_.start(std::move(wave));
        return true;
    }
    void stop() override { feed_.stop(); }

private:
    Feed feed_; // outlives the sink that reads it
    QAudioSink sink_;
};

} // namespace
} // namespace platform

extern "C" Q_DECL_EXPORT platform::AudioLine* yomirin_open_audio_line(const platform::WaveFormat* wave) {
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
        return nullptr;
    QAudioFormat format;
    format.setSampleRate(wave->sampleRate);
    format.setChannelCount(wave->channels);
    format.setSampleFormat(platform::toQt(wave->sample));
    auto line = std::make_unique<platform::SinkLine>(device, format, *wave);
    return line->running() ? line.release() : nullptr;
}
