// Thumb placement and pointer mapping of the bitmap slider, without a widget.
#include "controls/SliderGeometry.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

// The program's horizontal slider: 120 x 22 channel, 13 x 17 thumb, margins 7, 7, 3, 2.
SliderGeometry Horizontal(int minimum, int maximum)
{
    SliderGeometry g;
    g.width = 120;
    g.height = 22;
    g.thumbWidth = 13;
    g.thumbHeight = 17;
    g.marginLeft = 7;
    g.marginRight = 7;
    g.marginTop = 3;
    g.marginBottom = 2;
    g.minimum = minimum;
    g.maximum = maximum;
    return g;
}

// The program's vertical slider: 22 x 130 channel, 17 x 13 thumb, margins 3, 2, 7, 7.
SliderGeometry Vertical(int minimum, int maximum)
{
    SliderGeometry g;
    g.width = 22;
    g.height = 130;
    g.thumbWidth = 17;
    g.thumbHeight = 13;
    g.marginLeft = 3;
    g.marginRight = 2;
    g.marginTop = 7;
    g.marginBottom = 7;
    g.minimum = minimum;
    g.maximum = maximum;
    g.vertical = true;
    return g;
}

struct ThumbCase
{
    const char* name;
    SliderGeometry geometry;
    int position;
    int x;
    int y;
};

TEST(SliderGeometry, ThumbSitsWhereTheSinglePrecisionFormulaPutsIt)
{
    const ThumbCase cases[] = {
        {"horizontal minimum at left margin", Horizontal(0, 100), 0, 7, 3},
        {"horizontal middle truncated", Horizontal(0, 100), 50, 53, 3},
        {"horizontal maximum at the end of travel", Horizontal(0, 100), 100, 100, 3},
        // 93 / 11 * 11 is 92.99999 in single precision: the thumb stops a pixel short.
        {"horizontal maximum, single-precision shortfall", Horizontal(0, 11), 11, 99, 3},
        {"horizontal negative range", Horizontal(-60, 0), -30, 53, 3},
        {"horizontal beyond maximum clamps", Horizontal(0, 100), 500, 100, 3},
        {"horizontal below minimum clamps", Horizontal(0, 100), -5, 7, 3},
        {"vertical maximum at the top margin", Vertical(-150, 150), 150, 3, 7},
        {"vertical minimum at the bottom", Vertical(-150, 150), -150, 3, 110},
        {"vertical middle", Vertical(-150, 150), 0, 3, 58},
        {"vertical frequency maximum at the top margin", Vertical(20, 20000), 20000, 3, 7},
        {"vertical frequency one below maximum", Vertical(20, 20000), 19999, 3, 7},
        {"vertical frequency middle", Vertical(20, 20000), 10000, 3, 58},
        {"vertical Q", Vertical(10, 3000), 150, 3, 105},
        {"empty range stays at the start margin", Horizontal(5, 5), 5, 7, 3},
        {"empty vertical range at the top margin", Vertical(5, 5), 5, 3, 7},
    };
    for (const ThumbCase& c : cases) {
        const SliderThumbRect r = SliderThumbAt(c.geometry, c.position);
        EXPECT_EQ(r.x, c.x) << c.name;
        EXPECT_EQ(r.y, c.y) << c.name;
        EXPECT_EQ(r.width, c.geometry.thumbWidth) << c.name;
        EXPECT_EQ(r.height, c.geometry.thumbHeight) << c.name;
    }
}

TEST(SliderGeometry, ThumbThatDoesNotFitStaysAtTheMargin)
{
    SliderGeometry g = Horizontal(0, 100);
    g.width = 10; // narrower than thumb and margins
    EXPECT_EQ(SliderThumbAt(g, 100).x, 7);
    EXPECT_EQ(SliderPositionFromPointer(g, 500, 0), 0);
}

struct PointerCase
{
    const char* name;
    SliderGeometry geometry;
    int x;
    int y;
    int position;
};

TEST(SliderGeometry, PointerGivesTruncatedClampedPosition)
{
    const PointerCase cases[] = {
        // Horizontal: (x - 6 - 7) / 0.93, truncated, + minimum.
        {"thumb centre over minimum", Horizontal(0, 100), 13, 0, 0},
        {"one pixel on", Horizontal(0, 100), 14, 0, 1},
        {"middle", Horizontal(0, 100), 60, 0, 50},
        {"last pixel of travel", Horizontal(0, 100), 106, 0, 100},
        {"past the end clamps", Horizontal(0, 100), 107, 0, 100},
        {"far left clamps", Horizontal(0, 100), -5000, 0, 0},
        {"far right clamps", Horizontal(0, 100), 100000, 0, 100},
        {"offset range", Horizontal(-60, 0), 13, 0, -60},
        // Vertical: maximum - (y - 6 - 7) / (103 / span), truncated.
        {"vertical top is maximum", Vertical(-150, 150), 0, 13, 150},
        {"vertical one pixel down", Vertical(-150, 150), 0, 14, 148},
        {"vertical above the top clamps", Vertical(-150, 150), 0, 0, 150},
        {"vertical bottom is minimum", Vertical(-150, 150), 0, 116, -150},
        {"vertical below the bottom clamps", Vertical(-150, 150), 0, 300, -150},
        {"vertical x is ignored", Vertical(-150, 150), 999, 13, 150},
        {"empty range", Vertical(7, 7), 0, 60, 7},
    };
    for (const PointerCase& c : cases) {
        EXPECT_EQ(SliderPositionFromPointer(c.geometry, c.x, c.y), c.position) << c.name;
    }
}

struct StepCase
{
    const char* name;
    SliderGeometry geometry;
    int position;
    int x;
    int y;
    int step;
};

TEST(SliderGeometry, TrackPressStepsTowardsThePress)
{
    // Horizontal at 50: thumb 53..65, centre 59. Vertical at 0: thumb 58..70, centre 64.
    const StepCase cases[] = {
        {"left of the thumb", Horizontal(0, 100), 50, 20, 10, -1},
        {"exactly at the centre counts as left", Horizontal(0, 100), 50, 59, 10, -1},
        {"right of the centre", Horizontal(0, 100), 50, 60, 10, +1},
        {"right of the thumb", Horizontal(0, 100), 50, 110, 10, +1},
        {"below the thumb", Vertical(-150, 150), 0, 10, 100, -1},
        {"one below the centre", Vertical(-150, 150), 0, 10, 65, -1},
        {"exactly at the centre counts as above", Vertical(-150, 150), 0, 10, 64, +1},
        {"above the thumb", Vertical(-150, 150), 0, 10, 20, +1},
    };
    for (const StepCase& c : cases)
        EXPECT_EQ(SliderTrackStep(c.geometry, c.position, c.x, c.y), c.step) << c.name;
}

TEST(SliderGeometry, ExtremeRangeDoesNotOverflow)
{
    SliderGeometry g = Horizontal(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    EXPECT_EQ(SliderThumbAt(g, std::numeric_limits<int>::max()).x, 100);
    EXPECT_EQ(SliderThumbAt(g, std::numeric_limits<int>::min()).x, 7);
    EXPECT_EQ(SliderPositionFromPointer(g, 100000, 0), std::numeric_limits<int>::max());
    EXPECT_EQ(SliderPositionFromPointer(g, -100000, 0), std::numeric_limits<int>::min());
}

} // namespace
