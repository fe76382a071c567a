#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace records {

constexpr int resultSlots = 10;
constexpr int resultChapters = 50;
constexpr int dateCapacity = 30;

// One stored date: a length byte and 30 character bytes; bytes past the length carry no meaning
// and are kept as they were, so that a table read from a file is written back byte for byte.
struct ResultDate {
    std::uint8_t length = 0;
    std::array<char, dateCapacity> text{};

    std::string str() const;
    void assign(const std::string& s); // cut to 30 bytes

    bool operator==(const ResultDate&) const = default;
};

// Ten dated scores for each course chapter; a score of -1 marks an empty slot.
struct ResultTable {
    std::array<std::array<std::int32_t, resultChapters>, resultSlots> scores;
    std::array<std::array<ResultDate, resultChapters>, resultSlots> dates;

    ResultTable();

    // slot 1..10, chapter 1..50
    std::int32_t score(int slot, int chapter) const { return scores[slot - 1][chapter - 1]; }
    const ResultDate& date(int slot, int chapter) const { return dates[slot - 1][chapter - 1]; }

    // 0 empties the whole table, 1..50 the ten slots of that chapter; anything else nothing.
    void clear(int chapter);

    bool operator==(const ResultTable&) const = default;
};

} // namespace records
