// save.dat as a file may hold it: any bytes, of any length, read over a session's values.
#include "fuzz_check.h"
#include "records/save_record.h"

#include <algorithm>
#include <cstdint>
#include <set>
#include <string_view>

namespace {

void requireInRange(const records::SaveRecord& r) {
    FUZZ_REQUIRE(r.step >= 1 && r.step <= 6);
    FUZZ_REQUIRE(r.chapter >= 1 && r.chapter <= 10);
    for (std::uint8_t option : {r.randomOrder, r.showTranslation, r.showPoint, r.showShortcuts})
        FUZZ_REQUIRE(option <= 1);
    for (std::int32_t id : r.order)
        FUZZ_REQUIRE(id >= 0 && id <= 500);
    // The checklist: ids in range, used places first, no id twice.
    std::set<std::int32_t> seen;
    bool emptySeen = false;
    for (std::int32_t id : r.checklist) {
        FUZZ_REQUIRE(id >= 0 && id <= 500);
        if (id == 0) {
            emptySeen = true;
            continue;
        }
        FUZZ_REQUIRE(!emptySeen);
        FUZZ_REQUIRE(seen.insert(id).second);
    }
    for (int s = 1; s <= records::resultSlots; ++s)
        for (int k = 1; k <= records::resultChapters; ++k) {
            FUZZ_REQUIRE(r.results.score(s, k) >= -1 && r.results.score(s, k) <= 10);
            FUZZ_REQUIRE(r.results.date(s, k).length <= records::dateCapacity);
        }
}

// What a session holds before the load: the defaults with an empty result table.
records::SaveRecord sessionDefaults() {
    records::SaveRecord base;
    base.results.clear(0);
    for (int i = 0; i < records::savedOrderSlots; ++i)
        base.order[i] = i + 1;
    return base;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const records::SaveRecord base = sessionDefaults();
    const records::LoadedRecord loaded = records::decodeSaveRecord(bytes, base);
    FUZZ_REQUIRE(loaded.complete == (size >= records::saveRecordSize));
    requireInRange(loaded.record);
    if (!loaded.complete) {
        // Only the result table may come from a short file.
        records::SaveRecord rest = loaded.record;
        rest.results = base.results;
        FUZZ_REQUIRE(rest == base);
    }
    // What was loaded is saved as one whole record and loads again unchanged.
    const std::string saved = records::encodeSaveRecord(loaded.record);
    FUZZ_REQUIRE(saved.size() == records::saveRecordSize);
    const records::LoadedRecord again = records::decodeSaveRecord(saved, base);
    FUZZ_REQUIRE(again.complete && again.record == loaded.record);
    return 0;
}
