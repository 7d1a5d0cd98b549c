#include "model/ColorConverter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <ostream>

namespace {

using Triple = std::array<int32_t, 3>;

const ColorConverter conv;

Triple splitRGB(int32_t value) {
    Triple t{};
    conv.SplitRGB(value, t[0], t[1], t[2]);
    return t;
}

Triple splitHSB(int32_t value) {
    Triple t{};
    conv.SplitHSB(value, t[0], t[1], t[2]);
    return t;
}

Triple rgbToHsb(const Triple& rgb) { return splitHSB(conv.RGBToHSB(conv.RGBToLong(rgb[0], rgb[1], rgb[2]))); }

Triple hsbToRgb(const Triple& hsb) { return splitRGB(conv.HSBToRGB(conv.HSBToLong(hsb[0], hsb[1], hsb[2]))); }

struct ConversionCase {
    const char* name;
    Triple from;
    Triple to;
};

std::ostream& operator<<(std::ostream& out, const ConversionCase& c) { return out << c.name; }

class RGBToHSB : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(RGBToHSB, GivesTheRoundedParts) { EXPECT_EQ(rgbToHsb(GetParam().from), GetParam().to); }

INSTANTIATE_TEST_SUITE_P(ColorConverter, RGBToHSB,
                         ::testing::Values(ConversionCase{"black", {0, 0, 0}, {0, 0, 0}},
                                           ConversionCase{"white", {255, 255, 255}, {0, 0, 100}},
                                           ConversionCase{"grey_128", {128, 128, 128}, {0, 0, 50}},
                                           ConversionCase{"red", {255, 0, 0}, {0, 100, 100}},
                                           ConversionCase{"blue", {0, 0, 255}, {240, 100, 100}},
                                           ConversionCase{"orange", {255, 128, 0}, {30, 100, 100}},
                                           ConversionCase{
                                               "tiny_negative_hue_rounds_to_0_without_360", {255, 0, 1}, {0, 100, 100}},
                                           ConversionCase{"negative_hue_gets_360", {255, 0, 128}, {330, 100, 100}},
                                           ConversionCase{"green_formula", {0, 200, 100}, {150, 100, 78}},
                                           ConversionCase{"round_trip_start_10_20_30", {10, 20, 30}, {210, 67, 12}},
                                           ConversionCase{"round_trip_start_1_0_200", {1, 0, 200}, {240, 100, 78}}),
                         [](const auto& info) { return std::string(info.param.name); });

class HSBToRGB : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(HSBToRGB, GivesTheRoundedChannels) { EXPECT_EQ(hsbToRgb(GetParam().from), GetParam().to); }

INSTANTIATE_TEST_SUITE_P(ColorConverter, HSBToRGB,
                         ::testing::Values(ConversionCase{"grey_127_5_rounds_to_even_128", {0, 0, 50}, {128, 128, 128}},
                                           ConversionCase{"grey_76_5_rounds_to_even_76", {0, 0, 30}, {76, 76, 76}},
                                           ConversionCase{"white", {0, 0, 100}, {255, 255, 255}},
                                           ConversionCase{"dark_red", {0, 100, 50}, {128, 0, 0}},
                                           ConversionCase{"yellow", {60, 100, 100}, {255, 255, 0}},
                                           ConversionCase{"hue_359", {359, 100, 100}, {255, 0, 4}},
                                           ConversionCase{"teal", {180, 50, 50}, {64, 128, 128}},
                                           ConversionCase{"sector_1", {90, 100, 100}, {128, 255, 0}},
                                           ConversionCase{"sector_4", {270, 100, 100}, {128, 0, 255}},
                                           ConversionCase{"hue_400_packs_as_359", {400, 100, 100}, {255, 0, 4}},
                                           ConversionCase{"round_trip_back_to_10_20_31", {210, 67, 12}, {10, 20, 31}},
                                           ConversionCase{"round_trip_back_to_0_0_199", {240, 100, 78}, {0, 0, 199}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ColorConverter, PackingClampsEachPart) {
    EXPECT_EQ(conv.RGBToLong(300, -1, 128), 8388863);
    EXPECT_EQ(conv.HSBToLong(400, -5, 120), 359 * 65536 + 0 * 256 + 100);
    EXPECT_EQ(conv.HSBToLong(210, 67, 12), 210 * 65536 + 67 * 256 + 12);
}

TEST(ColorConverter, UnpackingTakesBytesAndClampsHSB) {
    EXPECT_EQ(conv.Hue(-1), 0);
    EXPECT_EQ(conv.Hue(-65536 * 5), 0);
    EXPECT_EQ(conv.Hue(400 * 65536), 359);
    EXPECT_EQ(conv.Saturation(200 * 256), 100);
    EXPECT_EQ(conv.Brightness(200), 100);
    EXPECT_EQ(splitHSB(conv.HSBToLong(210, 67, 12)), (Triple{210, 67, 12}));

    EXPECT_EQ(splitRGB(8453888), (Triple{0, 255, 128}));
    // Stray high bits are dropped by the byte extraction.
    EXPECT_EQ(splitRGB(static_cast<int32_t>(0xFF0A14C8u)), (Triple{200, 20, 10}));
    EXPECT_EQ(conv.Red(-1), 255);
    EXPECT_EQ(conv.Green(-1), 255);
    EXPECT_EQ(conv.Blue(-1), 255);
}

TEST(ColorConverter, TextsJoinThePartsWithCommaBlank) {
    EXPECT_EQ(conv.RGBAsString(8453888), QStringLiteral("0, 255, 128"));
    EXPECT_EQ(conv.HSBAsString(conv.HSBToLong(210, 67, 12)), QStringLiteral("210, 67, 12"));
    EXPECT_EQ(conv.HSBAsString(conv.HSBToLong(400, 0, 0)), QStringLiteral("359, 0, 0"));
}

// The channels of every fully saturated, full-brightness hue stay within 0..255 and keep one channel at 255.
TEST(ColorConverter, EveryHueGivesAValidPureColour) {
    for (int32_t h = 0; h < 360; ++h) {
        const Triple rgb = hsbToRgb({h, 100, 100});
        EXPECT_EQ(std::max({rgb[0], rgb[1], rgb[2]}), 255) << h;
        EXPECT_EQ(std::min({rgb[0], rgb[1], rgb[2]}), 0) << h;
        const int32_t distance = std::abs(rgbToHsb(rgb)[0] - h);
        EXPECT_LE(std::min(distance, 360 - distance), 1) << h;
    }
}

}  // namespace
