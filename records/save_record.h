#pragma once
#include "records/result_table.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace records {

constexpr std::size_t saveRecordSize = 17956;
constexpr int savedOrderSlots = 10;
constexpr int savedChecklistPlaces = 100;

// Everything save.dat holds, as values. The padding bytes mean nothing but are kept as read, so
// that a record loaded and saved again without a change is the same file byte for byte.
struct SaveRecord {
    std::int32_t step = 1;    // 1..5, or 6 for the checklist pages
    std::int32_t chapter = 1; // 1..10
    std::uint8_t randomOrder = 0;
    std::array<std::uint8_t, 3> padding1{};
    std::array<std::int32_t, savedOrderSlots> order{};
    std::array<std::int32_t, savedChecklistPlaces> checklist{};
    ResultTable results;
    std::uint8_t showTranslation = 1;
    std::uint8_t showPoint = 1;
    std::uint8_t showShortcuts = 0;
    std::uint8_t padding2 = 0;

    bool operator==(const SaveRecord&) const = default;
};

// The record as the 17956 little-endian bytes of save.dat.
std::string encodeSaveRecord(const SaveRecord& record);

// What a read of save.dat gave.
struct LoadedRecord {
    // False when the file was shorter than a record: then only the result table holds what the
    // file had (the bytes that were there; the rest stays as `base` had it) and every other value
    // is `base`'s. Bytes past the record are ignored.
    bool complete = false;
    SaveRecord record;
};

// Reads save.dat's bytes over `base` (the session's defaults). Every value that comes out is in
// range (see sanitizeSaveRecord), whatever the bytes were.
LoadedRecord decodeSaveRecord(std::string_view bytes, const SaveRecord& base);

// Mends out-of-range values of a record read from a file.
void sanitizeSaveRecord(SaveRecord& record);

} // namespace records
