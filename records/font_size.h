#pragma once
#include "records/font_spec.h"

#include <cmath>

namespace records {

// A font is sized in whole points, so a pixel height becomes points and the desktop turns those
// back into pixels. Points are rounded half to even, pixels half away from zero, which keeps the
// heights within a pixel of what was asked at any resolution.
inline int pointsForPixels(int pixels, int ppi) {
    return static_cast<int>(std::nearbyint(static_cast<double>(pixels) * 72.0 / ppi));
}

inline int pixelsForPoints(int points, int ppi) {
    const long long scaled = static_cast<long long>(points) * ppi;
    const long long half = 36;
    return static_cast<int>(scaled >= 0 ? (scaled + half) / 72 : -((-scaled + half) / 72));
}

// Sets a font to the whole points nearest the pixel height, and its height to the pixels those
// points come to.
inline void setFontPixels(FontSpec& font, int pixels, int ppi) {
    font.size = pointsForPixels(pixels, ppi);
    font.height = -pixelsForPoints(font.size, ppi);
}

} // namespace records
