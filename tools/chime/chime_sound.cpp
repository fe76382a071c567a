#include "chime_sound.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace chime {

namespace {

constexpr double kDurationSeconds = 0.5;
constexpr double kAttackSeconds = 0.003; // quick, like a struck bar, but not a step
constexpr double kFadeSeconds = 0.06;    // closes the tail to exactly zero
constexpr double kPeakDbfs = -6.5; // as loud as the voices: -17 LUFS by ffmpeg's EBU R128 meter

struct Partial {
    double ratio;        // to the strike's pitch
    double amplitude;    // relative to the fundamental
    double decaySeconds; // time constant of the exponential decay
};

struct Strike {
    double startSeconds;
    double frequency;
    double gain;
    double decayScale; // the first tone fades sooner so that the second one carries the end
};

// A bright bar sound: the fundamental carries the pitch, the octave and the twelfth add shine and
// die away faster, as the upper modes of a struck bar do.
constexpr Partial kPartials[] = {
    {1.0, 1.00, 0.16},
    {2.0, 0.28, 0.06},
    {3.0, 0.08, 0.03},
};

// E6 then C6: the falling major third of a two-tone chime.
constexpr Strike kStrikes[] = {
    {0.00, 1318.51, 0.85, 0.6},
    {0.13, 1046.50, 1.00, 1.1},
};

double smoothStep(double x) {
    x = std::clamp(x, 0.0, 1.0);
    return 0.5 - 0.5 * std::cos(std::numbers::pi * x);
}

} // namespace

std::vector<std::int16_t> synthesizeChime(std::uint32_t sampleRate) {
    const double rate = sampleRate;
    const auto count = static_cast<std::size_t>(std::lround(kDurationSeconds * rate));
    std::vector<double> mix(count, 0.0);

    for (const Strike& strike : kStrikes) {
        const auto first = static_cast<std::size_t>(std::lround(strike.startSeconds * rate));
        for (std::size_t i = first; i < count; ++i) {
            const double t = (i - first) / rate;
            double v = 0.0;
            for (const Partial& p : kPartials)
                v += p.amplitude * std::exp(-t / (p.decaySeconds * strike.decayScale)) *
                     std::sin(2.0 * std::numbers::pi * strike.frequency * p.ratio * t);
            mix[i] += strike.gain * smoothStep(t / kAttackSeconds) * v;
        }
    }

    // Fade the tail so that the last sample is exactly zero.
    const double fadeSamples = kFadeSeconds * rate;
    for (std::size_t i = 0; i < count; ++i) {
        const double toEnd = static_cast<double>(count - 1 - i);
        if (toEnd < fadeSamples)
            mix[i] *= smoothStep(toEnd / fadeSamples);
    }

    double peak = 0.0;
    for (double v : mix)
        peak = std::max(peak, std::abs(v));
    const double scale = peak > 0.0 ? std::pow(10.0, kPeakDbfs / 20.0) * 32767.0 / peak : 0.0;

    std::vector<std::int16_t> samples(count);
    for (std::size_t i = 0; i < count; ++i)
        samples[i] = static_cast<std::int16_t>(std::lround(mix[i] * scale));
    return samples;
}

} // namespace chime
