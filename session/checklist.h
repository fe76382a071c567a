#pragma once
#include "records/save_record.h"

#include <array>
#include <cstdint>

namespace session::checklist {

// The list is saved as it is, so it has as many places as save.dat keeps.
constexpr int places = records::savedChecklistPlaces;
using List = std::array<std::int32_t, places>;

// The list keeps its used places first, without gaps and without an id twice, oldest first.

enum class AddOutcome { Added, AlreadyListed, Full };
// A full list refuses every add, even of a sentence it holds.
AddOutcome add(List& list, std::int32_t id);

// Takes the id out and closes the gap; false when it was not listed.
bool remove(List& list, std::int32_t id);

void clear(List& list);

} // namespace session::checklist
