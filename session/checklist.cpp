#include "session/checklist.h"

#include <algorithm>

namespace session::checklist {

AddOutcome add(List& list, std::int32_t id) {
    if (list.back() > 0)
        return AddOutcome::Full;
    for (std::int32_t& place : list) {
        if (place == id)
            return AddOutcome::AlreadyListed;
        if (place == 0) {
            place = id;
            return AddOutcome::Added;
        }
    }
    return AddOutcome::Full;
}

bool remove(List& list, std::int32_t id) {
    if (id <= 0)
        return false; // an empty place holds nothing to take out
    const auto found = std::find(list.begin(), list.end(), id);
    if (found == list.end())
        return false;
    std::move(found + 1, list.end(), found);
    list.back() = 0;
    return true;
}

void clear(List& list) { list.fill(0); }

} // namespace session::checklist
