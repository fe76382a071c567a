#include "session/sentence_order.h"

#include "content/content_store.h"

#include <utility>

namespace session {
namespace {

constexpr int exchanges = 500;
constexpr std::uint32_t multiplier = 134775813u;

} // namespace

int SlotRandom::next(int range) {
    seed_ = seed_ * multiplier + 1u;
    return static_cast<int>((static_cast<std::uint64_t>(seed_) * static_cast<std::uint64_t>(range)) >> 32);
}

void shuffleOrder(std::array<std::int32_t, slotsPerChapter>& order, std::uint32_t seed) {
    SlotRandom random(seed);
    for (int n = 0; n < exchanges; ++n) {
        const int a = random.next(slotsPerChapter);
        const int b = random.next(slotsPerChapter);
        std::swap(order[a], order[b]);
    }
}

void buildSentenceOrder(Tsentence& sentence, int step, int chapter, std::uint32_t utcMsOfDay) {
    if (step == content::checklistStep) {
        for (int i = 1; i <= slotsPerChapter; ++i) {
            const int place = (chapter - 1) * 10 + i;
            sentence.order[i - 1] =
                place >= 1 && place <= checklist::places ? sentence.checklist[place - 1] : 0;
        }
        return;
    }
    for (int i = 1; i <= slotsPerChapter; ++i)
        sentence.order[i - 1] = step * 100 + chapter * 10 + i - 110;
    if (sentence.randomOrder)
        shuffleOrder(sentence.order, utcMsOfDay);
}

} // namespace session
