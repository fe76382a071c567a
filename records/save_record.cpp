#include "records/save_record.h"

#include "records/little_endian.h"

#include <algorithm>

namespace records {

namespace {

constexpr std::size_t stepAt = 0;
constexpr std::size_t chapterAt = 4;
constexpr std::size_t randomOrderAt = 8;
constexpr std::size_t padding1At = 9;
constexpr std::size_t orderAt = 12;
constexpr std::size_t checklistAt = 52;
constexpr std::size_t scoresAt = 452;
constexpr std::size_t datesAt = 2452;
constexpr std::size_t dateEntrySize = 1 + dateCapacity;
constexpr std::size_t showTranslationAt = 17952;
constexpr std::size_t showPointAt = 17953;
constexpr std::size_t showShortcutsAt = 17954;
constexpr std::size_t padding2At = 17955;

static_assert(datesAt == scoresAt + resultSlots * resultChapters * 4);
static_assert(showTranslationAt == datesAt + resultSlots * resultChapters * dateEntrySize);
static_assert(saveRecordSize == padding2At + 1);

// Slot-major: the 50 chapters of slot 1, then those of slot 2, and so on.
constexpr std::size_t entryIndex(int s, int k) {
    return std::size_t(s) * resultChapters + k;
}

std::uint8_t byteAt(std::string_view bytes, std::size_t at) {
    return static_cast<std::uint8_t>(bytes[at]);
}

void encodeResults(const ResultTable& table, std::string& out) {
    for (int s = 0; s < resultSlots; ++s) {
        for (int k = 0; k < resultChapters; ++k) {
            writeI32(out, scoresAt + entryIndex(s, k) * 4, table.scores[s][k]);
            const ResultDate& date = table.dates[s][k];
            const std::size_t at = datesAt + entryIndex(s, k) * dateEntrySize;
            out[at] = static_cast<char>(date.length);
            std::copy(date.text.begin(), date.text.end(), out.begin() + at + 1);
        }
    }
}

void decodeResults(std::string_view bytes, ResultTable& table) {
    for (int s = 0; s < resultSlots; ++s) {
        for (int k = 0; k < resultChapters; ++k) {
            table.scores[s][k] = readI32(bytes, scoresAt + entryIndex(s, k) * 4);
            ResultDate& date = table.dates[s][k];
            const std::size_t at = datesAt + entryIndex(s, k) * dateEntrySize;
            date.length = byteAt(bytes, at);
            std::copy_n(bytes.begin() + at + 1, dateCapacity, date.text.begin());
        }
    }
}

// `bytes` holds at least a whole record.
SaveRecord decodeWhole(std::string_view bytes) {
    SaveRecord record;
    record.step = readI32(bytes, stepAt);
    record.chapter = readI32(bytes, chapterAt);
    record.randomOrder = byteAt(bytes, randomOrderAt);
    for (std::size_t i = 0; i < record.padding1.size(); ++i)
        record.padding1[i] = byteAt(bytes, padding1At + i);
    for (int i = 0; i < savedOrderSlots; ++i)
        record.order[i] = readI32(bytes, orderAt + i * 4);
    for (int i = 0; i < savedChecklistPlaces; ++i)
        record.checklist[i] = readI32(bytes, checklistAt + i * 4);
    decodeResults(bytes, record.results);
    record.showTranslation = byteAt(bytes, showTranslationAt);
    record.showPoint = byteAt(bytes, showPointAt);
    record.showShortcuts = byteAt(bytes, showShortcutsAt);
    record.padding2 = byteAt(bytes, padding2At);
    return record;
}

bool isSentenceId(std::int32_t id) {
    return id >= 0 && id <= 500;
}

// Used entries first, in their order, each id once; the places after them empty.
void closeUpChecklist(std::array<std::int32_t, savedChecklistPlaces>& checklist) {
    std::array<std::int32_t, savedChecklistPlaces> kept{};
    std::size_t used = 0;
    for (std::int32_t id : checklist) {
        if (id == 0 || std::find(kept.begin(), kept.begin() + used, id) != kept.begin() + used)
            continue;
        kept[used++] = id;
    }
    checklist = kept;
}

void keepOptionByte(std::uint8_t& option, std::uint8_t fallback) {
    if (option > 1)
        option = fallback;
}

} // namespace

std::string encodeSaveRecord(const SaveRecord& record) {
    std::string out(saveRecordSize, '\0');
    writeI32(out, stepAt, record.step);
    writeI32(out, chapterAt, record.chapter);
    out[randomOrderAt] = static_cast<char>(record.randomOrder);
    std::copy(record.padding1.begin(), record.padding1.end(), out.begin() + padding1At);
    for (int i = 0; i < savedOrderSlots; ++i)
        writeI32(out, orderAt + i * 4, record.order[i]);
    for (int i = 0; i < savedChecklistPlaces; ++i)
        writeI32(out, checklistAt + i * 4, record.checklist[i]);
    encodeResults(record.results, out);
    out[showTranslationAt] = static_cast<char>(record.showTranslation);
    out[showPointAt] = static_cast<char>(record.showPoint);
    out[showShortcutsAt] = static_cast<char>(record.showShortcuts);
    out[padding2At] = static_cast<char>(record.padding2);
    return out;
}

LoadedRecord decodeSaveRecord(std::string_view bytes, const SaveRecord& base) {
    LoadedRecord loaded;
    if (bytes.size() >= saveRecordSize) {
        loaded.complete = true;
        loaded.record = decodeWhole(bytes);
    } else {
        // A short file is a failed read, but the bytes it had already stand in the record, and
        // the result table lies in that record: so the table keeps what the file had of it.
        std::string image = encodeSaveRecord(base);
        std::copy(bytes.begin(), bytes.end(), image.begin());
        loaded.record = base;
        decodeResults(image, loaded.record.results);
    }
    sanitizeSaveRecord(loaded.record);
    return loaded;
}

// A record read from a file may hold anything; what leaves here is what the session can use:
// - a step outside 1..6 or a chapter outside 1..10 falls back to 1;
// - a SentenceId outside 0..500 becomes 0 (no sentence), in the order and in the checklist, and
//   the checklist is closed up: used entries first, no gaps, each id once (its first place kept);
// - a score outside -1..10 empties its entry (score -1, date length 0);
// - a date length above 30 empties the date (length 0);
// - an option byte other than 0 or 1 reads as its default (RandomOrder 0, ShowTranslation 1,
//   ShowPoint 1, ShowShortcuts 0).
// Date bytes past the length and the padding are left as they are.
void sanitizeSaveRecord(SaveRecord& record) {
    if (record.step < 1 || record.step > 6)
        record.step = 1;
    if (record.chapter < 1 || record.chapter > 10)
        record.chapter = 1;
    for (std::int32_t& id : record.order)
        if (!isSentenceId(id))
            id = 0;
    for (std::int32_t& id : record.checklist)
        if (!isSentenceId(id))
            id = 0;
    closeUpChecklist(record.checklist);
    for (int s = 0; s < resultSlots; ++s) {
        for (int k = 0; k < resultChapters; ++k) {
            std::int32_t& score = record.results.scores[s][k];
            ResultDate& date = record.results.dates[s][k];
            if (score < -1 || score > 10) {
                score = -1;
                date.length = 0;
            }
            if (date.length > dateCapacity)
                date.length = 0;
        }
    }
    const SaveRecord defaults;
    keepOptionByte(record.randomOrder, defaults.randomOrder);
    keepOptionByte(record.showTranslation, defaults.showTranslation);
    keepOptionByte(record.showPoint, defaults.showPoint);
    keepOptionByte(record.showShortcuts, defaults.showShortcuts);
}

} // namespace records
