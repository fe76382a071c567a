#pragma once
#include "records/font_spec.h"

#include <string>
#include <string_view>

namespace records {

// The English sentence label as fs.dat keeps it: position, size, text, font and visibility.
struct StoredLabel {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    std::string alignment = "taCenter";
    std::string caption; // code page 932
    FontSpec font;
    bool parentFont = false;
    bool transparent = true;
    bool visible = true;

    bool operator==(const StoredLabel&) const = default;
};

// The label as one component stream: "TPF0", class "TLabel", object "Lbl_eibun", its properties
// in the fixed order, and the two closing zero bytes.
std::string writeLabelStream(const StoredLabel& label);

// Reads a component stream into `label`, applying each property found in file order; a property
// whose value the label refuses (an absurd height, an unknown colour, character set, alignment,
// pitch or style, a value of the wrong kind) is skipped and reading goes on. Returns false at the
// first fault in the stream itself (a bad signature, a truncated or unknown value); the properties
// applied before it stay and the rest of `label` is untouched. Never reads past the bytes given
// and never allocates more than they hold.
bool readLabelStream(std::string_view bytes, StoredLabel& label);

} // namespace records
