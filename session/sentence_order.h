#pragma once
#include "session/session_state.h"

#include <cstdint>

namespace session {

// The 32-bit linear congruential generator the shuffle draws from.
class SlotRandom {
public:
    explicit SlotRandom(std::uint32_t seed) : seed_(seed) {}
    // A draw from 0..range-1: the upper 32 bits of seed x range, after stepping the seed.
    int next(int range);
    std::uint32_t seed() const { return seed_; }

private:
    std::uint32_t seed_;
};

// Exchanges slot contents 500 times, each pair drawn independently from 1..10.
void shuffleOrder(std::array<std::int32_t, slotsPerChapter>& order, std::uint32_t seed);

// Fills all ten slots for step 1..6 and chapter 1..10. Step 6 shows a page of the checklist, in
// list order; steps 1..5 the chapter's sentences, shuffled when randomOrder is set, seeded from
// the given UTC millisecond of the day. currentSlot is left alone.
void buildSentenceOrder(Tsentence& sentence, int step, int chapter, std::uint32_t utcMsOfDay);

} // namespace session
