#include "PieTestHelpers.h"

#include "imaging/cDIBSection.h"
#include "views/PieRenderer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

using PieTest::Rgb;

constexpr int32_t White = Rgb(255, 255, 255);

std::vector<int32_t> Palette(int n) {
    std::vector<int32_t> colors;
    for (int i = 0; i < n; ++i) colors.push_back(Rgb((i * 37) % 256, (i * 91 + 40) % 256, (i * 53 + 7) % 256));
    return colors;
}

TEST(PieRenderer, MeasureRoundsHalvesToEven) {
    struct Case {
        int32_t width, height;
        int32_t cx, cy, r;
    };
    const Case cases[] = {
        {200, 101, 100, 50, 45},  // 50.5 -> 50
        {11, 11, 6, 6, 5},        // 5.5 -> 6, 5.4 -> 5
        {9, 9, 4, 4, 4},          // 4.5 -> 4, 3.6 -> 4
        {10, 10, 5, 5, 4},        // 4.5 -> 4
        {1, 1, 0, 0, 0},         {0, 0, 0, 0, 0}, {1500, 700, 750, 350, 315},
    };
    for (const Case& c : cases) {
        const PieRenderer::Geometry g = PieRenderer::Measure(c.width, c.height);
        EXPECT_EQ(g.cx, c.cx) << c.width << "x" << c.height;
        EXPECT_EQ(g.cy, c.cy) << c.width << "x" << c.height;
        EXPECT_EQ(g.r, c.r) << c.width << "x" << c.height;
    }
}

TEST(PieRenderer, NoColoursShowOnlyTheBackground) {
    cDIBSection bitmap;
    ASSERT_TRUE(bitmap.Create(30, 20));
    PieRenderer::Draw(bitmap, Rgb(1, 2, 3), {});
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 30; ++x) ASSERT_EQ(PieRenderer::PixelAt(bitmap, x, y), Rgb(1, 2, 3)) << x << "," << y;
}

TEST(PieRenderer, OneColourIsAFullDiscOfNineTenthsOfTheSmallerHalf) {
    cDIBSection bitmap;
    ASSERT_TRUE(bitmap.Create(200, 101));
    const int32_t red = Rgb(200, 0, 0);
    PieRenderer::Draw(bitmap, White, {red});
    // Centre (100, 50), radius 45: pixels 55..144 across, 5..94 down.
    for (const QPoint p :
         {QPoint(100, 50), QPoint(57, 50), QPoint(142, 50), QPoint(100, 7), QPoint(100, 92), QPoint(99, 49)})
        EXPECT_EQ(PieRenderer::PixelAt(bitmap, p.x(), p.y()), red) << p.x() << "," << p.y();
    for (const QPoint p : {QPoint(53, 50), QPoint(146, 50), QPoint(100, 3), QPoint(100, 96), QPoint(0, 0)})
        EXPECT_EQ(PieRenderer::PixelAt(bitmap, p.x(), p.y()), White) << p.x() << "," << p.y();
}

TEST(PieRenderer, SlicesStartAtThreeOClockAndFollowCounterClockwise) {
    cDIBSection bitmap;
    ASSERT_TRUE(bitmap.Create(100, 100));
    const int32_t a = Rgb(255, 0, 0), b = Rgb(0, 255, 0), c = Rgb(0, 0, 255), d = Rgb(0, 0, 0);
    PieRenderer::Draw(bitmap, White, {a, b, c, d});
    // Screen quadrants: upper right, upper left, lower left, lower right.
    EXPECT_EQ(PieRenderer::PixelAt(bitmap, 70, 30), a);
    EXPECT_EQ(PieRenderer::PixelAt(bitmap, 30, 30), b);
    EXPECT_EQ(PieRenderer::PixelAt(bitmap, 30, 70), c);
    EXPECT_EQ(PieRenderer::PixelAt(bitmap, 70, 70), d);
    // The horizontal and vertical lines fall between pixel rows and columns, so even the pixels beside
    // them are exact.
    EXPECT_EQ(PieRenderer::PixelAt(bitmap, 80, 49), a);
    EXPECT_EQ(PieRenderer::PixelAt(bitmap, 80, 50), d);
    EXPECT_EQ(PieRenderer::PixelAt(bitmap, 49, 20), b);
    EXPECT_EQ(PieRenderer::PixelAt(bitmap, 50, 20), a);
}

// Every pixel more than a pixel away from the rim and from every slice line carries its slice's colour
// exactly, and everything beyond the rim the background: a pixel read anywhere inside a slice finds it.
TEST(PieRenderer, SliceInteriorsReadBackExactly) {
    struct Case {
        int n, width, height;
        int32_t background;
    };
    const Case cases[] = {
        {1, 90, 60, White},    {2, 120, 80, White},           {3, 200, 101, White}, {7, 300, 200, Rgb(20, 20, 30)},
        {30, 400, 300, White}, {100, 600, 280, Rgb(0, 0, 0)},
    };
    const double fullTurn = 8.0 * std::atan(1.0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.n);
        cDIBSection bitmap;
        ASSERT_TRUE(bitmap.Create(c.width, c.height));
        const std::vector<int32_t> colors = Palette(c.n);
        PieRenderer::Draw(bitmap, c.background, colors);
        const PieRenderer::Geometry g = PieRenderer::Measure(c.width, c.height);
        const float share = 100.0f / static_cast<float>(c.n);
        std::vector<double> stops;
        float acc = 0.0f;
        for (int i = 0; i <= c.n; ++i, acc += share / 100.0f) stops.push_back(fullTurn * acc);
        int exact = 0;
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x) {
                const double dx = x + 0.5 - g.cx, dy = g.cy - (y + 0.5);
                const double rho = std::hypot(dx, dy);
                const int32_t pixel = PieRenderer::PixelAt(bitmap, x, y);
                if (rho > g.r + 1.0) {
                    ASSERT_EQ(pixel, c.background) << x << "," << y;
                    continue;
                }
                if (rho > g.r - 1.0)
                    continue;
                double phi = std::atan2(dy, dx);
                if (phi < 0)
                    phi += fullTurn;
                int slice = 0;
                while (slice + 1 <= c.n && stops[slice + 1] <= phi) ++slice;
                double nearest = rho;
                for (double stop : stops) {
                    const double apart = std::abs(phi - stop);
                    if (apart < fullTurn / 4)
                        nearest = std::min(nearest, rho * std::sin(apart));
                }
                if (nearest <= 1.0)
                    continue;
                ASSERT_EQ(pixel, colors[slice % c.n]) << "slice " << slice << " at " << x << "," << y;
                ++exact;
            }
        EXPECT_GT(exact, c.width * c.height / 10);
    }
}

// The rim and the slice lines are smoothed: a pixel they cross lies between the colours on either side.
TEST(PieRenderer, EdgesBlendTheColoursOnEitherSide) {
    cDIBSection bitmap;
    ASSERT_TRUE(bitmap.Create(200, 200));
    PieRenderer::Draw(bitmap, White, {Rgb(0, 0, 0), Rgb(0, 0, 0), Rgb(0, 0, 0)});
    // Radius 90 around (100, 100): along the diagonal the rim crosses pixels partly.
    int partial = 0;
    for (int i = 0; i < 200; ++i) {
        const int32_t pixel = PieRenderer::PixelAt(bitmap, i, i);
        const int red = pixel & 0xFF;
        EXPECT_EQ(pixel, Rgb(red, red, red)) << i;  // grey: a mix of black and white only
        if (red != 0 && red != 255)
            ++partial;
    }
    EXPECT_GE(partial, 2);
}

TEST(PieRenderer, OddSizesAndManyColoursDrawWithoutFault) {
    struct Case {
        int n, width, height;
    };
    const Case cases[] = {{0, 1, 1},    {1, 1, 1},   {2, 1, 1},      {1000, 1, 1},       {1, 2, 2},
                          {1000, 3, 3}, {2, 1, 500}, {1000, 500, 1}, {1000, 3000, 2000}, {7, 4, 3}};
    for (const Case& c : cases) {
        cDIBSection bitmap;
        ASSERT_TRUE(bitmap.Create(c.width, c.height));
        PieRenderer::Draw(bitmap, Rgb(9, 8, 7), Palette(c.n));
        // A pie too small to hold a slice shows the background.
        if (PieRenderer::Measure(c.width, c.height).r == 0) {
            for (int y = 0; y < c.height; ++y)
                for (int x = 0; x < c.width; ++x) ASSERT_EQ(PieRenderer::PixelAt(bitmap, x, y), Rgb(9, 8, 7));
        }
    }
    cDIBSection empty;
    PieRenderer::Draw(empty, White, Palette(3));
    EXPECT_EQ(PieRenderer::PixelAt(empty, 0, 0), -1);
}

}  // namespace
