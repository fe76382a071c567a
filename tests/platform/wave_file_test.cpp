#include "platform/wave_file.h"
#include "wave_bytes.h"

#include <gtest/gtest.h>

using namespace wave_bytes;
using platform::WaveFormat;
using Sample = WaveFormat::Sample;

namespace {

struct Playable {
    const char* name;
    std::string bytes;
    WaveFormat format;
    std::string samples;
};

const std::string four("\x01\x02\x03\x04", 4);

} // namespace

TEST(ParseWave, ReadsTheFormatAndSamplesOfPlayableFiles) {
    const Playable cases[] = {
        {"16-bit mono", mono16(four), {16000, 1, Sample::Int16}, four},
        {"8-bit stereo", riff(fmt(1, 2, 8000, 8) + chunk("data", four)), {8000, 2, Sample::UInt8}, four},
        {"32-bit integer", riff(fmt(1, 1, 44100, 32) + chunk("data", four)), {44100, 1, Sample::Int32}, four},
        {"32-bit float", riff(fmt(3, 1, 48000, 32) + chunk("data", four)), {48000, 1, Sample::Float32}, four},
        {"extensible PCM", riff(extensibleFmt(1, 2, 22050, 16) + chunk("data", four)),
         {22050, 2, Sample::Int16}, four},
        {"chunks before and between, odd ones padded",
         riff(chunk("LIST", "abc") + fmt(1, 1, 16000, 16) + chunk("fact", "12345") + chunk("data", four)),
         {16000, 1, Sample::Int16}, four},
        {"data cut short by the end of the file",
         riff(fmt(1, 1, 16000, 16)) + "data" + le(1000, 4) + four, {16000, 1, Sample::Int16}, four},
        {"half a frame at the end is dropped", riff(fmt(1, 1, 16000, 16) + chunk("data", "\x01\x02\x03")),
         {16000, 1, Sample::Int16}, std::string("\x01\x02", 2)},
        {"no samples", mono16(""), {16000, 1, Sample::Int16}, ""},
    };
    for (const Playable& c : cases) {
        SCOPED_TRACE(c.name);
        const auto wave = platform::parseWave(c.bytes);
        ASSERT_TRUE(wave.has_value());
        EXPECT_EQ(wave->format, c.format);
        EXPECT_EQ(wave->samples, c.samples);
    }
}

TEST(ParseWave, GivesNothingForWhatCannotBePlayed) {
    const std::pair<const char*, std::string> cases[] = {
        {"empty", ""},
        {"not RIFF", "RIFX" + le(4, 4) + "WAVE"},
        {"not WAVE", "RIFF" + le(4, 4) + "AVI "},
        {"no format chunk", riff(chunk("data", four))},
        {"no data chunk", riff(fmt(1, 1, 16000, 16))},
        {"compressed (ADPCM)", riff(fmt(2, 1, 16000, 4) + chunk("data", four))},
        {"24-bit samples", riff(fmt(1, 1, 16000, 24) + chunk("data", "\x01\x02\x03"))},
        {"no channels", riff(fmt(1, 0, 16000, 16) + chunk("data", four))},
        {"no sample rate", riff(fmt(1, 1, 0, 16) + chunk("data", four))},
        {"format chunk too short", riff(chunk("fmt ", le(1, 2) + le(1, 2)) + chunk("data", four))},
        {"extensible of a compressed format", riff(extensibleFmt(2, 1, 16000, 16) + chunk("data", four))},
        {"a chunk running past the end hides the data", riff(fmt(1, 1, 16000, 16) + "LIST" + le(99, 4))},
    };
    for (const auto& [name, bytes] : cases)
        EXPECT_FALSE(platform::parseWave(bytes).has_value()) << name;
}
