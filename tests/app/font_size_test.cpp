#include "records/font_size.h"

#include <gtest/gtest.h>

struct FontRow {
    int pixels;
    int ppi;
    int points;
    int height;
};

class FontPixels : public testing::TestWithParam<FontRow> {};

TEST_P(FontPixels, PointsAndResultingHeight) {
    const FontRow& row = GetParam();
    const int points = records::pointsForPixels(row.pixels, row.ppi);
    EXPECT_EQ(points, row.points);
    EXPECT_EQ(records::pixelsForPoints(points, row.ppi), row.height);
}

INSTANTIATE_TEST_SUITE_P(
    AtThreeResolutions, FontPixels,
    testing::Values(FontRow{12, 96, 9, 12}, FontRow{12, 120, 7, 12}, FontRow{12, 144, 6, 12},
                    FontRow{13, 96, 10, 13}, FontRow{13, 120, 8, 13}, FontRow{13, 144, 6, 12},
                    FontRow{15, 96, 11, 15}, FontRow{15, 120, 9, 15}, FontRow{15, 144, 8, 16},
                    FontRow{16, 96, 12, 16}, FontRow{16, 120, 10, 17}, FontRow{16, 144, 8, 16},
                    FontRow{19, 96, 14, 19}, FontRow{19, 120, 11, 18}, FontRow{19, 144, 10, 20},
                    FontRow{22, 96, 16, 21}, FontRow{22, 120, 13, 22}, FontRow{22, 144, 11, 22},
                    FontRow{24, 96, 18, 24}, FontRow{24, 120, 14, 23}, FontRow{24, 144, 12, 24}));
