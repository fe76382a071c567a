#include "records/label_stream.h"

#include <gtest/gtest.h>

using records::StoredLabel;

namespace {

// A length byte and the bytes.
std::string ss(std::string_view s) {
    return static_cast<char>(s.size()) + std::string(s);
}

std::string raw(std::initializer_list<int> bytes) {
    std::string out;
    for (int b : bytes)
        out += static_cast<char>(b);
    return out;
}

const std::string head = "TPF0" + ss("TLabel") + ss("Lbl_eibun");
const std::string end = raw({0, 0});

StoredLabel sentenceLabel() {
    StoredLabel label;
    label.left = 16, label.top = 300, label.width = 768, label.height = 24;
    label.caption = "I have a pen.";
    label.font.name = "Serif Face";
    label.font.charset = 128;
    label.font.color = records::rgb(120, 0, 0);
    label.font.height = -24;
    return label;
}

// sentenceLabel() as fs.dat holds it, written out byte by byte.
const std::string sentenceStream =
    head + ss("Left") + raw({2, 16}) + ss("Top") + raw({3, 0x2C, 0x01}) + ss("Width") +
    raw({3, 0x00, 0x03}) + ss("Height") + raw({2, 24}) + ss("Alignment") + raw({7}) +
    ss("taCenter") + ss("Caption") + raw({6}) + ss("I have a pen.") + ss("Font.Charset") +
    raw({7}) + ss("SHIFTJIS_CHARSET") + ss("Font.Color") + raw({2, 120}) + ss("Font.Height") +
    raw({2, 0xE8}) + ss("Font.Name") + raw({6}) + ss("Serif Face") + ss("Font.Style") +
    raw({11, 0}) + ss("ParentFont") + raw({8}) + ss("Transparent") + raw({9}) + end;

StoredLabel read(const std::string& stream, bool expected = true) {
    StoredLabel label;
    EXPECT_EQ(records::readLabelStream(stream, label), expected);
    return label;
}

} // namespace

TEST(LabelStream, WritesTheSentenceLabelByteForByte) {
    EXPECT_EQ(records::writeLabelStream(sentenceLabel()), sentenceStream);
    const StoredLabel back = read(sentenceStream);
    EXPECT_EQ(back.top, 300);
    EXPECT_EQ(back.width, 768);
    EXPECT_EQ(back.caption, "I have a pen.");
    EXPECT_EQ(back.font.name, "Serif Face");
    EXPECT_EQ(back.font.charset, 128);
    EXPECT_EQ(back.font.color, 120);
    EXPECT_EQ(back.font.height, -24);
    EXPECT_FALSE(back.parentFont);
}

TEST(LabelStream, HiddenBoldFixedLabelWithoutCaption) {
    StoredLabel label = sentenceLabel();
    label.caption.clear();
    label.visible = false;
    label.left = -40000;
    label.font.pitch = "fpFixed";
    label.font.style = records::Bold | records::StrikeOut | records::Italic;
    const std::string out = records::writeLabelStream(label);
    EXPECT_EQ(out.substr(head.size(), 10), ss("Left") + raw({4, 0xC0, 0x63, 0xFF, 0xFF}));
    EXPECT_EQ(out.find(ss("Caption")), std::string::npos);
    EXPECT_NE(out.find(ss("Font.Name") + raw({6}) + ss("Serif Face") + ss("Font.Pitch") + raw({7}) +
                       ss("fpFixed") + ss("Font.Style") + raw({11}) + ss("fsBold") +
                       ss("fsItalic") + ss("fsStrikeOut") + raw({0})),
              std::string::npos);
    EXPECT_TRUE(out.ends_with(ss("Transparent") + raw({9}) + ss("Visible") + raw({8}) + end));

    const StoredLabel back = read(out);
    EXPECT_EQ(back.left, -40000);
    EXPECT_FALSE(back.visible);
    EXPECT_EQ(back.font.pitch, "fpFixed");
    EXPECT_EQ(back.font.style, records::Bold | records::Italic | records::StrikeOut);
}

TEST(LabelStream, IntegersTakeTheSmallestForm) {
    const std::vector<std::pair<int, std::string>> rows = {
        {127, raw({2, 0x7F})},
        {-128, raw({2, 0x80})},
        {128, raw({3, 0x80, 0})},
        {-32768, raw({3, 0, 0x80})},
        {32768, raw({4, 0, 0x80, 0, 0})},
        {-1000, raw({3, 0x18, 0xFC})},
    };
    for (const auto& [value, bytes] : rows) {
        StoredLabel label;
        label.width = value;
        const std::string out = records::writeLabelStream(label);
        EXPECT_NE(out.find(ss("Width") + bytes + ss("Height")), std::string::npos) << value;
        EXPECT_EQ(read(out).width, value);
    }
}

struct NamedRow {
    std::int32_t value;
    std::string bytes;
};

TEST(LabelStream, ColoursAsIdentifiersOrIntegers) {
    const std::vector<NamedRow> rows = {
        {0, raw({7}) + ss("clBlack")},
        {255, raw({7}) + ss("clRed")},
        {16777215, raw({7}) + ss("clWhite")},
        {static_cast<std::int32_t>(0x80000000u), raw({7}) + ss("clScrollBar")},
        {static_cast<std::int32_t>(0x80000008u), raw({7}) + ss("clWindowText")},
        {static_cast<std::int32_t>(0x80000018u), raw({7}) + ss("clInfoBk")},
        {0x1FFFFFFF, raw({7}) + ss("clNone")},
        {120, raw({2, 120})},
        {0x123456, raw({4, 0x56, 0x34, 0x12, 0})},
        {static_cast<std::int32_t>(0x80000019u), raw({4, 0x19, 0, 0, 0x80})},
    };
    for (const NamedRow& row : rows) {
        StoredLabel label;
        label.font.color = row.value;
        const std::string out = records::writeLabelStream(label);
        EXPECT_NE(out.find(ss("Font.Color") + row.bytes + ss("Font.Height")), std::string::npos)
            << row.value;
        EXPECT_EQ(read(head + ss("Font.Color") + row.bytes + end).font.color, row.value);
    }
    EXPECT_EQ(read(head + ss("Font.Color") + raw({4, 8, 0, 0, 0x80}) + end).font.color,
              records::windowTextColor)
        << "a named colour also reads as an integer";
    for (int index = 0; index <= 24; ++index) {
        StoredLabel label;
        label.font.color = records::systemColor(index);
        const std::string out = records::writeLabelStream(label);
        EXPECT_EQ(out[out.find(ss("Font.Color")) + 11], 7) << "system colour " << index;
        EXPECT_EQ(read(out).font.color, label.font.color) << index;
    }
}

TEST(LabelStream, CharsetsAsIdentifiersOrIntegers) {
    const std::vector<NamedRow> rows = {
        {0, raw({7}) + ss("ANSI_CHARSET")},
        {1, raw({7}) + ss("DEFAULT_CHARSET")},
        {77, raw({7}) + ss("MAC_CHARSET")},
        {128, raw({7}) + ss("SHIFTJIS_CHARSET")},
        {238, raw({7}) + ss("EASTEUROPE_CHARSET")},
        {255, raw({7}) + ss("OEM_CHARSET")},
        {3, raw({2, 3})},
        {200, raw({3, 200, 0})},
    };
    for (const NamedRow& row : rows) {
        StoredLabel label;
        label.font.charset = row.value;
        const std::string out = records::writeLabelStream(label);
        EXPECT_NE(out.find(ss("Font.Charset") + row.bytes + ss("Font.Color")), std::string::npos)
            << row.value;
        EXPECT_EQ(read(head + ss("Font.Charset") + row.bytes + end).font.charset, row.value);
    }
    EXPECT_EQ(read(head + ss("Font.Charset") + raw({3, 128, 0}) + end).font.charset, 128);
}

TEST(LabelStream, TextsOver255BytesAreLongTexts) {
    StoredLabel label;
    label.caption = std::string(255, 'a');
    EXPECT_NE(records::writeLabelStream(label).find(ss("Caption") + raw({6, 255})),
              std::string::npos);
    label.caption = std::string(300, 'b');
    const std::string out = records::writeLabelStream(label);
    EXPECT_NE(
        out.find(ss("Caption") + raw({12, 0x2C, 0x01, 0, 0}) + label.caption + ss("Font.Charset")),
        std::string::npos);
    EXPECT_EQ(read(out).caption, label.caption);
    EXPECT_EQ(read(head + ss("Font.Name") + raw({12, 3, 0, 0, 0}) + "Odd" + end).font.name, "Odd");
}

TEST(LabelStream, ReadsPropertiesInAnyOrderAndKeepsMissingOnes) {
    StoredLabel label = sentenceLabel();
    const std::string stream = head + ss("Font.Style") + raw({11}) + ss("fsUnderline") + raw({0}) +
                               ss("Visible") + raw({8}) + ss("Font.Height") + raw({3, 0x10, 0xFF}) +
                               ss("Left") + raw({4, 5, 0, 0, 0}) + end;
    ASSERT_TRUE(records::readLabelStream(stream, label));
    EXPECT_EQ(label.font.style, records::Underline);
    EXPECT_FALSE(label.visible);
    EXPECT_EQ(label.font.height, -240);
    EXPECT_EQ(label.left, 5);
    EXPECT_EQ(label.top, 300);
    EXPECT_EQ(label.caption, "I have a pen.");
    EXPECT_EQ(label.font.name, "Serif Face");
}

TEST(LabelStream, UnknownPropertiesOfEveryTypeAreSkipped) {
    const std::string stream =
        head + ss("Tag") + raw({2, 5}) + ss("HelpContext") + raw({3, 1, 2}) + ss("Tag2") +
        raw({4, 1, 2, 3, 4}) + ss("Hint") + raw({6}) + ss("hello") + ss("Layout") + raw({7}) +
        ss("tlTop") + ss("WordWrap") + raw({8}) + ss("ShowHint") + raw({9}) + ss("Anchors") +
        raw({11}) + ss("akLeft") + ss("akTop") + raw({0}) + ss("HelpKeyword") +
        raw({12, 2, 0, 0, 0}) + "ok" + ss("Font.Height") + raw({2, 0xE0}) + end;
    EXPECT_EQ(read(stream).font.height, -32);
}

TEST(LabelStream, EveryCutOfAValidStreamFails) {
    for (std::size_t n = 0; n < sentenceStream.size(); ++n) {
        StoredLabel label;
        EXPECT_FALSE(records::readLabelStream(sentenceStream.substr(0, n), label)) << n;
    }
    // Cut inside the font name: what came before it stands, the rest is untouched.
    const std::size_t inName = sentenceStream.find("Serif Face") + 3;
    StoredLabel label;
    EXPECT_FALSE(records::readLabelStream(sentenceStream.substr(0, inName), label));
    EXPECT_EQ(label.font.height, -24);
    EXPECT_EQ(label.caption, "I have a pen.");
    EXPECT_EQ(label.font.name, "");
    EXPECT_TRUE(label.transparent);
    EXPECT_FALSE(label.parentFont);
}

TEST(LabelStream, ABrokenStreamStopsAtTheFaultAndARefusedValueIsSkipped) {
    const std::string before = ss("Left") + raw({2, 77});
    const std::string after = ss("Top") + raw({2, 88}) + end;
    struct Case {
        const char* what;
        std::string fault;
        bool stops; // the stream cannot be read on; else only the value is refused
    };
    const std::vector<Case> cases = {
        {"huge long text", ss("Caption") + raw({12, 0xF0, 0xFF, 0xFF, 0xFF}) + "abc", true},
        {"long text one byte short", ss("Caption") + raw({12, 4, 0, 0, 0}) + "abc", true},
        {"unknown value type", ss("Font.Height") + raw({5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), true},
        {"value type 13", ss("Tag") + raw({13}), true},
        {"unclosed set", ss("Font.Style") + raw({11}) + ss("fsBold"), true},
        {"name past the end", raw({200}) + "Font", true},
        {"height 0", ss("Font.Height") + raw({2, 0}), false},
        {"height 1001", ss("Font.Height") + raw({3, 0xE9, 0x03}), false},
        {"height -40000", ss("Font.Height") + raw({4, 0xC0, 0x63, 0xFF, 0xFF}), false},
        {"unknown colour", ss("Font.Color") + raw({7}) + ss("clPink"), false},
        {"unknown charset", ss("Font.Charset") + raw({7}) + ss("KLINGON_CHARSET"), false},
        {"charset 256", ss("Font.Charset") + raw({3, 0, 1}), false},
        {"unknown pitch", ss("Font.Pitch") + raw({7}) + ss("fpWobbly"), false},
        {"unknown style", ss("Font.Style") + raw({11}) + ss("fsBold") + ss("fsShadow") + raw({0}), false},
        {"text for an integer", ss("Width") + raw({6}) + ss("12"), false},
        {"integer for a text", ss("Font.Name") + raw({2, 1}), false},
        {"integer for a boolean", ss("Visible") + raw({2, 0}), false},
        {"unknown alignment", ss("Alignment") + raw({7}) + ss("taSideways"), false},
    };
    for (const auto& [what, fault, stops] : cases) {
        StoredLabel label;
        label.top = 1;
        label.font.height = -12;
        StoredLabel skipped = label;
        skipped.left = 77;
        skipped.top = 88;
        EXPECT_EQ(records::readLabelStream(head + before + fault + after, label), !stops) << what;
        EXPECT_EQ(label.left, 77) << what;
        EXPECT_EQ(label.top, stops ? 1 : 88) << what;
        EXPECT_EQ(label.font.height, -12) << what;
        if (!stops) {
            EXPECT_TRUE(label == skipped) << what << ": the refused value changes nothing";
        }
    }
    for (int height : {1000, -1000, 1})
        EXPECT_EQ(read(head + ss("Font.Height") + raw({3, height & 0xFF, height >> 8 & 0xFF}) + end)
                      .font.height,
                  height);
}

TEST(LabelStream, SignatureAndClosingAreChecked) {
    StoredLabel label;
    EXPECT_FALSE(records::readLabelStream("TPF1" + sentenceStream.substr(4), label));
    EXPECT_EQ(label.left, 0);
    EXPECT_FALSE(records::readLabelStream(head + ss("Left") + raw({2, 9, 0}) + ss("TLabel"), label))
        << "a label contains no objects";
    EXPECT_EQ(label.left, 9);
    EXPECT_TRUE(records::readLabelStream(sentenceStream + "trailing", label));
}
