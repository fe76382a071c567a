#include "platform/display_scale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

struct DpiRow {
    double dpi;
    int scale;
};

class ScaleForDpi : public testing::TestWithParam<DpiRow> {};

TEST_P(ScaleForDpi, RoundsTheDesktopsResolutionToAWholeScale) {
    EXPECT_EQ(platform::scaleForDpi(GetParam().dpi), GetParam().scale) << GetParam().dpi;
}

INSTANTIATE_TEST_SUITE_P(
    DesktopResolutions, ScaleForDpi,
    testing::Values(DpiRow{96, 1}, DpiRow{120, 1}, DpiRow{143.9, 1}, DpiRow{144, 2},
                    DpiRow{168, 2}, DpiRow{192, 2}, DpiRow{239, 2}, DpiRow{240, 3},
                    DpiRow{288, 3}, DpiRow{384, 4}, DpiRow{72, 1},
                    // A screen that reports no size, or a size of a few millimetres.
                    DpiRow{0, 1}, DpiRow{-96, 1}, DpiRow{5000, platform::maxDisplayScale},
                    DpiRow{std::numeric_limits<double>::quiet_NaN(), 1},
                    DpiRow{std::numeric_limits<double>::infinity(), 1}));

struct SettingRow {
    const char* text;
    int scale; // 0: the text is no factor
};

class ScaleFactorSetting : public testing::TestWithParam<SettingRow> {};

TEST_P(ScaleFactorSetting, GivesAWholeScaleOrNone) {
    const SettingRow& row = GetParam();
    const auto factor = platform::scaleFactorSetting(row.text);
    if (row.scale == 0) {
        EXPECT_FALSE(factor.has_value()) << row.text;
    } else {
        ASSERT_TRUE(factor.has_value()) << row.text;
        EXPECT_EQ(platform::wholeScale(*factor), row.scale) << row.text;
    }
}

INSTANTIATE_TEST_SUITE_P(
    EnvironmentTexts, ScaleFactorSetting,
    testing::Values(SettingRow{"2", 2}, SettingRow{"1", 1}, SettingRow{"1.25", 1},
                    SettingRow{"1.5", 2}, SettingRow{"1.75", 2}, SettingRow{"2.5", 3},
                    SettingRow{"3", 3}, SettingRow{" 2 ", 2}, SettingRow{"0.5", 1},
                    SettingRow{"1e1", platform::maxDisplayScale}, SettingRow{"", 0},
                    SettingRow{"two", 0}, SettingRow{"2x", 0}, SettingRow{"2,0", 0},
                    SettingRow{"0", 0}, SettingRow{"-2", 0}, SettingRow{"nan", 0},
                    SettingRow{"inf", 0}));

} // namespace
