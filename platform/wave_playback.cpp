#include "platform/wave_playback.h"

#include <algorithm>
#include <filesystem>

namespace platform {
namespace {

// The voice on show, the one before it and the chime: enough to never read a file twice in a row.
constexpr size_t keptFiles = 4;

} // namespace

WavePlayback::~WavePlayback() { *alive_ = false; }

std::optional<WavePlayback::Stamp> WavePlayback::stampOf(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const auto status = fs::status(path, ec);
    if (ec || !fs::is_regular_file(status))
        return std::nullopt;
    const auto size = fs::file_size(path, ec);
    if (ec)
        return std::nullopt;
    const auto modified = fs::last_write_time(path, ec);
    if (ec)
        return std::nullopt;
    return Stamp{modified.time_since_epoch().count(), size};
}

std::shared_ptr<const Wave> WavePlayback::load(const std::string& path) {
    const auto stamp = stampOf(path);
    const auto found = std::find_if(prepared_.begin(), prepared_.end(),
                                    [&](const Prepared& p) { return p.path == path; });
    if (found != prepared_.end()) {
        if (stamp && found->stamp == *stamp) {
            std::rotate(found, found + 1, prepared_.end());
            return prepared_.back().wave;
        }
        prepared_.erase(found);
    }
    if (!stamp)
        return nullptr;
    auto wave = readWave(path);
    if (!wave)
        return nullptr;
    if (prepared_.size() == keptFiles)
        prepared_.erase(prepared_.begin());
    prepared_.push_back({path, *stamp, std::make_shared<const Wave>(std::move(*wave))});
    return prepared_.back().wave;
}

bool WavePlayback::hasOpenLine(const WaveFormat& format) const {
    return std::any_of(lines_.begin(), lines_.end(),
                       [&](const Line& l) { return l.format == format && l.line; });
}

WavePlayback::Line& WavePlayback::entryFor(const WaveFormat& format) {
    for (Line& l : lines_) {
        if (l.format == format)
            return l;
    }
    lines_.push_back({format, nullptr});
    return lines_.back();
}

AudioLine* WavePlayback::lineForPress(const WaveFormat& format) {
    Line& l = entryFor(format);
    if (l.line)
        return l.line.get();
    // A refusal in the background costs the learner nothing, so the press asks once more; after a
    // press was refused, presses only ask in the background, so that none waits for a failure.
    if (l.refusedAtPress) {
        openInBackground(format);
        return nullptr;
    }
    l.line = device_.open(format);
    l.refusedAtPress = !l.line;
    return l.line.get();
}

void WavePlayback::openInBackground(const WaveFormat& format) {
    if (std::find(pending_.begin(), pending_.end(), format) != pending_.end())
        return;
    pending_.push_back(format);
    device_.later([this, alive = alive_, format] {
        if (!*alive)
            return;
        pending_.erase(std::remove(pending_.begin(), pending_.end(), format), pending_.end());
        Line& l = entryFor(format);
        if (!l.line)
            l.line = device_.open(format);
    });
}

void WavePlayback::dropLine(const WaveFormat& format) {
    lines_.erase(std::remove_if(lines_.begin(), lines_.end(), [&](const Line& l) { return l.format == format; }),
                 lines_.end());
}

void WavePlayback::stopAll() {
    for (Line& l : lines_) {
        if (l.line)
            l.line->stop();
    }
}

void WavePlayback::prepare(const std::string& path) {
    const auto wave = load(path);
    if (wave && !hasOpenLine(wave->format))
        openInBackground(wave->format);
}

void WavePlayback::play(const std::string& path) {
    stopAll();
    const auto wave = load(path);
    if (!wave)
        return;
    AudioLine* line = lineForPress(wave->format);
    if (!line || line->start(wave))
        return;
    // A line that died (a restarted sound server) is opened afresh, once for this sound.
    dropLine(wave->format);
    if ((line = lineForPress(wave->format)))
        line->start(wave);
}

} // namespace platform
