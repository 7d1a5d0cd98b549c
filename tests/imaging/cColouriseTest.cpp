#include "imaging/cColourise.h"

#include "BitmapTestHelpers.h"
#include "imaging/cDIBSection.h"
#include "imaging/mHLSRGB.h"

#include <gtest/gtest.h>

#include <limits>

using namespace BitmapTestHelpers;

namespace {

cColourise Filter(int32_t hue, int32_t saturation) {
    cColourise filter;
    filter.SetHue(hue);
    filter.SetSaturation(saturation);
    return filter;
}

// One pixel through the whole public pass.
Bgr Colourise(Bgr pixel, int32_t hue, int32_t saturation) {
    cDIBSection src, dst;
    EXPECT_TRUE(src.Create(1, 1));
    EXPECT_TRUE(dst.Create(1, 1));
    SetPixel(src, 0, 0, pixel);
    cColourise filter = Filter(hue, saturation);
    filter.Process(src, dst);
    return PixelAt(dst, 0, 0);
}

TEST(cColourise, StartsWithHueAndSaturationZero) {
    const cColourise filter;
    EXPECT_EQ(filter.Hue(), 0);
    EXPECT_EQ(filter.Saturation(), 0);
}

TEST(cColourise, HueZeroAndHue255AreMagentaNotRed) {
    for (const int32_t hue : {0, 255}) EXPECT_EQ(Colourise({0, 0, 255}, hue, 255), (Bgr{255, 0, 255})) << "hue " << hue;
    // Hue 42.5 would be red; 43 lies just past it, toward yellow: green 0.01176 * 255 = 3.
    EXPECT_EQ(Colourise({0, 0, 255}, 43, 255), (Bgr{0, 3, 255}));
}

TEST(cColourise, KeepsLightnessSoGreyBlackAndWhiteStay) {
    for (const int32_t hue : {0, 60, 128, 255}) {
        for (const int32_t saturation : {0, 100, 255}) {
            EXPECT_EQ(Colourise({0, 0, 0}, hue, saturation), (Bgr{0, 0, 0}));
            EXPECT_EQ(Colourise({255, 255, 255}, hue, saturation), (Bgr{255, 255, 255}));
        }
    }
    // Saturation 0 gives the grey of the pixel's lightness: (max + min) / 2 = 127.5, to even 128.
    EXPECT_EQ(Colourise({255, 0, 90}, 77, 0), (Bgr{128, 128, 128}));
    // In single precision these lightnesses times 255 are exactly 0.5 and 2.5, so they go to the even 0 and 2;
    // the same steps in double precision land just above the half and give 1 and 3.
    EXPECT_EQ(Colourise({0, 0, 1}, 77, 0), (Bgr{0, 0, 0}));
    EXPECT_EQ(Colourise({1, 1, 4}, 77, 0), (Bgr{2, 2, 2}));
}

TEST(cColourise, ChannelsBeyondTheByteRangeAreClamped) {
    // Hue 300 lies past magenta: red's formula gives about 523 and is stored as 255.
    EXPECT_EQ(Colourise({128, 128, 128}, 300, 255), (Bgr{255, 1, 255}));
    // A negative hue sends blue below m1 = 0.
    const Bgr negative = Colourise({128, 128, 128}, -100, 255);
    EXPECT_EQ(negative.r, 255);
    EXPECT_EQ(negative.b, 255);
    // Saturation above 255 pushes m1 below 0 and m2 above 1.
    const Bgr over = Colourise({100, 100, 100}, 128, 1000);
    EXPECT_EQ(over.r, 0);
    EXPECT_EQ(over.g, 255);
}

TEST(cColourise, ThreePaddingBytesAreColourisedAsOneMorePixel) {
    // Width 3 rows carry 9 pixel bytes and 3 padding bytes; width 2 rows carry 2 padding bytes.
    for (const int32_t width : {2, 3}) {
        cDIBSection src, dst;
        ASSERT_TRUE(src.Create(width, 2));
        ASSERT_TRUE(dst.Create(width, 2));
        Fill(src, {200, 200, 200});
        FillPadding(src, 200);
        FillPadding(dst, 7);
        cColourise filter = Filter(0, 255);
        filter.Process(src, dst);
        const Bgr first = PixelAt(dst, 0, 0);
        for (int32_t row = 0; row < 2; ++row) {
            const uint8_t* pad = At(dst, width, row);
            if (width == 3) {
                EXPECT_EQ((Bgr{pad[0], pad[1], pad[2]}), first) << "row " << row;
            } else {
                EXPECT_EQ(pad[0], 7);
                EXPECT_EQ(pad[1], 7);
            }
        }
    }
}

// The lookup must reproduce the reference byte for byte, including where the reference stops early.
struct Setting {
    const char* name;
    int32_t hue;
    int32_t saturation;
};

std::ostream& operator<<(std::ostream& os, const Setting& s) { return os << s.name; }

class ColouriseFastPath : public ::testing::TestWithParam<Setting> {};

TEST_P(ColouriseFastPath, MatchesTheReferenceOnRandomBitmapsOfOddWidths) {
    const Setting& s = GetParam();
    const cColourise filter = Filter(s.hue, s.saturation);
    for (const int32_t width : {1, 3, 5, 7, 13, 31}) {
        cDIBSection src, fast, reference;
        ASSERT_TRUE(src.Create(width, 9));
        ASSERT_TRUE(fast.Create(width, 9));
        ASSERT_TRUE(reference.Create(width, 9));
        FillRandom(src, 11u * width);
        FillRandom(fast, 5);
        FillRandom(reference, 5);
        filter.ProcessBits(src, fast);
        filter.ProcessReference(src, reference);
        EXPECT_EQ(Bytes(fast), Bytes(reference)) << "width " << width;
    }
}

TEST_P(ColouriseFastPath, MatchesTheReferenceForEveryLargestAndSmallestChannel) {
    // Every (max, mid, min) ordering with a sweep of middles, on every channel arrangement.
    const Setting& s = GetParam();
    const cColourise filter = Filter(s.hue, s.saturation);
    cDIBSection src, fast, reference;
    ASSERT_TRUE(src.Create(256, 256));
    ASSERT_TRUE(fast.Create(256, 256));
    ASSERT_TRUE(reference.Create(256, 256));
    for (int32_t max = 0; max < 256; ++max) {
        for (int32_t min = 0; min < 256; ++min) {
            const uint8_t hi = static_cast<uint8_t>(std::max(max, min));
            const uint8_t lo = static_cast<uint8_t>(std::min(max, min));
            const uint8_t mid = static_cast<uint8_t>((hi + lo + max) / 3 > hi ? hi : (hi + lo) / 2);
            const int arrangement = (max * 7 + min) % 6;
            const uint8_t v[6][3] = {{hi, mid, lo}, {hi, lo, mid}, {mid, hi, lo},
                                     {lo, hi, mid}, {mid, lo, hi}, {lo, mid, hi}};
            SetPixel(src, min, max, {v[arrangement][0], v[arrangement][1], v[arrangement][2]});
        }
    }
    filter.ProcessBits(src, fast);
    filter.ProcessReference(src, reference);
    EXPECT_EQ(Bytes(fast), Bytes(reference));
}

INSTANTIATE_TEST_SUITE_P(cColourise, ColouriseFastPath,
                         ::testing::Values(Setting{"start", 0, 0}, Setting{"swatch", 128, 100},
                                           Setting{"full", 200, 255}, Setting{"pale", 17, 3},
                                           Setting{"hue_above_range", 400, 255}, Setting{"negative_hue", -60, 90},
                                           Setting{"saturation_above_range", 90, 700},
                                           Setting{"overflowing_hue", std::numeric_limits<int32_t>::max(), 255}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(cColourise, FastPathMatchesTheReferenceOverEveryColour) {
    // All 2^24 colours once, in a 4096 x 4096 bitmap.
    cDIBSection src, fast, reference;
    ASSERT_TRUE(src.Create(4096, 4096));
    ASSERT_TRUE(fast.Create(4096, 4096));
    ASSERT_TRUE(reference.Create(4096, 4096));
    for (uint32_t c = 0; c < (1u << 24); ++c)
        SetPixel(src, c % 4096, c / 4096, {uint8_t(c), uint8_t(c >> 8), uint8_t(c >> 16)});
    const cColourise filter = Filter(150, 180);
    filter.ProcessBits(src, fast);
    filter.ProcessReference(src, reference);
    EXPECT_TRUE(Bytes(fast) == Bytes(reference));
}

TEST(cColourise, ASmallerDestinationEndsThePassWhereTheReferenceStops) {
    // The pass runs column by column, so a short destination gets only its first column.
    cDIBSection src, fast, reference;
    ASSERT_TRUE(src.Create(4, 5));
    ASSERT_TRUE(fast.Create(4, 3));
    ASSERT_TRUE(reference.Create(4, 3));
    FillRandom(src, 1);
    Fill(fast, {1, 2, 3});
    Fill(reference, {1, 2, 3});
    cColourise filter = Filter(10, 200);
    filter.Process(src, fast);
    filter.ProcessReference(src, reference);
    EXPECT_EQ(Bytes(fast), Bytes(reference));
    EXPECT_NE(PixelAt(fast, 0, 2), (Bgr{1, 2, 3}));
    EXPECT_EQ(PixelAt(fast, 1, 0), (Bgr{1, 2, 3}));
    // An empty destination takes nothing and nothing is raised.
    cDIBSection empty;
    filter.Process(src, empty);
}

TEST(cColourise, WorksInPlace) {
    cDIBSection bitmap, reference;
    ASSERT_TRUE(bitmap.Create(9, 4));
    ASSERT_TRUE(reference.Create(9, 4));
    FillRandom(bitmap, 21);
    FillRandom(reference, 21);  // the same bytes, so the untouched padding agrees
    const cColourise filter = Filter(90, 140);
    filter.ProcessReference(bitmap, reference);
    filter.ProcessBits(bitmap, bitmap);
    EXPECT_EQ(Bytes(bitmap), Bytes(reference));
}

}  // namespace
