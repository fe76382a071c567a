#pragma once
#include <cmath>

namespace app {

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

} // namespace app
