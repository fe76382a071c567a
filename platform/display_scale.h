#pragma once
#include <optional>
#include <string_view>

namespace platform {

// The windows are laid out in the pixels of a 96 dots-per-inch screen. On a denser screen the
// desktop asks for a scale, and the program scales every window by that scale rounded to a whole
// number, as the desktop scales older programs: each control then still sits on its picture.

// The largest scale taken; a factor beyond it is a misreading, not a screen.
inline constexpr int maxDisplayScale = 4;

// A factor rounded to a whole scale: halves round up (1.5 is 2), anything below 1.5 is 1, and a
// factor that is no number is 1.
int wholeScale(double factor);

// The factor a scale-factor setting ("2", "1.25") asks for, or none for text that is no positive
// number.
std::optional<double> scaleFactorSetting(std::string_view text);

// The scale for a screen's dots per inch (the desktop's font resolution, or the screen's physical
// one); an unknown resolution (0 or less) is scale 1.
int scaleForDpi(double dotsPerInch);

} // namespace platform
