#include "imaging/mHLSRGB.h"

#include "platform/RuntimeError.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>

namespace {

struct HlsCase {
    const char* name;
    int32_t red, green, blue;
    float hue, saturation, lightness;
};

std::ostream& operator<<(std::ostream& os, const HlsCase& c) { return os << c.name; }

class RGBToHLSCases : public ::testing::TestWithParam<HlsCase> {};

TEST_P(RGBToHLSCases, GiveHueInSextantsSaturationAndLightness) {
    const HlsCase& c = GetParam();
    float h = 99, s = 99, l = 99;
    mHLSRGB::RGBToHLS(c.red, c.green, c.blue, h, s, l);
    EXPECT_FLOAT_EQ(h, c.hue);
    EXPECT_FLOAT_EQ(s, c.saturation);
    EXPECT_FLOAT_EQ(l, c.lightness);
    float hr = 99, sr = 99, lr = 99;
    mHLSRGB::RGBToHLSRef(c.red, c.green, c.blue, hr, sr, lr);
    EXPECT_EQ(hr, h);
    EXPECT_EQ(sr, s);
    EXPECT_EQ(lr, l);
}

INSTANTIATE_TEST_SUITE_P(mHLSRGB, RGBToHLSCases,
                         ::testing::Values(HlsCase{"black", 0, 0, 0, 0, 0, 0}, HlsCase{"white", 255, 255, 255, 0, 0, 1},
                                           HlsCase{"grey", 100, 100, 100, 0, 0, 100 / 255.0f},
                                           HlsCase{"red", 255, 0, 0, 0, 1, 0.5f},
                                           HlsCase{"green", 0, 255, 0, 2, 1, 0.5f},
                                           HlsCase{"blue", 0, 0, 255, 4, 1, 0.5f},
                                           // More blue than green: the hue goes below 0 rather than wrapping to 6.
                                           HlsCase{"magenta red", 255, 0, 128, -128 / 255.0f, 1, 0.5f},
                                           // Lightness above one half divides by 2 - max - min.
                                           HlsCase{"light red", 255, 128, 128, 0, 1, (1 + 128 / 255.0f) / 2},
                                           // Red and blue tie as largest: red is tested first.
                                           HlsCase{"magenta", 255, 0, 255, -1, 1, 0.5f}),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             for (char& ch : name)
                                 if (ch == ' ')
                                     ch = '_';
                             return name;
                         });

TEST(mHLSRGB, GreyBackConversionRoundsHalvesToEven) {
    // The float whose product with 255 is exactly 126.5, to show the tie going down to the even 126.
    float l = 126.5f / 255.0f;
    while (l * 255.0f < 126.5f) l = std::nextafter(l, 1.0f);
    while (l * 255.0f > 126.5f) l = std::nextafter(l, 0.0f);
    ASSERT_EQ(l * 255.0f, 126.5f);
    struct Case {
        float lightness;
        int32_t expected;
    };
    for (const Case c : {Case{0.5f, 128}, Case{l, 126}, Case{0, 0}, Case{1, 255}}) {
        int32_t r = -1, g = -1, b = -1;
        mHLSRGB::HLSToRGB(3.3f, 0, c.lightness, r, g, b);
        EXPECT_EQ(r, c.expected) << c.lightness;
        EXPECT_EQ(g, c.expected);
        EXPECT_EQ(b, c.expected);
    }
}

TEST(mHLSRGB, HLSToRGBFollowsTheSextantsAndIsNotClamped) {
    struct Case {
        float hue, saturation, lightness;
        int32_t red, green, blue;
    };
    const Case cases[] = {
        {0, 1, 0.5f, 255, 0, 0},         {2, 1, 0.5f, 0, 255, 0},      {4, 1, 0.5f, 0, 0, 255},
        {-1, 1, 0.5f, 255, 0, 255},      {5, 1, 0.5f, 255, 0, 255},    {1, 1, 0.5f, 255, 255, 0},
        {3, 1, 0.5f, 0, 255, 255},       {0.5f, 1, 0.5f, 255, 128, 0},  // 127.5 to even
        {-0.5f, 1, 0.5f, 255, 0, 128},   {0, 0.5f, 0.25f, 96, 32, 32},  // l <= 0.5: m1 = l (1 - s)
        {0, 0.5f, 0.75f, 223, 159, 159},                                // l > 0.5: m1 = l - (1 - l) s
        {5.5f, 1, 0.5f, 382, 0, 255},                                   // past magenta: red above 255
        {-2, 1, 0.5f, 255, 0, 510},
    };
    for (const Case& c : cases) {
        int32_t r = -1, g = -1, b = -1;
        mHLSRGB::HLSToRGB(c.hue, c.saturation, c.lightness, r, g, b);
        EXPECT_EQ(r, c.red) << "hue " << c.hue << " s " << c.saturation << " l " << c.lightness;
        EXPECT_EQ(g, c.green) << "hue " << c.hue;
        EXPECT_EQ(b, c.blue) << "hue " << c.hue;
    }
    int32_t r, g, b;
    try {
        mHLSRGB::HLSToRGB(1e10f, 1, 0.5f, r, g, b);
        FAIL() << "no overflow";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number(), RuntimeError::Overflow);
    }
}

TEST(mHLSRGB, EveryColourSurvivesTheRoundTrip) {
    // Both directions exactly as the filters use them: a texture at the middle grey relies on this.
    int failures = 0;
    for (int32_t r = 0; r < 256; r += 3) {
        for (int32_t g = 0; g < 256; g += 5) {
            for (int32_t b = 0; b < 256; b += 7) {
                float h, s, l;
                mHLSRGB::RGBToHLS(r, g, b, h, s, l);
                int32_t r2, g2, b2;
                mHLSRGB::HLSToRGB(h, s, l, r2, g2, b2);
                if (r2 != r || g2 != g || b2 != b)
                    ++failures;
            }
        }
    }
    EXPECT_EQ(failures, 0);
}

}  // namespace
