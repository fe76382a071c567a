#include "platform/display_scale.h"

#include <charconv>
#include <cmath>

namespace platform {

namespace {
constexpr double designDpi = 96.0;
} // namespace

int wholeScale(double factor) {
    if (!std::isfinite(factor) || factor < 1.5)
        return 1;
    if (factor >= maxDisplayScale)
        return maxDisplayScale;
    return static_cast<int>(std::floor(factor + 0.5));
}

std::optional<double> scaleFactorSetting(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    double factor = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), factor);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
        !std::isfinite(factor) || factor <= 0)
        return std::nullopt;
    return factor;
}

int scaleForDpi(double dotsPerInch) {
    if (!(dotsPerInch > 0))
        return 1;
    return wholeScale(dotsPerInch / designDpi);
}

} // namespace platform
