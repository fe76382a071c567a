#pragma once

#include <cstdint>
#include <vector>

namespace chime {

inline constexpr std::uint32_t kSampleRate = 44100;

// The "correct answer" chime: two struck bell tones, a major third apart, high then low, about half
// a second long, peaking at -6.5 dBFS (as loud as the course voices). Starts and ends on a zero
// sample so it never clicks.
std::vector<std::int16_t> synthesizeChime(std::uint32_t sampleRate = kSampleRate);

} // namespace chime
