// fs.dat as a file may hold it: any bytes read as the sentence label's component stream.
#include "fuzz_check.h"
#include "records/label_stream.h"

#include <cstdint>
#include <string_view>

namespace {

// The label as the program starts it, before fs.dat is read.
records::StoredLabel startingLabel() {
    records::StoredLabel label;
    label.top = 210;
    label.width = 800;
    label.height = 30;
    label.font.name = "MS P\x83\x53\x83\x56\x83\x62\x83\x4e";
    label.font.height = -24;
    label.font.color = 120;
    label.font.style = records::Bold;
    return label;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    records::StoredLabel label = startingLabel();
    const bool whole = records::readLabelStream(bytes, label);
    if (!whole && label == startingLabel())
        return 0;
    // Whatever was applied, whole or in part, is a label the next save writes and the next start
    // reads back to the same values: a file that loaded once keeps loading.
    FUZZ_REQUIRE(label.font.height != 0 && label.font.height >= -1000 && label.font.height <= 1000);
    FUZZ_REQUIRE(label.font.charset >= 0 && label.font.charset <= 255);
    const std::string saved = records::writeLabelStream(label);
    records::StoredLabel back = startingLabel();
    back.caption.clear(); // written only when there is one
    back.visible = true;  // written only when hidden
    back.font.pitch = "fpDefault";
    FUZZ_REQUIRE(records::readLabelStream(saved, back));
    FUZZ_REQUIRE(back == label);
    return 0;
}
