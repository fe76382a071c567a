#include "records/label_stream.h"

#include "records/little_endian.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

namespace records {

namespace {

constexpr std::string_view signature = "TPF0";
constexpr std::string_view className = "TLabel";
constexpr std::string_view objectName = "Lbl_eibun";
constexpr std::size_t shortStringLimit = 255;
constexpr int heightLimit = 1000; // pixels, either sign

enum ValueType : std::uint8_t {
    Int8 = 2,
    Int16 = 3,
    Int32 = 4,
    Text = 6,
    Identifier = 7,
    False = 8,
    True = 9,
    Set = 11,
    LongText = 12,
};

struct NamedValue {
    std::string_view name;
    std::int32_t value;
};

constexpr NamedValue colorNames[] = {
    {"clBlack", 0},
    {"clMaroon", 128},
    {"clGreen", 32768},
    {"clOlive", 32896},
    {"clNavy", 8388608},
    {"clPurple", 8388736},
    {"clTeal", 8421376},
    {"clGray", 8421504},
    {"clSilver", 12632256},
    {"clRed", 255},
    {"clLime", 65280},
    {"clYellow", 65535},
    {"clBlue", 16711680},
    {"clFuchsia", 16711935},
    {"clAqua", 16776960},
    {"clWhite", 16777215},
    {"clScrollBar", systemColor(0)},
    {"clBackground", systemColor(1)},
    {"clActiveCaption", systemColor(2)},
    {"clInactiveCaption", systemColor(3)},
    {"clMenu", systemColor(4)},
    {"clWindow", systemColor(5)},
    {"clWindowFrame", systemColor(6)},
    {"clMenuText", systemColor(7)},
    {"clWindowText", systemColor(8)},
    {"clCaptionText", systemColor(9)},
    {"clActiveBorder", systemColor(10)},
    {"clInactiveBorder", systemColor(11)},
    {"clAppWorkSpace", systemColor(12)},
    {"clHighlight", systemColor(13)},
    {"clHighlightText", systemColor(14)},
    {"clBtnFace", systemColor(15)},
    {"clBtnShadow", systemColor(16)},
    {"clGrayText", systemColor(17)},
    {"clBtnText", systemColor(18)},
    {"clInactiveCaptionText", systemColor(19)},
    {"clBtnHighlight", systemColor(20)},
    {"cl3DDkShadow", systemColor(21)},
    {"cl3DLight", systemColor(22)},
    {"clInfoText", systemColor(23)},
    {"clInfoBk", systemColor(24)},
    {"clNone", 0x1FFFFFFF},
};

constexpr NamedValue charsetNames[] = {
    {"ANSI_CHARSET", 0},     {"DEFAULT_CHARSET", 1},      {"SYMBOL_CHARSET", 2},
    {"MAC_CHARSET", 77},     {"SHIFTJIS_CHARSET", 128},   {"HANGEUL_CHARSET", 129},
    {"JOHAB_CHARSET", 130},  {"GB2312_CHARSET", 134},     {"CHINESEBIG5_CHARSET", 136},
    {"GREEK_CHARSET", 161},  {"TURKISH_CHARSET", 162},    {"HEBREW_CHARSET", 177},
    {"ARABIC_CHARSET", 178}, {"BALTIC_CHARSET", 186},     {"RUSSIAN_CHARSET", 204},
    {"THAI_CHARSET", 222},   {"EASTEUROPE_CHARSET", 238}, {"OEM_CHARSET", 255},
};

// In the order a set is written; member i is style bit 1 << i.
constexpr std::string_view styleNames[] = {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};
static_assert(Bold == 1 && Italic == 2 && Underline == 4 && StrikeOut == 8);

constexpr std::string_view alignmentNames[] = {"taLeftJustify", "taRightJustify", "taCenter"};
constexpr std::string_view pitchNames[] = {"fpDefault", "fpVariable", "fpFixed"};
constexpr std::string_view defaultPitch = "fpDefault";

template <std::size_t N>
std::optional<std::string_view> nameOf(const NamedValue (&table)[N], std::int32_t value) {
    for (const NamedValue& entry : table)
        if (entry.value == value)
            return entry.name;
    return std::nullopt;
}

template <std::size_t N>
std::optional<std::int32_t> valueOf(const NamedValue (&table)[N], std::string_view name) {
    for (const NamedValue& entry : table)
        if (entry.name == name)
            return entry.value;
    return std::nullopt;
}

template <std::size_t N> bool isOneOf(const std::string_view (&names)[N], std::string_view name) {
    return std::find(std::begin(names), std::end(names), name) != std::end(names);
}

// ---- writing ----

class StreamWriter {
  public:
    explicit StreamWriter(std::string& out) : out_(out) {}

    void shortString(std::string_view s) {
        s = s.substr(0, shortStringLimit);
        out_ += static_cast<char>(s.size());
        out_ += s;
    }
    StreamWriter& property(std::string_view name) {
        shortString(name);
        return *this;
    }
    void integer(std::int32_t value) {
        if (value >= std::numeric_limits<std::int8_t>::min() &&
            value <= std::numeric_limits<std::int8_t>::max()) {
            out_ += static_cast<char>(Int8);
            out_ += static_cast<char>(value);
        } else if (value >= std::numeric_limits<std::int16_t>::min() &&
                   value <= std::numeric_limits<std::int16_t>::max()) {
            out_ += static_cast<char>(Int16);
            out_ += static_cast<char>(value & 0xFF);
            out_ += static_cast<char>(value >> 8 & 0xFF);
        } else {
            out_ += static_cast<char>(Int32);
            appendU32(out_, static_cast<std::uint32_t>(value));
        }
    }
    void text(std::string_view s) {
        if (s.size() <= shortStringLimit) {
            out_ += static_cast<char>(Text);
            shortString(s);
        } else {
            out_ += static_cast<char>(LongText);
            appendU32(out_, static_cast<std::uint32_t>(s.size()));
            out_ += s;
        }
    }
    void identifier(std::string_view name) {
        out_ += static_cast<char>(Identifier);
        shortString(name);
    }
    void boolean(bool value) { out_ += static_cast<char>(value ? True : False); }
    template <std::size_t N> void named(const NamedValue (&table)[N], std::int32_t value) {
        if (auto name = nameOf(table, value))
            identifier(*name);
        else
            integer(value);
    }
    void style(std::uint8_t bits) {
        out_ += static_cast<char>(Set);
        for (std::size_t i = 0; i < std::size(styleNames); ++i)
            if (bits & 1u << i)
                shortString(styleNames[i]);
        out_ += '\0';
    }
    void end() { out_ += '\0'; }

  private:
    std::string& out_;
};

// ---- reading ----

struct Value {
    std::uint8_t type = 0;
    std::int32_t integer = 0;         // Int8, Int16, Int32
    std::string text;                 // Text, LongText, Identifier
    std::vector<std::string> members; // Set
};

class StreamReader {
  public:
    explicit StreamReader(std::string_view bytes) : bytes_(bytes) {}

    bool byte(std::uint8_t& b) {
        if (pos_ >= bytes_.size())
            return false;
        b = static_cast<std::uint8_t>(bytes_[pos_++]);
        return true;
    }
    bool take(std::size_t n, std::string_view& out) {
        if (n > bytes_.size() - pos_)
            return false;
        out = bytes_.substr(pos_, n);
        pos_ += n;
        return true;
    }
    bool shortString(std::string& s) {
        std::uint8_t n = 0;
        std::string_view part;
        if (!byte(n) || !take(n, part))
            return false;
        s.assign(part);
        return true;
    }
    bool value(Value& v) {
        if (!byte(v.type))
            return false;
        std::string_view part;
        switch (v.type) {
        case Int8:
            if (!take(1, part))
                return false;
            v.integer = static_cast<std::int8_t>(part[0]);
            return true;
        case Int16:
            if (!take(2, part))
                return false;
            v.integer = readI16(part, 0);
            return true;
        case Int32:
            if (!take(4, part))
                return false;
            v.integer = readI32(part, 0);
            return true;
        case Text:
        case Identifier:
            return shortString(v.text);
        case LongText:
            // The length is checked against what is left before anything is allocated.
            if (!take(4, part) || !take(readU32(part, 0), part))
                return false;
            v.text.assign(part);
            return true;
        case False:
        case True:
            return true;
        case Set:
            for (;;) {
                std::string member;
                if (!shortString(member))
                    return false;
                if (member.empty())
                    return true;
                v.members.push_back(std::move(member));
            }
        default:
            return false;
        }
    }

  private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
};

bool isInteger(const Value& v) {
    return v.type == Int8 || v.type == Int16 || v.type == Int32;
}
bool isText(const Value& v) {
    return v.type == Text || v.type == LongText;
}

bool setInteger(const Value& v, int& target) {
    if (!isInteger(v))
        return false;
    target = v.integer;
    return true;
}

bool setText(const Value& v, std::string& target) {
    if (!isText(v))
        return false;
    target = v.text;
    return true;
}

bool setBoolean(const Value& v, bool& target) {
    if (v.type != False && v.type != True)
        return false;
    target = v.type == True;
    return true;
}

template <std::size_t N>
bool setIdentifier(const Value& v, const std::string_view (&allowed)[N], std::string& target) {
    if (v.type != Identifier || !isOneOf(allowed, v.text))
        return false;
    target = v.text;
    return true;
}

// An integer, or an identifier that the table names.
template <std::size_t N>
std::optional<std::int32_t> namedInteger(const Value& v, const NamedValue (&table)[N]) {
    if (isInteger(v))
        return v.integer;
    if (v.type == Identifier)
        return valueOf(table, v.text);
    return std::nullopt;
}

bool setCharset(const Value& v, FontSpec& font) {
    const auto charset = namedInteger(v, charsetNames);
    if (!charset || *charset < 0 || *charset > 255)
        return false;
    font.charset = *charset;
    return true;
}

bool setColor(const Value& v, FontSpec& font) {
    const auto color = namedInteger(v, colorNames);
    if (!color)
        return false;
    font.color = *color;
    return true;
}

bool setHeight(const Value& v, FontSpec& font) {
    if (!isInteger(v) || v.integer == 0 || v.integer < -heightLimit || v.integer > heightLimit)
        return false;
    font.height = v.integer;
    return true;
}

bool setStyle(const Value& v, FontSpec& font) {
    if (v.type != Set)
        return false;
    std::uint8_t bits = 0;
    for (const std::string& member : v.members) {
        const auto* found = std::find(std::begin(styleNames), std::end(styleNames), member);
        if (found == std::end(styleNames))
            return false;
        bits |= static_cast<std::uint8_t>(1u << (found - std::begin(styleNames)));
    }
    font.style = bits;
    return true;
}

// Applies one property; false, changing nothing, when its value does not fit it. Names the label
// does not know are passed over, so that a stream with more properties than ours still reads.
bool apply(std::string_view name, const Value& v, StoredLabel& label) {
    FontSpec& font = label.font;
    if (name == "Left")
        return setInteger(v, label.left);
    if (name == "Top")
        return setInteger(v, label.top);
    if (name == "Width")
        return setInteger(v, label.width);
    if (name == "Height")
        return setInteger(v, label.height);
    if (name == "Alignment")
        return setIdentifier(v, alignmentNames, label.alignment);
    if (name == "Caption")
        return setText(v, label.caption);
    if (name == "Font.Charset")
        return setCharset(v, font);
    if (name == "Font.Color")
        return setColor(v, font);
    if (name == "Font.Height")
        return setHeight(v, font);
    if (name == "Font.Name")
        return setText(v, font.name);
    if (name == "Font.Pitch")
        return setIdentifier(v, pitchNames, font.pitch);
    if (name == "Font.Style")
        return setStyle(v, font);
    if (name == "ParentFont")
        return setBoolean(v, label.parentFont);
    if (name == "Transparent")
        return setBoolean(v, label.transparent);
    if (name == "Visible")
        return setBoolean(v, label.visible);
    return true;
}

} // namespace

std::string writeLabelStream(const StoredLabel& label) {
    std::string out(signature);
    StreamWriter w(out);
    w.shortString(className);
    w.shortString(objectName);
    w.property("Left").integer(label.left);
    w.property("Top").integer(label.top);
    w.property("Width").integer(label.width);
    w.property("Height").integer(label.height);
    w.property("Alignment").identifier(label.alignment);
    if (!label.caption.empty())
        w.property("Caption").text(label.caption);
    w.property("Font.Charset").named(charsetNames, label.font.charset);
    w.property("Font.Color").named(colorNames, label.font.color);
    w.property("Font.Height").integer(label.font.height);
    w.property("Font.Name").text(label.font.name);
    if (label.font.pitch != defaultPitch)
        w.property("Font.Pitch").identifier(label.font.pitch);
    w.property("Font.Style").style(label.font.style);
    w.property("ParentFont").boolean(label.parentFont);
    w.property("Transparent").boolean(label.transparent);
    if (!label.visible)
        w.property("Visible").boolean(false);
    w.end(); // properties
    w.end(); // contained objects: none
    return out;
}

bool readLabelStream(std::string_view bytes, StoredLabel& label) {
    StreamReader r(bytes);
    std::string_view head;
    std::string ignoredName;
    if (!r.take(signature.size(), head) || head != signature)
        return false;
    if (!r.shortString(ignoredName) || !r.shortString(ignoredName)) // class, object
        return false;
    for (;;) {
        std::string name;
        if (!r.shortString(name))
            return false;
        if (name.empty())
            break;
        Value v;
        if (!r.value(v))
            return false;
        // A value the label refuses (a height of 0, a colour or a name it does not know) is
        // passed over: the properties after it are still read.
        apply(name, v, label);
    }
    // A label contains no objects: its list must be empty.
    std::uint8_t children = 0;
    return r.byte(children) && children == 0;
}

} // namespace records
