#include "records/result_table.h"

#include <algorithm>

namespace records {

std::string ResultDate::str() const {
    return std::string(text.data(), std::min<size_t>(length, dateCapacity));
}

void ResultDate::assign(const std::string& s) {
    length = static_cast<std::uint8_t>(std::min<size_t>(s.size(), dateCapacity));
    std::copy_n(s.begin(), length, text.begin());
}

ResultTable::ResultTable() {
    for (auto& row : scores)
        row.fill(0);
}

void ResultTable::clear(int chapter) {
    if (chapter < 0 || chapter > resultChapters)
        return;
    for (int s = 0; s < resultSlots; ++s) {
        for (int k = 0; k < resultChapters; ++k) {
            if (chapter != 0 && k != chapter - 1)
                continue;
            scores[s][k] = -1;
            dates[s][k].length = 0;
        }
    }
}

} // namespace records
