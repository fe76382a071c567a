#include "records/save_record.h"

#include <functional>
#include <gtest/gtest.h>

using records::SaveRecord;

namespace {

// Offsets worked out by hand from the file layout, independent of the codec.
constexpr std::size_t slot3Chapter27Score = 956;   // 452 + (2 * 50 + 26) * 4
constexpr std::size_t slot3Chapter27Date = 6358;   // 2452 + (2 * 50 + 26) * 31
constexpr std::size_t slot10Chapter50Score = 2448; // 452 + 499 * 4
constexpr std::size_t slot10Chapter50Date = 17921; // 2452 + 499 * 31, the last before the options

void put32(std::string& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<char>(v >> (8 * i));
}

void putDate(std::string& b, std::size_t at, std::string_view text, std::string_view after) {
    b[at] = static_cast<char>(text.size());
    b.replace(at + 1, text.size() + after.size(), std::string(text) + std::string(after));
}

// A plausible save.dat: step 3, chapter 7, shuffled, the chapter's order, three checklist
// entries, two results with dated entries, and odd padding bytes.
std::string handBuiltFile() {
    std::string b(17956, '\0');
    put32(b, 0, 3);
    put32(b, 4, 7);
    b[8] = 1;
    b[9] = '\xAA', b[10] = '\xBB', b[11] = '\xCC';
    for (int i = 0; i < 10; ++i)
        put32(b, 12 + i * 4, 270 - i);
    put32(b, 52, 37), put32(b, 56, 500), put32(b, 60, 1);
    for (std::size_t at = 452; at < 2452; at += 4)
        put32(b, at, 0xFFFFFFFF);
    put32(b, slot3Chapter27Score, 8);
    putDate(b, slot3Chapter27Date, "12/7", "junk");
    put32(b, slot10Chapter50Score, 0);
    putDate(b, slot10Chapter50Date, "1/1", "");
    b[17952] = 0, b[17953] = 0, b[17954] = 1, b[17955] = '\x5A';
    return b;
}

SaveRecord defaultsWithEmptyTable() {
    SaveRecord base;
    base.results.clear(0);
    return base;
}

} // namespace

TEST(SaveRecord, DecodesEveryFieldOfAHandBuiltFileAndWritesItBackUnchanged) {
    const std::string file = handBuiltFile();
    const records::LoadedRecord loaded = records::decodeSaveRecord(file, defaultsWithEmptyTable());
    ASSERT_TRUE(loaded.complete);
    const SaveRecord& r = loaded.record;
    EXPECT_EQ(r.step, 3);
    EXPECT_EQ(r.chapter, 7);
    EXPECT_EQ(r.randomOrder, 1);
    EXPECT_EQ(r.padding1, (std::array<std::uint8_t, 3>{0xAA, 0xBB, 0xCC}));
    EXPECT_EQ(r.order[0], 270);
    EXPECT_EQ(r.order[9], 261);
    EXPECT_EQ(r.checklist[0], 37);
    EXPECT_EQ(r.checklist[2], 1);
    EXPECT_EQ(r.checklist[3], 0);
    EXPECT_EQ(r.results.score(3, 27), 8);
    EXPECT_EQ(r.results.date(3, 27).str(), "12/7");
    EXPECT_EQ(std::string(r.results.date(3, 27).text.data() + 4, 4), "junk");
    EXPECT_EQ(r.results.score(10, 50), 0);
    EXPECT_EQ(r.results.date(10, 50).str(), "1/1");
    EXPECT_EQ(r.results.score(3, 26), -1);
    EXPECT_EQ(r.results.score(2, 27), -1);
    EXPECT_EQ(r.showTranslation, 0);
    EXPECT_EQ(r.showPoint, 0);
    EXPECT_EQ(r.showShortcuts, 1);
    EXPECT_EQ(r.padding2, 0x5A);

    EXPECT_EQ(records::encodeSaveRecord(r), file) << "padding and date bytes past the length kept";
}

TEST(SaveRecord, EncodesAScoreAndDateAtTheirSlotAndChapter) {
    SaveRecord r;
    r.results.clear(0);
    r.results.scores[2][26] = 10; // slot 3, chapter 27
    r.results.dates[2][26].assign("11/30");
    const std::string b = records::encodeSaveRecord(r);
    ASSERT_EQ(b.size(), 17956u);
    EXPECT_EQ(b.substr(slot3Chapter27Score, 4), std::string("\x0A\0\0\0", 4));
    EXPECT_EQ(b.substr(slot3Chapter27Score - 4, 4), "\xFF\xFF\xFF\xFF");
    EXPECT_EQ(b.substr(slot3Chapter27Date, 6), "\x05"
                                               "11/30");
    EXPECT_EQ(b.substr(0, 12), std::string("\1\0\0\0\1\0\0\0\0\0\0\0", 12)) << "fresh defaults";
    EXPECT_EQ(b.substr(17952), std::string("\1\1\0\0", 4));
}

TEST(SaveRecord, RoundTripsARecordBuiltInCode) {
    SaveRecord r;
    r.step = 6, r.chapter = 10, r.randomOrder = 1, r.showTranslation = 0, r.showPoint = 0;
    r.showShortcuts = 1, r.padding1 = {1, 2, 3}, r.padding2 = 4;
    for (int i = 0; i < 10; ++i)
        r.order[i] = 491 + i;
    for (int i = 0; i < 100; ++i)
        r.checklist[i] = 500 - i;
    for (int s = 0; s < 10; ++s)
        for (int k = 0; k < 50; ++k) {
            r.results.scores[s][k] = (s + k) % 12 - 1;
            r.results.dates[s][k].assign(std::to_string(s + 1) + "/" + std::to_string(k + 1));
        }
    const std::string bytes = records::encodeSaveRecord(r);
    const records::LoadedRecord back = records::decodeSaveRecord(bytes, SaveRecord{});
    EXPECT_TRUE(back.complete);
    EXPECT_EQ(records::encodeSaveRecord(back.record), bytes);
    EXPECT_EQ(back.record.step, 6);
    EXPECT_EQ(back.record.checklist, r.checklist);
    EXPECT_EQ(back.record.results.date(7, 33).str(), "7/33");
    EXPECT_EQ(back.record.results.score(7, 33), (6 + 32) % 12 - 1);
}

TEST(SaveRecord, BytesPastTheRecordAreIgnored) {
    const std::string file = handBuiltFile();
    const auto loaded = records::decodeSaveRecord(file + std::string(500, '\x07'), SaveRecord{});
    EXPECT_TRUE(loaded.complete);
    EXPECT_EQ(records::encodeSaveRecord(loaded.record), file);
}

TEST(SaveRecord, AShortFileKeepsOnlyWhatItHadOfTheTable) {
    SaveRecord base = defaultsWithEmptyTable();
    base.step = 2, base.chapter = 4, base.checklist[0] = 99;
    const std::string full = handBuiltFile();

    // Cut just after the first date of slot 3: the table up to there is the file's.
    const auto cut = records::decodeSaveRecord(full.substr(0, slot3Chapter27Date + 5), base);
    EXPECT_FALSE(cut.complete);
    EXPECT_EQ(cut.record.step, 2);
    EXPECT_EQ(cut.record.chapter, 4);
    EXPECT_EQ(cut.record.randomOrder, 0);
    EXPECT_EQ(cut.record.checklist[0], 99);
    EXPECT_EQ(cut.record.order, base.order);
    EXPECT_EQ(cut.record.showTranslation, 1);
    EXPECT_EQ(cut.record.padding1, base.padding1);
    EXPECT_EQ(cut.record.results.score(3, 27), 8);
    EXPECT_EQ(cut.record.results.date(3, 27).str(), "12/7");
    EXPECT_EQ(cut.record.results.score(10, 50), 0) << "all scores lie before the cut";
    EXPECT_EQ(cut.record.results.date(10, 50).length, 0) << "past the cut: base's";

    for (std::size_t size : {std::size_t(0), std::size_t(100), std::size_t(17955)}) {
        const auto loaded = records::decodeSaveRecord(full.substr(0, size), base);
        EXPECT_FALSE(loaded.complete) << size;
        EXPECT_EQ(loaded.record.step, 2) << size;
        EXPECT_EQ(loaded.record.results.score(3, 27), size > slot3Chapter27Score ? 8 : -1);
    }
}

namespace {

struct Rejected {
    const char* what;
    std::size_t offset;
    int width; // 1 or 4 bytes
    std::uint32_t value;
    std::function<void(const SaveRecord&)> expect;
};

} // namespace

TEST(SaveRecord, OutOfRangeValuesAreMended) {
    const std::vector<Rejected> rows = {
        {"step 0", 0, 4, 0, [](auto& r) { EXPECT_EQ(r.step, 1); }},
        {"step 7", 0, 4, 7, [](auto& r) { EXPECT_EQ(r.step, 1); }},
        {"step -1", 0, 4, 0xFFFFFFFF, [](auto& r) { EXPECT_EQ(r.step, 1); }},
        {"step 6 stays", 0, 4, 6, [](auto& r) { EXPECT_EQ(r.step, 6); }},
        {"chapter 11", 4, 4, 11, [](auto& r) { EXPECT_EQ(r.chapter, 1); }},
        {"chapter 0", 4, 4, 0, [](auto& r) { EXPECT_EQ(r.chapter, 1); }},
        {"order id 501", 16, 4, 501, [](auto& r) { EXPECT_EQ(r.order[1], 0); }},
        {"order id -3", 16, 4, 0xFFFFFFFD, [](auto& r) { EXPECT_EQ(r.order[1], 0); }},
        {"checklist id 501", 56, 4, 501,
         [](auto& r) { EXPECT_EQ(r.checklist[1], 1) << "the next entry moves up"; }},
        {"score 11", slot3Chapter27Score, 4, 11,
         [](auto& r) {
             EXPECT_EQ(r.results.score(3, 27), -1);
             EXPECT_EQ(r.results.date(3, 27).length, 0);
         }},
        {"score -2", slot3Chapter27Score, 4, 0xFFFFFFFE,
         [](auto& r) { EXPECT_EQ(r.results.score(3, 27), -1); }},
        {"score 10 stays", slot3Chapter27Score, 4, 10,
         [](auto& r) { EXPECT_EQ(r.results.date(3, 27).str(), "12/7"); }},
        {"date length 31", slot3Chapter27Date, 1, 31,
         [](auto& r) {
             EXPECT_EQ(r.results.date(3, 27).length, 0);
             EXPECT_EQ(r.results.score(3, 27), 8);
         }},
        {"date length 30 stays", slot3Chapter27Date, 1, 30,
         [](auto& r) { EXPECT_EQ(r.results.date(3, 27).length, 30); }},
        {"RandomOrder 2", 8, 1, 2, [](auto& r) { EXPECT_EQ(r.randomOrder, 0); }},
        {"ShowTranslation 2", 17952, 1, 2, [](auto& r) { EXPECT_EQ(r.showTranslation, 1); }},
        {"ShowPoint 255", 17953, 1, 255, [](auto& r) { EXPECT_EQ(r.showPoint, 1); }},
        {"ShowShortcuts 2", 17954, 1, 2, [](auto& r) { EXPECT_EQ(r.showShortcuts, 0); }},
    };
    for (const Rejected& row : rows) {
        std::string file = handBuiltFile();
        if (row.width == 4)
            put32(file, row.offset, row.value);
        else
            file[row.offset] = static_cast<char>(row.value);
        SCOPED_TRACE(row.what);
        row.expect(records::decodeSaveRecord(file, SaveRecord{}).record);
    }
}

TEST(SaveRecord, ChecklistClosesUpGapsAndDuplicates) {
    std::string file = handBuiltFile();
    const std::vector<std::uint32_t> stored{0, 5, 0, 501, 7, 5, 0xFFFFFFFD, 9, 7, 0};
    for (std::size_t i = 0; i < stored.size(); ++i)
        put32(file, 52 + i * 4, stored[i]);
    put32(file, 52 + 99 * 4, 400);
    const SaveRecord r = records::decodeSaveRecord(file, SaveRecord{}).record;
    const std::array<std::int32_t, 100> expected{5, 7, 9, 400};
    EXPECT_EQ(r.checklist, expected);
}
